#pragma once
// The one mapping between Word's terms and the engine's, shared by every
// Word codec: units, on/off values, colours, alignment, the heading styles
// and list kinds. Lengths come back in the engine's document units (see
// engine/hostunits.h) or twips, as named.

#include <QColor>
#include <QStringView>
#include <QTextListFormat>
#include <optional>

namespace formats::word {

// A length in twips: Word's plain twips ("720") or, as strict files write
// them, a number with a unit ("1.27cm", "12pt", "0.5in", "10mm", "2pc", "2pi").
std::optional<double> twipsOf(QStringView value);
// English metric units (pictures, drawings) in document units.
constexpr double emuToDocument(double emu) { return emu / 9525.0; }

// An on/off property: absent value, "1", "true", "on" are on.
bool isOn(QStringView value);

// "RRGGBB"; nullopt for "auto" and anything unreadable.
std::optional<QColor> colorOf(QStringView value);
// A highlight name ("yellow", "darkBlue"...); nullopt for "none" and unknown names.
std::optional<QColor> highlightColorOf(QStringView name);

// A paragraph alignment (w:jc); nullopt for values that leave it as it is.
std::optional<Qt::Alignment> alignmentOf(QStringView jc);

// The program's heading level (1-3, 0 for none) of a paragraph style, known by
// its name ("heading 1" in any case, "見出し 1"), by the ids Word gives the
// headings in its English and Japanese versions, or by its outline level
// (0 based); levels below 3 join level 3.
int headingLevelOf(QStringView styleId, QStringView name, std::optional<int> outlineLevel);

// The list kind of a numbering format (w:numFmt).
QTextListFormat::Style listStyleOf(QStringView numberFormat, QStringView levelText);

// The other way, for writing.

// "RRGGBB" of `colour`.
QString colorValue(const QColor& colour);
// The w:jc value of an alignment ("left", "center", "right", "both").
QString alignmentValue(Qt::Alignment alignment);

struct NumberFormat {
    QString format;    // w:numFmt
    QString levelText; // w:lvlText, "%1." and the like for numbers
};
// The numbering format of a list kind at `level` (0 based); listStyleOf
// gives the kind back.
NumberFormat numberFormatOf(QTextListFormat::Style style, int level);

// A tool-tip field that stood for ruby (furigana) carries this field
// attribute instead of the program's 149: its data is "TP_" and the reading,
// its text the base text, and Word codecs write it back as ruby.
constexpr int kRubyFieldAttribute = 150;

// Whether a field instruction is Word's PAGE (the number of the page it is
// printed on), with or without switches.
bool isPageNumberInstruction(QStringView instruction);

} // namespace formats::word
