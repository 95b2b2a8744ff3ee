#include "editor/styleapplier.h"

#include "dialogs/frmt.h"
#include "editor/paragraphs.h"
#include "engine/textengine.h"
#include "env/dialogs.h"

#include <algorithm>
#include <array>

namespace editor {

namespace {

using engine::ParagraphAttribute;
using engine::ParagraphValue;

constexpr int kFirstCharacterStyle = 4;
constexpr int kFirstHighlight = 6;
constexpr float kTwipsPerPoint = 20;
constexpr std::array<int, 3> kHighlightColours = {0xFF8080, 0x808000, 0x404080};
constexpr int kWhite = 0xFFFFFF;

bool isHeading(int code)
{
    return code < 3;
}

} // namespace

StyleApplier::StyleApplier(engine::TextEngine& engine, const dialogs::Frmt& formats)
    : m_engine(engine)
    , m_formats(formats)
{
}

bool StyleApplier::apply(const StyleRequest& request)
{
    if (request.code < 0 || request.code >= kStyleCount || headingRefused(request))
        return false;
    const int start = m_engine.selectionStart();
    const int length = m_engine.selectionLength();
    const int record = request.code < kFirstHighlight ? request.code : dialogs::kBodyFormat;
    const engine::TextEngine::CompoundEdit oneStep(m_engine);

    selectRange(request);
    m_engine.setListAttribute(engine::kNoList);
    setAttributes(request.code);

    const bool paragraphStyle = request.code < kFirstCharacterStyle;
    if (paragraphStyle)
        m_engine.setHeadingLevel(isHeading(request.code) ? request.code + 1 : 0);
    if (m_engine.listAttribute() == engine::kNoList && paragraphStyle
        && !(request.quiet && request.explicitParagraph))
        setParagraphValues(record);
    setCharacters(request.code, record);

    if (m_engine.selectionStart() != start || m_engine.selectionLength() != length)
        m_engine.setSelection(start, length);
    return true;
}

void StyleApplier::setAttributes(int code)
{
    const dialogs::UserFormat& format = m_formats.record(code);
    const std::array<int, 4> attributes = isHeading(code)
        ? std::array<int, 4>{format.attributes[0], format.attributes[1], format.attributes[2], format.attributes[3]}
        : std::array<int, 4>{0, 0, 0, dialogs::kBodyAttributeD};
    for (const ParagraphAttribute which : {ParagraphAttribute::A, ParagraphAttribute::B, ParagraphAttribute::C,
                                           ParagraphAttribute::D})
        m_engine.setParagraphAttribute(which, attributes[int(which)]);
}

bool StyleApplier::headingRefused(const StyleRequest& request) const
{
    if (!isHeading(request.code))
        return false;
    if (request.documentType < 1)
        return true;
    if (m_engine.listAttribute() == engine::kNoList)
        return false;
    if (!request.quiet)
        env::dialogs().inform(QStringLiteral("ﾘｽﾄを含む範囲に対しては､見出しのｽﾀｲﾙは設定できません"));
    return true;
}

// Paragraph styles cover whole paragraphs; character styles cover the
// selection, or the caret's paragraph when nothing is selected. A heading
// takes only its own lines of a paragraph whose lines Enter separated by
// line breaks: they become a paragraph of their own.
void StyleApplier::selectRange(const StyleRequest& request)
{
    const bool characters = request.code >= kFirstCharacterStyle && m_engine.selectionLength() > 0;
    if (request.explicitParagraph || characters)
        return;
    if (isHeading(request.code))
        m_engine.separateSelectedLines();
    // A selection that ends where a paragraph starts takes in none of it.
    const int start = m_engine.selectionStart();
    const int last = start + std::max(m_engine.selectionLength() - 1, 0);
    const paragraphs::Span span = paragraphs::covering(m_engine, start, last);
    m_engine.setSelection(span.start, span.end - span.start);
}

void StyleApplier::applyRecord(int record)
{
    setParagraphValues(record);
    setCharacters(dialogs::kBodyFormat, record);
}

void StyleApplier::setParagraphValues(int record)
{
    const dialogs::UserFormat& format = m_formats.record(record);
    m_engine.setParagraphValue(ParagraphValue::LeftIndent, format.leftIndent);
    m_engine.setParagraphValue(ParagraphValue::SpaceBefore, format.spacing[0]);
    m_engine.setParagraphValue(ParagraphValue::SpaceAfter, format.spacing[1]);
    m_engine.setParagraphValue(ParagraphValue::RightIndent, format.spacing[2]);
    m_engine.setParagraphValue(ParagraphValue::Spacing4, format.spacing[3]);
    m_engine.setParagraphValue(ParagraphValue::FirstLineIndent, 0);
    // The factor is single precision; so is the product, as the formats were designed.
    const float lineSpacing = float(format.size) * kTwipsPerPoint * m_formats.lineSpacing();
    m_engine.setParagraphValue(ParagraphValue::LineSpacing, lineSpacing);
}

void StyleApplier::setCharacters(int code, int record)
{
    const dialogs::UserFormat& format = m_formats.record(record);
    m_engine.setFontName(format.fontName);
    m_engine.setFontSize(format.size);
    const bool highlight = code >= kFirstHighlight;
    m_engine.setTextColor(highlight ? kHighlightColours[code - kFirstHighlight] : format.textColor);
    m_engine.setBackgroundColor(highlight ? kWhite : format.backgroundColor);
    m_engine.setBold(!highlight && format.bold == 1);
    m_engine.setUnderline(highlight);
}

} // namespace editor
