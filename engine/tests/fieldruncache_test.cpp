// The field run cache kept up to date by edits must always agree with a walk
// over the document.
#include "engine/fieldruncache.h"
#include "engine/fieldformat.h"
#include "engine/fields.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace engine {
namespace {

QList<FieldRun> walked(QTextDocument& document)
{
    FieldRunCache& cache = FieldRunCache::of(document);
    cache.invalidate();
    return cache.runs();
}

QTextCursor at(QTextDocument& document, int position)
{
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    return cursor;
}

TEST(FieldRunCache, TrackedEditsAgreeWithAFreshWalk)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("0123456789 abcdefghij\nklmnopqrst"));
    Fields fields(document);
    FieldRunCache& cache = FieldRunCache::of(document);

    QTextCursor cursor = at(document, 5);
    const int a = fields.insert(cursor, QStringLiteral("AAA"));
    cursor = at(document, 0);
    const int b = fields.insert(cursor, QStringLiteral("B"));
    cursor = at(document, 20);
    const int c = fields.insert(cursor, QStringLiteral("CCCC"));
    cursor = at(document, 8); // inside field A
    fields.insert(cursor, QStringLiteral("nested"));
    ASSERT_TRUE(fields.setText(b, QStringLiteral("longer text")));
    ASSERT_TRUE(fields.setText(c, QString()));
    ASSERT_TRUE(fields.setProperty(a, FieldData, QStringLiteral("data")));

    ASSERT_TRUE(cache.isFresh()) << "these edits are followed without a walk";
    const QList<FieldRun> tracked = cache.runs();
    EXPECT_EQ(tracked, walked(document));
    EXPECT_EQ(tracked.size(), 3);
}

TEST(FieldRunCache, EditsItCannotFollowMakeItStale)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("abcdef"));
    Fields fields(document);
    QTextCursor cursor = at(document, 2);
    fields.insert(cursor, QStringLiteral("F"));
    FieldRunCache& cache = FieldRunCache::of(document);
    ASSERT_FALSE(cache.runs().isEmpty());
    at(document, 0).insertText(QStringLiteral("typed "));
    EXPECT_FALSE(cache.isFresh());
    EXPECT_EQ(cache.runs().first().start, 8);
}

TEST(FieldRunCache, IssuedIdsNeverRepeatEvenAfterUndo)
{
    QTextDocument document;
    Fields fields(document);
    QTextCursor cursor(&document);
    const int first = fields.insert(cursor, QStringLiteral("x"));
    document.undo();
    cursor = QTextCursor(&document);
    const int second = fields.insert(cursor, QStringLiteral("y"));
    EXPECT_NE(first, second);
    ASSERT_EQ(fields.runs().size(), 1);
    EXPECT_EQ(fields.runs().first().id, second);
}

} // namespace
} // namespace engine
