#include "dialogs/recordlook.h"

#include "dialogs/userformat.h"
#include "engine/textengine.h"

#include <cmath>

namespace dialogs {

namespace {

using engine::ParagraphAttribute;
using engine::ParagraphValue;

constexpr std::array<ParagraphAttribute, 4> kAttributes = {ParagraphAttribute::A, ParagraphAttribute::B,
                                                           ParagraphAttribute::C, ParagraphAttribute::D};

qint16 rounded(double value)
{
    return qint16(std::lround(value));
}

} // namespace

void setRecordParagraph(engine::TextEngine& engine, const UserFormat& format)
{
    engine.setParagraphValue(ParagraphValue::LeftIndent, format.leftIndent);
    for (size_t i = 0; i < kSpacingValues.size(); ++i)
        engine.setParagraphValue(kSpacingValues[i], format.spacing[i]);
    engine.setParagraphValue(ParagraphValue::FirstLineIndent, 0);
}

void setRecordCharacters(engine::TextEngine& engine, const UserFormat& format)
{
    engine.setFontName(format.fontName);
    engine.setFontSize(format.size);
    engine.setTextColor(format.textColor);
    engine.setBackgroundColor(format.backgroundColor);
    engine.setBold(format.bold == 1);
    engine.setUnderline(false);
}

void setRecordAttributes(engine::TextEngine& engine, const UserFormat& format)
{
    for (size_t i = 0; i < kAttributes.size(); ++i)
        engine.setParagraphAttribute(kAttributes[i], format.attributes[i]);
}

UserFormat withSelectionParagraph(const engine::TextEngine& engine, UserFormat format)
{
    format.leftIndent = rounded(engine.paragraphValue(ParagraphValue::LeftIndent));
    for (size_t i = 0; i < kSpacingValues.size(); ++i)
        format.spacing[i] = rounded(engine.paragraphValue(kSpacingValues[i]));
    return format;
}

UserFormat withSelectionCharacters(const engine::TextEngine& engine, UserFormat format)
{
    format.fontName = engine.fontName();
    format.size = rounded(engine.fontSize());
    format.textColor = engine.textColor();
    format.backgroundColor = engine.backgroundColor();
    format.bold = engine.bold() ? 1 : 0;
    return format;
}

UserFormat withSelectionAttributes(const engine::TextEngine& engine, UserFormat format)
{
    for (size_t i = 0; i < kAttributes.size(); ++i)
        format.attributes[i] = qint16(engine.paragraphAttribute(kAttributes[i]));
    return format;
}

} // namespace dialogs
