#include "editor/utxm.h"

#include "bars/toolband.h"

#include "dialogs/popupmenus.h"
#include "editortestsupport.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"

#include <QAction>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using editor::uTxm;

namespace {

struct Editor : ::testing::Test {
    editortest::Environment environment;
    std::shared_ptr<std::vector<bool>> ime = std::make_shared<std::vector<bool>>();
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    Editor() { editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime)); }

    void start(int type = 4, const QString& group = {}) { editor.cOn(1, qint16(type), std::nullopt, group); }
    QByteArray bytes() { return engine.saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray()); }
    void typeInView(const QString& text) { QTest::keyClicks(editor.view(), text); }
    void focus(QWidget* widget)
    {
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(widget, &in);
    }
};

} // namespace

// ---- Settings -------------------------------------------------------------

TEST_F(Editor, SettingsWrittenAtOffAreReadBackAtTheNextOn)
{
    start();
    editor.rtAct(86, QStringLiteral("拡大"));
    editor.rtAct(72, 3);
    engine.setControlCharactersShown(false);
    engine.setViewMode(engine::ViewMode::PageLayout);
    editor.cOff();
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("TX_DISP"), QStringLiteral("C_CH")),
              QStringLiteral("非表示"));

    uTxm next;
    next.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime));
    next.cOn(1, 4);
    EXPECT_EQ(next.GetObj()->zoom(), 120);
    EXPECT_EQ(next.GetObj()->viewMode(), engine::ViewMode::PageLayout);
    EXPECT_FALSE(next.GetObj()->controlCharactersShown());
    EXPECT_TRUE(next.options().pasteAsText());
    const dialogs::PopupMenus& menus = next.settingsDialog().menus();
    EXPECT_TRUE(menus.action(dialogs::PopupMenu::Settings, QStringLiteral("Ctrl+V 文書貼付"),
                             QStringLiteral("ﾃｷｽﾄ(書式無し)で貼付"))->isChecked());
}

TEST_F(Editor, TwoSettingsGroupsKeepSeparateZoomsAndShareTheUserValues)
{
    editortest::Environment::store(QStringLiteral("TX_USR"), QStringLiteral("IME"), QStringLiteral("ON"));
    uTxm second;
    second.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime));
    start(4, QStringLiteral("Main"));
    second.cOn(2, 4, false, QStringLiteral("Sub"));
    editor.rtAct(86, 150);
    second.rtAct(86, 80);
    editor.cOff();
    second.cOff();
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("MainTX_DISP"), QStringLiteral("ZOOM")),
              QStringLiteral("150"));
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("SubTX_DISP"), QStringLiteral("ZOOM")),
              QStringLiteral("80"));
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("TX_USR"), QStringLiteral("IME")), QStringLiteral("ON"));

    second.cOn(2, 4, false, QStringLiteral("Sub"));
    start(4, QStringLiteral("Main"));
    EXPECT_EQ(second.GetObj()->zoom(), 80);
    EXPECT_EQ(engine.zoom(), 150);
    EXPECT_TRUE(editor.options().imeOn());
}

TEST_F(Editor, OffDeletesTheWorkFoldersPicturesOnly)
{
    for (const char* name : {"a.png", "B.PNG", "keep.bmp"})
        environment.dir.write(QStringLiteral("Wrk/") + QString::fromLatin1(name), "x");
    start();
    editor.cOff();
    EXPECT_FALSE(QFile::exists(env::gsWrkPh + QStringLiteral("a.png")));
    EXPECT_FALSE(QFile::exists(env::gsWrkPh + QStringLiteral("B.PNG")));
    EXPECT_TRUE(QFile::exists(env::gsWrkPh + QStringLiteral("keep.bmp")));
    EXPECT_FALSE(editor.isActive());
}

TEST_F(Editor, InputMethodFollowsTheImeSetting)
{
    start();
    EXPECT_EQ(*ime, std::vector<bool>{false});
    focus(editor.titleBox());
    EXPECT_EQ(ime->size(), 1u) << "\"OFF\" never switches it on";

    editortest::Environment::store(QStringLiteral("TX_USR"), QStringLiteral("IME"), QStringLiteral("ON"));
    ime->clear();
    editor.cOn(1, 4);
    focus(editor.titleBox());
    focus(editor.view());
    for (int job : {63, 64, 65, 66}) {
        // Page setup opens the settings dialog modally; close it as the user would.
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        editor.rtAct(job);
    }
    EXPECT_EQ(*ime, (std::vector<bool>{true, true, true, false, false, false, false}));
}

