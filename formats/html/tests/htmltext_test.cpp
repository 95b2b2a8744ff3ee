// The character set of an HTML file: what the file declares wins; what it
// does not declare is found by the detector all text files share; what could
// not be read is counted for the user.

#include "formats/html/htmltext.h"

#include "formats/html/tests/formatstest.h"

#include <QStringEncoder>

using namespace formatstest;

namespace {

struct DeclarationRow {
    const char* name;
    QByteArray head;
    QByteArray charset;
};

TEST(HtmlCharset, TheDeclarationIsFoundWhereverTheFileMakesIt)
{
    const DeclarationRow rows[] = {
        {"meta charset", "<html><head><META CHARSET=\"Shift_JIS\">", "shift_jis"},
        {"http-equiv", "<meta http-equiv='Content-Type' content='text/html; charset=EUC-JP'>", "euc-jp"},
        {"unquoted", "<meta http-equiv=Content-Type content=text/html;charset=utf-8>", "utf-8"},
        {"xml declaration", "<?xml version=\"1.0\" encoding='windows-1252'?><html><meta charset=utf-8>", "windows-1252"},
        {"later meta without charset", "<meta name=a content=b><meta charset = 'koi8-r'>", "koi8-r"},
        {"none", "<html><head><title>charset=utf-8</title>", ""},
        {"beyond the prescan", QByteArray(1100, ' ') + "<meta charset=utf-8>", ""},
    };
    for (const DeclarationRow& row : rows)
        EXPECT_EQ(formats::declaredCharset(row.head), row.charset) << row.name;
}

QByteArray page(const QByteArray& head, const QByteArray& body)
{
    return "<html><head>" + head + "<title>t</title></head><body><p>" + body + "</p></body></html>";
}

TEST(HtmlCharset, DeclaredWinsUndeclaredIsDetectedAndLossesAreCounted)
{
    const QString japanese = QStringLiteral("日本語の本文です。");
    QStringEncoder cp932("windows-31j");
    const QByteArray inCp932 = cp932.encode(japanese);
    struct Row {
        const char* name;
        QByteArray bytes;
        QString text;
        qsizetype unreadable;
    } rows[] = {
        // Before, one bad byte in a file declaring UTF-8 made the whole file CP932.
        {"utf-8 declared, one bad byte", page("<meta charset=\"utf-8\">", japanese.toUtf8() + "\xFF"),
         japanese + QChar(0xFFFD), 1},
        // Before, undeclared Latin-1 was read as CP932: "St駱hane".
        {"latin-1 undeclared", page({}, "Documentation by St\xE9phane and Fran\xE7ois."),
         QStringLiteral("Documentation by Stéphane and François."), 0},
        {"shift_jis declared", page("<meta charset=\"Shift_JIS\">", inCp932), japanese, 0},
        {"declared wins over valid utf-8", page("<meta charset=windows-1252>", "caf\xC3\xA9"), QStringLiteral("cafÃ©"), 0},
        {"cp932 undeclared", page({}, inCp932), japanese, 0},
    };
    for (const Row& row : rows) {
        const auto engine = readHtmlBytes(row.bytes);
        ASSERT_TRUE(engine) << row.name;
        EXPECT_EQ(engine->document()->toPlainText(), row.text) << row.name;
        EXPECT_EQ(engine->lastReadReport().unreadableCharacters, row.unreadable) << row.name;
    }
}

} // namespace
