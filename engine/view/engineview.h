#pragma once
// The on-screen editor of one text engine: shows the engine's active document
// as continuous text at the window width (view mode 0) or as sheets of paper
// with their margins, headers and footers (view mode 2), at the engine's zoom,
// with control characters and table grid lines when the engine asks for them.
//
// The view keeps its caret in step with the engine's both ways, and offers
// keys, clicks and pastes to the engine before handling them itself, so that
// the engine's rules (fields, fresh ids) hold for what is typed and pasted.
// Input-method composition is QTextEdit's own.
//
// In page layout a double click on a sheet's header or footer makes that part
// the engine's active document, edited in the view until Esc gives the body
// back.
//
// While it shows pages the body document carries the page margins as its root
// frame margins (see applyPagedRootFrame); the page layout used for printing
// does not depend on them.

#include "engine/pagesetup.h"

#include <QPointer>
#include <QTextEdit>
#include <QTimer>

#include <memory>

namespace engine {

class LayoutDevice;
class LazyRelayout;
class PageGeometry;
class TextEngine;

// Where the text of the caret's paragraph starts and ends across the view,
// in the view's own pixels, and how many pixels a twip takes at the zoom.
struct TextSpan {
    double left = 0;
    double right = 0;
    double pixelsPerTwip = 0; // 0 while the paragraph is not laid out
};

class EngineView : public QTextEdit {
    Q_OBJECT
public:
    explicit EngineView(TextEngine& engine, QWidget* parent = nullptr);
    ~EngineView() override;

    // Whether the view shows sheets of paper right now (page layout mode with
    // the body active).
    bool showsPages() const;
    // Whether the shown document is laid out to its end; after a large change
    // the layout catches up a step at a time between events.
    bool laidOutToEnd() const;
    // Where page `page` (1-based) lies on the viewport; empty without pages.
    QRect sheetOnViewport(int page) const;
    // The text edges of the caret's paragraph, for a ruler laid over the view.
    TextSpan caretTextSpan() const;
    // The page the caret is on, 0 while the view does not show pages.
    int caretPage() const;

public slots:
    // Takes the engine's view settings and page setup over again and redraws.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void showDocument(QTextDocument* document);
    void applyViewState();
    void applyZoom();
    void applyControlCharacters();
    void applyPageMode();
    bool setWrapping(LineWrapMode mode, int width);
    void showCaretOnceSettled();
    void centreSheets();
    void followEngineCaret();
    void catchUpWithEngineCaret();
    void placeCaret(const QTextCursor& cursor);
    bool laidOutAt(int position) const;
    void reportCaret();
    void applyTypingFormat();
    int characterAt(const QPoint& point) const;
    int marginPartAt(const QPointF& point) const;
    void paintPartBanner();
    void useLayoutDevice(QTextDocument* document);
    QRectF visibleLayoutRect() const;
    QPointF scrollOffset() const;
    PageGeometry geometry() const;

    TextEngine& m_engine;
    std::unique_ptr<LayoutDevice> m_device;
    LazyRelayout* m_lazyRelayout;
    QList<QPointer<QTextDocument>> m_laidOut; // documents whose layout uses m_device
    PageSetup m_appliedSetup;
    QPalette m_normalPalette;
    QTimer m_caretWaiting; // runs while the engine's caret waits for the layout
    bool m_followingEngine = false;
    bool m_pages = false;
    bool m_caretToShow = false; // the caret is to be shown once the layout settles
};

} // namespace engine
