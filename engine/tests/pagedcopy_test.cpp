// Pages that follow their document edit by edit must be the pages a layout
// made afresh would give: the same number, the same text on each.

#include "engine/fieldformat.h"
#include "engine/pagelayout.h"

#include "pagetestsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

#include <memory>

using engine::PageLayout;
using engine::PageSetup;
using namespace pagetest;

namespace {

PageSetup postcard()
{
    return sheetOf(5669, 8391, 567);
}

QString paragraphText(int i)
{
    return i % 3 ? QStringLiteral("吾輩は猫である。名前はまだ無い。段落%1").arg(i)
                 : QStringLiteral("The quick brown fox jumps over the lazy dog, paragraph %1.").arg(i);
}

// A document and a layout of it that is told of every change.
struct Followed {
    QTextDocument document;
    std::unique_ptr<PageLayout> layout;

    explicit Followed(int paragraphs)
    {
        QStringList text;
        for (int i = 0; i < paragraphs; ++i)
            text << paragraphText(i);
        document.setPlainText(text.join(u'\n'));
        document.documentLayout(); // only a document with a layout reports its changes
        layout = std::make_unique<PageLayout>(document, postcard());
        layout->pageCount();
        QObject::connect(&document, &QTextDocument::contentsChange,
                         [this](int position, int removed, int added) {
                             layout->recordBodyChange(document, position, removed, added);
                         });
    }

