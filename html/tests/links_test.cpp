#include "html/links.h"

#include "testsupport/printers.h"

#include <gtest/gtest.h>

using namespace html;

namespace {

TEST(HsFName, PadsNumbersAndAddsTheExtension)
{
    const std::pair<const char*, const char*> rows[] = {
        {"5", "005.htm"},        {"12", "012.htm"},       {"1234", "1234.htm"},
        {"007.HTML", "007.HTML"}, {" 42 ", "042.htm"},    {"x.Htm", "x.Htm"},
        {"", "000.htm"},         {"abc.txt", "abc.txt.htm"},
    };
    for (const auto& [number, name] : rows)
        EXPECT_EQ(HsFName(QString::fromUtf8(number)), QString::fromUtf8(name)) << number;
}

TEST(RelLink, ResolvesFileLinksAgainstTheBase)
{
    struct Row {
        const char* base;
        const char* address;
        const char* expected;
    };
    const Row rows[] = {
        {"file:///C:/Doc/A/", "../B/002.htm", "C:/Doc/B/002.htm"},
        {"file:///C:/Doc/A/", "002.htm", "C:/Doc/A/002.htm"},
        {"file:///C:/Doc/A/", "file:///D:/x.htm", "D:/x.htm"},
        {"file:///C:/Doc/A/", "../../../../x.htm", "C:/x.htm"},
        {"", "../x.htm", "../x.htm"},
        // POSIX folders keep their leading slash: before the fix the result
        // was a relative path such as home/u/Doc/B/002.htm.
        {"file:///home/u/Doc/A/", "../B/002.htm", "/home/u/Doc/B/002.htm"},
        {"file:///home/u/Doc/A/", "FILE:///home/u/x.htm", "/home/u/x.htm"},
        {"file:///home/u/My%20Doc/", "a.htm", "/home/u/My%20Doc/a.htm"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RelLink(QString::fromUtf8(row.base), QString::fromUtf8(row.address)),
                  QString::fromUtf8(row.expected))
            << row.base << " + " << row.address;
}

TEST(LinkAttributes, RewritesTargetsAndFileLinks)
{
    const QString base = QStringLiteral("file:///C:/Doc/A/");
    const std::pair<const char*, const char*> rows[] = {
        {"href=\"#TG_x_5\"", "href=\"005.htm\""},
        {"href=\"#TG_12\"", "href=\"012.htm\""},
        {"href=\"#tg_x_7\" title=\"t\"", "href=\"007.htm\""},
        {"href=\"file:///C:/Other/b.htm\" target=\"_blank\"", "href=\"C:/Other/b.htm\""},
        // Before the fix in-page and relative addresses were resolved
        // against the base, so every file named the folder it was saved in.
        {"href=\"../B/c.htm\" title=\"t\"", "href=\"../B/c.htm\""},
        {"href=\"#intro\"", "href=\"#intro\""},
        {"href=\"other.htm#part2\"", "href=\"other.htm#part2\""},
        {"href=\"/home/u/x.htm\"", "href=\"/home/u/x.htm\""},
        // Web links keep every attribute.
        {"href=\"http://example.com/\" target=\"_blank\"", "href=\"http://example.com/\" target=\"_blank\""},
        // Before the fix an https or mailto address was treated as a file
        // and prefixed with the base folder.
        {"href=\"https://example.com/a\" title=\"t\"", "href=\"https://example.com/a\" title=\"t\""},
        {"href=\"mailto:a@b.jp\"", "href=\"mailto:a@b.jp\""},
        {"href=\"#TP_tip\"", "href=\"#TP_tip\""},
        // An anchor without an address stays an anchor.
        {"name=\"top\"", "name=\"top\""},
    };
    for (const auto& [attributes, expected] : rows)
        EXPECT_EQ(LinkAttributes(QString::fromUtf8(attributes), base), QString::fromUtf8(expected)) << attributes;
}

} // namespace
