#include "editor/stylelevel.h"

#include "dialogs/frmt.h"
#include "engine/textengine.h"

namespace editor {

namespace {

constexpr double kMinHeadingIndent = 61; // twips

} // namespace

StyleLevel styleLevelAtCaret(const engine::TextEngine& engine, const dialogs::Frmt& formats)
{
    const double size = engine.fontSize();
    const bool heading = engine.listAttribute() == engine::kNoList
        && engine.paragraphValue(engine::ParagraphValue::LeftIndent) >= kMinHeadingIndent
        && size > formats.record(dialogs::kBodyFormat).size;
    if (!heading)
        return StyleLevel::Body;
    if (size == formats.record(0).size)
        return StyleLevel::Heading1;
    return size == formats.record(1).size ? StyleLevel::Heading2 : StyleLevel::Heading3;
}

bool headingAtCaret(const engine::TextEngine& engine, const dialogs::Frmt& formats)
{
    return styleLevelAtCaret(engine, formats) != StyleLevel::Body;
}

QString styleCaption(const engine::TextEngine& engine, const dialogs::Frmt& formats)
{
    if (engine.fieldAtCaret() > 0)
        return QStringLiteral("Field");
    switch (styleLevelAtCaret(engine, formats)) {
    case StyleLevel::Heading1: return QStringLiteral("見出１(頁見出)");
    case StyleLevel::Heading2: return QStringLiteral("見出２");
    case StyleLevel::Heading3: return QStringLiteral("見出３");
    case StyleLevel::Body: break;
    }
    return QStringLiteral("本文");
}

} // namespace editor
