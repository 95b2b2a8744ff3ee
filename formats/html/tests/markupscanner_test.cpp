#include "formats/html/markupscanner.h"

#include "formats/html/tests/formatstest.h"

#include <QRandomGenerator>

using namespace formats;

namespace {

// "text", "<name attr=value …>", "</name>", "other" per token.
QStringList tokens(const QString& html)
{
    QStringList out;
    for (const MarkupToken& token : scanMarkup(html)) {
        switch (token.kind) {
        case MarkupToken::Text: out << QStringLiteral("text:") + html.mid(token.start, token.length); break;
        case MarkupToken::EndTag: out << QStringLiteral("</") + token.name + u'>'; break;
        case MarkupToken::Other: out << QStringLiteral("other"); break;
        case MarkupToken::StartTag: {
            QString tag = u'<' + token.name;
            for (const MarkupAttribute& a : token.attributes)
                tag += u' ' + a.name + u'=' + a.value;
            out << tag + (token.selfClosing ? QStringLiteral("/>") : QStringLiteral(">"));
        }
        }
    }
    return out;
}

TEST(MarkupScanner, CutsTagsAttributesAndText)
{
    const std::pair<QString, QStringList> rows[] = {
        {QStringLiteral("a<P Class=\"x y\" style='a:\"b\"' nowrap width=50 />b"),
         {QStringLiteral("text:a"), QStringLiteral("<p class=x y style=a:\"b\" nowrap= width=50/>"), QStringLiteral("text:b")}},
        {QStringLiteral("<a href=\"x>y\">t</A>"), {QStringLiteral("<a href=x>y>"), QStringLiteral("text:t"), QStringLiteral("</a>")}},
        {QStringLiteral("1 < 2 <3"), {QStringLiteral("text:1 "), QStringLiteral("text:< 2 "), QStringLiteral("text:<3")}},
        {QStringLiteral("<!-- <p> --><!DOCTYPE x><?php ?>z"),
         {QStringLiteral("other"), QStringLiteral("other"), QStringLiteral("other"), QStringLiteral("text:z")}},
        {QStringLiteral("<script>if (a<b) document.write('<p>')</script>"),
         {QStringLiteral("<script>"), QStringLiteral("text:if (a<b) document.write('<p>')"), QStringLiteral("</script>")}},
        {QStringLiteral("<p title=\"unterminated"), {QStringLiteral("<p title=unterminated>")}},
        {QStringLiteral("<style>.a{}</STYLE>"), {QStringLiteral("<style>"), QStringLiteral("text:.a{}"), QStringLiteral("</style>")}},
    };
    for (const auto& [html, expected] : rows)
        EXPECT_EQ(tokens(html), expected) << html.toStdString();
}

TEST(MarkupScanner, EveryCharacterBelongsToOneToken)
{
    const QString pieces[] = {QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("</"), QStringLiteral("<p"),
                              QStringLiteral("\""), QStringLiteral("'"), QStringLiteral("="), QStringLiteral("<!--"),
                              QStringLiteral("-->"), QStringLiteral("<script>"), QStringLiteral(" "), QStringLiteral("x"),
                              QStringLiteral("/>"), QStringLiteral("<!")};
    QRandomGenerator random(7);
    for (int round = 0; round < 500; ++round) {
        QString html;
        for (int i = 0; i < 30; ++i)
            html += pieces[random.bounded(int(std::size(pieces)))];
        qsizetype next = 0;
        for (const MarkupToken& token : scanMarkup(html)) {
            ASSERT_EQ(token.start, next) << html.toStdString();
            ASSERT_GT(token.length, 0) << html.toStdString();
            next = token.start + token.length;
        }
        ASSERT_EQ(next, html.size()) << html.toStdString();
    }
}

TEST(MarkupScanner, DecodesCharacterReferences)
{
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("A&amp;B &lt;&gt;&quot;&apos;"), QStringLiteral("A&B <>\"'")},
        {QStringLiteral("&#12288;&#x3000;&#X41;"), QStringLiteral("　　A")},
        {QStringLiteral("&nbsp;&copy;&#0;&#xD800;&#99999999;&"), QStringLiteral("\u00A0&copy;&#0;&#xD800;&#99999999;&")},
        {QStringLiteral("&#128512;"), QStringLiteral("😀")},
    };
    for (const auto& [text, decoded] : rows)
        EXPECT_EQ(decodeEntities(text), decoded) << text.toStdString();
    EXPECT_EQ(attributeText(u"a&\"<>"), QStringLiteral("a&amp;&quot;&lt;&gt;"));
}

} // namespace
