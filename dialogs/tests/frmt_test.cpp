#include "dialogs/frmt.h"

#include "env/yini.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <gtest/gtest.h>

using dialogs::Frmt;
using dialogs::UserFormat;

namespace {

struct FrmtSettings : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    env::yIni ini;

    void SetUp() override { ASSERT_TRUE(ini.GetTxt(dir.path(QStringLiteral("User.xml")))); }

    void store(const QString& key, const QString& value)
    {
        ini.GetGtx(QStringLiteral("TX_FORMAT"));
        ini.SetVal(key, value);
        ini.SetGtx();
    }
};

} // namespace

TEST_F(FrmtSettings, NothingStoredGivesDefaultsAndReportsIt)
{
    Frmt frmt;
    EXPECT_FALSE(frmt.load(ini));
    EXPECT_EQ(frmt, Frmt());
    EXPECT_FLOAT_EQ(frmt.lineSpacing(), 1.2f);
    EXPECT_TRUE(frmt.headingFirst());
    EXPECT_TRUE(frmt.enterShift());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(frmt.record(i), UserFormat::defaults(i));
}

TEST_F(FrmtSettings, LineSpacingOutsideOneToTwoBecomesTheDefault)
{
    const std::pair<const char*, float> rows[] = {{"2.0", 2.0f}, {"2", 2.0f},     {"1", 1.0f},   {"1.5", 1.5f},
                                                  {"2.01", 1.2f}, {"0.99", 1.2f}, {"-1", 1.2f}, {"abc", 1.2f}};
    for (const auto& [stored, expected] : rows) {
        store(QStringLiteral("USR_LSP"), QString::fromLatin1(stored));
        Frmt frmt;
        frmt.load(ini);
        EXPECT_FLOAT_EQ(frmt.lineSpacing(), expected) << stored;
    }
}

TEST_F(FrmtSettings, SavedTableAndSettingsLoadBackEqual)
{
    Frmt frmt;
    UserFormat changed = UserFormat::defaults(2);
    changed.size = 18;
    changed.fontName = QStringLiteral("Noto Sans CJK JP");
    frmt.setRecord(2, changed);
    frmt.setLineSpacing(1.75);
    frmt.setHeadingFirst(false);
    frmt.setEnterShift(false);
    frmt.save(ini);

    Frmt loaded;
    EXPECT_TRUE(loaded.load(ini));
    EXPECT_EQ(loaded, frmt);
    ini.GetGtx(QStringLiteral("TX_FORMAT"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("USR_LSP"), QString()), QStringLiteral("1.75"));
    EXPECT_EQ(ini.vGtVal(QStringLiteral("USR_FORMAT_2"), QString()), changed.toText());
}

TEST_F(FrmtSettings, OneDamagedRecordFallsBackAloneAndTheRestStayAsStored)
{
    UserFormat body = UserFormat::defaults(3);
    body.size = 11;
    store(QStringLiteral("USR_FORMAT_3"), body.toText());
    store(QStringLiteral("USR_FORMAT_4"), QStringLiteral("Font|10|0"));
    Frmt frmt;
    frmt.load(ini);
    EXPECT_EQ(frmt.record(3), body);
    EXPECT_EQ(frmt.record(4), UserFormat::defaults(4));
}

TEST(Frmt, RecordIndexesOutsideTheTableAreClamped)
{
    Frmt frmt;
    EXPECT_EQ(frmt.record(-1), UserFormat::defaults(0));
    EXPECT_EQ(frmt.record(99), UserFormat::defaults(7));
}
