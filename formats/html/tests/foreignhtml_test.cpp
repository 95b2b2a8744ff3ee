// HTML that nobody here wrote, read and saved as the dialect the way the
// editor saves: what a browser showed is what the saved file shows, and
// saving what was read back changes nothing.

#include "formats/html/tests/formatstest.h"

#include "engine/objects.h"
#include "testsupport/htmlvalidator.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QImage>

using namespace formatstest;

namespace {

struct Row {
    const char* name;
    QString body;               // inside <body> of a file nobody here wrote
    QStringList written;        // each found in the saved dialect
    QStringList notWritten = {}; // none of these is
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

QString foreign(const QString& body)
{
    return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n<html><head>"
                          "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
                          "<title>外部</title></head><body>\n")
        + body + QStringLiteral("\n</body></html>\n");
}

const Row kRows[] = {
    // Before, every in-page address was resolved against the folder saved
    // into: the file named that folder and its links led nowhere.
    {"InPageLinksAndTheirTargetsSurvive",
     QStringLiteral("<h2 id=\"intro\">Intro</h2>\n<p><a name=\"x2\"></a>Chapter 1</p>\n"
                    "<p>See <a href=\"#intro\">intro</a>, <a href=\"#x2\">one</a> and <a href=\"other.html#p\">other</a>.</p>"),
     {QStringLiteral("id=\"intro\""), QStringLiteral("id=\"x2\""), QStringLiteral("href=\"#intro\""),
      QStringLiteral("href=\"#x2\""), QStringLiteral("href=\"other.html#p\"")}},
    // Before, the target of a section landed on the white space behind the
    // paragraph before it, and was gone when the file was read again.
    {"ASectionsTargetStaysWithItsHeading",
     QStringLiteral("<ol><li><p>item</p></li>\n</ol>\n<section id=\"removal\">\n<h2>Removal</h2>\n</section>"),
     {QStringLiteral("id=\"removal\"")}},
    // A name that cannot be an id (LibreOffice's "__RefHeading…") stays an
    // anchor of its own.
    {"TargetsInsideTheTextSurvive",
     QStringLiteral("<p>Before <a name=\"__Ref1\"></a>target</p>\n<p><a href=\"#__Ref1\">go</a></p>"),
     {QStringLiteral("Before <a name=\"__Ref1\"></a>target"), QStringLiteral("href=\"#__Ref1\"")}},
    // Targets inside a table and behind it stay on their letters: the
    // table's cells and frame count among the document's positions.
    {"TargetsInAndBehindATableStayOnTheirLetters",
     QStringLiteral("<table><tr><td>a</td><td>In <a name=\"__Cell\"></a>cell</td></tr></table>\n"
                    "<p>After <a name=\"__After\"></a>table</p>"),
     {QStringLiteral("In <a name=\"__Cell\"></a>cell"), QStringLiteral("After <a name=\"__After\"></a>table")}},
    // Before, the letter holding the anchor was a run of its own, written
    // apart from the rest of its word ("C hapter 1", "第 １章").
    {"TheFirstLetterStaysWithItsWord",
     QStringLiteral("<h1><a name=\"c1\"></a><font color=\"#123456\">Chapter 1</font></h1>\n"
                    "<p><font color=\"#123456\"><a name=\"s1\">第</a>１章</font></p>"),
     {QStringLiteral("Chapter 1"), QStringLiteral("第１章")}},
    // Before, Qt's parser took "< foo.txt >" for a tag and the words went.
    {"ALessThanThatStartsNoTagIsText", QStringLiteral("<p>zpipe < foo.txt > foo.txt.z</p>"),
     {QStringLiteral("zpipe &lt; foo.txt &gt; foo.txt.z")}},
    // Before, an inner list was written after its outer one, and the
    // numbers of a list not counting from 1 were lost.
    {"NestedListsStayNestedAndKeepTheirNumbers",
     QStringLiteral("<ul><li>one<ul><li>inner</li></ul></li><li>two</li></ul>\n<ol start=\"4\"><li>four</li><li>five</li></ol>"),
     {QStringLiteral(">one\r\n"), QStringLiteral("inner</li>\r\n    </ul></li>"), QStringLiteral("start=\"4\"")}},
    // Before, a rule was no paragraph of the engine's export and went.
    {"ARuleSurvives", QStringLiteral("<p>above</p><hr><p>below</p>"), {QStringLiteral("<hr>")}},
    // Before, a picture whose file was missing left nothing, its link
    // neither.
    {"AMissingPictureLeavesItsAltText",
     QStringLiteral("<p><img src=\"missing.png\" alt=\"図 1\"> and <a href=\"http://example.org/\"><img src=\"gone.png\" alt=\"linked\"></a></p>"),
     {QStringLiteral("図 1"), QStringLiteral("<a href=\"http://example.org/\" class=\"a01\">linked</a>")}},
    // Before, the alt text of a picture was written empty.
    {"APictureKeepsItsAltText", QStringLiteral("<p><img src=\"pic.png\" alt=\"赤い四角\"></p>"),
     {QStringLiteral("alt=\"赤い四角\"")}},
    // Before, preformatted text was written as ordinary text, which
    // browsers lay out with its tabs and runs of spaces collapsed.
    {"PreformattedTextKeepsItsTabs", QStringLiteral("<pre>\ttabbed\nplain</pre>"),
     {QStringLiteral("white-space:nowrap;"), QStringLiteral("{white-space:pre;}"), QStringLiteral(">\ttabbed</span>")}},
    // Before, LibreOffice's cell borders were lost: the engine draws the
    // table's border only.
    {"CellBordersAreKept",
     QStringLiteral("<table cellpadding=\"4\" cellspacing=\"0\"><tr><td style=\"border: 1px solid #000000; padding: 0.1cm\">"
                    "<p>A1</p></td></tr></table>"),
     {QStringLiteral("<table border=\"1\"")}},
    // A family list names the font first: the first name is the font.
    {"TheFirstFamilyIsTheFont", QStringLiteral("<p style=\"font-family: 'Fumi Serif', serif\">x</p>"),
     {QStringLiteral("font-family:'Fumi Serif'")}, {QStringLiteral("'serif'")}},
    // Before, LibreOffice's transparent cells were written black.
    {"TransparentIsNoColour",
     QStringLiteral("<table cellpadding=\"4\" cellspacing=\"0\"><tr><td style=\"background: transparent\"><p>A1</p></td></tr></table>"),
     {QStringLiteral("A1")}, {QStringLiteral("background-color:#000000"), QStringLiteral("bgcolor")}},
};

class ForeignHtml : public ::testing::TestWithParam<Row> {
protected:
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
};

TEST_P(ForeignHtml, SavedAsTheDialectShowsWhatItShowed)
{
    const Row& row = GetParam();
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.path(QStringLiteral("pic.png"))));
    const std::unique_ptr<engine::TextEngine> read = readHtmlText(foreign(row.body), folder.path());
    ASSERT_TRUE(read);
    const auto [first, second] = writeReadWrite(*read, folder.path());
    ASSERT_FALSE(first.isEmpty());
    for (const QString& expected : row.written)
        EXPECT_TRUE(first.contains(expected)) << testing::PrintToString(expected) << "\n" << first.toStdString();
    for (const QString& unexpected : row.notWritten)
        EXPECT_FALSE(first.contains(unexpected)) << testing::PrintToString(unexpected) << "\n" << first.toStdString();
    EXPECT_FALSE(first.contains(folder.path())) << first.toStdString();
    EXPECT_EQ(second, first);
    if (testsupport::htmlValidatorInstalled()) {
        EXPECT_EQ(testsupport::htmlValidatorComplaints(folder.path(QStringLiteral("doc.htm"))), QString());
    }
}

