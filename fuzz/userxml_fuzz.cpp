// "User.xml" as start-up and shutdown use it: the file is loaded, each group
// the program keeps is read and changed, and the file is written back.

#include "env/yini.h"
#include "fuzz/fuzzsupport.h"

#include <QStringList>

namespace {

const QStringList kGroups = {
    QStringLiteral("TX_SCREEN"), QStringLiteral("TX_USR"), QStringLiteral("TX_FORMAT"), QStringLiteral("TX_PAGE"),
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = fuzz::writeScratch(QStringLiteral("User.xml"), fuzz::bytesOf(data, size));
    env::yIni ini;
    if (!ini.GetTxt(file))
        return 0;
    for (const QString& group : kGroups) {
        ini.GetGtx(group);
        const QString text = ini.vGtVal(QStringLiteral("FUNC"), "非表示");
        const int left = ini.vGtVal(QStringLiteral("LEFT"), 0);
        const bool shown = ini.vGtVal(QStringLiteral("BAR"), true);
        ini.vGtVal(QStringLiteral("WHEN"), QDateTime());
        ini.SetVal(QStringLiteral("FUNC"), text + QStringLiteral("‡\r\n"));
        ini.SetVal(QStringLiteral("LEFT"), left + 1);
        ini.SetVal(QStringLiteral("BAR"), !shown);
        ini.SetVal(QStringLiteral("NEW"), 0.5);
        ini.SetGtx();
    }
    ini.SetTxt();
    return 0;
}
