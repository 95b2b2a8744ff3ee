#include "formats/rtf/rtfparser.h"

#include "engine/fieldformat.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "formats/html/fielddata.h"
#include "formats/word/placeholder.h"
#include "formats/word/wordmapping.h"

#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <algorithm>

namespace formats::rtf {

namespace {

constexpr int kProgramFieldAttribute = 149;
constexpr int kLinkFieldKind = 1;
constexpr int kTagFieldKind = 2;
constexpr int kMaxFieldNesting = 32;
constexpr int kMaxOutputNesting = 8;
constexpr int kMaxAnchors = 16;
constexpr double kMaxPictureSide = 5000;
constexpr int kMaxTwips = 31680 * 4; // past four 22-inch sheets a length is a fault of the file

// The code page of a font charset; 0 for the document's own.
int codePageOfCharset(int charset)
{
    static const QHash<int, int> pages{
        {0, 1252},   {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936}, {136, 950},
        {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},
        {238, 1250}, {255, 437},
    };
    return pages.value(charset, 0);
}

QByteArray decoderName(int codePage)
{
    switch (codePage) {
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    case 437: return "IBM437";
    case 65001: return "UTF-8";
    default: return "windows-" + QByteArray::number(codePage);
    }
}

int bounded(int twips) { return std::clamp(twips, -kMaxTwips, kMaxTwips); }
double documentLength(int twips) { return engine::twipsToDocument(bounded(twips)); }

// Word's level formats (\levelnfc) by the names of its other formats.
QString numberFormatName(int nfc)
{
    switch (nfc) {
    case 1: return QStringLiteral("upperRoman");
    case 2: return QStringLiteral("lowerRoman");
    case 3: return QStringLiteral("upperLetter");
    case 4: return QStringLiteral("lowerLetter");
    case 23: return QStringLiteral("bullet");
    default: return QStringLiteral("decimal");
    }
}

// The text of a HYPERLINK field's instruction as the link's field data;
// "" for other fields.
QString hyperlinkData(const QString& instruction)
{
    static const QRegularExpression hyperlink(QStringLiteral("^\\s*HYPERLINK\\s+(.*)$"),
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression argument(QStringLiteral("(\\\\l\\s+)?(?:\"([^\"]*)\"|(\\S+))"));
    const QRegularExpressionMatch m = hyperlink.match(instruction);
    if (!m.hasMatch())
        return {};
    QString address;
    for (auto it = argument.globalMatch(m.captured(1)); it.hasNext();) {
        const QRegularExpressionMatch a = it.next();
        const QString value = a.captured(2).isEmpty() ? a.captured(3) : a.captured(2);
        if (value.startsWith(u'\\'))
            continue;
        if (!a.captured(1).isEmpty())
            address += u'#' + value;
        else if (address.isEmpty())
            address = value;
    }
    return address.isEmpty() ? QString() : fieldDataForAddress(address);
}

} // namespace

Parser::Parser(const engine::DocumentSet& target, ReadOutcome& outcome)
    : m_target(target)
    , m_outcome(outcome)
{
    m_out.cursor = QTextCursor(target.body);
}

void Parser::fail(Failure failure)
{
    if (m_outcome.failure == Failure::None)
        m_outcome.failure = failure;
    m_done = true;
}

void Parser::parse(QByteArrayView input)
{
    if (!input.startsWith("{\\rtf")) {
        fail(Failure::NotRtf);
        return;
    }
    Tokenizer tokenizer(input);
    while (!m_done) {
        const Token token = tokenizer.next();
        switch (token.kind) {
        case Token::GroupStart: openGroup(); break;
        case Token::GroupEnd: closeGroup(); break;
        case Token::ControlWord: handleWord(token); break;
        case Token::ControlSymbol: handleSymbol(token.symbol); break;
        case Token::Text: addBytes(token.bytes); break;
        case Token::HexByte: addBytes(QByteArrayView(&token.symbol, 1)); break;
        case Token::Binary:
            if (state().dest == Dest::Picture)
                m_picture.bytes += token.bytes;
            break;
        case Token::End: fail(Failure::Malformed); break;
        case Token::Broken: fail(Failure::Malformed); break;
        }
        if (m_picture.bytes.size() > kMaxPictureBytes)
            fail(Failure::TooLarge);
    }
    if (m_outcome.ok()) {
        appendNotes();
        applyPageSetup();
    }
}

void Parser::applyPageSetup()
{
    engine::PageSetup* setup = m_target.pageSetup;
    if (!setup)
        return;
    if (m_pageSeen)
        *setup = m_page;
    if (m_target.header || m_target.footer) {
        const int firstPage = engine::HeaderFirstPage | engine::FooterFirstPage;
        setup->headerFooterFlags = m_titlePage ? m_headerFooterFlags : m_headerFooterFlags & ~firstPage;
    }
}

void Parser::openGroup()
{
    flushText();
    m_skip = 0;
    if (int(m_states.size()) >= kMaxGroupDepth) {
        fail(Failure::TooDeep);
        return;
    }
    GroupState inner = m_states.empty() ? GroupState() : state();
    inner.opened.reset();
    inner.fresh = true;
    inner.ignorable = false;
    if (inner.dest == Dest::StyleSheet) {
        m_currentStyle = 0;
        m_currentStyleOutline.reset();
        m_currentStyleName.clear();
    }
    m_states.push_back(std::move(inner));
}

void Parser::closeGroup()
{
    flushText();
    m_skip = 0;
    if (m_states.empty()) {
        fail(Failure::Malformed);
        return;
    }
    // What a header, footer or text box left open is finished with the
    // state of its own group.
    if (state().opened && m_out.act == state().opened)
        closeOutputContent();
    if (m_states.size() == 1) {
        // The document's group is closed: what follows it is not RTF.
        while (!m_savedOutputs.empty()) {
            closeOutputContent();
            restoreOutput();
        }
        closeOutputContent();
        m_done = true;
    }
    const GroupState closed = std::move(m_states.back());
    m_states.pop_back();
    // A destination the document's own group opened ends with the document.
    if (closed.opened && !m_states.empty())
        finishDestination(*closed.opened, closed);
}

void Parser::closeOutputContent()
{
    if (m_out.paragraphOpen)
        finishParagraph();
    while (!m_out.tables.empty())
        finishTable();
}

void Parser::handleSymbol(char symbol)
{
    if (m_states.empty())
        return;
    if (symbol == '*') {
        state().ignorable = true;
        return;
    }
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
        addBytes(QByteArrayView(&symbol, 1));
        return;
    }
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    if (const ControlWord* word = controlSymbol(symbol)) {
        Token token;
        handle(*word, token);
    }
}

void Parser::handleWord(const Token& token)
{
    if (m_states.empty())
        return;
    const ControlWord* word = controlWord(token.name);
    GroupState& group = state();
    const bool first = group.fresh;
    group.fresh = false;
    if (first && group.ignorable && (!word || word->kind != WordKind::Destination)) {
        flushText();
        group.dest = Dest::Skip;
        return;
    }
    if (m_skip > 0 && !(word && word->act == Act::Unicode)) {
        --m_skip;
        return;
    }
    if (word)
        handle(*word, token);
}

void Parser::handle(const ControlWord& word, const Token& token)
{
    const int value = token.parameter;
    if (word.act == Act::Unicode) {
        addUnicode(value);
        return;
    }
    flushText();
    if (state().dest == Dest::Skip && word.act != Act::Ud)
        return;
    if (word.kind == WordKind::Destination) {
        openDestination(word.act);
        return;
    }
    if (word.kind == WordKind::Symbol) {
        m_text += QChar(word.character);
        return;
    }
    // A toggle without a parameter is on.
    const int argument = word.kind == WordKind::Toggle && !token.hasParameter ? 1 : value;
    if (handleDocumentWord(word.act, argument) || handleCharacterWord(word.act, argument) || handleParagraphWord(word.act, argument)
        || handleTableWord(word.act, argument) || handlePictureWord(word.act, argument))
        return;
    handlePageWord(word.act, argument);
}

bool Parser::handleDocumentWord(Act act, int value)
{
    GroupState& group = state();
    switch (act) {
    case Act::Ansi: m_ansiCodePage = 1252; return true;
    case Act::Mac: m_ansiCodePage = 10000; return true;
    case Act::Pc: m_ansiCodePage = 437; return true;
    case Act::Pca: m_ansiCodePage = 850; return true;
    case Act::AnsiCodePage: m_ansiCodePage = value > 0 ? value : 1252; return true;
    case Act::DefaultFont: m_defaultFont = value; return true;
    case Act::UnicodeSkip: group.unicodeSkip = std::clamp(value, 0, 8); return true;
    case Act::FontCharset:
        if (const int page = codePageOfCharset(value); page > 0 && group.dest == Dest::FontTable)
            m_fontCodePages.insert(m_currentFont, page);
        return true;
    case Act::FontCodePage:
        if (group.dest == Dest::FontTable && value > 0)
            m_fontCodePages.insert(m_currentFont, value);
        return true;
    case Act::Red: m_red = std::clamp(value, 0, 255); return true;
    case Act::Green: m_green = std::clamp(value, 0, 255); return true;
    case Act::Blue: m_blue = std::clamp(value, 0, 255); return true;
    case Act::ListId:
        if (group.dest == Dest::ListOverrideTable)
            m_overrideListId = value;
        else
            m_currentListId = value;
        return true;
    case Act::LevelFormat: m_currentLevelFormat = value; return true;
    case Act::FootnoteMark:
        if (group.dest == Dest::Body)
            m_text += QString::number(++m_noteMarks);
        return true;
    default: return false;
    }
}

bool Parser::handleCharacterWord(Act act, int value)
{
    GroupState& group = state();
    QTextCharFormat& format = group.characters;
    switch (act) {
    case Act::Plain:
        format = QTextCharFormat();
        group.font = -1;
        return true;
    case Act::Font:
        if (group.dest == Dest::FontTable) {
            m_currentFont = value;
            if (m_fontNames.size() >= kMaxTableEntries)
                fail(Failure::TooLarge);
            return true;
        }
        group.font = value;
        if (const QString name = m_fontNames.value(value); !name.isEmpty())
            format.setFontFamilies({name});
        return true;
    case Act::FontSize:
        if (value > 0)
            format.setFontPointSize(std::clamp(value, 2, 3276) / 2.0);
        else
            format.clearProperty(QTextFormat::FontPointSize);
        return true;
    case Act::Bold: format.setFontWeight(value ? QFont::Bold : QFont::Normal); return true;
    case Act::Italic: format.setFontItalic(value != 0); return true;
    case Act::Underline: format.setFontUnderline(value != 0); return true;
    case Act::UnderlineNone: format.setFontUnderline(false); return true;
    case Act::Strike: format.setFontStrikeOut(value != 0); return true;
    case Act::Foreground:
        if (value > 0 && value < m_colours.size() && m_colours[value].isValid())
            format.setForeground(m_colours[value]);
        else
            format.clearForeground();
        return true;
    case Act::Background:
        if (value > 0 && value < m_colours.size() && m_colours[value].isValid())
            format.setBackground(m_colours[value]);
        else
            format.clearBackground();
        return true;
    case Act::Superscript: format.setVerticalAlignment(QTextCharFormat::AlignSuperScript); return true;
    case Act::Subscript: format.setVerticalAlignment(QTextCharFormat::AlignSubScript); return true;
    case Act::NoSuperSub: format.setVerticalAlignment(QTextCharFormat::AlignNormal); return true;
    default: return false;
    }
}

bool Parser::handleParagraphWord(Act act, int value)
{
    GroupState& group = state();
    ParagraphState& paragraph = group.paragraph;
    QTextBlockFormat& block = paragraph.block;
    switch (act) {
    case Act::Pard: paragraph = ParagraphState(); return true;
    case Act::Par:
        if (group.dest == Dest::Body)
            endParagraph();
        else if (group.dest == Dest::Footnote)
            m_text += u'\n';
        return true;
    case Act::Line: m_text += QChar(QChar::LineSeparator); return true;
    case Act::Tab: m_text += u'\t'; return true;
    case Act::PageNumber: insertPageNumber(); return true;
    case Act::Page:
    case Act::Section:
        // A break between paragraphs makes no paragraph of its own.
        if (group.dest == Dest::Body) {
            if (m_out.paragraphOpen)
                endParagraph();
            m_out.pendingPageBreak = true;
        }
        return true;
    case Act::PageBreakBefore:
        block.setPageBreakPolicy(value ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
        return true;
    case Act::AlignLeft: block.setAlignment(Qt::AlignLeft); return true;
    case Act::AlignCenter: block.setAlignment(Qt::AlignHCenter); return true;
    case Act::AlignRight: block.setAlignment(Qt::AlignRight); return true;
    case Act::AlignJustify: block.setAlignment(Qt::AlignJustify); return true;
    case Act::ParagraphShading:
        if (value > 0 && value < m_colours.size() && m_colours[value].isValid())
            block.setBackground(m_colours[value]);
        return true;
    case Act::LeftIndent: block.setLeftMargin(documentLength(value)); return true;
    case Act::RightIndent: block.setRightMargin(documentLength(value)); return true;
    case Act::FirstIndent: block.setTextIndent(documentLength(value)); return true;
    case Act::SpaceBefore: block.setTopMargin(documentLength(value)); return true;
    case Act::SpaceAfter: block.setBottomMargin(documentLength(value)); return true;
    case Act::LineSpacing:
        if (value == 0)
            block.setLineHeight(0, QTextBlockFormat::SingleHeight);
        else
            block.setLineHeight(documentLength(std::abs(value)),
                                value > 0 ? QTextBlockFormat::MinimumHeight : QTextBlockFormat::FixedHeight);
        return true;
    case Act::LineMultiple:
        if (value == 1 && block.lineHeightType() == QTextBlockFormat::MinimumHeight)
            block.setLineHeight(engine::documentToTwips(block.lineHeight()) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        return true;
    case Act::TabCentre: paragraph.nextTab = QTextOption::CenterTab; return true;
    case Act::TabRight: paragraph.nextTab = QTextOption::RightTab; return true;
    case Act::TabDecimal: paragraph.nextTab = QTextOption::DelimiterTab; return true;
    case Act::TabStop: {
        QList<QTextOption::Tab> tabs = block.tabPositions();
        if (tabs.size() < 64) {
            QTextOption::Tab tab(documentLength(value), paragraph.nextTab);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = u'.';
            tabs << tab;
            block.setTabPositions(tabs);
        }
        paragraph.nextTab = QTextOption::LeftTab;
        return true;
    }
    case Act::Style:
        if (group.dest == Dest::StyleSheet)
            m_currentStyle = value;
        else
            paragraph.style = value;
        return true;
    case Act::OutlineLevel:
        if (group.dest == Dest::StyleSheet)
            m_currentStyleOutline = value;
        else
            paragraph.outlineLevel = value;
        return true;
    case Act::ListNumber:
        if (group.dest == Dest::ListOverrideTable)
            m_overrideNumber = value;
        else
            paragraph.listOverride = value;
        return true;
    case Act::ListLevelOfParagraph: paragraph.listLevel = std::clamp(value, 0, 8); return true;
    case Act::OldBullet: oldListParagraph().oldList = QTextListFormat::ListDisc; return true;
    case Act::OldDecimal: oldListParagraph().oldList = QTextListFormat::ListDecimal; return true;
    case Act::OldUpperRoman: oldListParagraph().oldList = QTextListFormat::ListUpperRoman; return true;
    case Act::OldLowerRoman: oldListParagraph().oldList = QTextListFormat::ListLowerRoman; return true;
    case Act::OldUpperLetter: oldListParagraph().oldList = QTextListFormat::ListUpperAlpha; return true;
    case Act::OldLowerLetter: oldListParagraph().oldList = QTextListFormat::ListLowerAlpha; return true;
    case Act::CharacterStyle:
        if (group.dest == Dest::StyleSheet)
            m_currentStyle = -1;
        return true;
    default: return false;
    }
}

bool Parser::handlePageWord(Act act, int value)
{
    switch (act) {
    case Act::PaperWidth: m_page.paperWidth = std::clamp(value, 1, kMaxTwips); break;
    case Act::PaperHeight: m_page.paperHeight = std::clamp(value, 1, kMaxTwips); break;
    case Act::MarginLeft: m_page.marginLeft = std::clamp(value, 0, kMaxTwips); break;
    case Act::MarginRight: m_page.marginRight = std::clamp(value, 0, kMaxTwips); break;
    case Act::MarginTop: m_page.marginTop = std::clamp(value, 0, kMaxTwips); break;
    case Act::MarginBottom: m_page.marginBottom = std::clamp(value, 0, kMaxTwips); break;
    case Act::Landscape: m_page.landscape = true; break;
    case Act::TitlePage: m_titlePage = true; return true;
    case Act::ShapeLeft: m_shapeLeft = value; return true;
    case Act::ShapeRight: m_shapeWidth = documentLength(std::max(0, value - m_shapeLeft)); return true;
    default: return false;
    }
    m_pageSeen = true;
    return true;
}

// The old list form's words stand in their own group ({\*\pn ...}) but
// describe the paragraph around it.
ParagraphState& Parser::oldListParagraph()
{
    const bool inOwnGroup = state().dest == Dest::OldList && m_states.size() >= 2;
    return (inOwnGroup ? m_states[m_states.size() - 2] : state()).paragraph;
}

void Parser::openDestination(Act act)
{
    GroupState& group = state();
    group.opened = act;
    const Dest from = group.dest;
    auto to = [&](Dest dest) { group.dest = dest; };
    switch (act) {
    case Act::FontTable: to(Dest::FontTable); break;
    case Act::ColorTable: to(Dest::ColorTable); break;
    case Act::StyleSheet: to(Dest::StyleSheet); break;
    case Act::ListTable: to(Dest::ListTable); break;
    case Act::List:
        m_currentList = {};
        m_currentListId = 0;
        break;
    case Act::ListLevel:
        m_currentLevelFormat = 0;
        m_currentLevelText.clear();
        break;
    case Act::LevelText: to(Dest::LevelText); break;
    case Act::ListOverrideTable: to(Dest::ListOverrideTable); break;
    case Act::ListOverride:
        m_overrideListId = 0;
        m_overrideNumber = 0;
        break;
    case Act::Info: to(Dest::Info); break;
    case Act::Title: to(Dest::Title); break;
    case Act::Upr:
        group.resumeDest = from;
        to(Dest::Skip);
        break;
    case Act::Ud: to(m_states.size() >= 2 ? m_states[m_states.size() - 2].resumeDest : Dest::Body); break;
    case Act::OldList: to(from == Dest::Body ? Dest::OldList : Dest::Skip); break;
    case Act::OldListText:
    case Act::ListText:
    case Act::NoNestTables:
    case Act::NonShapePicture:
    case Act::Skip:
    case Act::LevelNumbers: to(Dest::Skip); break;
    case Act::ShapePicture:
    case Act::NestTableProperties: break;
    case Act::Picture:
        m_picture = PictureData();
        to(from == Dest::Body ? Dest::Picture : Dest::Skip);
        break;
    case Act::Field:
        if (from != Dest::Body || m_fields.size() >= kMaxFieldNesting)
            group.opened.reset();
        else
            m_fields.emplace_back();
        break;
    case Act::FieldInstruction: to(m_fields.empty() ? Dest::Skip : Dest::FieldInstruction); break;
    case Act::ProgramField: to(from == Dest::FieldInstruction ? Dest::ProgramField : Dest::Skip); break;
    case Act::FieldResult: startFieldResult(); break;
    case Act::BookmarkStart: to(from == Dest::Body ? Dest::Bookmark : Dest::Skip); break;
    case Act::Header:
    case Act::Footer:
    case Act::FirstHeader:
    case Act::FirstFooter: {
        QTextDocument* document = act == Act::Header ? m_target.header
            : act == Act::Footer                     ? m_target.footer
            : act == Act::FirstHeader                ? m_target.firstHeader
                                                     : m_target.firstFooter;
        if (!document || from != Dest::Body || !m_savedOutputs.empty() || !document->isEmpty()) {
            group.opened.reset();
            to(Dest::Skip);
            break;
        }
        switchOutput(QTextCursor(document), act);
        group.paragraph = ParagraphState();
        break;
    }
    case Act::Shape:
    case Act::ShapeInstance:
        if (from != Dest::Body && from != Dest::Shape) {
            to(Dest::Skip);
            break;
        }
        if (act == Act::Shape) {
            m_shapeWidth = 0;
            m_shapeHadText = false;
        }
        to(Dest::Shape);
        break;
    case Act::ShapeResult:
        // What other readers show for the shape: for a text box its text
        // again, for a picture shape the picture, which is read from here.
        to(from == Dest::Shape && !m_shapeHadText ? Dest::Body : Dest::Skip);
        break;
    case Act::ShapeText:
        if (from != Dest::Shape || m_savedOutputs.size() >= size_t(kMaxOutputNesting)) {
            to(Dest::Skip);
            break;
        }
        to(Dest::Body);
        m_shapeHadText = true;
        openTextBox();
        group.paragraph = ParagraphState();
        break;
    case Act::Footnote:
        m_outcome.report.note(word::Loss::Footnotes);
        m_notes << QString::number(m_noteMarks) + u' ';
        to(from == Dest::Body ? Dest::Footnote : Dest::Skip);
        break;
    case Act::Annotation:
        m_outcome.report.note(word::Loss::Comments);
        to(Dest::Skip);
        break;
    default: to(Dest::Skip); break;
    }
}

void Parser::finishDestination(Act act, const GroupState& closed)
{
    switch (act) {
    case Act::List:
        if (m_lists.size() >= kMaxTableEntries)
            fail(Failure::TooLarge);
        else
            m_lists.insert(m_currentListId, m_currentList);
        break;
    case Act::ListLevel:
        if (m_currentList.levels.size() < 9)
            m_currentList.levels.push_back(m_currentLevelFormat == 255 ? QTextListFormat::ListStyleUndefined
                                                                       : word::listStyleOf(numberFormatName(m_currentLevelFormat), levelSymbol()));
        break;
    case Act::ListOverride:
        m_overrides.insert(m_overrideNumber, m_overrideListId);
        if (m_overrides.size() >= kMaxTableEntries)
            fail(Failure::TooLarge);
        break;
    case Act::Picture:
        if (closed.dest == Dest::Picture)
            insertPicture();
        break;
    case Act::Field:
        if (!m_fields.empty())
            m_fields.pop_back();
        break;
    case Act::Header:
    case Act::Footer:
    case Act::FirstHeader:
    case Act::FirstFooter:
        if (m_out.act != act)
            break;
        restoreOutput();
        m_headerFooterFlags |= act == Act::Header ? engine::HeaderEveryPage
            : act == Act::Footer                  ? engine::FooterEveryPage
            : act == Act::FirstHeader             ? engine::HeaderFirstPage
                                                  : engine::FooterFirstPage;
        break;
    case Act::ShapeText:
        if (m_out.act == act) {
            // The paragraph goes on where the box interrupted it.
            const QTextBlock anchor = m_out.anchor;
            restoreOutput();
            if (anchor.isValid())
                m_out.cursor.setPosition(anchor.position() + anchor.length() - 1);
        }
        break;
    default: break;
    }
}

// Text

int Parser::codePage() const
{
    const int font = m_states.empty() ? -1 : m_states.back().font;
    const int own = m_fontCodePages.value(font >= 0 ? font : m_defaultFont, 0);
    return own > 0 ? own : m_ansiCodePage;
}

QStringDecoder& Parser::decoderFor(int codePage)
{
    auto found = m_decoders.find(codePage);
    if (found == m_decoders.end()) {
        QStringDecoder decoder(decoderName(codePage).constData());
        found = m_decoders.emplace(codePage, decoder.isValid() ? std::move(decoder) : QStringDecoder("windows-1252")).first;
    }
    return found->second;
}

void Parser::addBytes(QByteArrayView bytes)
{
    if (m_states.empty() || state().dest == Dest::Skip)
        return;
    if (state().dest == Dest::Picture) {
        addHexPicture(bytes);
        return;
    }
    if (m_skip > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_skip, bytes.size());
        m_skip -= int(skipped);
        bytes = bytes.sliced(skipped);
    }
    const int page = codePage();
    if (page != m_bytesCodePage)
        flushBytes();
    m_bytesCodePage = page;
    m_bytes += bytes;
}

void Parser::addUnicode(int value)
{
    flushBytes();
    if (m_states.empty())
        return;
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xFFFF) {
        ++m_outcome.unreadableCharacters;
        value = 0xFFFD;
    }
    if (state().dest != Dest::Skip && state().dest != Dest::Picture)
        m_text += QChar(char16_t(value));
    m_skip = state().unicodeSkip;
}

void Parser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QStringDecoder& decoder = decoderFor(m_bytesCodePage);
    const QString text = decoder.decode(m_bytes);
    decoder.resetState();
    m_outcome.unreadableCharacters += text.count(QChar::ReplacementCharacter);
    m_text += text;
    m_bytes.clear();
}

