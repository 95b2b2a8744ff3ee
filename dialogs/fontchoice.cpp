#include "dialogs/fontchoice.h"

#include "engine/textengine.h"
#include "env/dialogs.h"

#include <QFont>

namespace dialogs {

bool chooseFont(engine::TextEngine& engine)
{
    QFont current(engine.fontName());
    current.setPointSizeF(engine.fontSize());
    current.setBold(engine.bold());
    current.setItalic(engine.italic());
    current.setUnderline(engine.underline());
    current.setStrikeOut(engine.strikeOut());
    const std::optional<QFont> chosen = env::dialogs().font(current);
    if (!chosen)
        return false;
    engine.setFontName(chosen->family());
    engine.setFontSize(chosen->pointSizeF());
    engine.setBold(chosen->bold());
    engine.setItalic(chosen->italic());
    engine.setUnderline(chosen->underline());
    engine.setStrikeOut(chosen->strikeOut());
    return true;
}

} // namespace dialogs
