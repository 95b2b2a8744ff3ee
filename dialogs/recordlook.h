#pragma once
// How a user-format record meets the engine: the paragraph values and the
// character format a record gives a selection, and the same read back from
// one.

#include "engine/paragraphformat.h"

#include <array>

namespace engine {
class TextEngine;
}

namespace dialogs {

struct UserFormat;

// The engine's paragraph values that a record's spacing values 1–4 stand for.
constexpr std::array<engine::ParagraphValue, 4> kSpacingValues = {
    engine::ParagraphValue::SpaceBefore, engine::ParagraphValue::SpaceAfter, engine::ParagraphValue::RightIndent,
    engine::ParagraphValue::Spacing4};

// Left indent and spacing values from the record, no first-line indent.
void setRecordParagraph(engine::TextEngine& engine, const UserFormat& format);
// Font name and size, text and background colour and bold from the record,
// no underline.
void setRecordCharacters(engine::TextEngine& engine, const UserFormat& format);
// The paragraph attributes A–D.
void setRecordAttributes(engine::TextEngine& engine, const UserFormat& format);

// `format` with the selection's values read into the same fields (sizes
// rounded to whole points, lengths to whole twips).
UserFormat withSelectionParagraph(const engine::TextEngine& engine, UserFormat format);
UserFormat withSelectionCharacters(const engine::TextEngine& engine, UserFormat format);
UserFormat withSelectionAttributes(const engine::TextEngine& engine, UserFormat format);

} // namespace dialogs
