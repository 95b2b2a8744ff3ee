// "UserData.ini" beside the executable, resolved into the user data folder as
// start-up does; the program folder and the user's folders are in the scratch
// folder.

#include "env/globals.h"
#include "env/yini.h"
#include "fuzz/fuzzsupport.h"

#include <QDir>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startUp(argc, argv);
    QDir().mkpath(fuzz::scratchPath(QStringLiteral("prog")));
    env::gsExeNm = QStringLiteral("fumi");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::writeScratch(QStringLiteral("prog/UserData.ini"), fuzz::bytesOf(data, size));
    env::yIni ini;
    ini.setProgramFolder(fuzz::scratchPath(QStringLiteral("prog")));
    ini.W_UserData();
    return 0;
}
