#include "treefixture.h"

#include "browser/fileclipboard.h"
#include "browser/sptre.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>
#include <QToolButton>

using browser::DropEffect;
using browser::FileClipboard;
using browsertest::TreeTest;

namespace {

TEST_F(TreeTest, StartingOnAFolderListsItAndSelectsTheFirstFile)
{
    start();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("b.HTML"),
                                     QStringLiteral("c.txt"), QStringLiteral("d.rtf")}));
    EXPECT_EQ(tree.GetPth(), folder.path());
    EXPECT_EQ(tree.GetPth(1), folder.path() + u'/');
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("a.htm")));
    EXPECT_FALSE(tree.isBusy());
}

TEST_F(TreeTest, StartingOnAFileSelectsThatFile)
{
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    start(path(QStringLiteral("c.txt")));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("c.txt")));
    // Starting raises no event.
    EXPECT_EQ(picked.count(), 0);
}

TEST_F(TreeTest, StartingOnNothingShowsNothing)
{
    tree.cOn(QString(), QStringLiteral("*.*"), QString::fromUtf16(kDocuments));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(tree.GetPth(), QString());
    EXPECT_EQ(tree.GetPth(1), QString());
    EXPECT_EQ(tree.GetFile(), QString());
}

TEST_F(TreeTest, TheFileListPatternFiltersTheList)
{
    tree.cOn(folder.path(), QStringLiteral("*.htm;*.html"), QString::fromUtf16(kDocuments));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("b.HTML")}));
}

TEST_F(TreeTest, ClickingADocumentPicksItWhateverTheCaseOfItsExtension)
{
    start();
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    click(QStringLiteral("b.HTML"));
    click(QStringLiteral("c.txt"));   // not a document: no event
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toString(), path(QStringLiteral("b.HTML")));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("c.txt")));
    EXPECT_TRUE(desktop.opened.isEmpty());
}

TEST_F(TreeTest, DoubleClickingPicksADocumentOnceAndOpensOtherFilesWithTheirProgram)
{
    start();
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    doubleClick(QStringLiteral("c.txt"));
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(desktop.opened, QStringList{url(QStringLiteral("c.txt"))});
    doubleClick(QStringLiteral("d.rtf"));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toString(), path(QStringLiteral("d.rtf")));
    EXPECT_EQ(desktop.opened.size(), 1);
}

// Before, a double click handed any file that is not a document to the
// desktop unchecked, scripts and programs included.
TEST_F(TreeTest, DoubleClickingAProgramAsksFirst)
{
    folder.write(QStringLiteral("e.sh"), "#!/bin/sh\n");
    start();
    doubleClick(QStringLiteral("e.sh"));   // nothing scripted: the default No
    EXPECT_TRUE(desktop.opened.isEmpty());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0], QStringLiteral("ﾌｧｲﾙ: e.sh はﾌﾟﾛｸﾞﾗﾑです｡\n実行してもよろしいですか?"));
    dialogs.answer(env::Answer::Yes);
    doubleClick(QStringLiteral("e.sh"));
    EXPECT_EQ(desktop.opened, QStringList{url(QStringLiteral("e.sh"))});
}

TEST_F(TreeTest, EnterPicksTheCurrentDocument)
{
    start();
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    files()->setFocus();
    QTest::keyClick(files(), Qt::Key_Down);
    QTest::keyClick(files(), Qt::Key_Return);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toString(), path(QStringLiteral("b.HTML")));
}

TEST_F(TreeTest, SetFileSelectsIgnoringCaseAndPicksTheDocument)
{
    start();
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    tree.SetFile(QStringLiteral("D.RTF"));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("d.rtf")));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toString(), path(QStringLiteral("d.rtf")));
    tree.SetFile(QStringLiteral("missing.htm"));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("d.rtf")));
}

TEST_F(TreeTest, AnExactNameWinsOverOneDifferingInCase)
{
    folder.write(QStringLiteral("A.htm"), "x");
    start();
    tree.SetFile(QStringLiteral("a.htm"));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("a.htm")));
    tree.SetFile(QStringLiteral("A.htm"));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("A.htm")));
}

TEST_F(TreeTest, ListsAllOrSelectedPathsTabSeparated)
{
    start();
    click(QStringLiteral("b.HTML"));
    click(QStringLiteral("d.rtf"), Qt::ControlModifier);
    EXPECT_EQ(tree.sGetFls(true), path(QStringLiteral("b.HTML")) + u'\t' + path(QStringLiteral("d.rtf")));
    EXPECT_EQ(tree.sGetFls().split(u'\t').size(), 4);
    tree.NoSelc();
    EXPECT_EQ(tree.GetFile(), QString());
    EXPECT_EQ(tree.sGetFls(true), QString());
}

TEST_F(TreeTest, AFileCreatedByAnotherProgramShowsUpAndTheSelectionStays)
{
    start();
    click(QStringLiteral("c.txt"));
    // Sorts before the selected file: a selection kept by row would slip to b.HTML.
    folder.write(QStringLiteral("aa.htm"), "new");
    EXPECT_TRUE(QTest::qWaitFor([&] { return listed().contains(QStringLiteral("aa.htm")); }, 3000));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("c.txt")));
}

