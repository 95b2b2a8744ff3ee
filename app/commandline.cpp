#include "app/commandline.h"

#include <cstdio>
#include <cstring>

namespace app {

namespace {

const char* const kHelp =
    "使い方: fumi [文書ファイル]\n"
    "Usage: fumi [DOCUMENT]\n"
    "\n"
    "Fumi は文書をﾌｫﾙﾀﾞの文書ﾃﾞｰﾀﾍﾞｰｽに保管して編集する日本語の文書エディタです。\n"
    "Fumi is a document editor for Japanese text that keeps documents in a folder-tree database.\n"
    "\n"
    "  --convert-to EXT [--outdir DIR] FILE...\n"
    "             ﾌｧｲﾙを EXT 形式に変換します (画面なし) / convert files without a window\n"
    "             FILE: .txt .htm .html .rtf .doc .docx\n"
    "             EXT: htm, txt, rtf, doc, docx, pdf\n"
    "             .doc (ﾜｰﾄﾞ文書 97-2003) には LibreOffice が必要です / .doc needs LibreOffice\n"
    "  --version  版を表示して終了します / print the version and exit\n"
    "  --help     この説明を表示して終了します / print this help and exit\n";

} // namespace

const char* helpText()
{
    return kHelp;
}

std::optional<int> answerInfoOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("fumi %s\n", FUMI_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(helpText(), stdout);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace app