INSTANTIATE_TEST_SUITE_P(Html, ForeignHtml, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// A file with `rules` in its head and `body` in its body.
QString styled(const QString& rules, const QString& body)
{
    return QStringLiteral("<html><head><title>外部</title><style type=\"text/css\">") + rules
        + QStringLiteral("</style></head><body>\n") + body + QStringLiteral("\n</body></html>\n");
}

// A style sheet of tag and class rules is applied while the file is read,
// and Qt's import never sees it: the document must be the one Qt's own
// cascade gives. A rule of another form, which matches nothing here, makes
// the file go to Qt with its sheet, as the reference.
TEST(ForeignStyleSheets, TagAndClassRulesCascadeAsQtCascadesThem)
{
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    const struct {
        const char* name;
        QString rules;
        QString body;
        QString shown; // in the saved file, so that the rules did something
    } rows[] = {
        {"AClassWinsOverATagGivenAfterIt", QStringLiteral(".red {color:#ff0000} p {color:#0000ff}"),
         QStringLiteral("<p class=\"red\">a</p><p>b</p>"), QStringLiteral("color:#ff0000")},
        {"OfTwoTagRulesTheLaterWins", QStringLiteral("code {color:#00ff00} code {color:#ff00ff}"),
         QStringLiteral("<p>x <code>y</code></p>"), QStringLiteral("color:#ff00ff")},
        {"ATagsClassWinsOverTheClassGivenAfterIt",
         QStringLiteral("span.k {font-weight:bold} .k {font-weight:normal; color:#123456}"),
         QStringLiteral("<p><span class=\"k\">k</span> and <b class=\"k\">b</b></p>"), QStringLiteral("bold")},
        {"OfTwoClassesTheRuleGivenLaterWins", QStringLiteral(".b {color:#00ff00} .a {color:#ff0000}"),
         QStringLiteral("<p><span class=\"b a\">x</span> <span class=\"a b\">y</span></p>"),
         QStringLiteral("color:#ff0000")},
        {"TheElementsOwnStyleWinsOverTheSheet", QStringLiteral("P {color:#0000ff}"),
         QStringLiteral("<p style=\"color:#00ff00\">x</p>"), QStringLiteral("color:#00ff00")},
        {"ARuleGroupInCommentMarks", QStringLiteral("<!-- h2, pre {color:#aa0000} -->"),
         QStringLiteral("<h2>T</h2><pre>p</pre>"), QStringLiteral("color:#aa0000")},
    };
    for (const auto& row : rows) {
        const auto folded = readHtmlText(styled(row.rules, row.body), folder.path());
        const auto byQt = readHtmlText(styled(row.rules + QStringLiteral(" div p {}"), row.body), folder.path());
        ASSERT_TRUE(folded && byQt) << row.name;
        const QString written = writeDialect(*folded, folder.path(QStringLiteral("folded.htm")));
        EXPECT_EQ(written, writeDialect(*byQt, folder.path(QStringLiteral("byqt.htm")))) << row.name;
        EXPECT_TRUE(written.contains(row.shown)) << row.name << "\n" << written.toStdString();
    }
}

// Where Qt's import took a paragraph's margins from the sheet, they were
// lost; a browser shows them.
TEST(ForeignStyleSheets, ATagRulesMarginsReachTheParagraph)
{
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    const auto read = readHtmlText(styled(QStringLiteral("p {margin-left:30pt}"), QStringLiteral("<p>x</p>")));
    ASSERT_TRUE(read);
    EXPECT_TRUE(writeDialect(*read, folder.path(QStringLiteral("doc.htm"))).contains(QStringLiteral("margin-left:30pt")));
}

} // namespace
