#include "engine/pagegeometry.h"

#include "engine/layoutdevice.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <gtest/gtest.h>

using engine::PageGeometry;
using engine::PageSetup;

namespace {

PageSetup a4()
{
    PageSetup setup;
    setup.paperWidth = 11906;
    setup.paperHeight = 16838;
    setup.marginLeft = 1701;
    setup.marginTop = 1440;
    setup.marginRight = 1134;
    setup.marginBottom = 720;
    return setup;
}

} // namespace

TEST(PageGeometry, SheetsFollowEachOtherWithAGapBetween)
{
    const PageGeometry pages(a4(), 144); // 10 units per 100 twips
    const double scale = 144.0 / 1440;

    for (int page : {1, 2, 7}) {
        const QRectF sheet = pages.sheet(page);
        EXPECT_NEAR(sheet.width(), 11906 * scale, 1e-6);
        EXPECT_NEAR(sheet.height(), 16838 * scale, 1e-6);
        EXPECT_NEAR(pages.sheet(page + 1).top() - sheet.bottom(), pages.gap(), 1e-6);
        EXPECT_EQ(pages.pageAt(sheet.center().y()), page);
        const QRectF text = pages.textArea(page);
        EXPECT_NEAR(text.left() - sheet.left(), 1701 * scale, 1e-6);
        EXPECT_NEAR(sheet.right() - text.right(), 1134 * scale, 1e-6);
        EXPECT_NEAR(pages.headerBand(page).height(), 1440 * scale, 1e-6);
        EXPECT_NEAR(pages.footerBand(page).height(), 720 * scale, 1e-6);
        EXPECT_NEAR(pages.footerBand(page).bottom(), sheet.bottom(), 1e-6);
    }
    EXPECT_EQ(pages.pageAt(-50), 1);
    EXPECT_NEAR(pages.documentPageSize().height(), pages.sheet(2).top() - pages.sheet(1).top(), 1e-6);
}

TEST(PageGeometry, TheLayoutPutsTextIntoTheTextAreaOfEachSheet)
{
    const PageSetup setup = a4();
    QTextDocument document;
    engine::LayoutDevice device(engine::LayoutDevice::formatDotsPerInch());
    document.documentLayout()->setPaintDevice(&device);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("line %1").arg(i);
    document.setPlainText(lines.join(QChar(u'\n')));
    ASSERT_TRUE(engine::applyPagedRootFrame(document, setup));
    const PageGeometry pages(setup, device.dotsPerInch());
    document.setPageSize(pages.documentPageSize());

    int lastPage = 1;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF rect = document.documentLayout()->blockBoundingRect(block);
        const int page = pages.pageAt(rect.top());
        lastPage = std::max(lastPage, page);
        // The layout rounds margins and line heights to whole pixels.
        const QRectF text = pages.textArea(page).adjusted(-1, -1, 1, 3);
        EXPECT_TRUE(text.contains(rect.topLeft()) && rect.bottom() <= text.bottom())
            << block.text().toStdString() << " on page " << page;
    }
    EXPECT_GE(lastPage, 3);
}

TEST(PageGeometry, RootMarginsLeaveNoHistoryOnAFreshDocument)
{
    QTextDocument fresh;
    fresh.setPlainText(QStringLiteral("text"));
    fresh.clearUndoRedoStacks();
    fresh.setModified(false);

    EXPECT_TRUE(engine::applyPagedRootFrame(fresh, a4()));
    EXPECT_FALSE(engine::applyPagedRootFrame(fresh, a4())) << "nothing left to change";
    EXPECT_FALSE(fresh.isUndoAvailable());
    EXPECT_FALSE(fresh.isModified());
}

TEST(PageGeometry, RootMarginsKeepAnExistingHistory)
{
    QTextDocument edited;
    QTextCursor(&edited).insertText(QStringLiteral("typed"));
    const int steps = edited.availableUndoSteps();

    EXPECT_TRUE(engine::applyPagedRootFrame(edited, a4()));
    EXPECT_GE(edited.availableUndoSteps(), steps);
    edited.undo();
    edited.undo();
    EXPECT_TRUE(edited.toPlainText().isEmpty()) << "the typing can still be undone";
}
