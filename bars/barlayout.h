#pragma once
// Which of the editor's bars show, in what order and on which rows, and the
// text the settings keep that in ("C_BR"): one entry per band, in band
// order, "width-shown-R|N-name:", e.g. "0-1-R-tlBar:0-1-N-frFmt:…".

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace bars {

// Bar numbers as the show/hide command and the menu use them.
enum class Bar { Standard = 1, Format = 2, Buttons = 3, Status = 4 };
constexpr int kBarCount = 4;
constexpr int kRulerNumber = 5;

QString barName(Bar bar); // "tlBar", "frFmt", "vButton", "vStatus"
std::optional<Bar> barNamed(const QString& name);

struct Band {
    Bar bar = Bar::Standard;
    int width = 0;        // kept as stored; 0 lets the bar take its own width
    bool shown = true;
    bool newRow = true;   // "R": the band starts a row of its own; "N" shares the row before it
};

class BarLayout {
public:
    // Every bar shown, in bar-number order, two to a row.
    BarLayout();

    // The arrangement a stored text describes; nullopt (leave the arrangement
    // as it is) for fewer than four entries, an entry without exactly four
    // fields, a name that is no bar's, or a bar named twice.
    static std::optional<BarLayout> fromText(const QString& text);
    QString toText() const;

    const std::vector<Band>& bands() const { return m_bands; }
    bool shown(Bar bar) const;
    void setShown(Bar bar, bool shown);
    bool rulerShown() const { return m_ruler; }
    void setRulerShown(bool shown) { m_ruler = shown; }

    // The show/hide command: ±1…±4 a bar, ±5 the ruler, 7 everything, −8
    // nothing. False, and nothing changed, for any other value.
    bool showOrHide(int command);

private:
    Band& bandOf(Bar bar);
    const Band& bandOf(Bar bar) const;

    std::vector<Band> m_bands;
    bool m_ruler = false;
};

} // namespace bars
