// The display, IME and picture-layout pages opened by the editor's jobs 26,
// 68 and 67, answered as the user would, and what the editor does with them.
#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "testsupport/modalanswer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using editor::uTxm;
using testsupport::ModalAnswer;

namespace {

using namespace Qt::StringLiterals;

struct OptionPages : ::testing::Test {
    editortest::Environment environment;
    std::shared_ptr<std::vector<bool>> ime = std::make_shared<std::vector<bool>>();
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    OptionPages() { editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime)); }

    // Runs `job`, whose page is answered with OK after the controls named in
    // `clicks` were clicked.
    void runClicking(int job, const QStringList& clicks)
    {
        ModalAnswer ok(u"OK"_s, [&](QDialog& shown) {
            for (const QString& name : clicks) {
                auto* control = shown.findChild<QAbstractButton*>(name);
                ASSERT_NE(control, nullptr) << name.toStdString();
                control->click();
            }
        });
        editor.rtAct(job);
        EXPECT_TRUE(ok.seen());
    }
    // The names of the page's checked controls when `job` opens it (cancelled).
    QStringList checkedOn(int job)
    {
        QStringList checked;
        ModalAnswer look(u"ｷｬﾝｾﾙ"_s, [&](QDialog& shown) {
            for (QAbstractButton* control : shown.findChildren<QAbstractButton*>())
                if (control->isVisible() && control->isChecked())
                    checked << control->objectName();
        });
        editor.rtAct(job);
        return checked;
    }
    void usePaper(int width, int height)
    {
        engine::PageSetup setup = engine.pageSetup();
        setup.paperWidth = width;
        setup.paperHeight = height;
        engine.setPageSetup(setup);
    }
    static QString setting(const QString& section, const QString& key)
    {
        return editortest::Environment::setting(section, key);
    }
};

TEST_F(OptionPages, TheDisplayPageFitsThePaperIntoTheControlAndStoresTheViewAtOnce)
{
    editor.cOn(1, 4, std::nullopt, u"Main"_s);
    ASSERT_EQ(editor.logicalDpiX(), 96);
    ASSERT_EQ(editor.logicalDpiY(), 96);
    editor.resize(960, 600); // 14400 × 9000 twips
    usePaper(12000, 16000);
    QSignalSpy refreshed(&engine, &engine::TextEngine::refreshRequested);

    runClicking(26, {u"opZoom6"_s, u"opDP1"_s});
    EXPECT_EQ(engine.zoom(), 116) << "14400 × 97 / 12000";
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::PageLayout);
    EXPECT_EQ(setting(u"MainTX_DISP"_s, u"ZOOM"_s), u"116"_s);
    EXPECT_EQ(setting(u"MainTX_DISP"_s, u"MODE"_s), u"2"_s);
    EXPECT_TRUE(setting(u"TX_DISP"_s, u"ZOOM"_s).isEmpty()) << "another host's display settings stay";
    EXPECT_GE(refreshed.size(), 1);

    runClicking(26, {u"opZoom5"_s, u"opDP0"_s});
    EXPECT_EQ(engine.zoom(), 55) << "the height limits: 9000 / 16000 × 97";
    EXPECT_EQ(setting(u"MainTX_DISP"_s, u"ZOOM"_s), u"55"_s);
    EXPECT_EQ(setting(u"MainTX_DISP"_s, u"MODE"_s), u"0"_s);
    EXPECT_EQ(checkedOn(26), (QStringList{u"opDP0"_s, u"opZoom7"_s}));
}

TEST_F(OptionPages, ATypedZoomIsKeptWithinTheViewsRange)
{
    editor.cOn(1, 4);
    ModalAnswer ok(u"OK"_s, [](QDialog& shown) {
        auto* box = shown.findChild<QLineEdit*>(u"txZoom"_s);
        box->selectAll();
        QTest::keyClicks(box, u"1000"_s);
    });
    editor.rtAct(26);
    EXPECT_EQ(engine.zoom(), 400);
    editor.cOff();
    EXPECT_EQ(setting(u"TX_DISP"_s, u"ZOOM"_s), u"400"_s);
}

