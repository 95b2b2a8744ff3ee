#include "engine/view/engineview.h"

#include "engine/clipboardtransfer.h"
#include "engine/hostunits.h"
#include "engine/layoutdevice.h"
#include "engine/pagegeometry.h"
#include "engine/textengine.h"
#include "engine/view/lazyrelayout.h"
#include "engine/view/pagebackdrop.h"
#include "engine/view/viewmarks.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextFrame>
#include <QTextList>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace engine {

namespace {

constexpr QTextOption::Flags kControlCharacterFlags =
    QTextOption::ShowTabsAndSpaces | QTextOption::ShowLineAndParagraphSeparators;

constexpr std::array<HeaderFooterFlag, 4> kMarginParts = {HeaderEveryPage, HeaderFirstPage,
                                                          FooterEveryPage, FooterFirstPage};

// How often a caret waiting for the layout to reach it looks again.
constexpr int kCaretWaitMilliseconds = 30;

int zoomedDotsPerInch(int percent)
{
    return std::max(1, static_cast<int>(std::lround(LayoutDevice::formatDotsPerInch() * percent / 100.0)));
}

// Relays a document out at its current width and page height, for instance
// after the resolution it is laid out at changed; no content signal is raised.
void relayoutDocument(QTextDocument& document)
{
    document.setPageSize(document.pageSize());
}

} // namespace

EngineView::EngineView(TextEngine& engine, QWidget* parent)
    : QTextEdit(parent)
    , m_engine(engine)
    , m_lazyRelayout(new LazyRelayout(this))
    , m_normalPalette(palette())
{
    m_device = std::make_unique<LayoutDevice>(zoomedDotsPerInch(engine.zoom()));
    connect(&engine, &TextEngine::activeDocumentChanged, this, &EngineView::showDocument);
    connect(&engine, &TextEngine::textCursorChanged, this, &EngineView::followEngineCaret);
    connect(&engine, &TextEngine::viewStateChanged, this, &EngineView::applyViewState);
    connect(&engine, &TextEngine::refreshRequested, this, &EngineView::refresh);
    connect(this, &QTextEdit::cursorPositionChanged, this, &EngineView::reportCaret);
    m_caretWaiting.setInterval(kCaretWaitMilliseconds);
    connect(&m_caretWaiting, &QTimer::timeout, this, &EngineView::followEngineCaret);
    connect(this, &QTextEdit::selectionChanged, this, &EngineView::reportCaret);
    showDocument(engine.activeDocument());
}

EngineView::~EngineView()
{
    // The documents outlive the view; their layouts must not keep our device.
    for (const QPointer<QTextDocument>& document : std::as_const(m_laidOut))
        if (document)
            document->documentLayout()->setPaintDevice(nullptr);
}

bool EngineView::showsPages() const
{
    return m_pages;
}

bool EngineView::laidOutToEnd() const
{
    // Layout proceeds from the top, so the last paragraph is laid out last.
    const QTextLayout* last = document()->lastBlock().layout();
    return last && last->lineCount() > 0;
}

QRect EngineView::sheetOnViewport(int page) const
{
    if (!m_pages)
        return {};
    return geometry().sheet(page).translated(-scrollOffset()).toAlignedRect();
}

// The first line of a paragraph starts at the text's left edge plus the
// paragraph's indents and ends at the right edge less its right indent.
TextSpan EngineView::caretTextSpan() const
{
    const QTextBlock block = textCursor().block();
    const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    if (!layout || layout->lineCount() == 0)
        return {};
    const double scale = double(m_device->dotsPerInch()) / LayoutDevice::formatDotsPerInch();
    const QTextBlockFormat format = block.blockFormat();
    const int listIndent = block.textList() ? block.textList()->format().indent() : 0;
    const double indents = format.leftMargin() + format.textIndent()
                           + (format.indent() + listIndent) * document()->indentWidth();
    const QTextLine first = layout->lineAt(0);
    const double lineStart = document()->documentLayout()->blockBoundingRect(block).x() + first.x();
    const double shift = viewport()->x() - horizontalScrollBar()->value();
    return {lineStart - indents * scale + shift, lineStart + first.width() + format.rightMargin() * scale + shift,
            scale / kTwipsPerDocumentUnit};
}

int EngineView::caretPage() const
{
    if (!m_pages)
        return 0;
    return geometry().pageAt(cursorRect().center().y() + scrollOffset().y());
}

void EngineView::refresh()
{
    applyViewState();
}

// ---- Showing a document ---------------------------------------------------

