#include "editor/modifiedstate.h"
#include "editor/updateconfirmation.h"

#include "editortestsupport.h"

using editor::mayReplaceDocument;
using editor::ModifiedState;

namespace {

struct Update : ::testing::Test {
    editortest::Environment environment;
    ModifiedState state;
    int saves = 0;
    bool saveWorks = true;

    bool replace(const QString& rule, int type = 4)
    {
        return mayReplaceDocument(state, rule, type, [this] {
            ++saves;
            return saveWorks;
        });
    }
};

} // namespace

TEST_F(Update, UnmodifiedOrOutsideTheDatabaseIsNeverAsked)
{
    EXPECT_TRUE(replace(QStringLiteral("確認")));
    state.setModified(true);
    EXPECT_TRUE(replace(QStringLiteral("確認"), -1));
    EXPECT_TRUE(environment.dialogs.asked().empty());
    EXPECT_EQ(saves, 0);
}

TEST_F(Update, AskRuleSavesOnYesDropsOnNoKeepsOnCancel)
{
    state.setModified(true);
    environment.dialogs.answer(env::Answer::Yes);
    EXPECT_TRUE(replace(QStringLiteral("確認")));
    EXPECT_EQ(saves, 1);

    environment.dialogs.answer(env::Answer::No);
    EXPECT_TRUE(replace(QStringLiteral("確認")));
    EXPECT_FALSE(state.modified());

    state.setModified(true);
    environment.dialogs.answer(env::Answer::Cancel);
    EXPECT_FALSE(replace(QStringLiteral("確認")));
    EXPECT_TRUE(state.modified());

    ASSERT_EQ(environment.dialogs.asked().size(), 3u);
    EXPECT_EQ(environment.dialogs.asked()[0].text, QStringLiteral("現在の文書を保存しますか"));
    EXPECT_EQ(environment.dialogs.asked()[0].buttons, env::Buttons::YesNoCancel);
}

TEST_F(Update, OverwriteRuleSavesWithoutAsking)
{
    state.setModified(true);
    EXPECT_TRUE(replace(QStringLiteral("上書")));
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(environment.dialogs.asked().empty());
}

TEST_F(Update, FailedSaveKeepsTheDocument)
{
    state.setModified(true);
    saveWorks = false;
    EXPECT_FALSE(replace(QStringLiteral("上書")));
    environment.dialogs.answer(env::Answer::Yes);
    EXPECT_FALSE(replace(QStringLiteral("確認")));
    EXPECT_TRUE(state.modified());
}

TEST_F(Update, AnyOtherRuleGivesTheChangesUpSilently)
{
    state.setModified(true);
    for (const QString& rule : {QStringLiteral("無視"), QString(), QStringLiteral("確認 ")})
        EXPECT_TRUE(replace(rule));
    EXPECT_TRUE(environment.dialogs.asked().empty());
    EXPECT_EQ(saves, 0);
}

TEST(ModifiedTracking, ChangesWhileBusyOrStartingAreNotTheUsers)
{
    ModifiedState state;
    int announced = 0;
    QObject::connect(&state, &ModifiedState::aboutToChange, [&](bool) { ++announced; });
    {
        ModifiedState::BusyScope busy(state);
        ModifiedState::BusyScope nested(state);
        EXPECT_FALSE(state.recordChange());
    }
    env::gbActing = true;
    EXPECT_FALSE(state.recordChange());
    env::gbActing = false;
    EXPECT_FALSE(state.modified());
    EXPECT_EQ(announced, 0);
    EXPECT_TRUE(state.recordChange());
    EXPECT_TRUE(state.modified());
    EXPECT_EQ(announced, 1);
}
