#pragma once
// The papers the page-setup page offers, in their fixed order, always in
// portrait (width below height), and the page's centimetre conversions.

#include <QString>

#include <optional>
#include <span>

namespace dialogs {

struct Paper {
    QString label;  // as the paper list shows it
    int width = 0;  // twips, portrait
    int height = 0;
};

// The fifteen papers of the list, followed there by the user-defined entry.
std::span<const Paper> paperTable();
// The list's last entry, a size the user types.
QString userDefinedPaperLabel();
inline constexpr int kUserDefinedPaper = 15;

// The paper at list index `index`; nothing for the user-defined entry or
// any index outside the table.
std::optional<Paper> paperAt(int index);
// The list index of the first paper whose width and height (portrait) each
// lie within 5 twips of the given ones; kUserDefinedPaper without a match.
int matchingPaper(double width, double height);

// Twips as the page shows them: centimetres at 567 twips, two decimals.
QString sTwpsDlg(double twips);
// A centimetre text as twips: "," reads as ".", a text that is no number as
// 0, rounded to whole twips (half to even).
int nDlgTwps(const QString& text);

} // namespace dialogs
