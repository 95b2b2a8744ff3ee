// The editor's page jobs: the default page of new documents, the page-setup
// page (job 65), headers and footers switched on and off (job 57) with their
// user formats, and page numbers put into them (job 58).
#include "editor/utxm.h"

#include "dialogs/popupmenus.h"
#include "dialogs/userformat.h"
#include "editortestsupport.h"
#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

using editor::uTxm;

namespace {

struct PageCommands : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    void start(int type = 2) { editor.cOn(1, qint16(type)); }

    // Runs job 65; while the page is open `whileOpen` works its controls,
    // then OK is pressed unless `whileOpen` closed the dialog.
    void setUpPage(const std::function<void(QDialog&)>& whileOpen)
    {
        QTimer::singleShot(0, &editor, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ﾍﾟｰｼﾞ設定"));
            whileOpen(*dialog);
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (dialog->isVisible() && button->text() == QStringLiteral("OK"))
                    button->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        editor.rtAct(65, QVariant());
    }

    static QLineEdit* box(QDialog& dialog, const char* name)
    {
        return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    QString partText(engine::HeaderFooterFlag part) const
    {
        return engine.headerFooterDocument(part)->toPlainText();
    }
};

} // namespace

TEST_F(PageCommands, ANewDocumentIsLetterWithFractionalMarginsWithoutStoredDefaults)
{
    start();
    editor.rtAct(2, QVariant());
    const engine::PageSetup page = engine.pageSetup();
    EXPECT_EQ(page.paperWidth, 12240);
    EXPECT_EQ(page.paperHeight, 15840);
    EXPECT_EQ(page.marginLeft, 850.5);
    EXPECT_EQ(page.marginTop, 850.5);
    EXPECT_EQ(page.marginRight, 567);
    EXPECT_EQ(page.marginBottom, 567);
    EXPECT_EQ(editor.PageWdIn(), 816);
}

TEST_F(PageCommands, ThePageSetupPageAppliesToTheDocumentAndMarksItEdited)
{
    start();
    ASSERT_FALSE(editor.bDcEdt());
    setUpPage([](QDialog& dialog) { box(dialog, "txTopMrg")->setText(QStringLiteral("2,5")); });
    EXPECT_EQ(engine.pageSetup().marginTop, 1418);
    EXPECT_EQ(engine.pageSetup().marginLeft, 850.5) << "an untouched margin keeps its fraction";
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(PageCommands, TheDefaultButtonReachesNewDocumentsButNotTheOpenOne)
{
    start();
    setUpPage([](QDialog& dialog) {
        box(dialog, "txPgWd")->setText(QStringLiteral("20.99"));
        box(dialog, "txPgHi")->setText(QStringLiteral("29.70"));
        dialog.findChild<QPushButton*>(QStringLiteral("cmPage"))->click();
        dialog.reject();
    });
    EXPECT_EQ(engine.pageSetup().paperWidth, 12240);
    EXPECT_EQ(editortest::Environment::setting(QStringLiteral("TX_PAGE"), QStringLiteral("M_LFT")),
              QStringLiteral("850.5"));
    editor.rtAct(2, QVariant());
    EXPECT_EQ(engine.pageSetup().paperWidth, 11901);
    EXPECT_EQ(engine.pageSetup().paperHeight, 16840);
    EXPECT_EQ(engine.pageSetup().marginLeft, 850.5);
}

TEST_F(PageCommands, SwitchingAHeaderOnShowsPagesAndGivesItItsFormatAndWordOnce)
{
    start();
    engine.setViewMode(engine::ViewMode::Normal);
    engine.setPlainText(QStringLiteral("本文"));
    editor.rtAct(57, 1);
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::PageLayout);
    EXPECT_EQ(engine.headerFooterFlags(), engine::HeaderEveryPage);
    EXPECT_EQ(partText(engine::HeaderEveryPage), QStringLiteral("Header"));
    EXPECT_TRUE(engine.isBodyActive()) << "the caret goes back to the main text";
    EXPECT_EQ(engine.plainText(), QStringLiteral("本文"));
    EXPECT_TRUE(editor.bDcEdt());

    editor.rtAct(57, 1);
    EXPECT_EQ(partText(engine::HeaderEveryPage), QStringLiteral("Header")) << "not inserted twice";

    editor.rtAct(57, 8);
    EXPECT_EQ(partText(engine::FooterFirstPage), QStringLiteral("Footer"));
    const editor::HeaderFooterState state = editor.HeadFtMn();
    EXPECT_TRUE(state.bHdP);
    EXPECT_FALSE(state.bHdF);
    EXPECT_FALSE(state.bFtp);
    EXPECT_TRUE(state.bFtF);

    editor.rtAct(57, -1);
    EXPECT_EQ(engine.headerFooterFlags(), engine::FooterFirstPage);
    EXPECT_TRUE(partText(engine::HeaderEveryPage).isEmpty()) << "the part goes with its content";
    editor.rtAct(57, -1);
    EXPECT_EQ(engine.headerFooterFlags(), engine::FooterFirstPage);
}

TEST_F(PageCommands, AHeaderTakesTheHeaderFormatAndAFooterTheFooterFormat)
{
    start();
    dialogs::UserFormat header = editor.formats().record(6);
    header.fontName = QStringLiteral("Header Sans");
    header.size = 9;
    header.textColor = 0x0000FF; // red
    dialogs::UserFormat footer = header;
    footer.fontName = QStringLiteral("Footer Serif");
    footer.size = 7;
    editor.formats().setRecord(6, header);
    editor.formats().setRecord(7, footer);
    editor.rtAct(57, 2);
    editor.rtAct(57, 4);
    QTextCursor inHeader(engine.headerFooterDocument(engine::HeaderFirstPage));
    inHeader.setPosition(1);
    EXPECT_EQ(inHeader.charFormat().fontFamilies().toStringList().value(0), header.fontName);
    EXPECT_EQ(inHeader.charFormat().fontPointSize(), header.size);
    EXPECT_EQ(inHeader.charFormat().foreground().color(), QColor(Qt::red));
    QTextCursor inFooter(engine.headerFooterDocument(engine::FooterEveryPage));
    inFooter.setPosition(1);
    EXPECT_EQ(inFooter.charFormat().fontFamilies().toStringList().value(0), footer.fontName);
    EXPECT_EQ(inFooter.charFormat().fontPointSize(), footer.size);
}

TEST_F(PageCommands, TheInsertMenuChecksThePartsAndOffersPageNumbersInsideThem)
{
    start();
    dialogs::PopupMenus& menus = editor.settingsDialog().menus();
    QMenu* insert = menus.menu(dialogs::PopupMenu::Insert);
    editor.rtAct(57, 4);
    emit insert->aboutToShow();
    EXPECT_TRUE(menus.action(dialogs::PopupMenu::Insert, QStringLiteral("ﾌｯﾀｰ"), QStringLiteral("各頁"))->isChecked());
    EXPECT_FALSE(menus.action(dialogs::PopupMenu::Insert, QStringLiteral("ﾍｯﾀﾞｰ"), QStringLiteral("各頁"))->isChecked());
    QAction* pageNumber = menus.action(dialogs::PopupMenu::Insert, QStringLiteral("ﾍﾟｰｼﾞ番号"));
    ASSERT_TRUE(pageNumber);
    EXPECT_FALSE(pageNumber->isEnabled()) << "the body has no page number";

    ASSERT_TRUE(engine.activateHeaderFooter(engine::FooterEveryPage));
    engine.setSelection(0, -1);
    engine.setSelectedText(QStringLiteral("- "));
    emit insert->aboutToShow();
    ASSERT_TRUE(pageNumber->isEnabled());
    pageNumber->trigger();
    EXPECT_EQ(engine.plainText(), QStringLiteral("- 1"));
    QTextCursor number(engine.headerFooterDocument(engine::FooterEveryPage));
    number.setPosition(3);
    EXPECT_TRUE(engine::isPageNumberField(number.charFormat()));
    EXPECT_TRUE(editor.bDcEdt());
}

namespace {

// Where a user edits a header: double-clicked on the sheet, typed into, with
// the page number on offer while the caret is in it.
TEST_F(PageCommands, AHeaderDoubleClickedOnItsSheetIsTypedIntoAndOffersThePageNumber)
{
    start();
    editor.resize(900, 700);
    editor.show();
    // The text's own menu leads to the insert menu and its header items.
    QMenu* insert = nullptr;
    for (QAction* item : editor.contextMenu()->actions())
        if (item->menu() && item->text() == QStringLiteral("挿入(&I)"))
            insert = item->menu();
    ASSERT_TRUE(insert);
    emit insert->aboutToShow();
    editor.settingsDialog().menus().action(dialogs::PopupMenu::Insert, QStringLiteral("ﾍｯﾀﾞｰ"), QStringLiteral("各頁"))->trigger();
    ASSERT_EQ(engine.headerFooterFlags(), int(engine::HeaderEveryPage));
    editor.setDcEdt(false);
    engine.setZoom(50);
    QApplication::processEvents();
    engine::EngineView& view = *editor.view();
    ASSERT_TRUE(view.showsPages());
    const QRect sheet = view.sheetOnViewport(1);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(sheet.center().x(), sheet.top() + 8));
    ASSERT_FALSE(engine.isBodyActive());
    QTest::keyClick(&view, Qt::Key_End);
    QTest::keyClicks(&view, QStringLiteral(" p."));
    EXPECT_EQ(partText(engine::HeaderEveryPage), QStringLiteral("Header p."));
    EXPECT_TRUE(editor.bDcEdt());

    dialogs::PopupMenus& menus = editor.settingsDialog().menus();
    QAction* pageNumber = menus.action(dialogs::PopupMenu::Insert, QStringLiteral("ﾍﾟｰｼﾞ番号"));
    emit menus.menu(dialogs::PopupMenu::Insert)->aboutToShow();
    ASSERT_TRUE(pageNumber->isEnabled());
    pageNumber->trigger();
    EXPECT_EQ(partText(engine::HeaderEveryPage), QStringLiteral("Header p.1"));

    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_TRUE(engine.isBodyActive());
    emit menus.menu(dialogs::PopupMenu::Insert)->aboutToShow();
    EXPECT_FALSE(pageNumber->isEnabled());
}

} // namespace
