#include "env/mclt.h"

#include "testsupport/tempfolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace mClt;

namespace {

TEST(SBetween, CutsBetweenMarkers)
{
    struct Row {
        QString text;
        QString start;
        QString end;
        QString expected;
    };
    const Row rows[] = {
        {QStringLiteral("abc"), QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("bc")},
        {QStringLiteral("abc"), QStringLiteral("q"), QStringLiteral("x"), QString()},
        {QStringLiteral("<body>text</body>"), QStringLiteral("<BODY>"), QStringLiteral("</body>"),
         QStringLiteral("text")},
        {QStringLiteral("abc"), QString(), QStringLiteral("c"), QStringLiteral("ab")},
        {QStringLiteral("abc"), QStringLiteral("a"), QString(), QStringLiteral("bc")},
        {QStringLiteral("a=1"), QStringLiteral("="), QStringLiteral("xx"), QStringLiteral("1")},
        {QStringLiteral("href=\"x.htm\" title=\"t\""), QStringLiteral("href=\""), QStringLiteral("\""),
         QStringLiteral("x.htm")},
        // The start marker is found folded; the cut starts after its original length.
        {QStringLiteral("\uFF76\uFF9E=1;"), QStringLiteral("\u304C="), QStringLiteral(";"),
         QStringLiteral("1")},
        {QStringLiteral("margin-left:12pt"), QStringLiteral("margin-left:"), QStringLiteral("pt"),
         QStringLiteral("12")},
        {QString(), QStringLiteral("a"), QStringLiteral("b"), QString()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(sBetween(row.text, row.start, row.end), row.expected) << qPrintable(row.text);
}

TEST(CutTail, RemovesEveryTrailingSeparator)
{
    struct Row {
        QString text;
        QString separator;
        QString expected;
    };
    const Row rows[] = {
        {QStringLiteral("a,b, ,"), QString(), QStringLiteral("a,b")},
        {QStringLiteral("a , b,"), QStringLiteral(","), QStringLiteral("a,b")},
        {QStringLiteral("x;;"), QStringLiteral(";"), QStringLiteral("x")},
        {QStringLiteral("dir////"), QStringLiteral("/"), QStringLiteral("dir")},
        {QStringLiteral("a----"), QStringLiteral("--"), QStringLiteral("a")},
        {QStringLiteral("a, b"), QStringLiteral(";"), QStringLiteral("a, b")},
    };
    for (const Row& row : rows) {
        QString text = row.text;
        CutTail(text, row.separator);
        EXPECT_EQ(text, row.expected) << qPrintable(row.text);
    }
}

TEST(SplitAt, SplitsAtTheFirstSeparatorAndTrimsSpaces)
{
    struct Row {
        QString text;
        QString separator;
        QString left;
        QString right;
    };
    const Row rows[] = {
        {QStringLiteral(" key = value = more "), QStringLiteral("="), QStringLiteral("key"),
         QStringLiteral("value = more")},
        {QStringLiteral(" none "), QStringLiteral("="), QStringLiteral("none"), QString()},
        {QStringLiteral("aXb"), QStringLiteral("x"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("ab::cd"), QStringLiteral("::"), QStringLiteral("ab"), QStringLiteral("cd")},
        {QStringLiteral("\t a\t"), QStringLiteral("="), QStringLiteral("\t a\t"), QString()},
    };
    for (const Row& row : rows) {
        QString left = QStringLiteral("old");
        QString right = QStringLiteral("old");
        SplitAt(row.text, row.separator, left, right);
        EXPECT_EQ(left, row.left) << qPrintable(row.text);
        EXPECT_EQ(right, row.right) << qPrintable(row.text);
    }
}

TEST(BInText, GivesOneBasedPositions)
{
    qsizetype position = -1;
    EXPECT_TRUE(bInText(u"Hello", u"LL", &position));
    EXPECT_EQ(position, 3);
    EXPECT_FALSE(bInText(u"Hello", u"x", &position));
    EXPECT_EQ(position, 0);
    EXPECT_FALSE(bInText(u"Hello", u"", &position));
}

TEST(TrimSpaces, TrimsOnlyPlainSpaces)
{
    EXPECT_EQ(trimSpaces(u"  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(trimSpaces(u"\u3000a\t"), QStringLiteral("\u3000a\t"));
    EXPECT_EQ(trimSpaces(u"   "), QString());
}

TEST(Utf8Files, RoundTripWithByteOrderMark)
{
    testsupport::TempFolder folder;
    const QString path = folder.path(QStringLiteral("a.htm"));
    const QString text = QStringLiteral("\u3000全角\u3000スペース\r\nline 2");
    ASSERT_TRUE(WriteUtf8(path, text));
    const QByteArray bytes = folder.read(QStringLiteral("a.htm"));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.mid(3), text.toUtf8());
    EXPECT_EQ(sReadUtf8(path), text);
    // Overwriting replaces the whole file.
    ASSERT_TRUE(WriteUtf8(path, u"x"));
    EXPECT_EQ(folder.read(QStringLiteral("a.htm")), QByteArray("\xEF\xBB\xBFx"));
}

TEST(Utf8Files, ReadsWithoutMarkAndReportsFailures)
{
    testsupport::TempFolder folder;
    const QString plain = folder.write(QStringLiteral("plain.txt"), QByteArray("\xE6\x96\x87"));
    EXPECT_EQ(sReadUtf8(plain), QStringLiteral("文"));
    EXPECT_EQ(sReadUtf8(folder.path(QStringLiteral("missing.txt"))), std::nullopt);
    EXPECT_EQ(sReadUtf8(folder.path()), std::nullopt);
    EXPECT_FALSE(WriteUtf8(folder.path(QStringLiteral("no/such/folder/a.htm")), u"x"));
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("no"))));
}

TEST(SReadText, DecodesTheLegacyCodePage)
{
    testsupport::TempFolder folder;
    const QString path = folder.write(QStringLiteral("sjis.txt"), QByteArray("\x93\xFA\x96\x7B\xB6\xC5"));
    EXPECT_EQ(sReadText(path), QStringLiteral("日本\uFF76\uFF85"));
    EXPECT_EQ(sReadText(folder.path(QStringLiteral("missing.txt"))), QString());
}

TEST(FileChecks, FilesFoldersAndWildcards)
{
    testsupport::TempFolder folder;
    folder.write(QStringLiteral("doc/a.htm"), "x");
    const QString doc = folder.path(QStringLiteral("doc"));
    struct Row {
        QString path;
        bool wildcards;
        bool there;
    };
    const Row rows[] = {
        {doc + QStringLiteral("/a.htm"), false, true},
        {doc, false, false},                                   // a folder is not a file
        {doc + QStringLiteral("/*.HTM"), true, true},          // patterns ignore case
        {doc + QStringLiteral("/?.htm"), true, true},
        {doc + QStringLiteral("/??.htm"), true, false},
        {doc + QStringLiteral("/*.htm"), false, false},        // without the flag * is a name
        {doc + QStringLiteral("/b.htm"), true, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(bFileThere(row.path, row.wildcards), row.there) << qPrintable(row.path);
    EXPECT_TRUE(bFolderThere(doc));
    EXPECT_FALSE(bFolderThere(doc + QStringLiteral("/a.htm")));
}

TEST(FileChecks, MakeFoldersCreatesEveryLevel)
{
    testsupport::TempFolder folder;
    const QString deep = folder.path(QStringLiteral("a/b/c"));
    EXPECT_TRUE(MakeFolders(deep));
    EXPECT_TRUE(bFolderThere(deep));
    EXPECT_TRUE(MakeFolders(deep));
    folder.write(QStringLiteral("file"), "x");
    EXPECT_FALSE(MakeFolders(folder.path(QStringLiteral("file/sub"))));
}

} // namespace
