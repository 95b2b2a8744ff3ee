#include "app/fkeytable.h"
#include "app/fmdoc.h"
#include "app/mainmenubar.h"
#include "app/menutable.h"
#include "app/startup.h"
#include "browser/utre.h"
#include "editor/utxm.h"
#include "engine/documentcodec.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "env/globals.h"
#include "fkeys/ufky.h"
#include "formats/doc/doccodec.h"
#include "formats/docx/tests/watchedcodec.h"
#include "testsupport/printers.h"
#include "testsupport/recordingdesktop.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

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
        qputenv("XDG_CONFIG_HOME", configHome);
    }
    // Makes the desktop's documents folder `folder`.
    void documentsFolderAt(const QString& folder)
    {
        dir.write(QStringLiteral("xdgconfig/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"" + folder.toUtf8() + "\"\n");
        qputenv("XDG_CONFIG_HOME", dir.path(QStringLiteral("xdgconfig")).toUtf8());
    }
    QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
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

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QApplication::clipboard()->setImage(picture);
    openTopMenu(1);
    EXPECT_FALSE(item("mnPast", 0)->isEnabled());
    EXPECT_TRUE(item("mnPast", 2)->isEnabled());
    QApplication::clipboard()->clear();
    openTopMenu(1);
    EXPECT_FALSE(item("mnEdit", 5)->isEnabled());
    for (int kind : {0, 1, 2})
        EXPECT_FALSE(item("mnPast", kind)->isEnabled()) << kind;
}

