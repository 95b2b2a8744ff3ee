#include "bars/barlayout.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>

namespace bars {

namespace {

constexpr std::array<Bar, kBarCount> kBars{Bar::Standard, Bar::Format, Bar::Buttons, Bar::Status};

std::optional<Band> bandFromEntry(const QString& entry)
{
    const QStringList fields = entry.split(u'-');
    if (fields.size() != 4)
        return std::nullopt;
    bool widthOk = false;
    bool shownOk = false;
    const int width = fields[0].toInt(&widthOk);
    const int shown = fields[1].toInt(&shownOk);
    const std::optional<Bar> bar = barNamed(fields[3]);
    const bool rowKnown = fields[2] == u"R" || fields[2] == u"N";
    if (!widthOk || !shownOk || !bar || !rowKnown)
        return std::nullopt;
    return Band{*bar, std::max(width, 0), shown > 0, fields[2] == u"R"};
}

} // namespace

QString barName(Bar bar)
{
    switch (bar) {
    case Bar::Standard: return QStringLiteral("tlBar");
    case Bar::Format: return QStringLiteral("frFmt");
    case Bar::Buttons: return QStringLiteral("vButton");
    case Bar::Status: return QStringLiteral("vStatus");
    }
    return {};
}

std::optional<Bar> barNamed(const QString& name)
{
    for (Bar bar : kBars)
        if (barName(bar) == name)
            return bar;
    return std::nullopt;
}

// Two rows: the commands with the colours, then the text buttons with the
// caret's place, so that the text keeps most of the height.
BarLayout::BarLayout()
{
    for (Bar bar : kBars)
        m_bands.push_back(Band{bar, 0, true, bar == Bar::Standard || bar == Bar::Buttons});
}

std::optional<BarLayout> BarLayout::fromText(const QString& text)
{
    QStringList entries = text.split(u':');
    if (entries.size() > 1 && entries.back().isEmpty())
        entries.removeLast();
    if (entries.size() < kBarCount)
        return std::nullopt;
    BarLayout layout;
    layout.m_bands.clear();
    for (const QString& entry : entries) {
        const std::optional<Band> band = bandFromEntry(entry);
        if (!band)
            return std::nullopt;
        const auto same = [&](const Band& b) { return b.bar == band->bar; };
        if (std::any_of(layout.m_bands.begin(), layout.m_bands.end(), same))
            return std::nullopt;
        layout.m_bands.push_back(*band);
    }
    return layout;
}

QString BarLayout::toText() const
{
    QString text;
    for (const Band& band : m_bands)
        text += QStringLiteral("%1-%2-%3-%4:")
                    .arg(band.width)
                    .arg(band.shown ? 1 : 0)
                    .arg(band.newRow ? QStringLiteral("R") : QStringLiteral("N"))
                    .arg(barName(band.bar));
    return text;
}

bool BarLayout::shown(Bar bar) const
{
    return bandOf(bar).shown;
}

void BarLayout::setShown(Bar bar, bool shown)
{
    bandOf(bar).shown = shown;
}

bool BarLayout::showOrHide(int command)
{
    const int which = std::abs(command);
    const bool show = command > 0;
    if (command == 7 || command == -8) {
        for (Band& band : m_bands)
            band.shown = command == 7;
        m_ruler = command == 7;
        return true;
    }
    if (which >= 1 && which <= kBarCount) {
        setShown(Bar(which), show);
        return true;
    }
    if (which == kRulerNumber) {
        m_ruler = show;
        return true;
    }
    return false;
}

Band& BarLayout::bandOf(Bar bar)
{
    return *std::find_if(m_bands.begin(), m_bands.end(), [bar](const Band& b) { return b.bar == bar; });
}

const Band& BarLayout::bandOf(Bar bar) const
{
    return *std::find_if(m_bands.begin(), m_bands.end(), [bar](const Band& b) { return b.bar == bar; });
}

} // namespace bars
