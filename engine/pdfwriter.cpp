#include "engine/pdfwriter.h"

#include "engine/pagelayout.h"
#include "engine/pagesetup.h"

#include <QFileDevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace engine {

namespace {

// The sheet exactly as laid out: a custom size is not snapped to a near
// standard one, and a wide sheet is a landscape page.
QPageLayout pdfPageLayout(const QSizeF& sheetTwips)
{
    const QSizeF portraitInches(std::min(sheetTwips.width(), sheetTwips.height()) / kTwipsPerInch,
                                std::max(sheetTwips.width(), sheetTwips.height()) / kTwipsPerInch);
    const auto orientation = sheetTwips.width() > sheetTwips.height() ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait;
    return QPageLayout(QPageSize(portraitInches, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                       orientation, QMarginsF());
}

// The PDF engine does not always notice a device it cannot write to.
bool openForWriting(QIODevice& out)
{
    if (!out.isOpen() && !out.open(QIODevice::WriteOnly))
        return false;
    return out.isWritable();
}

// A full disk shows only in a file's error state, once its buffer is flushed.
bool writtenWithoutError(QIODevice& out)
{
    auto* file = qobject_cast<QFileDevice*>(&out);
    return !file || (file->flush() && file->error() == QFileDevice::NoError);
}

} // namespace

bool writePdf(const PageLayout& layout, QIODevice& out, const QString& title)
{
    if (!openForWriting(out))
        return false;
    QPdfWriter writer(&out);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Fumi"));
    if (!writer.setPageLayout(pdfPageLayout(layout.sheetTwips())))
        return false;
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRectF sheet(QPointF(), writer.pageLayout().fullRectPixels(writer.resolution()).size());
    for (int page = 1; page <= layout.pageCount(); ++page) {
        if (page > 1 && !writer.newPage())
            return false;
        layout.paintPage(page, painter, sheet);
    }
    return painter.end() && writtenWithoutError(out);
}

} // namespace engine
