// New user formats reach the open document through the user-format page
// (job 66): its headings take them, and the next saved style sheet has them.
#include "editor/utxm.h"

#include "dialogs/paragraphdialog.h"
#include "editor/headingrestyle.h"
#include "editortestsupport.h"
#include "enginelook.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"
#include "testsupport/modalanswer.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using editor::uTxm;

// A heading 1, body text, another heading 1 and a heading 2.
const QString kText = u"初めに\r\n本文の段落\r\n次に\r\n細目"_s;
constexpr int kFirstHeading = 0;
constexpr int kBody = 4;
constexpr int kSecondHeading = 10;
constexpr int kSubheading = 13;

struct UserFormatJob : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    void SetUp() override
    {
        editor.cOn(1, 4);
        engine.setPlainText(kText);
        for (auto [position, style] : {std::pair{kFirstHeading, 0}, std::pair{kSecondHeading, 0}, std::pair{kSubheading, 1}}) {
            engine.setSelection(position, 0);
            editor.rtAct(60, style);
        }
        editor.rtAct(5, environment.dir.path(u"doc.htm"_s));
        ASSERT_FALSE(editor.bDcEdt());
    }

    // Runs job 66; while the page is open `work` uses its controls, then OK
    // (or ｷｬﾝｾﾙ) is pressed.
    void runPage(const std::function<void(QDialog&)>& work, const QString& button = u"OK"_s)
    {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            opened = true;
            if (work)
                work(*dialog);
            for (QPushButton* pushed : dialog->findChildren<QPushButton*>())
                if (dialog->isVisible() && pushed->text() == button)
                    pushed->click();
        });
        editor.rtAct(66);
        EXPECT_TRUE(opened);
    }

    static void click(QDialog& dialog, const char* name)
    {
        auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    void answerFontSize(int points)
    {
        env::FontRequest chosen;
        chosen.font = QFont(editor.formats().record(0).fontName);
        chosen.font.setPointSize(points);
        chosen.font.setBold(true);
        chosen.textColor = engine::colorFromHost(editor.formats().record(0).textColor);
        environment.dialogs.answerFont(chosen);
    }

    QString saved() const { return QString::fromUtf8(environment.dir.read(u"doc.htm"_s)); }
};

TEST_F(UserFormatJob, ABiggerFirstHeadingChangesTheDocumentsHeadingsAndTheStyleSheet)
{
    ASSERT_TRUE(saved().contains(u"h1 {font-family:"_s));
    ASSERT_TRUE(saved().contains(u";font-size:14pt;"_s));
    const editortest::CharacterLook body = editortest::characterAt(engine, kBody);
    const editortest::CharacterLook subheading = editortest::characterAt(engine, kSubheading);
    answerFontSize(20);

    runPage([](QDialog& dialog) { click(dialog, "cmFont0"); });

    EXPECT_EQ(editor.formats().record(0).size, 20);
    for (int heading : {kFirstHeading, kSecondHeading}) {
        EXPECT_EQ(editortest::characterAt(engine, heading).size, 20) << heading;
        EXPECT_EQ(editortest::characterAt(engine, heading + 1).size, 20) << "the whole paragraph";
        EXPECT_FLOAT_EQ(engine.paragraphValue(engine::ParagraphValue::LineSpacing), 20 * 20 * 1.2f);
    }
    EXPECT_EQ(editortest::characterAt(engine, kBody), body);
    EXPECT_EQ(editortest::characterAt(engine, kSubheading), subheading);
    EXPECT_TRUE(editor.bDcEdt());

    editor.rtAct(4);
    const QString html = saved();
    const qsizetype h1 = html.indexOf(u"h1 {"_s);
    ASSERT_GE(h1, 0);
    EXPECT_TRUE(html.mid(h1, html.indexOf(u'}', h1) - h1).contains(u"font-size:20pt;"_s)) << html.mid(h1, 120).toStdString();
    EXPECT_EQ(html.count(u"<h1"_s), 2);
}

TEST_F(UserFormatJob, TheRestyleIsOneUndoStep)
{
    answerFontSize(22);
    runPage([](QDialog& dialog) { click(dialog, "cmFont0"); });
    ASSERT_EQ(editortest::characterAt(engine, kSecondHeading).size, 22);
    editor.rtAct(11);
    EXPECT_EQ(editortest::characterAt(engine, kFirstHeading).size, 14);
    EXPECT_EQ(editortest::characterAt(engine, kSecondHeading).size, 14);
}

