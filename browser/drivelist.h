#pragma once
// The drive list. It reads the mounted volumes again each time it opens, so
// a volume mounted meanwhile shows up.

#include "browser/drives.h"

#include <QComboBox>

namespace browser {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Shows the drive that holds `path` (read again from the system).
    void selectDriveOf(const QString& path);
    // Root of the shown drive ("" before any was shown).
    QString root() const;
    // Root of the drive that holds `path` among the listed ones; "/" for any
    // path outside them.
    QString rootOf(const QString& path) const;

    void showPopup() override;

signals:
    // The user chose a drive.
    void driveChosen(const QString& root);

private:
    void reload();

    QList<Drive> m_drives;
};

} // namespace browser
