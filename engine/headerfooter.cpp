#include "engine/headerfooter.h"

#include "engine/fieldformat.h"
#include "engine/guardeddocument.h"
#include "engine/pagesetup.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <vector>

namespace engine {

namespace {

int partFlagFor(int page, int flags, int everyFlag, int firstFlag)
{
    if (page == 1 && (flags & firstFlag))
        return firstFlag;
    return flags & everyFlag ? everyFlag : 0;
}

const QTextDocument* partFor(int page, int flags, int everyFlag, int firstFlag,
                             const QTextDocument* every, const QTextDocument* first)
{
    const int part = partFlagFor(page, flags, everyFlag, firstFlag);
    return part == firstFlag ? first : part == everyFlag ? every : nullptr;
}

struct PageNumberRun {
    int start = 0;
    int end = 0;
    QTextCharFormat format;
};

// The page-number fields of `part`, each one run of its fragments.
std::vector<PageNumberRun> pageNumberRuns(const QTextDocument& part)
{
    std::vector<PageNumberRun> runs;
    for (QTextBlock block = part.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!isPageNumberField(format))
                continue;
            const int start = fragment.position();
            const int end = start + fragment.length();
            if (!runs.empty() && runs.back().end == start
                && runs.back().format.intProperty(FieldId) == format.intProperty(FieldId))
                runs.back().end = end;
            else
                runs.push_back({start, end, format});
        }
    }
    return runs;
}

// A copy of `part` whose page-number fields read `page`, laid out as `part`
// is; null when `part` has none, and it is painted as it is.
std::unique_ptr<QTextDocument> numberedCopy(const QTextDocument& part, int page)
{
    const std::vector<PageNumberRun> runs = pageNumberRuns(part);
    if (runs.empty())
        return nullptr;
    std::unique_ptr<QTextDocument> copy = GuardedDocument::copyOf(part);
    copy->setUndoRedoEnabled(false);
    copy->documentLayout()->setPaintDevice(part.documentLayout()->paintDevice());
    copy->setTextWidth(part.textWidth());
    QTextCursor cursor(copy.get());
    const QString number = QString::number(page);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        cursor.setPosition(run->start);
        cursor.setPosition(run->end, QTextCursor::KeepAnchor);
        cursor.insertText(number, run->format);
    }
    return copy;
}

} // namespace

int headerPartFor(int page, int flags)
{
    return partFlagFor(page, flags, HeaderEveryPage, HeaderFirstPage);
}

int footerPartFor(int page, int flags)
{
    return partFlagFor(page, flags, FooterEveryPage, FooterFirstPage);
}

const QTextDocument* HeaderFooterDocuments::headerFor(int page, int flags) const
{
    return partFor(page, flags, HeaderEveryPage, HeaderFirstPage, header, firstHeader);
}

const QTextDocument* HeaderFooterDocuments::footerFor(int page, int flags) const
{
    return partFor(page, flags, FooterEveryPage, FooterFirstPage, footer, firstFooter);
}

void paintInMargin(const QTextDocument& source, QPainter& painter, const QRectF& band,
                   double textLeft, int page)
{
    if (band.height() <= 0)
        return;
    const std::unique_ptr<QTextDocument> numbered = numberedCopy(source, page);
    const QTextDocument& part = numbered ? *numbered : source;
    const double height = part.documentLayout()->documentSize().height();
    const double top = band.top() + std::max(0.0, (band.height() - height) / 2);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = band.translated(-textLeft, -top);
    // Paper is white whatever the desktop's colour scheme says.
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.setClipRect(band, Qt::IntersectClip);
    painter.translate(textLeft, top);
    part.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace engine
