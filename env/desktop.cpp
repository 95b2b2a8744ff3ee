#include "env/desktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>

namespace env {

namespace {

// The freedesktop file manager interface opens the folder with its own window;
// where no file manager answers, opening the folder does nearly the same.
class SystemDesktop final : public Desktop {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    bool showFolder(const QString& folder) override
    {
        const QUrl url = QUrl::fromLocalFile(folder);
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowFolders"));
        call << QStringList{url.toString()} << QString();
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
        return QDesktopServices::openUrl(url);
    }
};

SystemDesktop systemDesktop;
Desktop* installed = &systemDesktop;

} // namespace

Desktop& desktop() { return *installed; }

Desktop* setDesktop(Desktop* d)
{
    Desktop* previous = installed;
    installed = d ? d : &systemDesktop;
    return previous;
}

} // namespace env
