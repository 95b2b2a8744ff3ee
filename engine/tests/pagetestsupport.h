#pragma once
// Helpers for tests that look at painted pages: documents of known shape,
// rendering a page into an image, and finding where ink fell.

#include "engine/pagelayout.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace pagetest {

// A page setup of a sheet `width` by `height` twips with `margin` twips all round.
inline engine::PageSetup sheetOf(double width, double height, double margin)
{
    engine::PageSetup setup;
    setup.paperWidth = width;
    setup.paperHeight = height;
    setup.marginLeft = setup.marginTop = setup.marginRight = setup.marginBottom = margin;
    return setup;
}

// Registers a picture of one colour under `name`, for image formats of that name.
inline void addPicture(QTextDocument& document, const QString& name, const QSize& size, QColor colour = Qt::red)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
}

// A document of `paragraphs` one-line paragraphs of capital letters in a
// fixed point size, so that every line is one separate band of ink.
inline std::unique_ptr<QTextDocument> linesDocument(int paragraphs, const QString& text = QStringLiteral("XXXX"))
{
    auto document = std::make_unique<QTextDocument>();
    QFont font = document->defaultFont();
    font.setPointSize(12);
    document->setDefaultFont(font);
    QStringList lines;
    for (int i = 0; i < paragraphs; ++i)
        lines << text;
    document->setPlainText(lines.join(QChar(u'\n')));
    return document;
}

// Page `page` painted on white paper at `dotsPerInch`.
inline QImage renderPage(const engine::PageLayout& layout, int page, double dotsPerInch = 72)
{
    const QSizeF sheet = layout.sheetTwips() * dotsPerInch / engine::kTwipsPerInch;
    QImage image(sheet.toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.paintPage(page, painter, QRectF(QPointF(), image.size()));
    return image;
}

// A paint device that keeps every piece of text drawn on it, as a PDF keeps
// it in its text whether or not a clip hides it from sight.
class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(const QSize& size) : m_size(size) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    QString text() const { return m_engine.text; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 72;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {} // borders of tables and frames
        void drawTextItem(const QPointF&, const QTextItem& item) override { text += item.text(); }
        Type type() const override { return QPaintEngine::User; }
        QString text;
    };
    QSize m_size;
    mutable Engine m_engine;
};

// The text pages `first` to `last` of `layout` send to their painter.
inline QString textDrawn(const engine::PageLayout& layout, int first, int last)
{
    QString text;
    for (int page = first; page <= last; ++page) {
        TextRecorder sheet((layout.sheetTwips() / 20).toSize());
        QPainter painter(&sheet);
        layout.paintPage(page, painter, QRectF(QPointF(), (layout.sheetTwips() / 20)));
        painter.end();
        text += sheet.text();
    }
    return text;
}

inline bool isInk(QRgb pixel)
{
    return qGray(pixel) < 200;
}

// Smallest rectangle holding every pixel of `area` (the whole image when
// empty) that `wanted` accepts; null when there is none.
template <typename Wanted>
QRect pixelBounds(const QImage& image, QRect area, Wanted wanted)
{
    if (area.isNull())
        area = image.rect();
    area &= image.rect();
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (wanted(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Where ink fell in `area` (the whole image when empty); null when it is blank.
inline QRect inkBounds(const QImage& image, const QRect& area = {})
{
    return pixelBounds(image, area, isInk);
}

// Where pixels of exactly `colour` are; null when there are none.
inline QRect colourBounds(const QImage& image, QRgb colour)
{
    return pixelBounds(image, {}, [colour](QRgb pixel) { return pixel == colour; });
}

// Number of separate horizontal bands of ink, top to bottom: one per text line.
inline int inkBands(const QImage& image)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = isInk(image.pixel(x, y));
        if (ink && !inBand)
            ++bands;
        inBand = ink;
    }
    return bands;
}

// The rectangle of `twips` on an image rendered at `dotsPerInch`.
inline QRectF toPixels(const QRectF& twips, double dotsPerInch)
{
    const double scale = dotsPerInch / engine::kTwipsPerInch;
    return QRectF(twips.topLeft() * scale, twips.size() * scale);
}

} // namespace pagetest