    QTextCursor at(int position)
    {
        QTextCursor cursor(&document);
        cursor.setPosition(std::clamp(position, 0, document.characterCount() - 1));
        return cursor;
    }
};

QStringList pageTexts(const PageLayout& layout)
{
    QStringList pages;
    for (int page = 1; page <= layout.pageCount(); ++page)
        pages << textDrawn(layout, page, page);
    return pages;
}

// The followed layout against one made afresh of the document as it is now.
void expectLikeAFreshLayout(Followed& followed, const std::string& step)
{
    ASSERT_TRUE(followed.layout->catchUp(followed.document)) << step;
    const PageLayout fresh(followed.document, postcard());
    ASSERT_EQ(followed.layout->pageCount(), fresh.pageCount()) << step;
    EXPECT_EQ(pageTexts(*followed.layout), pageTexts(fresh)) << step;
}

// One random edit of ordinary paragraphs; its name for the failure message.
std::string randomEdit(Followed& followed, QRandomGenerator& random)
{
    QTextDocument& document = followed.document;
    const int length = document.characterCount() - 1;
    const int where = random.bounded(length + 1);
    QTextCursor cursor = followed.at(where);
    switch (random.bounded(8)) {
    case 0:
        cursor.insertText(QStringLiteral("挿入された文字列 inserted words "));
        return "text at " + std::to_string(where);
    case 1:
        cursor.insertBlock();
        return "paragraph break at " + std::to_string(where);
    case 2:
        cursor.insertText(QStringLiteral("\f"));
        return "form feed at " + std::to_string(where);
    case 3: {
        const int span = random.bounded(400);
        cursor.setPosition(std::min(length, where + span), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return "removal of " + std::to_string(span) + " at " + std::to_string(where);
    }
    case 4: {
        cursor.setPosition(std::min(length, where + 60), QTextCursor::KeepAnchor);
        QTextCharFormat big;
        big.setFontPointSize(20 + random.bounded(10));
        big.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(big);
        return "larger letters at " + std::to_string(where);
    }
    case 5: {
        QTextBlockFormat spaced;
        spaced.setTopMargin(random.bounded(40));
        spaced.setPageBreakPolicy(random.bounded(4) ? QTextFormat::PageBreak_Auto
                                                    : QTextFormat::PageBreak_AlwaysBefore);
        cursor.mergeBlockFormat(spaced);
        return "paragraph spacing at " + std::to_string(where);
    }
    case 6: {
        QTextCharFormat link;
        link.setProperty(engine::FieldId, 1 + random.bounded(1000));
        link.setProperty(engine::FieldData, QStringLiteral("https://example.org/"));
        cursor.insertText(QStringLiteral("リンク"), link);
        return "link field at " + std::to_string(where);
    }
    default:
        if (document.isUndoAvailable()) {
            document.undo();
            return "undo";
        }
        cursor.insertText(QStringLiteral("x"));
        return "x at " + std::to_string(where);
    }
}

} // namespace

TEST(PagedCopyFollowing, RandomEditsOfParagraphsGiveTheFreshLayoutsPages)
{
    Followed followed(120);
    QRandomGenerator random(20261209);
    std::string history;
    for (int round = 0; round < 60; ++round) {
        // Several edits between two looks, so that their changes are merged.
        const int edits = 1 + random.bounded(4);
        for (int i = 0; i < edits; ++i)
            history += randomEdit(followed, random) + "; ";
        expectLikeAFreshLayout(followed, history);
        if (testing::Test::HasFailure())
            return;
    }
}

TEST(PagedCopyFollowing, TypingAtTheEdgesOfTheDocument)
{
    Followed followed(40);
    followed.at(0).insertText(QStringLiteral("冒頭"));
    expectLikeAFreshLayout(followed, "start");
    followed.at(followed.document.characterCount()).insertText(QStringLiteral("\f末尾"));
    expectLikeAFreshLayout(followed, "end");
    QTextCursor all(&followed.document);
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    all.insertText(QStringLiteral("一行だけ"));
    expectLikeAFreshLayout(followed, "everything replaced");
    EXPECT_EQ(followed.layout->pageCount(), 1);
}

TEST(PagedCopyFollowing, PicturesTypedInAreOnThePage)
{
    Followed followed(30);
    addPicture(followed.document, QStringLiteral("fumi-picture:1"), QSize(120, 400), Qt::darkBlue);
    QTextImageFormat image;
    image.setName(QStringLiteral("fumi-picture:1"));
    image.setWidth(120);
    image.setHeight(400);
    followed.at(followed.document.findBlockByNumber(10).position()).insertImage(image);
    expectLikeAFreshLayout(followed, "picture");

    const PageLayout fresh(followed.document, postcard());
    for (int page = 1; page <= fresh.pageCount(); ++page)
        EXPECT_EQ(renderPage(*followed.layout, page, 40), renderPage(fresh, page, 40)) << "page " << page;
}

// Tables, lists and frames place their paragraphs by more than the
// paragraphs' own formats: the layout says it must be made again.
TEST(PagedCopyFollowing, ChangesReachingBeyondParagraphsAskForANewLayout)
{
    const auto cases = std::vector<std::pair<const char*, void (*)(Followed&)>>{
        {"table", [](Followed& f) { f.at(f.document.findBlockByNumber(5).position()).insertTable(2, 2); }},
        {"list", [](Followed& f) { f.at(f.document.findBlockByNumber(5).position()).createList(QTextListFormat::ListDisc); }},
        {"frame", [](Followed& f) { f.at(f.document.findBlockByNumber(5).position()).insertFrame(QTextFrameFormat()); }},
    };
    for (const auto& [name, change] : cases) {
        Followed followed(20);
        change(followed);
        EXPECT_FALSE(followed.layout->catchUp(followed.document)) << name;
        // Still lost after an ordinary edit that follows.
        followed.at(0).insertText(QStringLiteral("a"));
        EXPECT_FALSE(followed.layout->catchUp(followed.document)) << name;
    }
}

// A table lays its cells out again whenever one changes; the copy follows
// edits inside one cell.
TEST(PagedCopyFollowing, EditsInsideOneTableCellAreFollowed)
{
    Followed followed(40);
    QTextTable* table = followed.at(followed.document.findBlockByNumber(5).position()).insertTable(3, 2);
    followed.layout = std::make_unique<PageLayout>(followed.document, postcard()); // made with the table
    QTextCursor cell = table->cellAt(1, 1).firstCursorPosition();
    cell.insertText(QStringLiteral("セルの中の長い文章が折り返して行の高さを変える。"));
    expectLikeAFreshLayout(followed, "typed in a cell");
    cell.insertBlock();
    cell.insertText(QStringLiteral("二段落目\f改ページ"));
    expectLikeAFreshLayout(followed, "a second paragraph in the cell");
    cell.movePosition(QTextCursor::StartOfBlock);
    cell.deletePreviousChar();
    expectLikeAFreshLayout(followed, "the paragraphs of the cell joined");
}

TEST(PagedCopyFollowing, ChangesInTwoCellsOrAcrossATableAskForANewLayout)
{
    Followed twoCells(20);
    QTextTable* table = twoCells.at(twoCells.document.findBlockByNumber(5).position()).insertTable(2, 2);
    twoCells.layout = std::make_unique<PageLayout>(twoCells.document, postcard());
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("左"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("右"));
    EXPECT_FALSE(twoCells.layout->catchUp(twoCells.document));

    Followed across(20);
    table = across.at(across.document.findBlockByNumber(5).position()).insertTable(2, 2);
    across.layout = std::make_unique<PageLayout>(across.document, postcard());
    QTextCursor cursor = across.at(across.document.findBlockByNumber(2).position());
    cursor.setPosition(table->lastPosition() + 3, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    EXPECT_FALSE(across.layout->catchUp(across.document));
}

TEST(PagedCopyFollowing, TheSourceIsLeftAsItWas)
{
    Followed followed(30);
    followed.at(50).insertText(QStringLiteral("a\fb"));
    const QString text = followed.document.toPlainText();
    const int blocks = followed.document.blockCount();
    ASSERT_TRUE(followed.layout->catchUp(followed.document));
    EXPECT_EQ(followed.document.toPlainText(), text);
    EXPECT_EQ(followed.document.blockCount(), blocks);
}
