// A long HTML file is converted into the dialect piece by piece: the pieces
// are cut only where reading them apart gives what reading the whole file
// gives, so the written dialect is the same byte for byte.

#include "formats/convertfile.h"
#include "formats/html/htmlpieces.h"

#include "formats/html/tests/formatstest.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QFileInfo>

using namespace formatstest;

namespace {

QString page(const QString& head, const QString& body)
{
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html><head>"
                          "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
                          "<title>手引き</title>")
        + head + QStringLiteral("</head>\n<body>\n") + body + QStringLiteral("\n</body></html>\n");
}

// A section of a manual as documentation tools write one.
QString section(int n)
{
    const QString id = QString::number(n);
    return QStringLiteral("<h2><a name=\"s%1\"></a>%1. Option set %1</h2>\n"
                          "<p>Reads <em>its</em> <code>conf.%1</code>; see <a href=\"#s%2\">before</a> "
                          "and <a href=\"#s%3\">after</a>. 設定は<b>再起動</b>後に有効です。</p>\n"
                          "<ul><li>timeout<ul><li>0 waits</li></ul></li><li>retries</li></ul>\n"
                          "<ol start=\"3\"><li>third</li><li>fourth</li></ol>\n"
                          "<dl><dt>--verbose</dt><dd>Print all.</dd></dl>\n"
                          "<pre>$ example --config conf.%1\n\tsection %1\n$ zpipe &lt; a &gt; b</pre>\n"
                          "<table border=\"1\"><tr><th>Key</th><th>Value</th></tr><tr><td>k%1</td><td>%1</td></tr></table>\n"
                          "<p class=\"note\">Written by St\u00e9phane.</p>\n")
        .arg(id, QString::number(n > 0 ? n - 1 : 0), QString::number(n + 1));
}

QString sections(int count, const QString& around = QStringLiteral("%1"))
{
    QString body;
    for (int n = 0; n < count; ++n)
        body += around.arg(section(n));
    return body;
}

const QString kNoteRule = QStringLiteral("<style type=\"text/css\">p.note { color: #336699; margin-left: 12pt }</style>");

struct Row {
    const char* name;
    QString html;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

const Row kRows[] = {
    {"AFlatManual", page(kNoteRule, QStringLiteral("<h1>Manual</h1>\n") + sections(6))},
    // DocBook keeps the whole book in one division, each chapter in another.
    {"ChaptersInsideABook",
     page(kNoteRule, QStringLiteral("<div class=\"book\" id=\"top\">\n%1</div>")
                         .arg(sections(4, QStringLiteral("<div class=\"chapter\" id=\"c\">\n%1</div>\n"))))},
    {"SectionsWithTargets",
     page({}, sections(4, QStringLiteral("<section id=\"x\" class=\"level1\">\n%1</section>\n")))},
    // A wrapper with a look of its own is never reopened.
    {"AWrapperWithALook",
     page(QStringLiteral("<style>div.box { margin-top: 20pt; color: red }</style>"),
          QStringLiteral("<div class=\"box\">\n%1</div>\n<div style=\"margin-left: 30pt\">\n%1</div>").arg(sections(3)))},
    {"ParagraphsLeftOpen",
     page({}, QStringLiteral("<h1>Old</h1>\n<p>one\n<p>two <b>bold</b>\n<h2>Next</h2>\n<p>three\n<p>four\n<h2>Last</h2>\n<p>five"))},
    {"ATableBeforeAHeading",
     page({}, QStringLiteral("<p>a</p>\n<table><tr><td>cell</td></tr></table>\n<h2>After</h2>\n<p>b</p>"
                             "<div><table><tr><td>framed</td></tr></table></div>\n<h2>Then</h2><p>c</p>"))},
    {"TextBetweenBlocks",
     page({}, QStringLiteral("<p>a</p>loose text<p>b</p>\n<div>lead <p>inner</p> tail</div>\n<p>c</p>"))},
};

QStringList piecesOf(const QString& html, qsizetype pieceLength = 1)
{
    formats::HtmlPieces pieces(html, pieceLength);
    QStringList all;
    for (std::optional<QString> piece = pieces.next(); piece; piece = pieces.next())
        all << *piece;
    return all;
}

class ConvertInPieces : public ::testing::TestWithParam<Row> {
protected:
    QByteArray converted(const QString& input, qsizetype pieceLength, const QString& outDir)
    {
        const formats::ConversionOutcome outcome = formats::ConversionRun({input}, pieceLength).convert(input, QStringLiteral("htm"), outDir);
        EXPECT_TRUE(outcome.written) << qPrintable(outcome.reason);
        return readBytes(outDir + QStringLiteral("/in.htm"));
    }