void Parser::flushText()
{
    flushBytes();
    if (m_text.isEmpty())
        return;
    const QString text = std::exchange(m_text, QString());
    deliver(text);
}

void Parser::deliver(const QString& text)
{
    GroupState& group = state();
    switch (group.dest) {
    case Dest::Body: insertBody(text); break;
    case Dest::FontTable: {
        QString& name = m_fontNames[m_currentFont];
        for (const QChar c : text) {
            if (c == u';')
                name = name.trimmed();
            else if (name.size() < 256)
                name += c;
        }
        break;
    }
    case Dest::ColorTable:
        for (const QChar c : text) {
            if (c != u';')
                continue;
            if (m_colours.size() >= kMaxTableEntries) {
                fail(Failure::TooLarge);
                return;
            }
            const bool automatic = m_colours.isEmpty() && m_red == 0 && m_green == 0 && m_blue == 0;
            m_colours << (automatic ? QColor() : QColor(m_red, m_green, m_blue));
            m_red = m_green = m_blue = 0;
        }
        break;
    case Dest::StyleSheet:
        for (const QChar c : text) {
            if (c == u';')
                storeStyle();
            else if (m_currentStyleName.size() < 256)
                m_currentStyleName += c;
        }
        break;
    case Dest::LevelText:
        if (m_currentLevelText.size() < 64)
            m_currentLevelText += text;
        break;
    case Dest::Title:
        if (m_target.body)
            m_target.body->setMetaInformation(QTextDocument::DocumentTitle,
                                              m_target.body->metaInformation(QTextDocument::DocumentTitle) + text);
        break;
    case Dest::FieldInstruction:
        if (!m_fields.empty() && m_fields.back().instruction.size() < 4096)
            m_fields.back().instruction += text;
        break;
    case Dest::ProgramField:
        if (!m_fields.empty() && m_fields.back().program.size() < 65536)
            m_fields.back().program += text;
        break;
    case Dest::Bookmark:
        if (m_pendingAnchors.size() < kMaxAnchors)
            m_pendingAnchors << text.trimmed();
        break;
    case Dest::Footnote:
        if (!m_notes.isEmpty() && m_notes.back().size() < 1 << 20)
            m_notes.back() += text;
        break;
    case Dest::Picture:
    case Dest::Info:
    case Dest::OldList:
    case Dest::ListTable:
    case Dest::ListOverrideTable:
    case Dest::Shape:
    case Dest::Skip: break;
    }
}

