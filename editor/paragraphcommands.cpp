#include "editor/paragraphcommands.h"

#include "engine/textengine.h"

#include <algorithm>
#include <array>
#include <utility>

namespace editor {

namespace {

constexpr double kTwipsPerPoint = 20.0;

using Length = double dialogs::ParagraphLook::*;

constexpr std::array<std::pair<engine::ParagraphValue, Length>, 6> kLengths = {{
    {engine::ParagraphValue::LeftIndent, &dialogs::ParagraphLook::leftIndent},
    {engine::ParagraphValue::RightIndent, &dialogs::ParagraphLook::rightIndent},
    {engine::ParagraphValue::FirstLineIndent, &dialogs::ParagraphLook::firstLineIndent},
    {engine::ParagraphValue::SpaceBefore, &dialogs::ParagraphLook::spaceBefore},
    {engine::ParagraphValue::SpaceAfter, &dialogs::ParagraphLook::spaceAfter},
    {engine::ParagraphValue::LineSpacing, &dialogs::ParagraphLook::lineSpacing},
}};

} // namespace

ParagraphCommands::ParagraphCommands(engine::TextEngine& engine, Host host)
    : m_engine(engine)
    , m_host(std::move(host))
{
}

ParagraphCommands::Result ParagraphCommands::paragraph()
{
    const dialogs::ParagraphLook before = paragraphLook();
    const auto chosen = m_host.askParagraph(before, m_engine.fontSize() * kTwipsPerPoint);
    if (!chosen || *chosen == before)
        return Result::Unchanged;
    applyParagraph(before, *chosen);
    return Result::Changed;
}

ParagraphCommands::Result ParagraphCommands::list()
{
    const dialogs::ListLook before = listLook();
    std::optional<dialogs::ListLook> chosen = m_host.askList(before);
    if (chosen && chosen->kind <= engine::kNoList)
        chosen->level = before.level; // paragraphs in no list have no level
    if (!chosen || *chosen == before)
        return Result::Unchanged;
    applyList(before, *chosen);
    return Result::Changed;
}

dialogs::ParagraphLook ParagraphCommands::paragraphLook() const
{
    dialogs::ParagraphLook look;
    look.alignment = m_engine.paragraphAlignment();
    for (const auto& [value, length] : kLengths)
        look.*length = m_engine.paragraphValue(value);
    return look;
}

dialogs::ListLook ParagraphCommands::listLook() const
{
    return {m_engine.listAttribute(), std::max(m_engine.listLevel(), 1)};
}

void ParagraphCommands::applyParagraph(const dialogs::ParagraphLook& from, const dialogs::ParagraphLook& to)
{
    const engine::TextEngine::CompoundEdit edit(m_engine);
    if (to.alignment != from.alignment)
        m_engine.setParagraphAlignment(to.alignment);
    for (const auto& [value, length] : kLengths)
        if (to.*length != from.*length)
            m_engine.setParagraphValue(value, to.*length);
}

// A new kind makes the selection one list of it, at the level chosen.
void ParagraphCommands::applyList(const dialogs::ListLook& from, const dialogs::ListLook& to)
{
    const engine::TextEngine::CompoundEdit edit(m_engine);
    if (to.kind != from.kind)
        m_engine.setListAttribute(to.kind);
    if (to.kind > engine::kNoList && (to.kind != from.kind || to.level != from.level))
        m_engine.setListLevel(to.level);
}

} // namespace editor
