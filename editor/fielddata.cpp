#include "editor/fielddata.h"

#include <QStringList>

namespace editor {

FieldData splitFieldData(const QString& data)
{
    for (const QString& kind : {QStringLiteral("TG"), QStringLiteral("TP"), QStringLiteral("DX")}) {
        if (data.startsWith(kind + u'_', Qt::CaseInsensitive))
            return {kind, data.mid(3)};
    }
    return {QStringLiteral("LK"), data};
}

} // namespace editor
