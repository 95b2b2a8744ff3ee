#pragma once
// A fresh temporary folder per test, removed afterwards.

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    // Absolute path of `relative` inside the folder (the folder itself for "").
    QString path(const QString& relative = {}) const;
    // Writes raw bytes to `relative`, creating parent folders; returns the path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
