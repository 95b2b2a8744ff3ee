// Page setup, header/footer switches and editing a header or footer through
// the engine.
#include "engine/textengine.h"

#include <QTextDocument>
#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(HeaderFooter, OnlySwitchedOnPartsCanBeActivated)
{
    TextEngine engine;
    EXPECT_FALSE(engine.activateHeaderFooter(HeaderEveryPage));
    EXPECT_TRUE(engine.isBodyActive());
    engine.setHeaderFooterFlags(HeaderEveryPage | FooterEveryPage);
    EXPECT_TRUE(engine.activateHeaderFooter(FooterEveryPage));
    EXPECT_EQ(engine.activeDocument(), engine.headerFooterDocument(FooterEveryPage));
    EXPECT_FALSE(engine.activateHeaderFooter(FooterFirstPage));
    EXPECT_EQ(engine.activeDocument(), engine.headerFooterDocument(FooterEveryPage));
}

TEST(HeaderFooter, EditingTargetsTheActivePartAndTheViewIsTold)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("body"));
    engine.setHeaderFooterFlags(HeaderEveryPage);
    QList<QTextDocument*> shown;
    QObject::connect(&engine, &TextEngine::activeDocumentChanged,
                     [&shown](QTextDocument* document) { shown.append(document); });

    ASSERT_TRUE(engine.activateHeaderFooter(HeaderEveryPage));
    engine.setPlainText(QStringLiteral("Header"));
    engine.setSelection(0, -1);
    engine.setBold(true);
    engine.activateBody();

    EXPECT_EQ(shown, (QList<QTextDocument*>{engine.headerFooterDocument(HeaderEveryPage), engine.document()}));
    EXPECT_EQ(engine.plainText(), QStringLiteral("body"));
    EXPECT_EQ(engine.headerFooterDocument(HeaderEveryPage)->toPlainText(), QStringLiteral("Header"));
    ASSERT_TRUE(engine.activateHeaderFooter(HeaderEveryPage));
    engine.setSelection(0, 1);
    EXPECT_TRUE(engine.bold()) << "a header keeps its own rich content";
}

TEST(HeaderFooter, SwitchingAPartOffEmptiesItAndLeavesIt)
{
    TextEngine engine;
    engine.setHeaderFooterFlags(HeaderFirstPage);
    ASSERT_TRUE(engine.activateHeaderFooter(HeaderFirstPage));
    engine.setPlainText(QStringLiteral("first page header"));
    engine.setHeaderFooterFlags(0);
    EXPECT_TRUE(engine.isBodyActive());
    EXPECT_TRUE(engine.headerFooterDocument(HeaderFirstPage)->isEmpty());
}

TEST(HeaderFooter, UnknownFlagBitsAreDropped)
{
    TextEngine engine;
    engine.setHeaderFooterFlags(0xFF);
    EXPECT_EQ(engine.headerFooterFlags(), 15);
}

} // namespace
} // namespace engine