void Parser::storeStyle()
{
    if (m_styleLevels.size() >= kMaxTableEntries) {
        fail(Failure::TooLarge);
        return;
    }
    if (m_currentStyle >= 0)
        m_styleLevels.insert(m_currentStyle, word::headingLevelOf(QString(), m_currentStyleName.trimmed(), m_currentStyleOutline));
    m_currentStyleName.clear();
}

void Parser::insertBody(const QString& text)
{
    ensureParagraph();
    QTextCharFormat format = state().characters;
    format.merge(state().link);
    if (!m_pendingAnchors.isEmpty()) {
        engine::setAnchorNames(format, m_pendingAnchors);
        m_pendingAnchors.clear();
    }
    m_out.cursor.insertText(text, format);
}

void Parser::addHexPicture(QByteArrayView bytes)
{
    for (const char c : bytes) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            continue;
        if (m_picture.pendingNibble < 0) {
            m_picture.pendingNibble = digit;
        } else {
            m_picture.bytes += char(m_picture.pendingNibble * 16 + digit);
            m_picture.pendingNibble = -1;
        }
    }
}

// The bullet of a list level: its \leveltext without the length in front,
// the level numbers and the closing ";".
QString Parser::levelSymbol() const
{
    QString symbol;
    for (const QChar c : m_currentLevelText) {
        if (c.unicode() >= 0x20 && c != u';')
            symbol += c;
    }
    return symbol.trimmed();
}

