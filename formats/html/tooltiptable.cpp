#include "formats/html/tooltiptable.h"

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "formats/html/fielddata.h"

#include <QTextCursor>
#include <QTextFormat>

namespace formats {

QString toolTipTable(QTextDocument& document)
{
    const engine::Fields fields(document);
    QString table;
    for (const engine::FieldRun& run : fields.runs()) {
        const QString data = fields.format(run).stringProperty(engine::FieldData);
        if (fieldKind(data) != FieldKind::ToolTip)
            continue;
        QTextCursor text(&document);
        text.setPosition(run.start);
        text.setPosition(run.end, QTextCursor::KeepAnchor);
        table += text.selectedText() + u'\t' + data.mid(3) + u'\r';
    }
    return table;
}

} // namespace formats
