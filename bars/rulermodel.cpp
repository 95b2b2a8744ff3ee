#include "bars/rulermodel.h"

#include <algorithm>
#include <cmath>

namespace bars {

double RulerModel::textWidthTwips() const
{
    if (m_span.pixelsPerTwip <= 0)
        return 0;
    return std::max(0.0, (m_span.right - m_span.left) / m_span.pixelsPerTwip);
}

double RulerModel::pixelOf(double twipsFromLeft) const
{
    return m_span.left + twipsFromLeft * m_span.pixelsPerTwip;
}

double RulerModel::twipsAt(double pixel) const
{
    return m_span.pixelsPerTwip > 0 ? (pixel - m_span.left) / m_span.pixelsPerTwip : 0;
}

double RulerModel::pixelOfMark(const Mark& mark) const
{
    switch (mark.kind) {
    case MarkKind::FirstLine: return pixelOf(m_marks.left + m_marks.firstLine);
    case MarkKind::Left: return pixelOf(m_marks.left);
    case MarkKind::Right: return pixelOf(textWidthTwips() - m_marks.right);
    case MarkKind::Tab: return pixelOf(m_marks.tabs.value(mark.tab));
    }
    return 0;
}

std::optional<Mark> RulerModel::markAt(double x, bool upperHalf) const
{
    if (m_span.pixelsPerTwip <= 0)
        return std::nullopt;
    std::vector<Mark> candidates;
    if (upperHalf) {
        candidates.push_back({MarkKind::FirstLine});
    } else {
        candidates.push_back({MarkKind::Left});
        candidates.push_back({MarkKind::Right});
        for (int i = 0; i < m_marks.tabs.size(); ++i)
            candidates.push_back({MarkKind::Tab, i});
    }
    std::optional<Mark> nearest;
    double best = kGrip;
    for (const Mark& mark : candidates) {
        const double distance = std::abs(pixelOfMark(mark) - x);
        if (distance <= best) {
            best = distance;
            nearest = mark;
        }
    }
    return nearest;
}

Mark RulerModel::drag(const Mark& mark, double x)
{
    const double width = textWidthTwips();
    const double at = std::clamp(snapped(twipsAt(x)), 0.0, width);
    switch (mark.kind) {
    case MarkKind::FirstLine:
        m_marks.firstLine = at - m_marks.left;
        return mark;
    case MarkKind::Left:
        // The first line keeps where it is, as it does when a hanging indent is made.
        m_marks.firstLine += m_marks.left - std::min(at, width - m_marks.right);
        m_marks.left = std::min(at, width - m_marks.right);
        return mark;
    case MarkKind::Right:
        m_marks.right = width - std::max(at, m_marks.left);
        return mark;
    case MarkKind::Tab: {
        if (mark.tab < 0 || mark.tab >= m_marks.tabs.size())
            return mark;
        m_marks.tabs[mark.tab] = at;
        const double moved = at;
        std::sort(m_marks.tabs.begin(), m_marks.tabs.end());
        return {MarkKind::Tab, int(m_marks.tabs.indexOf(moved))};
    }
    }
    return mark;
}

std::optional<Mark> RulerModel::addTab(double x)
{
    const double width = textWidthTwips();
    const double at = snapped(twipsAt(x));
    if (m_span.pixelsPerTwip <= 0 || at <= 0 || at > width || m_marks.tabs.contains(at))
        return std::nullopt;
    m_marks.tabs.append(at);
    std::sort(m_marks.tabs.begin(), m_marks.tabs.end());
    return Mark{MarkKind::Tab, int(m_marks.tabs.indexOf(at))};
}

void RulerModel::removeTab(int tab)
{
    if (tab >= 0 && tab < m_marks.tabs.size())
        m_marks.tabs.removeAt(tab);
}

double RulerModel::snapped(double twips)
{
    return std::round(std::round(twips / kStepTwips) * kStepTwips);
}

} // namespace bars
