#pragma once
// A program folder with companion programs installed around it, a private
// registry and a work folder: the stand-in companions are copied in under
// the names the launcher looks for.

#include "env/globals.h"
#include "env/yini.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace toolstest {

class CompanionFolders {
public:
    CompanionFolders()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.path(QStringLiteral("config")));
        QDir().mkpath(programFolder());
        env::gxIni().setProgramFolder(programFolder());
        env::gsWrkPh = m_root.path(QStringLiteral("Wrk")) + u'/';
        QDir().mkpath(env::gsWrkPh);
    }
    ~CompanionFolders()
    {
        env::gxIni().setProgramFolder({});
        env::gsWrkPh.clear();
    }
    CompanionFolders(const CompanionFolders&) = delete;
    CompanionFolders& operator=(const CompanionFolders&) = delete;

    // This program's folder: <root>/apps/fumi.
    QString programFolder() const { return m_root.path(QStringLiteral("apps/fumi")); }
    QString path(const QString& relative) const { return m_root.path(relative); }

    // Copies the stand-in `program` to `relative` below the root; returns its path.
    QString install(const char* program, const QString& relative) const
    {
        const QString target = m_root.path(relative);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        QFile::copy(QString::fromLocal8Bit(program), target);
        return target;
    }

    static QString registered(const QString& name)
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
        return store.value(QStringLiteral("Path/") + name).toString();
    }
    static void setRegistered(const QString& name, const QString& path)
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
        store.setValue(QStringLiteral("Path/") + name, path);
    }

private:
    testsupport::TempFolder m_root;
};

} // namespace toolstest