void EngineView::showDocument(QTextDocument* document)
{
    if (!document)
        return;
    m_followingEngine = true;
    setDocument(document);
    m_followingEngine = false;
    m_lazyRelayout->watch(document);
    applyViewState();
    followEngineCaret();
}

void EngineView::applyViewState()
{
    applyZoom();
    applyControlCharacters();
    applyPageMode();
    viewport()->update();
}

void EngineView::applyZoom()
{
    const int dotsPerInch = zoomedDotsPerInch(m_engine.zoom());
    if (m_device->dotsPerInch() != dotsPerInch) {
        auto device = std::make_unique<LayoutDevice>(dotsPerInch);
        m_laidOut.removeAll(nullptr);
        for (const QPointer<QTextDocument>& document : std::as_const(m_laidOut)) {
            document->documentLayout()->setPaintDevice(device.get());
            relayoutDocument(*document);
        }
        m_device = std::move(device);
    }
    useLayoutDevice(document());
}

void EngineView::useLayoutDevice(QTextDocument* document)
{
    m_laidOut.removeAll(nullptr);
    if (!m_laidOut.contains(document))
        m_laidOut.append(document);
    // Also after a document switch: QTextEdit takes the device away from the
    // document it stops showing.
    if (document->documentLayout()->paintDevice() != m_device.get()) {
        document->documentLayout()->setPaintDevice(m_device.get());
        relayoutDocument(*document);
    }
}

void EngineView::applyControlCharacters()
{
    QTextDocument* shown = document();
    QTextOption option = shown->defaultTextOption();
    const QTextOption::Flags flags = m_engine.controlCharactersShown()
                                         ? option.flags() | kControlCharacterFlags
                                         : option.flags() & ~kControlCharacterFlags;
    if (flags != option.flags()) {
        option.setFlags(flags);
        shown->setDefaultTextOption(option);
    }
}

void EngineView::applyPageMode()
{
    QTextDocument* shown = document();
    const bool bodyShown = shown == m_engine.document();
    const bool pageLayout = m_engine.viewMode() == ViewMode::PageLayout;
    m_pages = bodyShown && pageLayout;
    const PageGeometry pages = geometry();
    const double printableWidth = pages.textArea(1).width();

    for (const HeaderFooterFlag part : kMarginParts) {
        QTextDocument* margin = m_engine.headerFooterDocument(part);
        if (margin && margin != shown) {
            useLayoutDevice(margin);
            if (margin->textWidth() != printableWidth)
                margin->setTextWidth(printableWidth);
            connect(margin, &QTextDocument::contentsChanged, viewport(),
                    qOverload<>(&QWidget::update), Qt::UniqueConnection);
        }
    }
    m_appliedSetup = m_engine.pageSetup();

    bool rewrapped = false;
    if (m_pages) {
        m_engine.applyPageViewMargins();
        const QSizeF pageSize = pages.documentPageSize();
        rewrapped = setWrapping(FixedPixelWidth, static_cast<int>(std::ceil(pageSize.width())));
        if (shown->pageSize() != pageSize)
            shown->setPageSize(pageSize);
    } else if (pageLayout) {
        // A header or footer being edited: at the width it prints at.
        const QTextFrameFormat root = shown->rootFrame()->frameFormat();
        const double rootMargins = (root.leftMargin() + root.rightMargin()) * m_device->dotsPerInch()
                                   / LayoutDevice::formatDotsPerInch();
        rewrapped = setWrapping(FixedPixelWidth, static_cast<int>(std::ceil(printableWidth + rootMargins)));
    } else {
        rewrapped = setWrapping(WidgetWidth, 0);
    }

    QPalette colours = m_normalPalette;
    if (m_pages) {
        // Paper is white and its ink black whatever the desktop's colour scheme.
        colours.setColor(QPalette::Base, PageBackdrop::deskColor());
        colours.setColor(QPalette::Window, PageBackdrop::deskColor());
        colours.setColor(QPalette::Text, Qt::black);
    }
    setPalette(colours);
    setAutoFillBackground(m_pages);
    centreSheets();
    if (rewrapped)
        showCaretOnceSettled();
}

// A view mode and a zoom are often set one after the other: the caret is
// looked for once, in the layout they leave.
void EngineView::showCaretOnceSettled()
{
    if (std::exchange(m_caretToShow, true))
        return;
    QMetaObject::invokeMethod(this, [this] {
        m_caretToShow = false;
        ensureCursorVisible();
    }, Qt::QueuedConnection);
}

