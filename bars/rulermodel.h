#pragma once
// What the ruler shows and how a drag changes it: the paragraph's indents
// and tab stops over a scale of centimetres, in twips, placed on the ruler
// by the text's left and right edges in pixels. No widgets, so that every
// drag can be checked without a mouse.

#include <QList>
#include <optional>

namespace bars {

struct ParagraphMarks {
    double left = 0;      // twips from the text's left edge
    double firstLine = 0; // twips from the left indent (negative: hanging)
    double right = 0;     // twips from the text's right edge
    QList<double> tabs;   // twips from the text's left edge, ascending

    bool operator==(const ParagraphMarks&) const = default;
};

struct RulerSpan {
    double left = 0;          // pixel where the text starts
    double right = 0;         // pixel where it ends
    double pixelsPerTwip = 0; // 0: nothing to measure against
};

enum class MarkKind { FirstLine, Left, Right, Tab };

struct Mark {
    MarkKind kind = MarkKind::Left;
    int tab = -1; // which tab stop, for MarkKind::Tab

    bool operator==(const Mark&) const = default;
};

class RulerModel {
public:
    static constexpr double kTwipsPerCentimetre = 1440 / 2.54;
    // Drags move in quarters of a centimetre.
    static constexpr double kStepTwips = kTwipsPerCentimetre / 4;
    // How near the pointer must be to a mark to take it, in pixels.
    static constexpr double kGrip = 5;

    void setSpan(const RulerSpan& span) { m_span = span; }
    void setMarks(const ParagraphMarks& marks) { m_marks = marks; }
    const RulerSpan& span() const { return m_span; }
    const ParagraphMarks& marks() const { return m_marks; }

    double textWidthTwips() const;
    double pixelOf(double twipsFromLeft) const;
    double twipsAt(double pixel) const; // from the text's left edge, not snapped
    double pixelOfMark(const Mark& mark) const;

    // The mark under the pointer; the first-line mark hangs from the top half
    // of the ruler, the left and right marks stand on the bottom half.
    std::optional<Mark> markAt(double x, bool upperHalf) const;
    // Moves `mark` to the pointer, snapped and kept inside the text; returns
    // the mark as it now is (a tab keeps its place in the ascending order).
    Mark drag(const Mark& mark, double x);
    // Adds a tab stop at the pointer and gives its mark; nothing where one
    // stands already or outside the text.
    std::optional<Mark> addTab(double x);
    void removeTab(int tab);

private:
    static double snapped(double twips);

    RulerSpan m_span;
    ParagraphMarks m_marks;
};

} // namespace bars
