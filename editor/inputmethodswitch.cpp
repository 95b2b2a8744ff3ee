#include "editor/inputmethodswitch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace editor {

namespace {

const QString kFcitxService = QStringLiteral("org.fcitx.Fcitx5");
const QString kIbusService = QStringLiteral("org.freedesktop.IBus");
const QString kIbusPath = QStringLiteral("/org/freedesktop/IBus");
// A bus address never needs more than this; a larger file is not IBus's.
constexpr qint64 kMaxAddressFileBytes = 4096;
constexpr int kIbusTimeoutMs = 300;

bool serviceRuns(const QDBusConnection& bus, const QString& service)
{
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(service).value();
}

// fcitx5's controller: activating the input method turns Japanese input on.
bool switchFcitx(bool open)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!serviceRuns(bus, kFcitxService))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kFcitxService, QStringLiteral("/controller"),
                                                       QStringLiteral("org.fcitx.Fcitx.Controller1"),
                                                       open ? QStringLiteral("Activate") : QStringLiteral("Deactivate"));
    return bus.send(call);
}

bool switchFcitxRemote(bool open)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("fcitx5-remote"));
    return !tool.isEmpty() && QProcess::startDetached(tool, {open ? QStringLiteral("-o") : QStringLiteral("-c")});
}

// IBus runs its own bus; its address is written into a file named after the
// machine and the display.
QString ibusAddress()
{
    const QString fromEnvironment = qEnvironmentVariable("IBUS_ADDRESS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + QStringLiteral("/ibus/bus"));
    for (const QString& name : folder.entryList(QDir::Files, QDir::Time)) {
        QFile file(folder.filePath(name));
        if (file.size() > kMaxAddressFileBytes || !file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("IBUS_ADDRESS="))
                return QString::fromUtf8(line.mid(13));
        }
    }
    return {};
}

// IBus has no on/off switch: "on" selects a Japanese engine, "off" a
// keyboard layout, the first of each list that IBus knows.
bool switchIbus(bool open)
{
    const QString address = ibusAddress();
    if (address.isEmpty())
        return false;
    QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("fumi-ibus"));
    if (!bus.isConnected())
        return false;
    const QStringList engines = open ? QStringList{QStringLiteral("mozc-jp"), QStringLiteral("anthy"),
                                                   QStringLiteral("kkc")}
                                     : QStringList{QStringLiteral("xkb:jp::jpn"), QStringLiteral("xkb:us::eng")};
    for (const QString& name : engines) {
        QDBusMessage call = QDBusMessage::createMethodCall(kIbusService, kIbusPath, kIbusService,
                                                           QStringLiteral("SetGlobalEngine"));
        call << name;
        if (bus.call(call, QDBus::Block, kIbusTimeoutMs).type() == QDBusMessage::ReplyMessage)
            return true;
    }
    return false;
}

class SystemSwitch : public InputMethodSwitch {
public:
    void setOpen(bool open) override
    {
        if (!switchFcitx(open) && !switchIbus(open))
            switchFcitxRemote(open);
    }
};

} // namespace

std::unique_ptr<InputMethodSwitch> systemInputMethodSwitch()
{
    return std::make_unique<SystemSwitch>();
}

} // namespace editor
