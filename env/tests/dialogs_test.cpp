#include "testsupport/scripteddialogs.h"

#include <gtest/gtest.h>

using env::Answer;
using env::Buttons;

TEST(ScriptedDialogs, RecordsMessagesAndAnswersFromTheScript)
{
    testsupport::ScriptedDialogs d;
    d.answer(Answer::No);
    env::dialogs().inform(QStringLiteral("一"));
    EXPECT_EQ(env::dialogs().ask(QStringLiteral("二"), Buttons::YesNo, Answer::Yes), Answer::No);
    // Nothing queued: the default button answers.
    EXPECT_EQ(env::dialogs().ask(QStringLiteral("三"), Buttons::YesNoCancel, Answer::Cancel),
              Answer::Cancel);
    EXPECT_EQ(d.messages(), (QStringList{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")}));
}

TEST(ScriptedDialogs, FileDialogsReportTheChosenFilterAndCancel)
{
    testsupport::ScriptedDialogs d;
    env::FileRequest r;
    r.filters = QStringList{QStringLiteral("HTML (*.htm)"), QStringLiteral("RTF (*.rtf)")};
    EXPECT_TRUE(env::dialogs().saveFile(r).isEmpty());
    d.answerFiles({QStringLiteral("/tmp/a.rtf")}, 2);
    EXPECT_EQ(env::dialogs().saveFile(r), QStringLiteral("/tmp/a.rtf"));
    EXPECT_EQ(r.filterIndex, 2);
}

TEST(ScriptedDialogs, RestoresThePreviousImplementation)
{
    testsupport::ScriptedDialogs outer;
    {
        testsupport::ScriptedDialogs inner;
        env::dialogs().inform(QStringLiteral("x"));
        EXPECT_EQ(inner.messages().size(), 1);
    }
    env::dialogs().inform(QStringLiteral("y"));
    EXPECT_EQ(outer.messages(), QStringList{QStringLiteral("y")});
}