// Paragraphs

void Parser::ensureParagraph()
{
    enterTableLevel(state().paragraph.tableLevel());
    if (!m_out.tables.empty() && !m_out.tables.back().inCell)
        enterCell();
    if (!m_out.paragraphOpen)
        startParagraph();
}

void Parser::startParagraph()
{
    if (!m_out.blockUnused)
        m_out.cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_out.blockUnused = false;
    m_out.paragraphOpen = true;
}

void Parser::finishParagraph()
{
    const ParagraphState& paragraph = state().paragraph;
    QTextBlockFormat block = paragraph.block;
    if (const int level = headingLevel(paragraph); level > 0)
        block.setHeadingLevel(level);
    if (m_out.pendingPageBreak)
        block.setPageBreakPolicy(block.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    m_out.pendingPageBreak = false;
    m_out.cursor.setBlockFormat(block);
    QTextCharFormat marks = state().characters;
    m_out.cursor.setBlockCharFormat(marks);
    joinList(paragraph);
    m_out.paragraphOpen = false;
    if (m_out.paragraphFrame) {
        m_out.cursor.setPosition(m_out.paragraphFrame->lastPosition() + 1);
        m_out.blockUnused = true;
        m_out.paragraphFrame = nullptr;
    }
}

void Parser::endParagraph()
{
    ensureParagraph();
    finishParagraph();
}

int Parser::headingLevel(const ParagraphState& paragraph) const
{
    if (paragraph.outlineLevel)
        return word::headingLevelOf(QString(), QString(), paragraph.outlineLevel);
    return m_styleLevels.value(paragraph.style, 0);
}

void Parser::joinList(const ParagraphState& paragraph)
{
    QTextListFormat::Style style = QTextListFormat::ListStyleUndefined;
    QString key;
    if (paragraph.listOverride > 0) {
        const auto list = m_lists.constFind(m_overrides.value(paragraph.listOverride, -1));
        if (list != m_lists.cend() && size_t(paragraph.listLevel) < list->levels.size())
            style = list->levels[size_t(paragraph.listLevel)];
        else if (list != m_lists.cend())
            style = QTextListFormat::ListDisc;
        key = QStringLiteral("%1/%2").arg(paragraph.listOverride).arg(paragraph.listLevel);
    } else if (paragraph.oldList) {
        style = *paragraph.oldList;
        key = QStringLiteral("pn/%1").arg(int(style));
    }
    if (!paragraph.oldList)
        m_out.lists.removeIf([](const auto& entry) { return entry.key().startsWith(u"pn/"); });
    if (style == QTextListFormat::ListStyleUndefined)
        return;
    if (QTextList* list = m_out.lists.value(key)) {
        list->add(m_out.cursor.block());
        return;
    }
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(paragraph.listLevel + 1);
    m_out.lists.insert(key, m_out.cursor.createList(format));
}

// Destinations

void Parser::switchOutput(QTextCursor cursor, Act act)
{
    m_savedOutputs.push_back(std::move(m_out));
    m_out = Output();
    m_out.cursor = std::move(cursor);
    m_out.act = act;
}

void Parser::restoreOutput()
{
    if (m_savedOutputs.empty())
        return;
    m_out = std::move(m_savedOutputs.back());
    m_savedOutputs.pop_back();
}

void Parser::openTextBox()
{
    ensureParagraph();
    const QTextBlock anchor = m_out.cursor.block();
    QTextCursor at = m_out.cursor;
    if (m_out.paragraphFrame)
        at.setPosition(m_out.paragraphFrame->lastPosition() + 1);
    else
        at.movePosition(QTextCursor::EndOfBlock);
    engine::Objects& objects = objectsOf(*m_out.cursor.document());
    QTextFrame* frame = objects.textFrame(objects.insertTextFrame(at, {std::clamp(m_shapeWidth, 0.0, 2000.0), 0.0}));
    QTextFrame* anchorFrame = frame ? frame : m_out.paragraphFrame;
    m_out.paragraphFrame = anchorFrame;
    QTextCursor inside = m_out.cursor;
    if (frame)
        inside.setPosition(frame->firstPosition());
    switchOutput(inside, Act::ShapeText);
    m_out.anchor = anchor;
    if (!frame)
        state().dest = Dest::Skip;
}

void Parser::startFieldResult()
{
    GroupState& group = state();
    if (m_fields.empty() || group.dest != Dest::Body)
        return;
    const Field& field = m_fields.back();
    QTextCharFormat link;
    // The program's own fields: "kind attribute data".
    if (const QStringList parts = field.program.split(u' '); parts.size() >= 3) {
        const int prefix = int(parts[0].size() + parts[1].size() + 2);
        link.setProperty(engine::FieldId, m_nextFieldId++);
        link.setProperty(engine::FieldData, field.program.mid(prefix));
        link.setProperty(engine::FieldKind, parts[0].toInt());
        link.setProperty(engine::FieldAttribute, parts[1].toInt());
    } else if (word::isPageNumberInstruction(field.instruction)) {
        link = engine::pageNumberFieldFormat(m_nextFieldId++);
    } else if (const QString data = hyperlinkData(field.instruction); !data.isEmpty()) {
        link.setProperty(engine::FieldId, m_nextFieldId++);
        link.setProperty(engine::FieldData, data);
        link.setProperty(engine::FieldKind, fieldKind(data) == FieldKind::Tag ? kTagFieldKind : kLinkFieldKind);
        link.setProperty(engine::FieldAttribute, kProgramFieldAttribute);
        link.setForeground(fieldColour(data));
    }
    group.link = link;
}

// \chpgn: the page's number, as a field of its own unless it is the result
// of a PAGE field (or of the program's page-number field).
void Parser::insertPageNumber()
{
    GroupState& group = state();
    if (group.dest != Dest::Body)
        return;
    const QTextCharFormat outer = group.link;
    if (!engine::isPageNumberField(outer))
        group.link = engine::pageNumberFieldFormat(m_nextFieldId++);
    m_text = QStringLiteral("1");
    flushText();
    group.link = outer;
}

engine::Objects& Parser::objectsOf(QTextDocument& document)
{
    return m_objects.try_emplace(&document, document).first->second;
}

void Parser::insertPicture()
{
    const QImage image = m_picture.kind == Act::PngBlip || m_picture.kind == Act::JpegBlip
        ? QImage::fromData(m_picture.bytes)
        : QImage();
    const double scaleX = std::clamp(m_picture.scaleX, 1, 1000) / 100.0;
    const double scaleY = std::clamp(m_picture.scaleY, 1, 1000) / 100.0;
    QSizeF size(documentLength(m_picture.widthGoal) * scaleX, documentLength(m_picture.heightGoal) * scaleY);
    if (!(size.width() > 0 && size.height() > 0) && !image.isNull())
        size = QSizeF(image.width() * scaleX, image.height() * scaleY);
    ensureParagraph();
    const bool drawable = !image.isNull();
    if (!drawable)
        m_outcome.report.note(word::Loss::UndrawablePictures);
    const QString suffix = m_picture.kind == Act::JpegBlip && drawable ? QStringLiteral("jpeg") : QStringLiteral("png");
    const QSizeF shown = size.width() > 0 && size.height() > 0
                             ? QSizeF(std::min(size.width(), kMaxPictureSide), std::min(size.height(), kMaxPictureSide))
                             : QSizeF();
    // The picture's file is kept as it came, also behind a placeholder.
    objectsOf(*m_out.cursor.document())
        .insertPicture(m_out.cursor, drawable ? image : word::placeholderPicture(size), engine::PictureInline,
                       QStringLiteral("image%1.%2").arg(++m_pictures).arg(suffix), shown, m_picture.bytes);
}

bool Parser::handlePictureWord(Act act, int value)
{
    switch (act) {
    case Act::PictureWidthGoal: m_picture.widthGoal = value; return true;
    case Act::PictureHeightGoal: m_picture.heightGoal = value; return true;
    case Act::ScaleX: m_picture.scaleX = value; return true;
    case Act::ScaleY: m_picture.scaleY = value; return true;
    case Act::PngBlip:
    case Act::JpegBlip:
    case Act::EmfBlip:
    case Act::WmfBlip:
    case Act::OtherBlip: m_picture.kind = act; return true;
    default: return false;
    }
}

// The notes go after the text, under a line, each after its mark.
void Parser::appendNotes()
{
    if (m_notes.isEmpty() || !m_target.body)
        return;
    QTextCursor cursor(m_target.body);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(QStringLiteral("――――――――"));
    for (const QString& note : std::as_const(m_notes)) {
        for (const QString& line : note.split(u'\n', Qt::SkipEmptyParts)) {
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            cursor.insertText(line);
        }
    }
}

} // namespace formats::rtf
