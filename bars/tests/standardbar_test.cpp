#include "bars/standardbar.h"

#include <QAction>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace bars {
namespace {

EditorFacts emptyDocument()
{
    return {};
}

EditorFacts editedDocument()
{
    EditorFacts facts;
    facts.hasContent = true;
    facts.modified = true;
    facts.canCopy = true;
    facts.canPaste = true;
    facts.canUndo = true;
    facts.canRedo = true;
    return facts;
}

TEST(StandardButtons, AnEmptyDocumentOffersOnlyOpenAndWhatTheEngineCanDo)
{
    EditorFacts facts = emptyDocument();
    facts.canPaste = true;
    for (const StandardButtonInfo& info : standardButtons()) {
        const bool expected = info.button == StandardButton::Open || info.button == StandardButton::Paste;
        EXPECT_EQ(standardButtonState(info.button, facts).enabled, expected) << info.key.toStdString();
    }
}

TEST(StandardButtons, SaveWantsAModifiedDocumentWithContent)
{
    EditorFacts facts = editedDocument();
    EXPECT_TRUE(standardButtonState(StandardButton::Save, facts).enabled);
    facts.modified = false;
    EXPECT_FALSE(standardButtonState(StandardButton::Save, facts).enabled);
    facts.modified = true;
    facts.hasContent = false;
    EXPECT_FALSE(standardButtonState(StandardButton::Save, facts).enabled);
}

TEST(StandardButtons, SaveIsNotShownForANegativeDocumentType)
{
    EditorFacts facts = editedDocument();
    facts.documentType = -1;
    EXPECT_FALSE(standardButtonState(StandardButton::Save, facts).shown);
    facts.documentType = 0;
    EXPECT_TRUE(standardButtonState(StandardButton::Save, facts).shown);
    for (const StandardButtonInfo& info : standardButtons())
        if (info.button != StandardButton::Save)
            EXPECT_TRUE(standardButtonState(info.button, facts).shown) << info.key.toStdString();
}

TEST(StandardBar, ButtonsSendTheirCommands)
{
    StandardBar bar;
    bar.refresh(editedDocument());
    QSignalSpy jobs(&bar, &StandardBar::jobRequested);
    QList<int> sent;
    for (const StandardButtonInfo& info : standardButtons()) {
        bar.action(info.button)->trigger();
        sent << jobs.takeFirst().at(0).toInt();
    }
    EXPECT_EQ(sent, (QList<int>{2, 1, 4, 6, 7, 13, 14, 15, 11, 12, 22}));
}

TEST(StandardBar, RefreshEnablesAndHidesButtons)
{
    StandardBar bar;
    bar.refresh(editedDocument());
    EXPECT_TRUE(bar.action(StandardButton::Undo)->isEnabled());
    EditorFacts facts = editedDocument();
    facts.canUndo = false;
    facts.documentType = -1;
    bar.refresh(facts);
    EXPECT_FALSE(bar.action(StandardButton::Undo)->isEnabled());
    EXPECT_FALSE(bar.action(StandardButton::Save)->isVisible());
    EXPECT_TRUE(bar.action(StandardButton::Redo)->isEnabled());
}

TEST(StandardBar, ARefreshWithNothingNewTouchesNoButton)
{
    StandardBar bar;
    bar.refresh(editedDocument());
    QAction* copy = bar.action(StandardButton::Copy);
    QSignalSpy changed(copy, &QAction::changed);
    bar.refresh(editedDocument());
    EXPECT_EQ(changed.count(), 0);
    EditorFacts facts = editedDocument();
    facts.canCopy = false;
    bar.refresh(facts);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(copy->isEnabled());
}

TEST(StandardBar, EveryButtonCanBeToldApart)
{
    StandardBar bar;
    for (const StandardButtonInfo& info : standardButtons()) {
        QAction* action = bar.action(info.button);
        EXPECT_FALSE(action->toolTip().isEmpty()) << info.key.toStdString();
        EXPECT_TRUE(!action->icon().isNull() || !action->iconText().isEmpty()) << info.key.toStdString();
    }
}

} // namespace
} // namespace bars
