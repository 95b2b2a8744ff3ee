#include "env/settingsgroups.h"

namespace env::settingsgroups {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString openTag(const QString& name) { return u'<' + name + u'>'; }
QString closeTag(const QString& name) { return QStringLiteral("</") + name + u'>'; }

// Where the inside of group `name` starts and ends in `text`.
std::optional<std::pair<qsizetype, qsizetype>> insideSpan(const QString& text, const QString& name)
{
    const qsizetype p1 = text.indexOf(openTag(name));
    if (p1 < 0)
        return std::nullopt;
    const qsizetype s = p1 + name.size() + 4;   // after the line break that follows
    const qsizetype p2 = s <= text.size() ? text.indexOf(closeTag(name), s) : -1;
    if (p2 < 0)
        return std::nullopt;
    return std::pair{s, p2};
}

} // namespace

QStringList names(const QString& text, const QString& root)
{
    QStringList found;
    const qsizetype start = text.indexOf(openTag(root));
    if (start < 0)
        return found;
    qsizetype pos = start + root.size() + 2;
    for (;;) {
        const qsizetype open = text.indexOf(u'<', pos);
        const qsizetype end = open < 0 ? -1 : text.indexOf(u'>', open);
        if (end < 0)
            break;
        const QString name = text.mid(open + 1, end - open - 1);
        if (name == u'/' + root)
            break;
        if (name.startsWith(u'/')) {   // a closing tag without its opening one
            pos = end + 1;
            continue;
        }
        if (!found.contains(name))
            found.append(name);
        // A group's values are not groups: the search goes on after its closing tag.
        const qsizetype close = text.indexOf(closeTag(name), end);
        pos = close < 0 ? end + 1 : close + name.size() + 3;
    }
    return found;
}

std::optional<QString> inside(const QString& text, const QString& name)
{
    const auto span = insideSpan(text, name);
    if (!span)
        return std::nullopt;
    return text.mid(span->first, span->second - span->first);
}

void put(QString& text, const QString& name, const QString& newInside, const QString& block, const QString& root)
{
    if (const auto span = insideSpan(text, name)) {
        text = text.left(span->first) + newInside + text.mid(span->second);
        return;
    }
    const qsizetype q = text.indexOf(closeTag(root));
    if (q >= 0) {
        text.insert(q, block);
        return;
    }
    if (!text.endsWith(kCrLf))
        text += kCrLf;
    text += block + closeTag(root);
}

QString merged(const QString& disk, const QString& loaded, const QString& mine, const QString& root)
{
    QString text = disk;
    for (const QString& name : names(mine, root)) {
        const std::optional<QString> ours = inside(mine, name);
        if (ours && ours != inside(loaded, name))
            put(text, name, *ours, QStringLiteral("   ") + openTag(name) + kCrLf + *ours + closeTag(name) + kCrLf, root);
    }
    return text;
}

} // namespace env::settingsgroups