// The formatted-text item of the paste sub-menu pastes formatted text, even
// when Ctrl+V is set to plain text.
TEST_F(MainWindow, ThePasteSubMenuPastesTheKindItNames)
{
    start();
    window->editor()->rtAct(72, 1);
    auto* data = new QMimeData;
    data->setText(QStringLiteral("太字"));
    data->setHtml(QStringLiteral("<b>太字</b>"));
    QApplication::clipboard()->setMimeData(data);
    openTopMenu(1);
    item("mnPast", 1)->trigger();
    engine().setSelection(0, 2);
    EXPECT_EQ(engine().selectedText(), QStringLiteral("太字"));
    EXPECT_TRUE(engine().bold());
    QApplication::clipboard()->clear();
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

// The checkable items once flipped their own mark and the handler flipped it
// back, so the key strip could never be shown from the menu.
TEST_F(MainWindow, DisplayMenuItemsShowAndHideTheTreeAndTheKeyStrip)
{
    start();
    auto* splitter = window->findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    splitter->setSizes({200, 500});
    item("mnDisp", 0)->trigger();
    EXPECT_FALSE(window->tree()->isVisible());
    EXPECT_FALSE(item("mnDisp", 0)->isChecked());
    item("mnDisp", 0)->trigger();
    EXPECT_TRUE(window->tree()->isVisible());
    EXPECT_TRUE(item("mnDisp", 0)->isChecked());
    EXPECT_NEAR(splitter->sizes().value(0), 200, 1);
    item("mnDisp", 1)->trigger();
    EXPECT_TRUE(window->keyBar()->isVisible());
    EXPECT_TRUE(item("mnDisp", 1)->isChecked());
    item("mnDisp", 1)->trigger();
    EXPECT_FALSE(window->keyBar()->isVisible());
    EXPECT_FALSE(item("mnDisp", 1)->isChecked());
}

// The tree's width was once forgotten at the next start.
TEST_F(MainWindow, KeyStripStateAndTreeWidthAreRemembered)
{
    start();
    item("mnDisp", 1)->trigger();
    window->findChild<QSplitter*>()->setSizes({260, 500});
    window->close();
    window = nullptr;
    start();
    EXPECT_TRUE(window->keyBar()->isVisible());
    EXPECT_TRUE(item("mnDisp", 1)->isChecked());
    EXPECT_NEAR(window->findChild<QSplitter*>()->sizes().value(0), 260, 1);
}

// Closing once gave an edited document up without a word.
TEST_F(MainWindow, ClosingAnEditedDocumentAsksFirstAndCancelKeepsTheWindow)
{
    start();
    typeText(QStringLiteral("書きかけ"));
    for (const auto& close : {std::function<void()>([this] { window->close(); }),
                              std::function<void()>([this] { item("mnFile", 12)->trigger(); })}) {
        dialogs.clear();
        dialogs.answer(env::Answer::Cancel);
        close();
        ASSERT_EQ(dialogs.messages(), QStringList{QStringLiteral("現在の文書を保存しますか")});
        EXPECT_EQ(dialogs.asked().front().buttons, env::Buttons::YesNoCancel);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->editor()->isActive());
        EXPECT_EQ(engine().plainText(), QStringLiteral("書きかけ"));
    }
    const QPointer<app::fmDoc> closing = window;
    dialogs.answer(env::Answer::No);
    window->close();
    window = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

TEST_F(MainWindow, NewDocumentTakesTheFileNameOutOfTheCaption)
{
    const QString doc = dir.write(QStringLiteral("data/Doc/メモ.htm"), "<html><body><p>x</p></body></html>");
    start();
    emit window->tree()->eStFile(doc);
    ASSERT_EQ(window->windowTitle(), doc);
    item("mnFile", 0)->trigger();
    EXPECT_EQ(window->windowTitle(), QApplication::applicationDisplayName());
}

// The main window numbers no documents, so a new database document the
// editor is told to save by number goes to the work folder's "temp.doc".
// (Format 9 is served by the Word codec here, not by LibreOffice.)
TEST_F(MainWindow, NewDatabaseDocumentsSavedByNumberGoToTheWorkFile)
{
    start();
    const auto codec = std::make_shared<docxtest::WatchedWordCodec>();
    engine::registerCodec(engine::FormatCode::Doc, codec);
    window->editor()->cTyp(0);
    window->editor()->rtAct(87, true);
    typeText(QStringLiteral("番号なし"));
    QSignalSpy filed(window->editor(), &editor::uTxm::eSaveDB);
    window->editor()->rtAct(4);
    formats::doc::registerDocCodec();
    EXPECT_EQ(codec->writes, 1);
    EXPECT_TRUE(QFileInfo::exists(env::gsWrkPh + QStringLiteral("temp.doc")));
    EXPECT_FALSE(QFileInfo::exists(env::gsUsrPh + QStringLiteral("Dbs")));
    EXPECT_EQ(filed.size(), 1);
    EXPECT_FALSE(window->editor()->bDcEdt());
    EXPECT_TRUE(dialogs.asked().empty());
}

// The documents folder item once did nothing when that folder was missing.
TEST_F(MainWindow, DocumentsFolderItemMakesAMissingFolder)
{
    const QString documents = dir.path(QStringLiteral("home/文書"));
    documentsFolderAt(documents);
    start();
    item("mnOpnFd", 1)->trigger();
    EXPECT_TRUE(QFileInfo(documents).isDir());
    EXPECT_EQ(window->tree()->GetPth(1), documents + u'/');
}

// Qt's own buttons once read English beside the program's Japanese.
TEST_F(MainWindow, QtsOwnButtonsSpeakJapaneseAfterStartUp)
{
    start();
    const QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(box.button(QDialogButtonBox::Yes)->text().startsWith(QStringLiteral("はい")));
}

// With the key strip shown F8 saved while the menu still promised it for
// ﾌｫﾝﾄ: the menus now show, for each item, the keys that run it now.
TEST_F(MainWindow, KeysShownInTheMenusAreTheKeysThatRunTheItems)
{
    start();
    for (const bool stripShown : {false, true}) {
        SCOPED_TRACE(stripShown);
        window->ShowFky(stripShown);
        QHash<QKeySequence, QString> owners;
        for (const app::MenuSpec& spec : app::mainMenus())
            for (const app::MenuItemSpec& entry : spec.items)
                for (const QKeySequence& key : window->menus()->action(spec.array, entry.index)->shortcuts()) {
                    EXPECT_FALSE(owners.contains(key)) << (key.toString() + QStringLiteral(" on ") + owners.value(key)
                                                           + QStringLiteral(" and ") + entry.caption).toStdString();
                    owners.insert(key, entry.caption);
                }
        if (!stripShown)
            continue;
        for (const app::FunctionKeyRow& row : app::functionKeyRows())
            EXPECT_TRUE(window->menuItems().item({row.group, row.index})->shortcuts().contains(app::keySequenceOf(row.key)))
                << row.key.toStdString();
    }
}

// Undo and redo were disabled until the edit menu had been opened, so Ctrl+Z
// and Ctrl+Y never reached the editor's commands (which know its snapshots):
// at best the text view undid its own steps, and where the desktop's redo key
// is not Ctrl+Y, Ctrl+Y did nothing.
TEST_F(MainWindow, CtrlZUndoesAndCtrlYRedoesWithoutOpeningTheMenu)
{
    start();
    typeText(QStringLiteral("abc"));
    QSignalSpy jobs(window->editor(), &editor::uTxm::eRtAct);
    QTest::keyClick(window->editor()->view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(engine().plainText(), QString());
    QTest::keyClick(window->editor()->view(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(engine().plainText(), QStringLiteral("abc"));
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[0][0].toInt(), 11);
    EXPECT_EQ(jobs[1][0].toInt(), 12);
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

namespace {

// Everything a command can change that the user could notice.
struct Observed {
    QByteArray document;
    int selectionStart, selectionLength;
    bool modified;
    size_t questions;
    qsizetype handedOver;
    QString caption, folder, clipboard;
    bool treeShown, keysShown, modalShown;
    Qt::CursorShape pointer; // over the text: a cross while a picture's size is drawn
    friend bool operator==(const Observed&, const Observed&) = default;
};

// The main window with a document whose second line is selected, the tree
// away from its start folder, and a watch that closes any modal dialog a
// command opens (the link page, for one).
struct EveryCommand : MainWindow {
    bool modalShown = false;
    QTimer modalCloser;

    void SetUp() override
    {
        MainWindow::SetUp();
        qputenv("XDG_DATA_HOME", dir.path(QStringLiteral("xdg")).toUtf8());
        documentsFolderAt(dir.path(QStringLiteral("documents")));
        modalCloser.setInterval(10);
        QObject::connect(&modalCloser, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modalShown = true;
                modal->close();
            }
        });
        modalCloser.start();
    }
    void prepare()
    {
        window->editor()->SetText(QStringLiteral("一行目\n二行目の本文"));
        engine().setSelection(4, 3);
        window->editor()->setDcEdt(true);
        QApplication::clipboard()->clear();
        QDir().mkpath(dir.path(QStringLiteral("elsewhere")));
        window->tree()->SetPth(dir.path(QStringLiteral("elsewhere")));
        dialogs.clear();
        modalShown = false;
    }
    Observed observe()
    {
        return {engine().saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray()),
                engine().selectionStart(),
                engine().selectionLength(),
                window->editor()->bDcEdt(),
                dialogs.asked().size(),
                desk.opened.size() + desk.shown.size(),
                window->windowTitle(),
                window->tree()->GetPth(1),
                QApplication::clipboard()->text(),
                window->tree()->isVisible(),
                window->keyBar()->isVisible(),
                modalShown,
                window->editor()->view()->viewport()->cursor().shape()};
    }
    // Readies the document, then opens every top menu so that the items'
    // enabled states (and the keys', which follow them) are the document's.
    void prepareAndOpenMenus()
    {
        prepare();
        for (int top = 0; top < 7; ++top)
            openTopMenu(top);
        dialogs.clear();
    }
    // True when `run` changed what the user sees or asked the user something.
    bool doesSomething(const std::function<void()>& run)
    {
        const Observed before = observe();
        run();
        return !(observe() == before);
    }
};

} // namespace

// Commands not built yet once did nothing at all when chosen; now each item
// that can be chosen does something, asks something, or says it is not built.
TEST_F(EveryCommand, EveryMenuItemThatCanBeChosenDoesSomething)
{
    start();
    QStringList silent;
    for (const app::MenuSpec& spec : app::mainMenus()) {
        for (const app::MenuItemSpec& entry : spec.items) {
            QAction* action = window->menus()->action(spec.array, entry.index);
            if (entry.isSeparator() || !entry.submenu.isEmpty() || action == item("mnFile", 12))
                continue;
            prepareAndOpenMenus();
            if (action->isEnabled() && action->isVisible() && !doesSomething([action] { action->trigger(); }))
                silent << spec.array + u' ' + entry.caption;
        }
    }
    // Refreshing only redraws the document; the property items keep their
    // states and need a table at the caret, which the document has not.
    EXPECT_EQ(silent, (QStringList{QStringLiteral("mnDisp 再表示"), QStringLiteral("mnProp 表"),
                                   QStringLiteral("mnProp 行"), QStringLiteral("mnProp ｾﾙ")}));
}

TEST_F(EveryCommand, EveryFunctionKeyDoesSomething)
{
    start();
    window->ShowFky(true);
    QStringList silent;
    for (int number = 1; number <= 12; ++number) {
        for (const Qt::KeyboardModifier modifier : {Qt::NoModifier, Qt::ControlModifier}) {
            const Qt::Key key = Qt::Key(Qt::Key_F1 + number - 1);
            prepareAndOpenMenus();
            const fkeys::KeyId id{modifier == Qt::ControlModifier ? fkeys::KeyGroup::C : fkeys::KeyGroup::F, number};
            if (window->keyBar()->strip()->isKeyEnabled(id)
                && !doesSomething([&] { QTest::keyClick(window->editor()->view(), key, modifier); }))
                silent << (modifier == Qt::ControlModifier ? QStringLiteral("C%1") : QStringLiteral("F%1")).arg(number);
        }
    }
    // F1 is bound to nothing.
    EXPECT_EQ(silent, (QStringList{QStringLiteral("F1")}));
}