TEST_F(TreeTest, UdtFldSelectsTheNamedFile)
{
    start();
    folder.write(QStringLiteral("e.htm"), "new");
    tree.UdtFld(path(QStringLiteral("E.HTM")));
    EXPECT_TRUE(listed().contains(QStringLiteral("e.htm")));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("e.htm")));
}

TEST_F(TreeTest, SetPthShowsAFolderWithoutAnEvent)
{
    start();
    QSignalSpy changed(&tree, &browser::uTrE::eCngDr);
    folder.write(QStringLiteral("sub/s.htm"), "x");
    tree.SetPth(path(QStringLiteral("sub")));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("s.htm")});
    tree.SetPth(path(QStringLiteral("no such folder")));
    tree.SetPth(path(QStringLiteral("sub/s.htm")));
    EXPECT_EQ(tree.GetPth(), path(QStringLiteral("sub")));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("s.htm")});
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(TreeTest, OpeningAFolderInTheFolderListTellsTheHost)
{
    start();
    folder.write(QStringLiteral("sub/s.htm"), "x");
    QSignalSpy changed(&tree, &browser::uTrE::eCngDr);
    auto* folders = tree.findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    const auto found = folders->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    const QPoint at = folders->visualItemRect(found.first()).center();
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, at);
    // One click only highlights.
    EXPECT_EQ(tree.GetPth(2), path(QStringLiteral("sub")));
    EXPECT_EQ(tree.GetPth(), folder.path());
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), path(QStringLiteral("sub")));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("s.htm")});
}

TEST_F(TreeTest, TheFolderButtonShowsTheChosenFolder)
{
    start();
    QSignalSpy changed(&tree, &browser::uTrE::eCngDr);
    auto* button = tree.findChild<QToolButton*>(QStringLiteral("cmRet"));
    button->click();   // cancelled: nothing changes, nothing is told
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(tree.GetPth(), folder.path());
    dialogs.answerText(path(QStringLiteral("sub")));
    button->click();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), path(QStringLiteral("sub")));
    EXPECT_EQ(tree.GetPth(), path(QStringLiteral("sub")));
    EXPECT_EQ(dialogs.asked().front().kind, QStringLiteral("folder"));
}

TEST_F(TreeTest, ChoosingADriveShowsItsRoot)
{
    start();
    QSignalSpy changed(&tree, &browser::uTrE::eCngDr);
    auto* drives = tree.findChild<QComboBox*>(QStringLiteral("Drive1"));
    ASSERT_GE(drives->count(), 1);
    emit drives->activated(0);   // the home folder comes first
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(tree.GetPth(), QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(drives->currentIndex(), 0);
}

TEST_F(TreeTest, DirHiSetsTheFolderPaneHeight)
{
    start();
    const int before = tree.DirHi();
    tree.setDirHi(before + 600);
    EXPECT_NEAR(tree.DirHi(), before + 600, 30);
}

// ---- pop-up menus --------------------------------------------------------

class TreeMenus : public TreeTest {
protected:
    QMenu* openFileMenu()
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(files()->viewport(), &event);
        auto* menu = tree.findChild<QMenu*>(QStringLiteral("mnFile"));
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }

    // Deletes the selected files, answering the question with `answer`; the
    // trash is a fresh folder.
    void deleteAnswering(env::Answer answer)
    {
        testsupport::TempFolder data;
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        dialogs.answer(answer);
        choose(browser::spTrE::Delete);
        qunsetenv("XDG_DATA_HOME");
    }

    void choose(int item)
    {
        QMenu* menu = openFileMenu();
        QAction* action = menu->actions().at(item);
        ASSERT_TRUE(action->isEnabled()) << item;
        action->trigger();
        menu->close();
    }
};

TEST_F(TreeMenus, ItemsNeedASelectedFileOrFilesOnTheClipboard)
{
    start();
    tree.NoSelc();
    QApplication::clipboard()->clear();
    QMenu* menu = openFileMenu();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 8);
    EXPECT_EQ(items[0]->text(), QStringLiteral("切り取り"));
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[7]->text(), QStringLiteral("新規ﾌｧｲﾙ"));
    for (const int i : {0, 1, 2, 4, 5})
        EXPECT_FALSE(items[i]->isEnabled()) << i;
    EXPECT_TRUE(items[7]->isEnabled());
    menu->close();

    click(QStringLiteral("a.htm"));
    FileClipboard::put({path(QStringLiteral("c.txt"))}, DropEffect::Copy);
    menu = openFileMenu();
    for (const int i : {0, 1, 2, 4, 5})
        EXPECT_TRUE(menu->actions()[i]->isEnabled()) << i;
    menu->close();
}

