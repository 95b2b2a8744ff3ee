#include "editor/characterindent.h"

#include "dialogs/frmt.h"
#include "engine/textengine.h"
#include "env/dialogs.h"
#include "env/settingstext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace editor {

namespace {

constexpr int kAskMode = 1;
constexpr int kLessMode = -1;

qint16 toIndent(double twips)
{
    const double limited = std::clamp(std::trunc(twips), double(std::numeric_limits<qint16>::min()),
                                      double(std::numeric_limits<qint16>::max()));
    return qint16(limited);
}

// Why the indent cannot be set here, or "" when it can.
QString refusal(const engine::TextEngine& engine, int bodySize, int documentType)
{
    const double indent = engine.paragraphValue(engine::ParagraphValue::LeftIndent);
    if (engine.fontSize() > bodySize && indent > 0)
        return QStringLiteral("見出し部には、設定できません (Htmではｽﾀｲﾙｼｰﾄで設定します)");
    if (engine.plainText().isEmpty())
        return QStringLiteral("範囲が指定されていません");
    const QString selected = engine.selectedText();
    const bool severalParagraphs = selected.contains(u'\n') || selected.contains(u'\f');
    if (documentType < 1 && severalParagraphs)
        return QStringLiteral("複数の段落にまたがっています");
    return {};
}

} // namespace

bool indentByCharacters(engine::TextEngine& engine, const dialogs::Frmt& formats, int mode, int documentType)
{
    const int bodySize = formats.record(dialogs::kBodyFormat).size;
    if (const QString why = refusal(engine, bodySize, documentType); !why.isEmpty()) {
        env::dialogs().inform(why);
        return false;
    }
    const double character = bodySize * 20.0;
    const double indent = engine.paragraphValue(engine::ParagraphValue::LeftIndent);
    double wanted = std::max(0.0, indent + (mode == kLessMode ? -character : character));
    if (mode == kAskMode) {
        const std::optional<QString> answer = env::dialogs().input(
            QStringLiteral("左ｲﾝﾃﾞﾝﾄの文字数を指定して下さい"), QStringLiteral("字下げ(字上げ)"),
            QString::number(indent / character));
        if (!answer || answer->trimmed().isEmpty())
            return false;
        wanted = env::leadingNumber(*answer) * character;
    }
    const qint16 twips = toIndent(wanted);
    if (twips == indent)
        return false;
    engine.setParagraphValue(engine::ParagraphValue::LeftIndent, twips);
    return true;
}

} // namespace editor
