#include "dialogs/fontchoice.h"

#include "dialogs/fontform.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"

namespace dialogs {

namespace {

constexpr int kNoBackground = 0xFFFFFF; // what the engine reports without one

// The engine reports no colour as black text and white background: those
// are shown as automatic and none, which look the same.
QColor colorOf(int hostColor, int none)
{
    return hostColor == none ? QColor() : engine::colorFromHost(hostColor);
}

int hostColorOf(const QColor& color)
{
    return color.isValid() ? engine::colorToHost(color) : engine::kNoColor;
}

} // namespace

env::FontRequest fontRequestOf(const engine::TextEngine& engine)
{
    const FontForm::Style style = engine.bold() ? (engine.italic() ? FontForm::BoldItalic : FontForm::Bold)
                                                : (engine.italic() ? FontForm::Italic : FontForm::Regular);
    return {FontForm::fontOf(engine.fontName(), engine.fontSize(), style, engine.underline(), engine.strikeOut()),
            colorOf(engine.textColor(), 0), colorOf(engine.backgroundColor(), kNoBackground)};
}

void applyFontRequest(engine::TextEngine& engine, const env::FontRequest& look)
{
    const engine::TextEngine::CompoundEdit edit(engine);
    engine.setFontName(look.font.family());
    engine.setFontSize(look.font.pointSizeF());
    engine.setBold(look.font.weight() >= QFont::Bold);
    engine.setItalic(look.font.italic());
    engine.setUnderline(look.font.underline());
    engine.setStrikeOut(look.font.strikeOut());
    engine.setTextColor(hostColorOf(look.textColor));
    engine.setBackgroundColor(hostColorOf(look.backgroundColor));
}

bool chooseFont(engine::TextEngine& engine)
{
    const env::FontRequest initial = fontRequestOf(engine);
    const std::optional<env::FontRequest> chosen = env::dialogs().font(initial);
    if (!chosen || *chosen == initial)
        return false;
    applyFontRequest(engine, *chosen);
    return true;
}

} // namespace dialogs