// Each change of the wrapping lays the whole document out again: change only
// what differs. Qt lays the new layout out at once as far as the old scroll
// position, which means nothing at the new width: half a long document was
// laid out there for nothing, then again as far as the caret. So the view
// starts from the top, and the caret is shown once everything is set.
// Returns whether the wrapping changed.
bool EngineView::setWrapping(LineWrapMode mode, int width)
{
    const bool newMode = lineWrapMode() != mode;
    const bool newWidth = mode == FixedPixelWidth && lineWrapColumnOrWidth() != width;
    if (!newMode && !newWidth)
        return false;
    verticalScrollBar()->setValue(0);
    if (newMode)
        setLineWrapMode(mode);
    if (newWidth)
        setLineWrapColumnOrWidth(width);
    return true;
}

// Sheets narrower than the window stand in its middle; the view's own area
// beside them shows the desk.
void EngineView::centreSheets()
{
    if (!m_pages) {
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    const QMargins current = viewportMargins();
    const int available = viewport()->width() + current.left() + current.right();
    const PageGeometry pages = geometry();
    const int sheet = static_cast<int>(std::ceil(pages.sheet(1).width()));
    const int gap = static_cast<int>(std::ceil(pages.gap()));
    const int left = std::max(0, (available - sheet) / 2);
    const int right = std::max(0, available - left - sheet - gap);
    if (left != current.left() || right != current.right())
        setViewportMargins(left, 0, right, 0);
}

PageGeometry EngineView::geometry() const
{
    return PageGeometry(m_engine.pageSetup(), m_device->dotsPerInch());
}

QPointF EngineView::scrollOffset() const
{
    return QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QRectF EngineView::visibleLayoutRect() const
{
    return QRectF(viewport()->rect()).translated(scrollOffset());
}

// ---- Painting ---------------------------------------------------------------

void EngineView::paintEvent(QPaintEvent* event)
{
    const QRectF visible = visibleLayoutRect();
    // The engine does not announce page setup changes; take them over as soon
    // as they show, outside painting.
    if (m_engine.pageSetup() != m_appliedSetup)
        QMetaObject::invokeMethod(this, &EngineView::refresh, Qt::QueuedConnection);
    if (m_pages) {
        QPainter painter(viewport());
        painter.translate(-scrollOffset());
        // The scroll range follows the layout as far as it has got, without
        // waiting for the rest of a long document.
        const QScrollBar& scroll = *verticalScrollBar();
        const double laidOut = scroll.maximum() > 0
                                   ? scroll.maximum() + viewport()->height()
                                   : document()->documentLayout()->documentSize().height();
        const PageGeometry pages = geometry();
        const HeaderFooterDocuments margins{
            m_engine.headerFooterDocument(HeaderEveryPage), m_engine.headerFooterDocument(HeaderFirstPage),
            m_engine.headerFooterDocument(FooterEveryPage), m_engine.headerFooterDocument(FooterFirstPage)};
        PageBackdrop(pages, margins, m_engine.headerFooterFlags())
            .paint(painter, visible, pages.pageAt(visible.top()),
                   pages.pageAt(std::min(visible.bottom(), laidOut) - 1));
    }

    QTextEdit::paintEvent(event);

    QPainter painter(viewport());
    painter.translate(-scrollOffset());
    if (!m_pages || m_engine.controlCharactersShown())
        paintPageBreakMarks(painter, *document(), visible, m_pages);
    if (m_engine.gridLinesShown())
        paintTableGrid(painter, *document(), visible);
    if (!m_engine.isBodyActive())
        paintPartBanner();
}

// While a header or footer is edited on its own, a note in the corner says
// what is edited and how to get back to the body.
void EngineView::paintPartBanner()
{
    QPainter painter(viewport());
    const QString text = QStringLiteral("ﾍｯﾀﾞｰ/ﾌｯﾀｰを編集中 (Escで本文に戻ります)");
    QRect box = painter.fontMetrics().boundingRect(text).adjusted(-6, -3, 6, 3);
    box.moveTopRight(viewport()->rect().topRight() + QPoint(-4, 4));
    painter.fillRect(box, QColor(0xff, 0xf4, 0xc0));
    painter.setPen(QColor(0x60, 0x50, 0x00));
    painter.drawText(box, Qt::AlignCenter, text);
}

void EngineView::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    centreSheets();
}

void EngineView::changeEvent(QEvent* event)
{
    // QTextEdit would make the widget's font the document's default font; the
    // document's fonts are the engine's business.
    if (event->type() == QEvent::FontChange) {
        QAbstractScrollArea::changeEvent(event);
        return;
    }
    QTextEdit::changeEvent(event);
}

// ---- Caret ------------------------------------------------------------------

void EngineView::reportCaret()
{
    if (m_followingEngine)
        return;
    // What the user did with the caret wins over a caret still waiting.
    m_caretWaiting.stop();
    m_engine.setTextCursor(textCursor());
    applyTypingFormat();
}

void EngineView::followEngineCaret()
{
    const QTextCursor cursor = m_engine.textCursor();
    if (cursor.document() != document())
        return;
    // Setting the caret makes QTextEdit lay out everything up to it to scroll
    // it into view. Right after a large change the layout is still catching
    // up from the top; the caret follows when the layout has reached it,
    // unless the user acts first.
    m_caretWaiting.stop();
    const QTextCursor shown = textCursor();
    if (cursor.position() == shown.position() && cursor.anchor() == shown.anchor())
        applyTypingFormat();
    else if (laidOutAt(cursor.position()))
        placeCaret(cursor);
    else
        m_caretWaiting.start();
}

// Before the user acts on a caret still waiting for the layout, it is put in
// place whatever that costs.
void EngineView::catchUpWithEngineCaret()
{
    if (!m_caretWaiting.isActive())
        return;
    m_caretWaiting.stop();
    placeCaret(m_engine.textCursor());
}

void EngineView::placeCaret(const QTextCursor& cursor)
{
    m_followingEngine = true;
    setTextCursor(cursor);
    m_followingEngine = false;
    applyTypingFormat();
}

bool EngineView::laidOutAt(int position) const
{
    const QTextLayout* layout = document()->findBlock(position).layout();
    return layout && layout->lineCount() > 0;
}

// Text typed at a field's edge takes the engine's typing format, so that it
// does not silently join the field.
void EngineView::applyTypingFormat()
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return;
    const QTextCharFormat typing = m_engine.typingFormat();
    if (typing == cursor.charFormat())
        return;
    cursor.setCharFormat(typing);
    m_followingEngine = true;
    setTextCursor(cursor);
    m_followingEngine = false;
}