TEST_F(Editor, ZoomCommandStepsTakesNumbersAndAlwaysRefreshes)
{
    start();
    QSignalSpy refreshed(&engine, &engine::TextEngine::refreshRequested);
    const std::pair<QVariant, int> steps[] = {{QStringLiteral("拡大"), 120}, {QStringLiteral("縮小"), 100},
                                              {10, 100},  {1000, 100}, {0, 100}, {QStringLiteral("x"), 100},
                                              {11, 11},   {250, 250}};
    for (const auto& [argument, zoom] : steps) {
        editor.rtAct(86, argument);
        EXPECT_EQ(engine.zoom(), zoom) << argument.toString().toStdString();
    }
    EXPECT_EQ(refreshed.size(), 8);
}

TEST_F(Editor, PasteModeSetsTheOptionAndTicksOneMenuItem)
{
    start();
    const dialogs::PopupMenus& menus = editor.settingsDialog().menus();
    QAction* text = menus.action(dialogs::PopupMenu::Settings, QStringLiteral("Ctrl+V 文書貼付"),
                                 QStringLiteral("ﾃｷｽﾄ(書式無し)で貼付"));
    for (const auto& [mode, plain] : {std::pair{3, true}, {2, false}, {1, true}, {0, false}}) {
        editor.rtAct(72, mode);
        EXPECT_EQ(editor.options().pasteAsText(), plain) << mode;
        EXPECT_EQ(text->isChecked(), plain) << mode;
    }
}

// ---- Modified state and the save confirmation ------------------------------------

TEST_F(Editor, TypingMarksTheDocumentModifiedUnlessTheProgramIsStarting)
{
    start();
    QSignalSpy changes(&editor, &uTxm::eEdtCng);
    env::gbActing = true;
    typeInView(QStringLiteral("a"));
    EXPECT_FALSE(editor.bDcEdt());
    env::gbActing = false;
    typeInView(QStringLiteral("b"));
    EXPECT_TRUE(editor.bDcEdt());
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_TRUE(changes.last()[0].toBool());
}

TEST_F(Editor, SetTextClearsTheModifiedFlagAndAnnouncesIt)
{
    start();
    typeInView(QStringLiteral("old"));
    for (const QString& text : {QString(), QStringLiteral("new text")}) {
        QSignalSpy changes(&editor, &uTxm::eEdtCng);
        editor.SetText(text);
        EXPECT_FALSE(editor.bDcEdt());
        ASSERT_EQ(changes.size(), 1);
        EXPECT_FALSE(changes[0][0].toBool());
        EXPECT_EQ(engine.plainText(), text);
    }
}

