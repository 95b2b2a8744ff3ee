#include "formats/rtf/rtfcontrolwords.h"

#include <QHash>

namespace formats::rtf {

namespace {

using K = WordKind;

const QHash<QByteArray, ControlWord>& table()
{
    static const QHash<QByteArray, ControlWord> words{
        {"ansi", {K::Flag, Act::Ansi}}, {"mac", {K::Flag, Act::Mac}}, {"pc", {K::Flag, Act::Pc}},
        {"pca", {K::Flag, Act::Pca}}, {"ansicpg", {K::Value, Act::AnsiCodePage}}, {"deff", {K::Value, Act::DefaultFont}},
        {"uc", {K::Value, Act::UnicodeSkip}}, {"u", {K::Value, Act::Unicode}}, {"upr", {K::Destination, Act::Upr}},
        {"ud", {K::Destination, Act::Ud}},

        {"fonttbl", {K::Destination, Act::FontTable}}, {"fcharset", {K::Value, Act::FontCharset}},
        {"cpg", {K::Value, Act::FontCodePage}}, {"colortbl", {K::Destination, Act::ColorTable}},
        {"red", {K::Value, Act::Red}}, {"green", {K::Value, Act::Green}}, {"blue", {K::Value, Act::Blue}},
        {"stylesheet", {K::Destination, Act::StyleSheet}}, {"s", {K::Value, Act::Style}},
        {"outlinelevel", {K::Value, Act::OutlineLevel}}, {"cs", {K::Value, Act::CharacterStyle}},
        {"ds", {K::Value, Act::CharacterStyle}}, {"ts", {K::Value, Act::CharacterStyle}},
        {"pntxtb", {K::Destination, Act::Skip}}, {"pntxta", {K::Destination, Act::Skip}}, {"listtable", {K::Destination, Act::ListTable}},
        {"list", {K::Destination, Act::List}}, {"listlevel", {K::Destination, Act::ListLevel}},
        {"listid", {K::Value, Act::ListId}}, {"levelnfc", {K::Value, Act::LevelFormat}},
        {"levelnfcn", {K::Value, Act::LevelFormat}}, {"leveltext", {K::Destination, Act::LevelText}},
        {"levelnumbers", {K::Destination, Act::LevelNumbers}},
        {"listoverridetable", {K::Destination, Act::ListOverrideTable}},
        {"listoverride", {K::Destination, Act::ListOverride}},
        {"info", {K::Destination, Act::Info}}, {"title", {K::Destination, Act::Title}},

        {"plain", {K::Flag, Act::Plain}}, {"f", {K::Value, Act::Font}}, {"fs", {K::Value, Act::FontSize}},
        {"b", {K::Toggle, Act::Bold}}, {"i", {K::Toggle, Act::Italic}}, {"ul", {K::Toggle, Act::Underline}},
        {"uld", {K::Toggle, Act::Underline}}, {"uldb", {K::Toggle, Act::Underline}}, {"ulw", {K::Toggle, Act::Underline}},
        {"uldash", {K::Toggle, Act::Underline}}, {"ulth", {K::Toggle, Act::Underline}}, {"ulwave", {K::Toggle, Act::Underline}},
        {"ulnone", {K::Flag, Act::UnderlineNone}}, {"strike", {K::Toggle, Act::Strike}}, {"striked", {K::Toggle, Act::Strike}},
        {"cf", {K::Value, Act::Foreground}}, {"cb", {K::Value, Act::Background}}, {"highlight", {K::Value, Act::Background}},
        {"chcbpat", {K::Value, Act::Background}}, {"super", {K::Flag, Act::Superscript}}, {"sub", {K::Flag, Act::Subscript}},
        {"nosupersub", {K::Flag, Act::NoSuperSub}},

        {"pard", {K::Flag, Act::Pard}}, {"par", {K::Flag, Act::Par}}, {"line", {K::Flag, Act::Line}},
        {"page", {K::Flag, Act::Page}}, {"pagebb", {K::Toggle, Act::PageBreakBefore}}, {"sect", {K::Flag, Act::Section}},
        {"ql", {K::Flag, Act::AlignLeft}}, {"qc", {K::Flag, Act::AlignCenter}}, {"qr", {K::Flag, Act::AlignRight}},
        {"qj", {K::Flag, Act::AlignJustify}}, {"qd", {K::Flag, Act::AlignJustify}}, {"li", {K::Value, Act::LeftIndent}},
        {"cbpat", {K::Value, Act::ParagraphShading}},
        {"ri", {K::Value, Act::RightIndent}}, {"fi", {K::Value, Act::FirstIndent}}, {"sb", {K::Value, Act::SpaceBefore}},
        {"sa", {K::Value, Act::SpaceAfter}}, {"sl", {K::Value, Act::LineSpacing}}, {"slmult", {K::Value, Act::LineMultiple}},
        {"tqc", {K::Flag, Act::TabCentre}}, {"tqr", {K::Flag, Act::TabRight}}, {"tqdec", {K::Flag, Act::TabDecimal}},
        {"tx", {K::Value, Act::TabStop}}, {"tab", {K::Flag, Act::Tab}}, {"chpgn", {K::Flag, Act::PageNumber}}, {"ls", {K::Value, Act::ListNumber}},
        {"ilvl", {K::Value, Act::ListLevelOfParagraph}}, {"pn", {K::Destination, Act::OldList}},
        {"pntext", {K::Destination, Act::OldListText}}, {"pnlvlblt", {K::Flag, Act::OldBullet}},
        {"pndec", {K::Flag, Act::OldDecimal}}, {"pnucrm", {K::Flag, Act::OldUpperRoman}},
        {"pnlcrm", {K::Flag, Act::OldLowerRoman}}, {"pnucltr", {K::Flag, Act::OldUpperLetter}},
        {"pnlcltr", {K::Flag, Act::OldLowerLetter}}, {"listtext", {K::Destination, Act::ListText}},

        {"intbl", {K::Flag, Act::InTable}}, {"itap", {K::Value, Act::NestLevel}}, {"trowd", {K::Flag, Act::RowDefaults}},
        {"cellx", {K::Value, Act::CellBoundary}},
        {"trgaph", {K::Value, Act::CellGap}}, {"cell", {K::Flag, Act::Cell}}, {"row", {K::Flag, Act::Row}},
        {"nestcell", {K::Flag, Act::NestCell}}, {"nestrow", {K::Flag, Act::NestRow}},
        {"nesttableprops", {K::Destination, Act::NestTableProperties}},
        {"nonesttables", {K::Destination, Act::NoNestTables}}, {"clmgf", {K::Flag, Act::MergeFirst}},
        {"clmrg", {K::Flag, Act::MergeNext}}, {"clvmgf", {K::Flag, Act::VerticalMergeFirst}},
        {"clvmrg", {K::Flag, Act::VerticalMergeNext}}, {"clcbpat", {K::Value, Act::CellShading}},
        {"brdrw", {K::Value, Act::BorderWidth}},

        {"pict", {K::Destination, Act::Picture}}, {"picwgoal", {K::Value, Act::PictureWidthGoal}},
        {"pichgoal", {K::Value, Act::PictureHeightGoal}}, {"picscalex", {K::Value, Act::ScaleX}},
        {"picscaley", {K::Value, Act::ScaleY}}, {"pngblip", {K::Flag, Act::PngBlip}},
        {"jpegblip", {K::Flag, Act::JpegBlip}}, {"emfblip", {K::Flag, Act::EmfBlip}},
        {"wmetafile", {K::Value, Act::WmfBlip}}, {"macpict", {K::Flag, Act::OtherBlip}},
        {"dibitmap", {K::Value, Act::OtherBlip}}, {"wbitmap", {K::Value, Act::OtherBlip}},
        {"shppict", {K::Destination, Act::ShapePicture}}, {"nonshppict", {K::Destination, Act::NonShapePicture}},

        {"field", {K::Destination, Act::Field}}, {"fldinst", {K::Destination, Act::FieldInstruction}},
        {"fldrslt", {K::Destination, Act::FieldResult}}, {"fumifield", {K::Destination, Act::ProgramField}},
        {"bkmkstart", {K::Destination, Act::BookmarkStart}},

        {"paperw", {K::Value, Act::PaperWidth}}, {"paperh", {K::Value, Act::PaperHeight}},
        {"margl", {K::Value, Act::MarginLeft}}, {"margr", {K::Value, Act::MarginRight}},
        {"margt", {K::Value, Act::MarginTop}}, {"margb", {K::Value, Act::MarginBottom}},
        {"landscape", {K::Flag, Act::Landscape}}, {"titlepg", {K::Flag, Act::TitlePage}},
        {"header", {K::Destination, Act::Header}}, {"headerr", {K::Destination, Act::Header}},
        {"footer", {K::Destination, Act::Footer}}, {"footerr", {K::Destination, Act::Footer}},
        {"headerf", {K::Destination, Act::FirstHeader}}, {"footerf", {K::Destination, Act::FirstFooter}},
        {"shp", {K::Destination, Act::Shape}}, {"shpinst", {K::Destination, Act::ShapeInstance}},
        {"shptxt", {K::Destination, Act::ShapeText}}, {"shprslt", {K::Destination, Act::ShapeResult}},
        {"shpleft", {K::Value, Act::ShapeLeft}}, {"shpright", {K::Value, Act::ShapeRight}},

        {"footnote", {K::Destination, Act::Footnote}}, {"annotation", {K::Destination, Act::Annotation}},
        {"atnid", {K::Destination, Act::Skip}}, {"atnauthor", {K::Destination, Act::Skip}},
        {"chftn", {K::Flag, Act::FootnoteMark}},

        {"headerl", {K::Destination, Act::Skip}}, {"footerl", {K::Destination, Act::Skip}},
        {"author", {K::Destination, Act::Skip}}, {"operator", {K::Destination, Act::Skip}},
        {"company", {K::Destination, Act::Skip}}, {"subject", {K::Destination, Act::Skip}},
        {"keywords", {K::Destination, Act::Skip}}, {"comment", {K::Destination, Act::Skip}},
        {"doccomm", {K::Destination, Act::Skip}}, {"creatim", {K::Destination, Act::Skip}},
        {"revtim", {K::Destination, Act::Skip}}, {"printim", {K::Destination, Act::Skip}},
        {"buptim", {K::Destination, Act::Skip}}, {"xe", {K::Destination, Act::Skip}}, {"tc", {K::Destination, Act::Skip}},
        {"private", {K::Destination, Act::Skip}}, {"object", {K::Destination, Act::Skip}},
        {"fldtype", {K::Destination, Act::Skip}}, {"datafield", {K::Destination, Act::Skip}},
        {"sp", {K::Destination, Act::Skip}}, {"falt", {K::Destination, Act::Skip}},
        {"panose", {K::Destination, Act::Skip}}, {"txe", {K::Destination, Act::Skip}},
        {"rxe", {K::Destination, Act::Skip}}, {"bkmkend", {K::Destination, Act::Skip}},

        {"emdash", {K::Symbol, Act::Character, u'\u2014'}}, {"endash", {K::Symbol, Act::Character, u'\u2013'}},
        {"emspace", {K::Symbol, Act::Character, u'\u2003'}}, {"enspace", {K::Symbol, Act::Character, u'\u2002'}},
        {"qmspace", {K::Symbol, Act::Character, u'\u2005'}}, {"bullet", {K::Symbol, Act::Character, u'\u2022'}},
        {"lquote", {K::Symbol, Act::Character, u'\u2018'}}, {"rquote", {K::Symbol, Act::Character, u'\u2019'}},
        {"ldblquote", {K::Symbol, Act::Character, u'\u201C'}}, {"rdblquote", {K::Symbol, Act::Character, u'\u201D'}},
        {"zwj", {K::Symbol, Act::Character, u'\u200D'}}, {"zwnj", {K::Symbol, Act::Character, u'\u200C'}},
    };
    return words;
}

} // namespace

const ControlWord* controlWord(QByteArrayView name)
{
    const auto found = table().constFind(name.toByteArray());
    return found == table().cend() ? nullptr : &*found;
}

const ControlWord* controlSymbol(char symbol)
{
    static const ControlWord nonBreakingSpace{K::Symbol, Act::Character, u'\u00A0'};
    static const ControlWord nonBreakingHyphen{K::Symbol, Act::Character, u'\u2011'};
    static const ControlWord paragraph{K::Flag, Act::Par};
    static const ControlWord tab{K::Flag, Act::Tab};
    switch (symbol) {
    case '~': return &nonBreakingSpace;
    case '_': return &nonBreakingHyphen;
    case '\n': return &paragraph;
    case '\t': return &tab;
    default: return nullptr;
    }
}

} // namespace formats::rtf
