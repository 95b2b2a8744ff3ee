#pragma once
// Reads RTF into an engine document set through QTextCursors, one token at a
// time with a state per group (rtftokenizer.h, rtfcontrolwords.h).
//
// Read: code pages (\ansicpg, font charsets and \cpg through Qt's decoders,
// double-byte \'hh pairs, \uN with \ucN fallbacks, \upr/\ud), fonts, sizes,
// bold, italic, underline, strike, colours, super- and subscript;
// paragraph alignment, indents, spacing, line spacing, tabs, line and page
// breaks (sections as page breaks); headings from the style sheet (names and
// outline levels as word::headingLevelOf knows them) or \outlinelevel;
// lists from \listtable/\listoverridetable and the old \pn form (its
// \pntext left out, so bullets are not doubled); tables from \trowd rows
// with merged and shaded cells, nested through \itap; PNG and JPEG
// pictures at their displayed size, other pictures as framed spaces of that
// size (word::placeholderPicture); HYPERLINK fields as link fields, the
// program's own fields (a \*\fumifield in the instruction) exactly, other
// fields as their result; bookmarks as link targets; page setup, headers and
// footers (every page and, with \titlepg, the first); \shptxt text boxes as
// text frames after their paragraph, other shapes (floating pictures) as
// what their \shprslt shows, in line. Footnotes are moved after the text under
// a line and annotations left out, both reported; other unknown \*
// destinations are skipped.
//
// Refused, with the document left for the caller to discard: input that is
// not RTF, groups not closed, nesting past kMaxGroupDepth, \binN past the
// end, tables of fonts, colours, styles or lists past kMaxTableEntries and
// pictures past kMaxPictureBytes.

#include "engine/documentset.h"
#include "formats/word/wordreport.h"

#include <QByteArray>

namespace formats::rtf {

enum class Failure { None, NotRtf, Malformed, TooDeep, TooLarge };

struct ReadOutcome {
    Failure failure = Failure::None;
    word::Report report;
    qsizetype unreadableCharacters = 0;

    bool ok() const { return failure == Failure::None; }
};

constexpr int kMaxGroupDepth = 1000;
constexpr int kMaxTableEntries = 10000;
constexpr qsizetype kMaxPictureBytes = qsizetype(64) * 1024 * 1024;

// Fills `target` (fresh, empty documents) from the bytes of an RTF file.
ReadOutcome readRtf(const QByteArray& bytes, const engine::DocumentSet& target);

// Why a document was refused, as a sentence to follow "を読み込めません｡";
// "" for no failure.
QString failureMessage(Failure failure);

} // namespace formats::rtf