TEST_F(Editor, CheckBeforeReplacingFollowsTheUpdateRule)
{
    start();
    bool cancel = true;
    editor.ChkUdt(cancel);
    EXPECT_FALSE(cancel) << "an unmodified document";
    typeInView(QStringLiteral("x"));
    editor.cTyp(-1);
    editor.ChkUdt(cancel);
    EXPECT_FALSE(cancel) << "outside the database";
    EXPECT_TRUE(environment.dialogs.asked().empty());

    editor.cTyp(4);
    environment.dialogs.answer(env::Answer::Cancel);
    editor.ChkUdt(cancel);
    EXPECT_TRUE(cancel);
    environment.dialogs.answer(env::Answer::No);
    editor.ChkUdt(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(editor.bDcEdt());
}

// The question before a new document once offered only Yes and No, so that
// Esc or closing the box answered No and the edited document was lost.
TEST_F(Editor, NewDocumentAsksWithCancelAndKeepsTheDocumentWhenItIsNotSaved)
{
    start();
    editor.setTitle(QStringLiteral("title"));
    typeInView(QStringLiteral("text"));
    QSignalSpy folderUpdates(&editor, &uTxm::eUdtFld);
    environment.dialogs.answer(env::Answer::Yes); // and the save that follows is cancelled
    editor.rtAct(2);
    environment.dialogs.answer(env::Answer::Cancel);
    editor.rtAct(2);
    ASSERT_FALSE(environment.dialogs.asked().empty());
    EXPECT_EQ(environment.dialogs.asked().front().text, QStringLiteral("現在の文書を保存しますか"));
    EXPECT_EQ(environment.dialogs.asked().front().buttons, env::Buttons::YesNoCancel);
    EXPECT_EQ(engine.plainText(), QStringLiteral("text"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_TRUE(folderUpdates.isEmpty());

    environment.dialogs.clear();
    environment.dialogs.answer(env::Answer::No);
    editor.rtAct(2);
    EXPECT_EQ(engine.plainText(), QString());
    EXPECT_EQ(editor.titleBox()->text(), QString());
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_EQ(folderUpdates.size(), 1);
}

// ---- The command entry -------------------------------------------------------------

TEST_F(Editor, EveryCallRaisesRtActAndJobsThatDoNothingChangeNothing)
{
    start();
    editor.SetText(QStringLiteral("text"));
    QSignalSpy raised(&editor, &uTxm::eRtAct);
    const int jobs[] = {0, 17, 25, 44, 53, 999, -3, 4, 10, 41, 62};
    for (int job : jobs)
        editor.rtAct(job);
    ASSERT_EQ(raised.size(), int(std::size(jobs)));
    for (size_t i = 0; i < std::size(jobs); ++i)
        EXPECT_EQ(raised[int(i)][0].toInt(), jobs[i]);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_FALSE(editor.snapshotHeld());
}

TEST_F(Editor, MenuChoicesRunAsCommands)
{
    start();
    editor.SetText(QStringLiteral("text"));
    QSignalSpy raised(&editor, &uTxm::eRtAct);
    editor.settingsDialog().menus().action(dialogs::PopupMenu::Format, QStringLiteral("本文"))->trigger();
    ASSERT_EQ(raised.size(), 1);
    EXPECT_EQ(raised[0][0].toInt(), 60);
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(Editor, CutAndDeleteMarkTheDocumentModifiedCopyDoesNot)
{
    start();
    editor.SetText(QStringLiteral("some text"));
    engine.setSelection(0, 4);
    editor.rtAct(14);
    EXPECT_FALSE(editor.bDcEdt());
    editor.rtAct(13);
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(engine.plainText(), QStringLiteral(" text"));
    editor.setDcEdt(false);
    editor.rtAct(20);
    EXPECT_FALSE(editor.bDcEdt()) << "nothing was selected";
}

TEST_F(Editor, PageBreakCollapsesTheSelectionFirst)
{
    start();
    editor.SetText(QStringLiteral("abcdef"));
    engine.setSelection(2, 2);
    editor.rtAct(54);
    EXPECT_EQ(engine.plainText(), QStringLiteral("ab\fcdef"));
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(Editor, CancelledIndentLeavesNoSnapshotAndNoFlag)
{
    start();
    editor.SetText(QStringLiteral("text"));
    editor.rtAct(55, 1);
    EXPECT_FALSE(editor.snapshotHeld());
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(Editor, QuietStyleRefusesAHeadingInAListWithoutAMessage)
{
    start(1);
    editor.SetText(QStringLiteral("item"));
    engine.setListAttribute(2);
    editor.setDcEdt(false);
    editor.rtAct(60, -1);
    EXPECT_TRUE(environment.dialogs.messages().isEmpty());
    EXPECT_EQ(engine.listAttribute(), 2);
    EXPECT_FALSE(editor.bDcEdt());
    editor.rtAct(60, 1);
    EXPECT_EQ(environment.dialogs.messages().size(), 1);
}

// ---- Undo ------------------------------------------------------------------------

TEST_F(Editor, UndoAfterAStyleReturnsTheDocumentExactly)
{
    start();
    editor.SetText(QStringLiteral("heading\r\nbody"));
    engine.setSelection(2, 0);
    const QByteArray before = bytes();
    ASSERT_FALSE(before.isEmpty());
    editor.rtAct(60, 0);
    EXPECT_NE(bytes(), before);
    editor.rtAct(11);
    EXPECT_EQ(bytes(), before);
    EXPECT_FALSE(editor.snapshotHeld());
}

TEST_F(Editor, TypingAfterASnapshotCommandMakesUndoTheEngines)
{
    start();
    editor.SetText(QStringLiteral("body"));
    engine.setSelection(4, 0);
    editor.rtAct(60, 3);
    ASSERT_TRUE(editor.snapshotHeld());
    typeInView(QStringLiteral("xy"));
    EXPECT_FALSE(editor.snapshotHeld());
    editor.rtAct(11);
    EXPECT_EQ(engine.plainText(), QStringLiteral("body"));
    EXPECT_EQ(engine.fontName(), editor.formats().record(3).fontName) << "the style stays";
}

TEST_F(Editor, ACommandWithoutASnapshotEndsTheHeldOnesTurn)
{
    start();
    editor.SetText(QStringLiteral("text"));
    editor.rtAct(60, 3);
    ASSERT_TRUE(editor.snapshotHeld());
    engine.setSelection(2, 0);
    editor.rtAct(54);
    EXPECT_FALSE(editor.snapshotHeld());
    editor.rtAct(11);
    EXPECT_EQ(engine.plainText(), QStringLiteral("text")) << "the page break is undone";
    EXPECT_EQ(engine.fontName(), editor.formats().record(3).fontName) << "the style stays";
}

TEST_F(Editor, RedoIsNeverServedFromTheSnapshot)
{
    start();
    editor.SetText(QStringLiteral("text"));
    editor.rtAct(60, 3);
    editor.rtAct(12);
    EXPECT_TRUE(editor.snapshotHeld());
}

// ---- Keys, title and style indicator --------------------------------------------------

TEST_F(Editor, EnterBreaksTheLineInBodyTextAndTheParagraphInHeadings)
{
    start();
    editor.SetText(QStringLiteral("heading\r\nbody"));
    engine.setSelection(0, 0);
    editor.rtAct(60, 0);
    engine.setSelection(10, 0);
    QTest::keyClick(editor.view(), Qt::Key_Return);
    EXPECT_EQ(engine.plainText(), QStringLiteral("heading\r\nbo\vdy"));
    QTest::keyClick(editor.view(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(engine.plainText(), QStringLiteral("heading\r\nbo\v\r\ndy"));
    engine.setSelection(3, 0);
    QTest::keyClick(editor.view(), Qt::Key_Return);
    EXPECT_EQ(engine.plainText(), QStringLiteral("hea\r\nding\r\nbo\v\r\ndy"));

    editor.formats().setEnterShift(false);
    engine.setSelection(0, -1);
    engine.setSelection(engine.selectionLength() - 2, 0);
    QTest::keyClick(editor.view(), Qt::Key_Return);
    EXPECT_TRUE(engine.plainText().endsWith(QStringLiteral("\r\n\r\ndy")));
}

// Before, Enter in a paragraph that starts a new page copied the page break
// into the new paragraph, so every Enter there added a page.
TEST_F(Editor, EnterInAParagraphThatStartsAPageAddsNoPage)
{
    struct Row {
        int style;      // applied to the paragraph after the break
        int caret;
        const char* expected;
    };
    const Row rows[] = {
        {0, 11, "first\ftitle\r\n"},   // at the end of a heading
        {0, 8, "first\fti\r\ntle"},    // inside it
        {0, 6, "first\f\r\ntitle"},    // at its start the break stays before the empty half
        {3, 11, "first\ftitle\r\n"},   // body text with Enter ending paragraphs
    };
    start();
    editor.formats().setEnterShift(false);
    for (const Row& row : rows) {
        editor.SetText(QStringLiteral("first\ftitle"));
        engine.setSelection(6, 0);
        editor.rtAct(60, row.style);
        engine.setSelection(row.caret, 0);
        QTest::keyClick(editor.view(), Qt::Key_Return);
        EXPECT_EQ(engine.plainText(), QString::fromUtf8(row.expected)) << row.caret;
        EXPECT_EQ(engine.pageCount(), 2) << row.caret;
    }
}

// Before, a heading applied to one line of a body paragraph whose lines Enter
// had separated by line breaks turned the whole block into the heading.
TEST_F(Editor, HeadingOnOneLineOfABodyBlockMakesThatLineAParagraph)
{
    struct Row {
        int start;
        int length;
        const char* expected;
        std::vector<int> headings;   // positions in the heading
        std::vector<int> body;       // positions that stay body text
    };
    const Row rows[] = {
        {5, 0, "one\r\ntwo\r\nthree", {5}, {0, 12}},   // caret inside the middle line
        {1, 0, "one\r\ntwo\vthree", {1}, {5, 12}},     // the first line
        {10, 0, "one\vtwo\r\nthree", {10}, {0, 5}},    // the last line
        {4, 4, "one\r\ntwo\r\nthree", {5}, {0, 12}},   // the middle line with its line break
        {2, 4, "one\vtwo\r\nthree", {0, 5}, {12}},     // two lines become one heading
    };
    start();
    for (const Row& row : rows) {
        editor.SetText(QStringLiteral("one\vtwo\vthree"));
        engine.setSelection(row.start, row.length);
        editor.rtAct(60, 1);
        EXPECT_EQ(engine.plainText(), QString::fromUtf8(row.expected)) << row.start;
        for (const auto& [positions, caption] : {std::pair{row.headings, QStringLiteral("見出２")},
                                                 std::pair{row.body, QStringLiteral("本文")}}) {
            for (const int position : positions) {
                engine.setSelection(position, 0);
                EXPECT_EQ(editor.statusPanel()->text(), caption) << row.start << " at " << position;
            }
        }
    }
}

TEST_F(Editor, EnterInTheTitleBoxStartsAnEmptyDocumentWithTheHeading)
{
    start();
    QTest::keyClicks(editor.titleBox(), QStringLiteral("My title"));
    QTest::keyClick(editor.titleBox(), Qt::Key_Return);
    EXPECT_EQ(engine.plainText(), QStringLiteral("My title"));
    EXPECT_EQ(editor.statusPanel()->text(), QStringLiteral("見出１(頁見出)"));
    EXPECT_TRUE(editor.bDcEdt());

    QTest::keyClick(editor.titleBox(), Qt::Key_Return);
    EXPECT_EQ(engine.plainText(), QStringLiteral("My title")) << "only an empty document";
}

TEST_F(Editor, DocumentTypesWithoutHeadingsTurnHeadingFirstOff)
{
    start();
    editor.cTyp(0);
    EXPECT_FALSE(editor.formats().headingFirst());
    QTest::keyClicks(editor.titleBox(), QStringLiteral("T"));
    QTest::keyClick(editor.titleBox(), Qt::Key_Return);
    EXPECT_EQ(engine.plainText(), QString());
}

TEST_F(Editor, StyleIndicatorFollowsTheCaret)
{
    start();
    editor.SetText(QStringLiteral("one\r\ntwo"));
    engine.setSelection(5, 0);
    editor.rtAct(60, 1);
    engine.setSelection(1, 0);
    EXPECT_EQ(editor.statusPanel()->text(), QStringLiteral("本文"));
    engine.setSelection(6, 0);
    EXPECT_EQ(editor.statusPanel()->text(), QStringLiteral("見出２"));
}

// ---- Queries -----------------------------------------------------------------------

TEST_F(Editor, TitleComesFromTheBoxOrFromTheFirstLine)
{
    editor.cOn(1, 4, false);
    EXPECT_EQ(editor.titleBox()->placeholderText(), QStringLiteral("ﾀｲﾄﾙ"));
    EXPECT_FALSE(editor.titleBox()->isVisibleTo(&editor));
    editor.SetText(QStringLiteral("first\nsecond"));
    EXPECT_EQ(editor.Title(), QStringLiteral("first"));
    editor.cOn(1, 4, true);
    editor.setTitle(QStringLiteral("boxed"));
    EXPECT_EQ(editor.Title(), QStringLiteral("boxed"));
    EXPECT_FALSE(editor.bDcEdt()) << "the host's title is no edit";
}

TEST_F(Editor, FindWordLooksForTheTextBeforeTheFirstBlank)
{
    start();
    editor.SetText(QStringLiteral("a word, another word"));
    engine.setSelection(15, 0);
    editor.FndWd(QStringLiteral("word and more"));
    EXPECT_EQ(engine.selectionStart(), 2);
    EXPECT_EQ(editor.SelTxt(), QStringLiteral("word"));
    editor.FndWd(QStringLiteral("　another"));
    EXPECT_EQ(engine.selectionStart(), 2) << "nothing before the blank: nothing searched";
}

TEST_F(Editor, StateQueriesReadTheEngine)
{
    start();
    EXPECT_FALSE(editor.bHaveData());
    editor.SetText(QStringLiteral(" \r\n　"));
    EXPECT_FALSE(editor.bHaveData());
    EXPECT_TRUE(editor.ChkJbMn0().bExDoc);
    typeInView(QStringLiteral("x"));
    EXPECT_TRUE(editor.bHaveData());
    EXPECT_TRUE(editor.ChkJbMn0().bOvrw);
    EXPECT_TRUE(editor.ChkJbMn1().bUndo);

    engine::PageSetup setup = engine.pageSetup();
    setup.paperWidth = 11906;
    setup.headerFooterFlags = engine::HeaderFirstPage | engine::FooterEveryPage;
    engine.setPageSetup(setup);
    EXPECT_EQ(editor.PageWdIn(), 794);
    const editor::HeaderFooterState parts = editor.HeadFtMn();
    EXPECT_FALSE(parts.bHdP);
    EXPECT_TRUE(parts.bHdF);
    EXPECT_TRUE(parts.bFtp);
    EXPECT_FALSE(parts.bFtF);

    engine.setSelection(0, 0);
    engine.insertField(QStringLiteral("tag"));
    engine.setFieldKind(2);
    engine.setFieldData(QStringLiteral("tg_12"));
    engine.setSelection(1, 0);
    EXPECT_EQ(editor.ChkJbMn3().vFdTyp, QStringLiteral("TG")) << "the prefix in any letter case";
    engine.setFieldData(QStringLiteral("https://example.org/"));
    EXPECT_EQ(editor.ChkJbMn3().vFdTyp, QStringLiteral("LK"));
    engine.setSelection(5, 0);
    EXPECT_EQ(editor.ChkJbMn3().vFdTyp, QString());
    EXPECT_FALSE(editor.ChkJbMn3().bInTf);
}

TEST_F(Editor, ShowingPagesIsNoEditOfTheDocument)
{
    start();
    typeInView(QStringLiteral("abc"));
    editor.setDcEdt(false);
    QSignalSpy changes(&editor, &uTxm::eEdtCng);
    engine.setViewMode(engine::ViewMode::PageLayout);
    QApplication::processEvents();
    ASSERT_TRUE(editor.view()->showsPages());
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_TRUE(changes.isEmpty());
}

// ---- Commands not built yet ---------------------------------------------------------

namespace {

// Each item once, also where one menu is a sub-menu of another.
void collectItems(QMenu* menu, QList<QAction*>& items)
{
    for (QAction* action : menu->actions()) {
        if (action->menu())
            collectItems(action->menu(), items);
        else if (!action->isSeparator() && action->isVisible() && action->isEnabled() && !items.contains(action))
            items << action;
    }
}

} // namespace

// The pop-up items of commands not built yet once did nothing at all; now
// each item does something, asks something, or says it is not built.
TEST_F(Editor, EveryPopupItemDoesSomething)
{
    start();
    QList<QAction*> items;
    for (int which = 0; which < dialogs::kPopupMenuCount; ++which)
        collectItems(editor.settingsDialog().menus().menu(dialogs::PopupMenu(which)), items);
    // The link page is a modal dialog: it counts as shown, and is closed.
    bool modalShown = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&modalShown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modalShown = true;
            modal->close();
        }
    });
    closer.start();
    const auto observe = [this, &modalShown] {
        return std::tuple(modalShown, bytes(), engine.selectionStart(), engine.selectionLength(), editor.bDcEdt(),
                          environment.dialogs.asked().size(), QApplication::clipboard()->text(),
                          engine.zoom(), editor.options().pasteAsText(), editor.numbering(),
                          editor.view()->viewport()->cursor().shape(), // the picture size is drawn with a cross
                          editor.toolBand()->layoutState().toText(), editor.toolBand()->layoutState().rulerShown());
    };
    QStringList silent;
    for (QAction* item : items) {
        if (!item->isEnabled())   // the redo item, once it reads "やり直しできません"
            continue;
        editor.SetText(QStringLiteral("一行目\n二行目の本文"));
        engine.setSelection(4, 3);
        environment.dialogs.clear();
        QApplication::clipboard()->clear();
        modalShown = false;
        const QString caption = item->text();
        const auto before = observe();
        item->trigger();
        if (observe() == before)
            silent << caption;
    }
    // Redo needs something undone, pasting something on the clipboard, editing
    // or deleting a field needs one under the caret, the table items but the
    // new table need a table at the caret, and the paste mode item only ticks
    // the mode the editor is in.
    QStringList fieldItems = {QStringLiteral("やり直し(&R)"), QStringLiteral("ﾃｷｽﾄとして貼り付け"),
                              QStringLiteral("画像として貼り付け"), QStringLiteral("ｵﾌﾞｼﾞｪｸﾄとして貼り付け"),
                              QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの修正"), QStringLiteral("ﾊｲﾊﾟｰﾘﾝｸの削除"),
                              QStringLiteral("ﾀｸﾞの修正"),       QStringLiteral("ﾀｸﾞの削除"),
                              QStringLiteral("dxml参照の削除"),  QStringLiteral("ﾂｰﾙﾁｯﾌﾟの削除")};
    for (const char16_t* table : {u"左側に列", u"右側に列", u"上に行", u"下に行", u"現在行の上で分割", u"現在行の下で分割",
                                  u"表", u"列", u"行", u"表", u"行", u"ｾﾙ", u"表", u"行", u"ｾﾙ"})
        fieldItems << QString::fromUtf16(table);
    fieldItems << QStringLiteral("ﾘｯﾁﾃｷｽﾄ(書式付)で貼付");
    EXPECT_EQ(silent, fieldItems) << "of " << items.size() << " items";
}

// ---- Printing ---------------------------------------------------------------

// With the print system out of reach there is no printer at all: both
// commands say so in one message, show no print dialog and store nothing.
TEST_F(Editor, PrintAndPrinterSetupWithoutAPrinterOnlySaySo)
{
    qputenv("CUPS_SERVER", QFile::encodeName(environment.dir.path(QStringLiteral("no-cups.sock"))));
    start();
    editor.SetText(QStringLiteral("text"));
    const QString noPrinter = QStringLiteral("ﾌﾟﾘﾝﾀがｲﾝｽﾄｰﾙされていません｡ﾌﾟﾘﾝﾀを追加してから印刷してください｡");
    for (int job : {6, 69}) {
        environment.dialogs.clear();
        editor.rtAct(job);
        EXPECT_EQ(environment.dialogs.messages(), QStringList{noPrinter}) << job;
        EXPECT_EQ(environment.dialogs.asked().size(), 1u) << job;
    }
    EXPECT_FALSE(QFile::exists(environment.dir.path(QStringLiteral("Page.prndt"))));
}

// ---- Page view --------------------------------------------------------------

TEST_F(Editor, PageViewOpensModallyOnTheFirstPageAndLeavesTheEditorAsItWas)
{
    start();
    editor.SetText(QStringLiteral("text"));
    engine.setZoom(120);
    QString seenTitle;
    engine::ViewMode seenMode = engine::ViewMode::Normal;
    QTimer::singleShot(0, [&] {
        QWidget* view = QApplication::activeModalWidget();
        ASSERT_NE(view, nullptr);
        seenTitle = view->windowTitle();
        seenMode = engine.viewMode();
        view->findChild<QAction*>(QStringLiteral("mnFile2"))->trigger();
    });
    editor.rtAct(7);
    EXPECT_EQ(seenTitle, QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
    EXPECT_EQ(seenMode, engine::ViewMode::PageLayout);
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::Normal);
    EXPECT_EQ(engine.zoom(), 120);
    EXPECT_FALSE(editor.bDcEdt());
}
