#pragma once
// Hands files, folders and addresses to the desktop. The program uses the
// system implementation; tests install a recording one.

#include <QString>
#include <QUrl>

namespace env {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens with the associated program (documents, folders, web addresses).
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows a folder in the file manager.
    virtual bool showFolder(const QString& folder) = 0;
};

// The installed implementation; the system one unless something else was installed.
Desktop& desktop();
// Installs `d` (not owned; null restores the system one) and returns the previous one.
Desktop* setDesktop(Desktop* d);

} // namespace env
