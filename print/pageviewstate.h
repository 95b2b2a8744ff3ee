#pragma once
// What the page view shows, apart from any widget: the page it is on, the
// zoom, and where the page sits in the view's client area. All lengths are
// twips, so that 100 % is the page at its real size on the screen.

#include <QRect>
#include <QSize>

#include <array>

namespace print {

class PageViewState {
public:
    enum class Turn { First, Previous, Next, Last };

    // The zoom menu's percentages, in menu order.
    static constexpr std::array<int, 6> kZoomChoices{50, 75, 100, 150, 200, 300};
    static constexpr int kShadowTwips = 100;
    // Page numbers are 16-bit.
    static constexpr int kMostPages = 32767;

    // `pageTwips` is the sheet as laid out; a document has at least one page.
    PageViewState(QSize pageTwips, int pageCount);

    // The view's client area is now `clientTwips`: the fit is worked out
    // again and the zoom chosen (the whole page, or a percentage) kept.
    void fitInto(QSize clientTwips);

    void turn(Turn turn);
    bool canTurn(Turn turn) const;
    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }

    void zoomTo(int percent);
    void zoomToWholePage();
    bool showsWholePage() const { return m_zoom == 0; }
    // The zoom shown, in percent: the fit zoom while the whole page is shown.
    int zoom() const { return showsWholePage() ? m_fitZoom : m_zoom; }
    int fitZoom() const { return m_fitZoom; }

    QRect pageRect() const { return m_pageRect; }
    QRect fitRect() const { return m_fitRect; }
    QRect rightShadow() const;
    QRect bottomShadow() const;

private:
    void place();

    QSize m_pageTwips;
    QSize m_client;
    int m_pageCount = 1;
    int m_page = 1;
    int m_zoom = 0; // 0: the whole page
    int m_fitZoom = 100;
    QRect m_fitRect;
    QRect m_pageRect;
};

} // namespace print