TEST_F(UserFormatJob, ConfirmingWithoutAChangeOrCancellingLeavesTheDocumentUnmodified)
{
    const int undo = engine.undoCount();
    runPage({});
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_EQ(engine.undoCount(), undo);

    answerFontSize(30);
    runPage([](QDialog& dialog) { click(dialog, "cmFont0"); }, u"ｷｬﾝｾﾙ"_s);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_EQ(editor.formats().record(0).size, 14);
    EXPECT_EQ(editortest::characterAt(engine, kFirstHeading).size, 14);
}

TEST_F(UserFormatJob, AChangeOnlyTheBodyShowsLeavesTheHeadingsAndTheFlagAlone)
{
    env::FontRequest chosen;
    chosen.font = QFont(u"Body Font"_s);
    chosen.font.setPointSize(10);
    environment.dialogs.answerFont(chosen);
    const editortest::CharacterLook heading = editortest::characterAt(engine, kFirstHeading);

    runPage([](QDialog& dialog) { click(dialog, "cmFont3"); });

    EXPECT_EQ(editor.formats().record(3).fontName, u"Body Font"_s);
    EXPECT_EQ(editortest::characterAt(engine, kFirstHeading), heading);
    EXPECT_FALSE(editor.bDcEdt());
    editor.rtAct(4);
    EXPECT_TRUE(saved().contains(u"body {padding-left: 10px;line-height:120%;font-family:'Body Font', sans-serif;"_s))
        << saved().left(800).toStdString();
}

TEST_F(UserFormatJob, TheParagraphButtonOpensTheParagraphDialogOnItsHeading)
{
    double opened = -1;
    engine.setSelection(kBody, 0);
    const double bodyIndent = engine.paragraphValue(engine::ParagraphValue::LeftIndent);
    runPage([&](QDialog& dialog) {
        testsupport::ModalAnswer ok(u"OK"_s, [&](QDialog& shown) {
            auto& paragraph = static_cast<dialogs::ParagraphDialog&>(shown);
            opened = paragraph.look().leftIndent;
            paragraph.unitBox()->setCurrentIndex(dialogs::ParagraphDialog::Centimetres);
            paragraph.leftIndentBox()->setValue(1);
        });
        click(dialog, "cmPrg0");
        EXPECT_TRUE(ok.seen());
    });

    EXPECT_DOUBLE_EQ(opened, 160) << "見出１'s indent";
    EXPECT_EQ(editor.formats().record(0).leftIndent, 567);
    engine.setSelection(kSecondHeading, 0);
    EXPECT_DOUBLE_EQ(engine.paragraphValue(engine::ParagraphValue::LeftIndent), 567);
    engine.setSelection(kBody, 0);
    EXPECT_DOUBLE_EQ(engine.paragraphValue(engine::ParagraphValue::LeftIndent), bodyIndent);
    EXPECT_TRUE(editor.bDcEdt());
}

TEST(HeadingRestyle, OnlyParagraphsMarkedAsHeadingsChange)
{
    editortest::Environment environment;
    engine::TextEngine engine;
    engine.setPlainText(u"one\r\ntwo\r\nthree"_s);
    engine.setSelection(4, 0);
    engine.setHeadingLevel(3);
    engine.setSelection(1, 1);
    dialogs::Frmt formats;

    EXPECT_TRUE(editor::restyleHeadings(engine, formats));
    EXPECT_EQ(engine.selectionStart(), 1) << "the selection stays";
    EXPECT_EQ(engine.selectionLength(), 1);
    EXPECT_EQ(editortest::characterAt(engine, 4).size, formats.record(2).size);
    EXPECT_NE(editortest::characterAt(engine, 0).size, formats.record(2).size);
    EXPECT_FALSE(editor::restyleHeadings(engine, formats)) << "already in its format";

    dialogs::Frmt changed = formats;
    EXPECT_FALSE(editor::headingFormatsDiffer(formats, changed));
    changed.setLineSpacing(1.5);
    EXPECT_TRUE(editor::headingFormatsDiffer(formats, changed));
}

} // namespace