    testsupport::ScriptedDialogs dialogs; // nothing may be shown
    testsupport::TempFolder folder;
};

TEST_P(ConvertInPieces, GivesTheDialectOfTheWholeFile)
{
    const QString input = folder.write(QStringLiteral("in.html"), GetParam().html.toUtf8());
    const QByteArray whole = converted(input, 1 << 30, folder.path(QStringLiteral("whole")));
    const QByteArray pieces = converted(input, 1, folder.path(QStringLiteral("pieces")));
    EXPECT_EQ(QString::fromUtf8(pieces), QString::fromUtf8(whole));
    ASSERT_FALSE(whole.isEmpty());

    // The dialect read again, piece by piece, is written as it was.
    const QString again = folder.write(QStringLiteral("again/in.html"), whole);
    EXPECT_GT(piecesOf(QString::fromUtf8(whole)).size(), 1);
    EXPECT_EQ(QString::fromUtf8(converted(again, 1, folder.path(QStringLiteral("again/pieces")))),
              QString::fromUtf8(converted(again, 1 << 30, folder.path(QStringLiteral("again/whole")))));
}

INSTANTIATE_TEST_SUITE_P(Files, ConvertInPieces, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Pieces are read on several threads at once, each with its links and
// targets: before, two threads could change the table of field caches at
// the same time, and now and then a conversion crashed.
TEST_F(ConvertInPieces, ManyPiecesAtOnceGiveTheDialectOfTheWholeFile)
{
    const QString input = folder.write(QStringLiteral("in.html"), page(kNoteRule, sections(150)).toUtf8());
    const QByteArray whole = converted(input, 1 << 30, folder.path(QStringLiteral("whole")));
    for (int run = 0; run < 3; ++run)
        EXPECT_EQ(converted(input, 1, folder.path(QStringLiteral("pieces%1").arg(run))), whole);
}

// A piece over a limit of the reader refuses the whole file, as reading it
// whole would, and nothing is written.
TEST_F(ConvertInPieces, APieceThatCannotBeReadWritesNothingAndSaysWhy)
{
    const QString deep = QStringLiteral("<p>") + QStringLiteral("<span>").repeated(300) + QStringLiteral("deep")
        + QStringLiteral("</span>").repeated(300) + QStringLiteral("</p>\n");
    const QString input = folder.write(QStringLiteral("in.html"), page({}, sections(3) + deep + sections(3)).toUtf8());
    const QString out = folder.path(QStringLiteral("out"));
    for (const qsizetype pieceLength : {qsizetype(1), qsizetype(1) << 30}) {
        const formats::ConversionOutcome outcome =
            formats::ConversionRun({input}, pieceLength).convert(input, QStringLiteral("htm"), out);
        EXPECT_FALSE(outcome.written);
        EXPECT_TRUE(outcome.reason.endsWith(QStringLiteral("を読み込めません｡要素の入れ子は 256 段までです｡")))
            << qPrintable(outcome.reason);
        EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/in.htm")));
    }
}

// Each piece is a file of its own: the head, the body, a run of blocks.
TEST(HtmlPieces, CutsBeforeBlocksAndGivesEachPieceTheHead)
{
    const QString html = page(kNoteRule, QStringLiteral("<h1>Manual</h1>\n") + sections(3));
    const QStringList pieces = piecesOf(html);
    // Before a section's heading, its first paragraph, its lists and its
    // pre; never inside a list or pre, never after the table.
    EXPECT_EQ(pieces.size(), 1 + 3 * 6);
    for (const QString& piece : pieces) {
        EXPECT_TRUE(piece.startsWith(html.first(html.indexOf(QStringLiteral("<body>")) + 6))) << qPrintable(piece);
        EXPECT_TRUE(piece.endsWith(QStringLiteral("</html>\n")) || piece.endsWith(QStringLiteral("</body></html>")));
        EXPECT_EQ(piece.count(QStringLiteral("<ul>")), piece.count(QStringLiteral("</ul>")));
        EXPECT_EQ(piece.count(QStringLiteral("<pre>")), piece.count(QStringLiteral("</pre>")));
        EXPECT_FALSE(piece.contains(QStringLiteral("</table>\n</body>")));
    }
    EXPECT_EQ(pieces.join(QString()).count(QStringLiteral("Option set")), 3);
}

TEST(HtmlPieces, RunsOnUntilAPieceIsLongEnough)
{
    const QString html = page({}, sections(40));
    const QStringList pieces = piecesOf(html, 4096);
    EXPECT_GT(pieces.size(), 3);
    for (const QString& piece : pieces.mid(0, pieces.size() - 1))
        EXPECT_GE(piece.size(), 4096);
}

TEST(HtmlPieces, ReopensPlainWrappersWithoutTheirTargets)
{
    const QString html = page({}, QStringLiteral("<div class=\"book\" id=\"top\">\n<p>one</p>\n<p>two</p>\n</div>"));
    const QStringList pieces = piecesOf(html);
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_TRUE(pieces[0].contains(QStringLiteral("<div class=\"book\" id=\"top\">\n<p>one</p>\n</div></body></html>")));
    EXPECT_TRUE(pieces[1].contains(QStringLiteral("<body><div class=\"book\"><p>two</p>")));
}

// Before, every end tag that closed nothing walked all the open elements,
// and every cut all of them again: a file of many thousands took minutes.
TEST(HtmlPieces, ElementsNestedPastTheReadersLimitEndTheCuts)
{
    const QString html = page({}, QStringLiteral("<p>one</p>\n") + QStringLiteral("<div>").repeated(200'000)
                                      + QStringLiteral("</x>").repeated(200'000) + QStringLiteral("<p>two</p>").repeated(1000));
    const QStringList pieces = piecesOf(html);
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_TRUE(pieces[1].endsWith(QStringLiteral("<p>two</p>\n</body></html>\n")));
}

// Only a picture or a style sheet in the body keeps it whole, not a name
// that starts like one.
TEST(HtmlPieces, NamesThatOnlyStartLikePicturesOrStyleSheetsAreCut)
{
    const QString html = page({}, QStringLiteral("<p>one <imgs>x</imgs></p>\n<p>two <styles>y</styles></p>\n<p>three</p>"));
    EXPECT_EQ(piecesOf(html).size(), 3);
}

TEST(HtmlPieces, FilesThatCannotBeCutAreOnePiece)
{
    const QString blocks = QStringLiteral("<p>one</p>\n<p>two</p>\n<p>three</p>");
    const QString cases[] = {
        page({}, blocks + QStringLiteral("<p><img src=\"a.png\"></p>")),
        page({}, blocks + QStringLiteral("<p><IMG\nSRC=\"a.png\"></p>")),
        page({}, blocks + QStringLiteral("<style>p { color: red }</style>")),
        page({}, blocks + QStringLiteral("<STYLE>p { color: red }</STYLE>")),
        page(QStringLiteral("<style>h2 + p { color: red }</style>"), blocks),
        page(QStringLiteral("<style>body { margin: 5ex 10ex }</style>"), blocks),
        page(QStringLiteral("<style>div.chapter p { padding: 1ex }</style>"), blocks),
        page(QStringLiteral("<style id=\"sheet\">p { color: red }</style>"), blocks),
        QStringLiteral("<html><body style=\"margin-top: 2em\">") + blocks + QStringLiteral("</body></html>"),
        QStringLiteral("{% template %}<html><body>") + blocks + QStringLiteral("</body></html>"),
        QStringLiteral("<html><p>one</p><p>two</p></html>"),
        page({}, QStringLiteral("<ul><li><p>one</p><p>two</p></li></ul>")),
        page({}, QStringLiteral("<div style=\"color: red\"><p>one</p><p>two</p></div>")),
    };
    for (const QString& html : cases) {
        const QStringList pieces = piecesOf(html);
        ASSERT_EQ(pieces.size(), 1) << qPrintable(html);
        EXPECT_EQ(pieces[0], html);
    }
}

} // namespace
