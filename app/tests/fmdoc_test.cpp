#include "app/fmdoc.h"
#include "app/mainmenubar.h"
#include "app/startup.h"
#include "browser/utre.h"
#include "editor/utxm.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/globals.h"
#include "fkeys/ufky.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A started main window over a fresh user data folder.
struct MainWindow : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    testsupport::RecordingDesktop desk;
    app::fmDoc* window = nullptr;

    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path(QStringLiteral("config")));
        QDir().mkpath(dir.path(QStringLiteral("data")));
        dir.write(QStringLiteral("prog/UserData.ini"), dir.path(QStringLiteral("data")).toUtf8());
        QApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        if (window)
            window->close();
    }
    void start(const QStringList& arguments = {})
    {
        window = app::Main({dir.path(QStringLiteral("prog/fumi")), arguments});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    engine::TextEngine& engine() { return *window->editor()->GetObj(); }
    QAction* item(const char* array, int index)
    {
        return window->menus()->action(QString::fromUtf8(array), index);
    }
    void openTopMenu(int top)
    {
        QAction* a = window->menus()->registry().find(QStringLiteral("mnJb"), top);
        emit a->menu()->aboutToShow();
    }
    // Types `text` as key presses carrying the characters, Japanese included.
    void typeText(const QString& text)
    {
        QWidget* view = window->editor()->view();
        view->setFocus();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(view, &press);
        }
    }
    // What a heading style changes, as the user sees it.
    QString styleLook()
    {
        return window->editor()->statusPanel()->text() + QStringLiteral(" %1 %2")
            .arg(engine().fontSize()).arg(engine().bold());
    }
};

} // namespace

TEST_F(MainWindow, FirstStartShowsTreeOnDocAndHidesTheKeys)
{
    start();
    EXPECT_EQ(window->tree()->GetPth(1), env::gsUsrPh + QStringLiteral("Doc/"));
    EXPECT_FALSE(window->keyBar()->isVisible());
    EXPECT_TRUE(window->tree()->isVisible());
    EXPECT_TRUE(item("mnDisp", 0)->isChecked());
    EXPECT_FALSE(item("mnDisp", 1)->isChecked());
    EXPECT_FALSE(item("mnLocal", 7)->isVisible());   // the chart item
}

TEST_F(MainWindow, EditMenuFollowsTheClipboardAndTheSelection)
{
    start();
    openTopMenu(1);
    EXPECT_FALSE(item("mnEdit", 5)->isEnabled());
    EXPECT_FALSE(item("mnEdit", 4)->isEnabled());
    typeText(QStringLiteral("abc"));
    engine().setSelection(0, 3);
    window->fnMenu(app::EditGroup, 4);   // ｺﾋﾟｰ
    openTopMenu(1);
    EXPECT_TRUE(item("mnEdit", 4)->isEnabled());
    EXPECT_TRUE(item("mnEdit", 5)->isEnabled());
    EXPECT_TRUE(item("mnPast", 0)->isEnabled());
    EXPECT_TRUE(item("mnPast", 1)->isEnabled());
    EXPECT_FALSE(item("mnPast", 2)->isEnabled());
}

TEST_F(MainWindow, FileMenuFollowsTheDocument)
{
    start();
    openTopMenu(0);
    EXPECT_FALSE(item("mnFile", 1)->isEnabled());
    EXPECT_FALSE(item("mnFile", 7)->isEnabled());
    typeText(QStringLiteral("x"));
    openTopMenu(0);
    EXPECT_TRUE(item("mnFile", 1)->isEnabled());
    EXPECT_TRUE(item("mnFile", 7)->isEnabled());
}

TEST_F(MainWindow, KeyF4WithTextSelectedDoesWhatTheMenuItemDoes)
{
    start();
    window->ShowFky(true);
    typeText(QStringLiteral("見出しにする"));
    engine().setSelection(0, -1);
    window->fnMenu(app::FormatGroup, 3);   // 本文 の書式
    engine().setSelection(0, -1);
    const QString body = styleLook();
    window->fnMenu(app::FormatGroup, 2);   // 表題3 の書式
    const QString byMenu = styleLook();
    EXPECT_NE(byMenu, body);
    window->fnMenu(app::FormatGroup, 3);   // back to 本文
    engine().setSelection(0, -1);
    EXPECT_EQ(styleLook(), body);
    QTest::keyClick(window->editor()->view(), Qt::Key_F4);
    EXPECT_EQ(styleLook(), byMenu);
}

