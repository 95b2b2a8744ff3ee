#include "editor/styleapplier.h"

#include "dialogs/frmt.h"
#include "dialogs/recordlook.h"
#include "editor/paragraphs.h"
#include "engine/textengine.h"
#include "env/dialogs.h"

#include <algorithm>
#include <array>

namespace editor {

namespace {

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
    dialogs::UserFormat fixed;
    fixed.attributes = {0, 0, 0, dialogs::kBodyAttributeD};
    dialogs::setRecordAttributes(m_engine, isHeading(code) ? m_formats.record(code) : fixed);
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

void StyleApplier::restyle(int code)
{
    if (code < 0 || code >= kFirstCharacterStyle)
        return;
    setAttributes(code);
    if (m_engine.listAttribute() == engine::kNoList)
        setParagraphValues(code);
    setCharacters(code, code);
}

void StyleApplier::setParagraphValues(int record)
{
    const dialogs::UserFormat& format = m_formats.record(record);
    dialogs::setRecordParagraph(m_engine, format);
    // The factor is single precision; so is the product, as the formats were designed.
    const float lineSpacing = float(format.size) * kTwipsPerPoint * m_formats.lineSpacing();
    m_engine.setParagraphValue(ParagraphValue::LineSpacing, lineSpacing);
}

void StyleApplier::setCharacters(int code, int record)
{
    dialogs::setRecordCharacters(m_engine, m_formats.record(record));
    if (code < kFirstHighlight)
        return;
    m_engine.setTextColor(kHighlightColours[code - kFirstHighlight]);
    m_engine.setBackgroundColor(kWhite);
    m_engine.setBold(false);
    m_engine.setUnderline(true);
}

} // namespace editor
