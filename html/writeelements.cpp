#include "html/passes.h"

#include "env/mclt.h"

namespace html {

namespace {

// Names after which closing an unmatched tag also ends the line. The test is
// a substring test, so a, b, i and u count as well.
const QString blockNames = QStringLiteral(".h1.h3.h5.p.ol.ul.table.tr.td.div.body.html");

// The level SetLevels gives span, a and img.
constexpr int inlineLevel = 4;

bool endsWithLineBreak(const QString& out)
{
    qsizetype end = out.size();
    while (end > 0 && out[end - 1] == u' ')
        --end;
    return QStringView(out).left(end).endsWith(u"\r\n");
}

// Appends `text` inline (level < 0) or on a line of its own indented by level.
void put(QString& out, const QString& text, int level)
{
    if (level >= 0) {
        if (!endsWithLineBreak(out))
            out += QStringLiteral("\r\n");
        out.resize(out.size() + 2 * level, u' ');
    }
    out += text;
}

// Closes the open tag `name`; a closing tag that does not close the innermost
// open tag closes every open tag in turn until it has closed its own.
void close(QString& out, std::vector<QString>& open, QStringView name)
{
    const auto isInnermost = [&] { return !open.empty() && name.compare(open.back(), Qt::CaseInsensitive) == 0; };
    if (isInnermost()) {
        open.pop_back();
        return;
    }
    while (!open.empty()) {
        const QString tag = open.back();
        open.pop_back();
        out += QStringLiteral("</") + tag + u'>';
        if (blockNames.contains(tag))
            out += QStringLiteral("\r\n");
        if (isInnermost()) {
            open.pop_back();
            return;
        }
    }
}

// The name without its slashes; a view where the slash leads, as in the
// hundreds of thousands of end tags of a long document.
QStringView withoutSlashes(const QString& name, QString& storage)
{
    const QStringView rest = name.startsWith(u'/') ? QStringView(name).sliced(1) : QStringView(name);
    if (!rest.contains(u'/'))
        return rest;
    storage = rest.toString().remove(u'/');
    return storage;
}

QString startTag(QStringView name, const HtmElement& e)
{
    QString tag = u'<' + name + u' ' + mClt::trimSpaces(e.attributes);
    if (!e.cls.isEmpty())
        tag += QStringLiteral(" class=\"") + e.cls + u'"';
    QString written = mClt::trimSpaces(tag) + u'>';
    return written.replace(QStringLiteral("  "), QStringLiteral(" "));
}

} // namespace

// Inline elements (span, a, img) get lines of their own only behind a block
// tag: behind text or another inline element the line break would be read
// as a space the document does not have.
QString WriteElements(const ElementList& list)
{
    QString out;
    std::vector<QString> open{QStringLiteral("html")};
    bool afterInline = false;
    for (const HtmElement& e : list) {
        if (e.removed)
            continue;
        if (e.name == u"###") {
            out += QStringLiteral("\r\n") + e.attributes;
            afterInline = false;
            continue;
        }
        QString storage;
        const QStringView name = withoutSlashes(e.name, storage);
        const int level = afterInline && e.level == inlineLevel ? -1 : e.level;
        if (name != u"img" && e.container != 1) {
            if (e.container == -1)
                close(out, open, name);
            put(out, e.raw, level);
        } else {
            // Shared, not copied, when there is no slash to take out.
            if (name != u"img")
                open.push_back(name.size() == e.name.size() ? e.name : name.toString());
            put(out, startTag(name, e), level);
        }
        afterInline = !isBlockTag(e.name);
    }
    return out;
}

} // namespace html
