#include "formats/readwarning.h"

namespace formats {

QString readWarning(const QString& fileName, const engine::ReadReport& report)
{
    if (report.unreadableCharacters == 0)
        return {};
    return QStringLiteral("ﾌｧｲﾙ: %1 の %2 文字を読み取れませんでした｡").arg(fileName).arg(report.unreadableCharacters);
}

QString readLimit(const engine::ReadReport& report)
{
    if (report.lineLimit == 0)
        return {};
    return QStringLiteral("ﾃｷｽﾄは %1 行までです｡").arg(report.lineLimit);
}

} // namespace formats
