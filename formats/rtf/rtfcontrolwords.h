#pragma once
// The control words the reader acts on, each with its kind: a flag (its
// presence says it), a value (its parameter says it), a toggle (on, or off
// with parameter 0), a symbol (it stands for a character) or a destination
// (it says where the rest of its group goes). Words not in the table are
// passed over; a group opened with \* whose first word is not a known
// destination is skipped whole.

#include <QByteArrayView>
#include <QString>

namespace formats::rtf {

enum class WordKind { Flag, Value, Toggle, Symbol, Destination };

enum class Act {
    // Document and code pages
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode, Upr, Ud,
    // Tables of the header
    FontTable, FontCharset, FontCodePage, ColorTable, Red, Green, Blue, StyleSheet, Style, OutlineLevel,
    ListTable, List, ListLevel, ListId, LevelFormat, LevelText, LevelNumbers, ListOverrideTable, ListOverride, CharacterStyle,
    Info, Title,
    // Characters
    Plain, Font, FontSize, Bold, Italic, Underline, UnderlineNone, Strike, Foreground, Background,
    Superscript, Subscript, NoSuperSub, PageNumber,
    // Paragraphs
    Pard, Par, Line, Page, PageBreakBefore, Section, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    ParagraphShading, LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple,
    TabCentre, TabRight, TabDecimal, TabStop, Tab, ListNumber, ListLevelOfParagraph,
    OldList, OldListText, OldBullet, OldDecimal, OldUpperRoman, OldLowerRoman, OldUpperLetter, OldLowerLetter,
    ListText,
    // Tables
    InTable, NestLevel, RowDefaults, CellGap, CellBoundary, Cell, Row, NestCell, NestRow, NestTableProperties, NoNestTables,
    MergeFirst, MergeNext, VerticalMergeFirst, VerticalMergeNext, CellShading, BorderWidth,
    // Pictures
    Picture, PictureWidthGoal, PictureHeightGoal, ScaleX, ScaleY,
    PngBlip, JpegBlip, EmfBlip, WmfBlip, OtherBlip, ShapePicture, NonShapePicture,
    // Fields and links
    Field, FieldInstruction, FieldResult, ProgramField, BookmarkStart,
    // Page setup, headers and footers, shapes
    PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom, Landscape, TitlePage,
    Header, Footer, FirstHeader, FirstFooter, Shape, ShapeInstance, ShapeText, ShapeResult, ShapeLeft, ShapeRight,
    // Notes
    Footnote, Annotation, FootnoteMark,
    // Destinations whose content is not text
    Skip,
    // Symbols
    Character,
};

struct ControlWord {
    WordKind kind;
    Act act;
    char16_t character = 0; // symbols: the character they stand for
};

// The entry for `name`; null for words the reader passes over.
const ControlWord* controlWord(QByteArrayView name);
// The entry for a control symbol ("\~", "\-"...); null for others.
const ControlWord* controlSymbol(char symbol);

} // namespace formats::rtf