// ---- Keys, clicks, pastes ---------------------------------------------------

void EngineView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !m_engine.isBodyActive()) {
        m_engine.activateBody();
        event->accept();
        return;
    }
    catchUpWithEngineCaret();
    if (m_engine.handleKeyPress(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    // The engine's clipboard keeps fields, pictures and frames whole.
    if (event->matches(QKeySequence::Copy)) {
        m_engine.copy();
    } else if (event->matches(QKeySequence::Cut) && !isReadOnly()) {
        m_engine.cut();
    } else if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        m_engine.paste();
    } else {
        QTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

void EngineView::inputMethodEvent(QInputMethodEvent* event)
{
    catchUpWithEngineCaret();
    QTextEdit::inputMethodEvent(event);
}

void EngineView::mousePressEvent(QMouseEvent* event)
{
    // A click on a picture selects it, so that what follows (its menu, a
    // copy, a link) is about the picture.
    const int character = characterAt(event->position().toPoint());
    if (m_engine.pictureAt(character) > 0 && event->button() != Qt::MiddleButton) {
        m_caretWaiting.stop();
        m_engine.setSelection(character, 1);
        event->accept();
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void EngineView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (const int part = marginPartAt(event->position()); part != 0) {
            m_engine.activateHeaderFooter(HeaderFooterFlag(part));
            event->accept();
            return;
        }
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

// The header or footer part shown where viewport point `point` lies, 0 off
// the margins of the sheets.
int EngineView::marginPartAt(const QPointF& point) const
{
    if (!m_pages)
        return 0;
    const QPointF at = point + scrollOffset();
    const PageGeometry pages = geometry();
    const int page = pages.pageAt(at.y());
    if (page > document()->pageCount())
        return 0;
    const int flags = m_engine.headerFooterFlags();
    if (pages.headerBand(page).contains(at))
        return headerPartFor(page, flags);
    if (pages.footerBand(page).contains(at))
        return footerPartFor(page, flags);
    return 0;
}

void EngineView::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection())
        m_engine.handleClick(characterAt(event->position().toPoint()));
}

// The character under a viewport point: the one before the nearest caret
// position when the point lies left of that position.
int EngineView::characterAt(const QPoint& point) const
{
    const QTextCursor nearest = cursorForPosition(point);
    if (point.x() < cursorRect(nearest).left() && nearest.position() > 0)
        return nearest.position() - 1;
    return nearest.position();
}

bool EngineView::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(QString::fromLatin1(clipboard::kMimeType))
           || QTextEdit::canInsertFromMimeData(source);
}

void EngineView::insertFromMimeData(const QMimeData* source)
{
    if (source == QGuiApplication::clipboard()->mimeData()) {
        m_engine.paste();
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

} // namespace engine
