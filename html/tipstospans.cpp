#include "html/passes.h"

#include "env/mclt.h"
#include "env/textcompare.h"

#include <QHash>

namespace html {

namespace {

// The document's tool-tip table: one line per tool tip, its visible text,
// TAB, the tip, CR. The first line for a text wins.
QHash<QString, QString> tipsByText(const QString& sTP)
{
    QHash<QString, QString> tips;
    for (QStringView line : qTokenize(sTP, u'\r')) {
        const qsizetype tab = line.indexOf(u'\t');
        const QString text = line.left(tab).toString();
        if (tab >= 0 && !tips.contains(text))
            tips.insert(text, line.sliced(tab + 1).toString());
    }
    return tips;
}

// The characters a text run stands for, as the editor's table holds them.
QString plainText(const QString& raw)
{
    QString text = raw;
    text.replace(QChar(spacePlaceholder), QChar(ideographicSpace));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral("\u00A0"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

void TipsToSpans(ElementList& list, const QString& tipStyle, const QString& sTP)
{
    const QHash<QString, QString> tips = tipsByText(sTP);
    for (qsizetype i = FindElem(list, -1, u"a"); i >= 0; i = FindElem(list, i, u"a")) {
        HtmElement& link = list[size_t(i)];
        // An empty anchor that names a link target is where in-page links
        // lead, not an empty link.
        const bool target = env::textContains(link.attributes, u"name=\"") && !env::textContains(link.attributes, u"href=");
        if (!target && size_t(i + 1) < list.size() && list[size_t(i + 1)].name == u"/a") {
            link.removed = true;
            list[size_t(i + 1)].removed = true;
            continue;
        }
        if (!env::textContains(link.attributes, u"href=\"#TP_"))
            continue;
        const qsizetype textAt = FindElem(list, i, u"val");
        if (textAt < 0)
            return;
        const QString linkText = list[size_t(textAt)].raw;
        const auto known = tips.constFind(plainText(linkText));
        const QString tip = known != tips.constEnd() ? known->toHtmlEscaped()
                                                     : mClt::sBetween(link.attributes, u"#TP_", u"\"");
        link.name = QStringLiteral("span");
        link.raw = QStringLiteral("<span>");
        link.attributes = QStringLiteral("title=\"") + QString(linkText).replace(u'"', QStringLiteral("&quot;"))
            + QStringLiteral(" : ") + tip + u'"';
        link.style = tipStyle;
        const qsizetype close = FindElem(list, i, u"/a");
        if (close < 0)
            return;
        list[size_t(close)].name = QStringLiteral("/span");
        list[size_t(close)].raw = QStringLiteral("</span>");
    }
}

} // namespace html