TEST_F(OptionPages, ImeOnAndIgnoreSwitchTheImeAndOpenTheNextDocumentWithoutAsking)
{
    editor.cOn(1, 4);
    ime->clear();
    QTest::keyClicks(editor.view(), u"edited"_s);
    ASSERT_TRUE(editor.bDcEdt());

    runClicking(68, {u"chIME"_s, u"opSave2"_s});
    EXPECT_EQ(editor.options().ime, u"ON"_s);
    EXPECT_EQ(editor.options().updateRule, u"無視"_s);
    EXPECT_EQ(*ime, std::vector<bool>{true}) << "switched on at once";

    environment.dialogs.clear();
    editor.rtAct(2);
    EXPECT_TRUE(environment.dialogs.asked().empty()) << "no question before the document goes";
    EXPECT_TRUE(engine.plainText().isEmpty());

    EXPECT_EQ(checkedOn(68), (QStringList{u"chIME"_s, u"opSave2"_s}));
    editor.cOff();
    EXPECT_EQ(setting(u"TX_USR"_s, u"IME"_s), u"ON"_s);
    EXPECT_EQ(setting(u"TX_USR"_s, u"更新確認"_s), u"無視"_s);
}

TEST_F(OptionPages, SwitchingTheImeOffClosesItAndCancelChangesNothing)
{
    editortest::Environment::store(u"TX_USR"_s, u"IME"_s, u"ON"_s);
    editor.cOn(1, 4);
    ime->clear();
    ModalAnswer cancel(u"ｷｬﾝｾﾙ"_s, [](QDialog& shown) { shown.findChild<QCheckBox*>(u"chIME"_s)->click(); });
    editor.rtAct(68);
    EXPECT_EQ(editor.options().ime, u"ON"_s);
    EXPECT_TRUE(ime->empty());

    runClicking(68, {u"chIME"_s, u"opSave1"_s});
    EXPECT_EQ(editor.options().ime, u"OFF"_s);
    EXPECT_EQ(editor.options().updateRule, u"上書"_s);
    EXPECT_EQ(*ime, std::vector<bool>{false});
}

TEST_F(OptionPages, AnUnknownStoredUpdateRuleShowsAskAndOkMakesItAsk)
{
    editortest::Environment::store(u"TX_USR"_s, u"IME"_s, u"ON"_s);
    editortest::Environment::store(u"TX_USR"_s, u"更新確認"_s, u"保存"_s);
    editor.cOn(1, 4);
    EXPECT_EQ(checkedOn(68), (QStringList{u"chIME"_s, u"opSave0"_s}));
    EXPECT_EQ(editor.options().updateRule, u"保存"_s) << "looking changes nothing";
    runClicking(68, {});
    EXPECT_EQ(editor.options().imeAnswer(), u"ON\t確認"_s);
}

TEST_F(OptionPages, EveryPictureLayoutAndColourGoesThroughJob67AndIsStored)
{
    editor.cOn(1, 4);
    EXPECT_EQ(checkedOn(67), (QStringList{u"opFlw1"_s, u"opClr0"_s})) << "new documents of type 4 start at 左寄せ";
    for (int layout = 1; layout <= 4; ++layout)
        for (int colour = 0; colour <= 2; ++colour) {
            runClicking(67, {u"opFlw%1"_s.arg(layout - 1), u"opClr%1"_s.arg(colour)});
            EXPECT_EQ(editor.options().textFlow, layout);
            EXPECT_EQ(editor.options().pictureColour, colour);
            EXPECT_EQ(checkedOn(67), (QStringList{u"opFlw%1"_s.arg(layout - 1), u"opClr%1"_s.arg(colour)}));
        }
    editor.cOff();
    EXPECT_EQ(setting(u"TX_USR"_s, u"TX_FLW"_s), u"4"_s);
    EXPECT_EQ(setting(u"TX_USR"_s, u"PC_CLR"_s), u"2"_s);
}

} // namespace