TEST_F(MainWindow, KeyC11SelectsTheWholeDocument)
{
    start();
    window->ShowFky(true);
    typeText(QStringLiteral("一行目"));
    QTest::keyClick(window->editor()->view(), Qt::Key_F11, Qt::ControlModifier);
    EXPECT_EQ(engine().selectionStart(), 0);
    EXPECT_EQ(engine().selectionLength(), engine().plainText().size());
}

TEST_F(MainWindow, TreeAndKeyPanesToggleAndTheTreeKeepsItsWidth)
{
    start();
    auto* splitter = window->findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    splitter->setSizes({200, 500});
    window->fnMenu(app::DisplayGroup, 0);
    EXPECT_FALSE(window->tree()->isVisible());
    EXPECT_FALSE(item("mnDisp", 0)->isChecked());
    window->fnMenu(app::DisplayGroup, 0);
    EXPECT_TRUE(window->tree()->isVisible());
    EXPECT_NEAR(splitter->sizes().value(0), 200, 1);
    window->fnMenu(app::DisplayGroup, 1);
    EXPECT_TRUE(window->keyBar()->isVisible());
    EXPECT_TRUE(window->functionKeysShown());
}

TEST_F(MainWindow, KeyStripStateIsRemembered)
{
    start();
    window->fnMenu(app::DisplayGroup, 1);
    window->close();
    window = nullptr;
    start();
    EXPECT_TRUE(window->keyBar()->isVisible());
    EXPECT_TRUE(item("mnDisp", 1)->isChecked());
}

TEST_F(MainWindow, FolderItemShowsTheHighlightedFolderInTheFileManager)
{
    start();
    window->ShowFky(true);
    QTest::keyClick(window->editor()->view(), Qt::Key_F10, Qt::ControlModifier);   // C10
    EXPECT_EQ(desk.shown, QStringList{window->tree()->GetPth(2)});
}

TEST_F(MainWindow, DocumentFolderItemsMoveTheTree)
{
    start();
    window->menus()->action(QStringLiteral("mnOpnFd"), 2)->trigger();
    EXPECT_EQ(window->tree()->GetPth(1), env::gsUsrPh + QStringLiteral("Doc/"));
    const QString other = dir.path(QStringLiteral("elsewhere"));
    QDir().mkpath(other);
    dialogs.answerText(other);
    window->menus()->action(QStringLiteral("mnOpnFd"), 0)->trigger();
    EXPECT_EQ(window->tree()->GetPth(1), other + u'/');
}

TEST_F(MainWindow, PickingADocumentInTheTreeShowsItsPathInTheCaption)
{
    const QString doc = dir.write(QStringLiteral("data/Doc/メモ.txt"), "x");
    start();
    emit window->tree()->eStFile(doc);
    EXPECT_EQ(window->windowTitle(), doc);
    emit window->tree()->eStFile(QString());
    EXPECT_EQ(window->windowTitle(), QString());
}

TEST_F(MainWindow, QuotedCommandLinePathSelectsTheDocumentInTheTree)
{
    const QString doc = dir.write(QStringLiteral("docs/報告 1.htm"),
                                  "<html><body><p>報告の本文</p></body></html>");
    start({u'"' + doc + u'"'});
    EXPECT_EQ(window->tree()->GetPth(1), dir.path(QStringLiteral("docs/")));
    EXPECT_EQ(window->tree()->GetFile(), doc);
    EXPECT_EQ(window->windowTitle(), doc);
    EXPECT_EQ(window->editor()->currentFile(), doc);
    EXPECT_TRUE(engine().plainText().contains(QStringLiteral("報告の本文")));
}

TEST_F(MainWindow, ClosingByMenuStoresTheSameSettingsAsTheCloseBox)
{
    start();
    window->fnMenu(app::FileGroup, 12);   // 終了(&X)
    window = nullptr;
    const QByteArray byMenu = dir.read(QStringLiteral("data/User.xml"));
    start();
    window->close();
    window = nullptr;
    EXPECT_EQ(dir.read(QStringLiteral("data/User.xml")), byMenu);
}
