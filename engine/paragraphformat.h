#pragma once
// The host's paragraph values and how they map onto QTextBlockFormat and
// QTextList. Lengths are twips.
//
// Spacing values (the host passes four, in this order):
//   1 → space before the paragraph (block top margin)
//   2 → space after the paragraph (block bottom margin)
//   3 → right indent (block right margin)
//   4 → kept with the paragraph as given (ParagraphSpacing4); Qt's paragraph
//       model has no fourth distance, so it does not change the layout.
// Line spacing is a minimum line height: lines never get lower than the value,
// but a taller picture or font is never clipped.
// List attribute: 1 no list; 2 bullets (disc); 3 decimal numbers; 4 a, b, c;
// 5 A, B, C; 6 i, ii, iii; 7 I, II, III; any other value a bullet list that
// reports the value back. Values below 1 count as no list.
// List level: 1-9, kept as the list's indent; a list has one level, so the
// paragraphs of one list share it.

#include <QList>
#include <QTextFormat>

class QTextBlock;
class QTextCursor;

namespace engine {

enum class ParagraphValue {
    LeftIndent,
    SpaceBefore,    // spacing value 1
    SpaceAfter,     // spacing value 2
    RightIndent,    // spacing value 3
    Spacing4,       // spacing value 4, kept as given
    FirstLineIndent,
    LineSpacing,
};

enum class ParagraphAttribute { A, B, C, D };

enum class ParagraphAlignment { Left, Center, Right, Justify };

constexpr int kNoList = 1;
constexpr int kMaxListLevel = 9;

namespace paragraphformat {

double value(const QTextBlockFormat& format, ParagraphValue which);
// Sets `which` on every paragraph the cursor's selection touches.
void setValue(QTextCursor& cursor, ParagraphValue which, double twips);

int attribute(const QTextBlockFormat& format, ParagraphAttribute which);
void setAttribute(QTextCursor& cursor, ParagraphAttribute which, int value);

ParagraphAlignment alignment(const QTextBlockFormat& format);
void setAlignment(QTextCursor& cursor, ParagraphAlignment alignment);

// Tab stops in twips from the text's left edge, ascending.
QList<double> tabStops(const QTextBlockFormat& format);
// Gives every paragraph the selection touches these left-aligned tab stops.
void setTabStops(QTextCursor& cursor, const QList<double>& twips);

int listAttribute(const QTextBlock& block);
// Puts the selected paragraphs into one list of that kind, or out of any list.
void setListAttribute(QTextCursor& cursor, int attribute);
// 0 for a paragraph in no list.
int listLevel(const QTextBlock& block);
// Gives the lists the selected paragraphs are in level `level` (clamped to
// 1-9); paragraphs in no list stay out of lists.
void setListLevel(QTextCursor& cursor, int level);

} // namespace paragraphformat
} // namespace engine
