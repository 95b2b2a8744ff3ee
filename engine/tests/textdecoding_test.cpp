// Decoding the bytes of text files: which character set is taken, and how
// unreadable bytes are shown and counted.
#include "engine/textdecoding.h"

#include "testsupport/printers.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace engine {
namespace {

QByteArray encoded(const char* charset, const QString& text)
{
    QStringEncoder encoder(charset);
    return encoder.encode(text);
}

const QString kJapanese = QStringLiteral("日本語のテキストです。");
const QString kLongJapanese = QStringLiteral("これは日本語の文書です。漢字と仮名が混じっています。").repeated(4);

struct Row {
    const char* name;
    QByteArray bytes;
    QByteArray declared;
    QString text;
    qsizetype unreadable;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class Decoding : public ::testing::TestWithParam<Row> {};

TEST_P(Decoding, TakesTheRightCharacterSetAndCountsWhatItCannotRead)
{
    const Row& row = GetParam();
    const DecodedText decoded = decodeText(row.bytes, TextMarkup::None, row.declared);
    EXPECT_EQ(decoded.text, row.text);
    EXPECT_EQ(decoded.unreadable, row.unreadable);
}

// Before ICU decided, each "invalid utf-8" row came out as CP932 (all the
// Japanese garbled, nothing counted), the Latin-1 rows read "St駱hane", and
// a lone lead byte at the end of CP932 text was dropped without a trace.
INSTANTIATE_TEST_SUITE_P(
    Rows, Decoding,
    ::testing::Values(
        Row{"utf8", kJapanese.toUtf8(), {}, kJapanese, 0},
        Row{"invalidUtf8Undeclared", kLongJapanese.toUtf8() + "\xFF" + kJapanese.toUtf8(), {},
            kLongJapanese + QChar(0xFFFD) + kJapanese, 1},
        Row{"invalidUtf8Declared", kJapanese.toUtf8() + "\xC3(" + kJapanese.toUtf8(), "utf-8",
            kJapanese + QChar(0xFFFD) + u'(' + kJapanese, 1},
        Row{"invalidUtf8AfterMark", "\xEF\xBB\xBF" + kJapanese.toUtf8() + "\x80", {}, kJapanese + QChar(0xFFFD), 1},
        Row{"latin1", QByteArray("Written by St\xE9phane Martin, 2004.\n"), {},
            QStringLiteral("Written by Stéphane Martin, 2004.\n"), 0},
        Row{"latin1Declared", QByteArray("St\xE9phane"), "ISO-8859-1", QStringLiteral("Stéphane"), 0},
        Row{"shortCp932", encoded("windows-31j", kJapanese), {}, kJapanese, 0},
        Row{"longCp932", encoded("windows-31j", kLongJapanese), {}, kLongJapanese, 0},
        Row{"cp932Declared", encoded("windows-31j", QStringLiteral("①髙")), "Shift_JIS", QStringLiteral("①髙"), 0},
        Row{"cp932TrailingLeadByte", encoded("windows-31j", kJapanese) + "\x82", {}, kJapanese + QChar(0xFFFD), 1},
        Row{"cp932Unassigned", encoded("windows-31j", kJapanese) + "\x85\x40" + encoded("windows-31j", kJapanese), {},
            kJapanese + QChar(0xFFFD) + kJapanese, 1},
        Row{"utf16", "\xFF\xFE" + encoded("UTF-16LE", kJapanese), {}, kJapanese, 0},
        Row{"unknownDeclarationIsIgnored", kJapanese.toUtf8(), "no-such-charset", kJapanese, 0}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(Decoding, UnreadableBytesNeverBecomeControlCharacters)
{
    // ICU's own substitution gave U+001A for these bytes in CP932.
    const QByteArray bytes = encoded("windows-31j", kJapanese) + "\xA0\xFD\xFE\xFF\x85\x40";
    const DecodedText decoded = decodeText(bytes, TextMarkup::None, "windows-31j");
    EXPECT_FALSE(decoded.text.contains(QChar(0x1A))) << decoded.text.toStdString();
    EXPECT_EQ(decoded.unreadable, decoded.text.count(QChar(0xFFFD)));
    EXPECT_GE(decoded.unreadable, 4);
}

} // namespace
} // namespace engine
