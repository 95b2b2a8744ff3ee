#include "editor/snapshotlayer.h"

#include "editortestsupport.h"
#include "engine/textengine.h"

using editor::SnapshotLayer;

namespace {

struct Snapshots : ::testing::Test {
    editortest::Environment environment;
    engine::TextEngine engine;
    SnapshotLayer layer{engine};

    QByteArray bytes() { return engine.saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray()); }
    void type(const QString& text) { engine.setSelectedText(text); }
};

} // namespace

TEST_F(Snapshots, RestoreBringsBackTheWholeDocumentOnce)
{
    engine.setPlainText(QStringLiteral("before"));
    const QByteArray before = bytes();
    ASSERT_FALSE(before.isEmpty());
    layer.take();
    EXPECT_TRUE(layer.held());
    engine.setSelection(0, -1);
    type(QStringLiteral("after the command"));

    EXPECT_TRUE(layer.restore());
    EXPECT_EQ(bytes(), before);
    EXPECT_FALSE(layer.held());
    type(QStringLiteral("more "));
    EXPECT_FALSE(layer.restore()) << "a restored snapshot never comes back";
    EXPECT_EQ(engine.plainText(), QStringLiteral("more before"));
}

TEST_F(Snapshots, RestoreKeepsTheSelectionOfTheMomentItWasTaken)
{
    engine.setPlainText(QStringLiteral("some words"));
    engine.setSelection(5, 5);
    layer.take();
    engine.setSelection(0, -1);
    type(QString());
    layer.restore();
    EXPECT_EQ(engine.selectionStart(), 5);
    EXPECT_EQ(engine.selectionLength(), 5);
}

TEST_F(Snapshots, RestoreWithTheCaretInATextFrameReplacesTheWholeDocument)
{
    engine.setPlainText(QStringLiteral("body"));
    const int frame = engine.insertTextFrame();
    ASSERT_GT(frame, 0);
    ASSERT_TRUE(engine.makeTextFrameCurrent(frame));
    type(QStringLiteral("inside"));
    const QByteArray before = bytes();
    layer.take();
    type(QStringLiteral(" and more"));

    ASSERT_TRUE(layer.restore());
    EXPECT_EQ(bytes(), before);
}

TEST_F(Snapshots, UndoUsesTheSnapshotFirstThenTheEngine)
{
    type(QStringLiteral("typed"));
    layer.take();
    engine.setSelection(0, -1);
    engine.setBold(true);
    layer.undo();
    EXPECT_FALSE(engine.bold());
    EXPECT_EQ(engine.plainText(), QStringLiteral("typed"));
    type(QStringLiteral("x"));
    layer.release(); // the user typed
    layer.undo();
    EXPECT_EQ(engine.plainText(), QStringLiteral("typed"));
}

TEST_F(Snapshots, WithdrawnSnapshotGivesBackThePreviousState)
{
    layer.withdraw();
    EXPECT_FALSE(layer.held());
    engine.setPlainText(QStringLiteral("first"));
    layer.take();
    layer.take();
    layer.withdraw();
    EXPECT_TRUE(layer.held()) << "the first snapshot is still the undo target";
    layer.release();
    layer.take();
    layer.withdraw();
    EXPECT_FALSE(layer.held()) << "a released snapshot stays released";
    EXPECT_FALSE(layer.restore());
}

TEST_F(Snapshots, RedoIsAlwaysTheEngines)
{
    type(QStringLiteral("abc"));
    engine.undo();
    layer.take();
    layer.redo();
    EXPECT_EQ(engine.plainText(), QStringLiteral("abc"));
    EXPECT_TRUE(layer.held()) << "redo leaves the snapshot alone";
}

TEST_F(Snapshots, ClearedLayerHasNothingToRestore)
{
    engine.setPlainText(QStringLiteral("text"));
    layer.take();
    layer.clear();
    EXPECT_FALSE(layer.restore());
    EXPECT_EQ(engine.plainText(), QStringLiteral("text"));
}
