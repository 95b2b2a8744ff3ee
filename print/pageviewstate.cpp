#include "print/pageviewstate.h"

#include <algorithm>
#include <cmath>

namespace print {

namespace {

int rounded(double value)
{
    return int(std::lround(value));
}

// Centred along one side of the client area, or at its start when the page
// is longer than the area.
int centred(int client, int length)
{
    return std::max(0, (client - length) / 2);
}

} // namespace

PageViewState::PageViewState(QSize pageTwips, int pageCount)
    : m_pageTwips(pageTwips.expandedTo(QSize(1, 1))), m_pageCount(std::clamp(pageCount, 1, kMostPages))
{
}

void PageViewState::fitInto(QSize clientTwips)
{
    m_client = clientTwips.expandedTo(QSize(0, 0));
    const double pw = m_pageTwips.width();
    const double ph = m_pageTwips.height();
    const double scale = 0.9 * std::min(m_client.width() / pw, m_client.height() / ph);
    const int width = rounded(pw * scale);
    const int height = rounded(ph * scale);
    m_fitRect = QRect((m_client.width() - width) / 2, (m_client.height() - height) / 2, width, height);
    // A client area too small to show anything still leaves a zoom to scale from.
    m_fitZoom = std::max(1, std::min(rounded(width * 100 / pw), rounded(height * 100 / ph)));
    place();
}

void PageViewState::place()
{
    if (showsWholePage()) {
        m_pageRect = m_fitRect;
        return;
    }
    const double factor = double(m_zoom) / m_fitZoom;
    const int width = rounded(m_fitRect.width() * factor);
    const int height = rounded(m_fitRect.height() * factor);
    m_pageRect = QRect(centred(m_client.width(), width), centred(m_client.height(), height), width, height);
}

void PageViewState::turn(Turn turn)
{
    int page = m_page;
    switch (turn) {
    case Turn::First: page = 1; break;
    case Turn::Previous: page = m_page - 1; break;
    case Turn::Next: page = m_page + 1; break;
    case Turn::Last: page = m_pageCount; break;
    }
    m_page = std::clamp(page, 1, m_pageCount);
}

bool PageViewState::canTurn(Turn turn) const
{
    switch (turn) {
    case Turn::First: return true;
    case Turn::Previous: return m_page > 1;
    case Turn::Next:
    case Turn::Last: return m_page < m_pageCount;
    }
    return false;
}

void PageViewState::zoomTo(int percent)
{
    m_zoom = std::max(1, percent);
    place();
}

void PageViewState::zoomToWholePage()
{
    m_zoom = 0;
    place();
}

QRect PageViewState::rightShadow() const
{
    return QRect(m_pageRect.left() + m_pageRect.width(), m_pageRect.top() + kShadowTwips, kShadowTwips,
                 m_pageRect.height());
}

QRect PageViewState::bottomShadow() const
{
    return QRect(m_pageRect.left() + kShadowTwips, m_pageRect.top() + m_pageRect.height(), m_pageRect.width(),
                 kShadowTwips);
}

} // namespace print