TEST_F(TreeMenus, CutHereAndPasteElsewhereMovesTheFile)
{
    start();
    click(QStringLiteral("a.htm"));
    click(QStringLiteral("d.rtf"), Qt::ControlModifier);
    choose(browser::spTrE::Cut);
    const auto onClipboard = FileClipboard::read();
    ASSERT_TRUE(onClipboard);
    EXPECT_EQ(onClipboard->effect, DropEffect::Move);
    EXPECT_EQ(onClipboard->paths, (QStringList{path(QStringLiteral("a.htm")), path(QStringLiteral("d.rtf"))}));
    // Cutting alone touches nothing.
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("a.htm"))));

    tree.SetPth(path(QStringLiteral("sub")));
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    choose(browser::spTrE::Paste);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("d.rtf")}));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a.htm"))));
    EXPECT_EQ(tree.sGetFls(true), path(QStringLiteral("sub/a.htm")) + u'\t' + path(QStringLiteral("sub/d.rtf")));
    ASSERT_GE(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toString(), QString());
}

TEST_F(TreeMenus, FilesCopiedByAFileManagerPasteAsCopies)
{
    start();
    folder.write(QStringLiteral("elsewhere/報告.htm"), "report");
    auto* data = new QMimeData;
    data->setData(QStringLiteral("x-special/gnome-copied-files"),
                  "copy\n" + QUrl::fromLocalFile(path(QStringLiteral("elsewhere/報告.htm"))).toEncoded());
    QApplication::clipboard()->setMimeData(data);
    choose(browser::spTrE::Paste);
    EXPECT_TRUE(listed().contains(QStringLiteral("報告.htm")));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("elsewhere/報告.htm"))));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("報告.htm")));
}

TEST_F(TreeMenus, PastingOverAnExistingNameAsksInJapanese)
{
    start();
    folder.write(QStringLiteral("elsewhere/a.htm"), "other");
    FileClipboard::put({path(QStringLiteral("elsewhere/a.htm"))}, DropEffect::Copy);
    dialogs.answer(env::Answer::No);
    choose(browser::spTrE::Paste);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first(), QStringLiteral("「a.htm」は既にあります。\n上書きしますか?"));
    EXPECT_EQ(folder.read(QStringLiteral("a.htm")), QByteArray("x"));
}

TEST_F(TreeMenus, DeletingASelectedFileSelectsTheNextOrElseThePreviousOne)
{
    start();
    // Deleting the shown document leaves the host without one; c.txt is then
    // current, but as it is no document it is not picked.
    for (const char16_t* deleted : {u"b.HTML", u"d.rtf"}) {
        const QString name = QString::fromUtf16(deleted);
        SCOPED_TRACE(name.toStdString());
        click(name);
        QSignalSpy picked(&tree, &browser::uTrE::eStFile);
        deleteAnswering(env::Answer::Yes);
        EXPECT_FALSE(QFileInfo::exists(path(name)));
        EXPECT_FALSE(listed().contains(name));
        ASSERT_EQ(picked.count(), 1);
        EXPECT_EQ(picked.at(0).at(0).toString(), QString());
        EXPECT_EQ(tree.GetFile(), path(QStringLiteral("c.txt")));
    }
}

TEST_F(TreeMenus, DeclinedDeleteChangesNothing)
{
    start();
    click(QStringLiteral("a.htm"));
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    deleteAnswering(env::Answer::No);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("a.htm"))));
    EXPECT_EQ(picked.count(), 0);
}

TEST_F(TreeMenus, RenamingSelectsTheFileUnderItsNewName)
{
    start();
    click(QStringLiteral("a.htm"));
    dialogs.answerText(QStringLiteral("z.htm"));
    choose(browser::spTrE::Rename);
    EXPECT_FALSE(listed().contains(QStringLiteral("a.htm")));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("z.htm")));
    // Cancelled: the name stays.
    choose(browser::spTrE::Rename);
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("z.htm")));
}

TEST_F(TreeMenus, ANewFileIsCreatedSelectedAndPicked)
{
    start();
    QSignalSpy picked(&tree, &browser::uTrE::eStFile);
    dialogs.answerText(QStringLiteral("議事録"));
    choose(browser::spTrE::NewFile);
    EXPECT_TRUE(listed().contains(QStringLiteral("議事録.htm")));
    EXPECT_EQ(tree.GetFile(), path(QStringLiteral("議事録.htm")));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toString(), path(QStringLiteral("議事録.htm")));
}

TEST_F(TreeMenus, TheFolderMenuShowsTheHighlightedFolder)
{
    start();
    auto* folders = tree.findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    const auto found = folders->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    folders->setCurrentItem(found.first());
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(folders->viewport(), &event);
    auto* menu = tree.findChild<QMenu*>(QStringLiteral("mnFld"));
    ASSERT_TRUE(menu && menu->isVisible());
    EXPECT_EQ(menu->actions().first()->text(), QStringLiteral("ｴｸｽﾌﾟﾛｰﾗｰ"));
    menu->actions().first()->trigger();
    menu->close();
    EXPECT_EQ(desktop.shown, QStringList{path(QStringLiteral("sub"))});
}

} // namespace
