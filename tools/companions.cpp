#include "tools/companions.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace tools {

const CompanionInfo* companionInfo(int index)
{
    static const std::array<CompanionInfo, kCompanionCount> table = {{
        {QStringLiteral("Tolvix"), QStringLiteral("画像")},
        {QStringLiteral("Marneth"), QStringLiteral("ｸﾞﾗﾌ")},
        {QStringLiteral("Selbrin"), QStringLiteral("ﾁｬｰﾄ")},
        {QStringLiteral("Korvane"), QStringLiteral("FTP")},
        {QStringLiteral("Pendrel"), QStringLiteral("宛名")},
        {QStringLiteral("Wystane"), QStringLiteral("文書ﾃﾞｰﾀｰﾍﾞｰｽ")},
    }};
    if (index < 0 || index >= kCompanionCount)
        return nullptr;
    return &table[size_t(index)];
}

bool namesExecutable(const QString& path, const QString& name)
{
    const QString file = QFileInfo(path).fileName();
    return file.compare(name, Qt::CaseInsensitive) == 0
        || file.compare(name + QStringLiteral(".exe"), Qt::CaseInsensitive) == 0;
}

QString executableIn(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    for (const QString& candidate : {name, name + QStringLiteral(".exe")}) {
        if (QFileInfo(dir.filePath(candidate)).isFile())
            return dir.filePath(candidate);
    }
    const QStringList files = dir.entryList(QDir::Files);
    for (const QString& file : files) {
        if (namesExecutable(file, name))
            return dir.filePath(file);
    }
    return dir.filePath(name);
}

} // namespace tools
