#include "formats/readwarning.h"

namespace formats {

QStringList readWarnings(const QString& fileName, const engine::ReadReport& report)
{
    QStringList warnings;
    const QString file = QStringLiteral("ﾌｧｲﾙ: ") + fileName + QStringLiteral(" の");
    if (report.unreadableCharacters > 0)
        warnings << file + QStringLiteral(" %1 文字を読み取れませんでした｡").arg(report.unreadableCharacters);
    for (const QString& loss : report.losses)
        warnings << file + loss;
    return warnings;
}

QString readRefusal(const engine::ReadReport& report)
{
    if (report.lineLimit > 0)
        return QStringLiteral("ﾃｷｽﾄは %1 行までです｡").arg(report.lineLimit);
    return report.refusal;
}

} // namespace formats
