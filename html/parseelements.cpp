#include "html/passes.h"

#include "env/mclt.h"
#include "env/textcompare.h"
#include "html/fontfamilies.h"
#include "html/htmlstrings.h"
#include "html/links.h"

#include <QHash>
#include <QStringTokenizer>
#include <algorithm>
#include <array>

namespace html {

namespace {

// Puts every tag on a piece of its own (CR before "<", CR after ">"), writes
// "<br />" as "<br>", joins the engine's CR LF lines, names the body font
// for the engine's stand-in 'Arial', and hides ideographic spaces behind the
// placeholder. A placeholder character already in the text is kept as a
// character reference, so it does not come back as a space.
// One pass that copies the text between the characters it changes: a long
// document is millions of characters.
QString tokenised(QString body, const QString& bodyFont)
{
    const QStringView text(body);
    const QString font = u'\'' + QString(bodyFont)
                                        .replace(QChar(spacePlaceholder), QStringLiteral("&#8567;"))
                                        .replace(QChar(ideographicSpace), QChar(spacePlaceholder))
        + u'\'';
    QString out;
    out.reserve(text.size() + text.size() / 4);
    qsizetype copied = 0;
    const auto replace = [&](qsizetype at, qsizetype length, QStringView by) {
        out += text.sliced(copied, at - copied);
        out += by;
        copied = at + length;
        return copied;
    };
    const QChar placeholder(spacePlaceholder);
    for (qsizetype i = 0; i < text.size();) {
        switch (text[i].unicode()) {
        case u'<':
            i = text.sliced(i).startsWith(u"<br />") ? replace(i, 6, u"\r<br>\r") : replace(i, 1, u"\r<");
            break;
        case u'>': i = replace(i, 1, u">\r"); break;
        case u'\r': i = i + 1 < text.size() && text[i + 1] == u'\n' ? replace(i, 2, {}) : i + 1; break;
        case u'\'': i = text.sliced(i).startsWith(u"'Arial'") ? replace(i, 7, font) : i + 1; break;
        case spacePlaceholder: i = replace(i, 1, u"&#8567;"); break;
        case ideographicSpace: i = replace(i, 1, QStringView(&placeholder, 1)); break;
        default: ++i; break;
        }
    }
    out += text.sliced(copied);
    return out;
}

// CSS ignores the case of ASCII letters only: a full-width font name such as
// ＭＳ Ｐゴシック lower-cased is another name that no machine has.
QString asciiLower(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return out;
}

// A shaded paragraph's start tag as ShadePara writes it: the paragraph with
// the declarations of its layout, then a span with the rest. CR separates
// the pieces, so the span and its closing tags become elements of their own.
QString shadedStart(QStringView startTag)
{
    const QString style = mClt::sBetween(startTag.toString(), u"style=\"", u"\"");
    QString paragraph;
    QString span;
    for (QStringView declaration : QStringView(style).split(u';')) {
        const QString lower = asciiLower(declaration);
        if (lower.isEmpty())
            continue;
        const bool layout = lower.contains(QStringLiteral("text-align")) || lower.contains(QStringLiteral("margin-"))
            || lower.contains(QStringLiteral("line-height"));
        (layout ? paragraph : span) += lower + u';';
    }
    return QStringLiteral("<p style=\"") + paragraph + QStringLiteral("\">\r<span style=\"") + span
        + QStringLiteral("\">\r");
}

constexpr QStringView shadedEnd = u"\r</span>\r</p>";

// Rewrites every paragraph whose start tag carries a background colour with
// ShadePara; the rest of the text is copied as it is.
QString shadedParagraphs(const QString& text)
{
    const QString marker = QStringLiteral("background-color");
    const qsizetype first = text.indexOf(marker, 0, Qt::CaseInsensitive);
    if (first < 0)
        return text;
    QString out;
    // A rewritten paragraph grows by its span's tags only.
    out.reserve(text.size() + text.size() / 8);
    // A document shades its paragraphs in a few ways only.
    QHash<QStringView, QString> starts;
    qsizetype copied = 0;
    qsizetype from = 0;
    for (qsizetype hit = first; hit >= 0;
         hit = text.indexOf(marker, from, Qt::CaseInsensitive)) {
        from = hit + marker.size();
        const qsizetype open = text.lastIndexOf(u'<', hit);
        const qsizetype tagEnd = text.indexOf(u'>', open);
        if (open < copied || !QStringView(text).sliced(open).startsWith(u"<p") || tagEnd < hit)
            continue;
        const qsizetype closeLength = 4;
        const qsizetype close = text.indexOf(u"</p>", open, Qt::CaseInsensitive);
        if (close < 0)
            continue;
        const QStringView startTag = QStringView(text).sliced(open, tagEnd + 1 - open);
        auto start = starts.find(startTag);
        if (start == starts.end())
            start = starts.insert(startTag, shadedStart(startTag));
        out += QStringView(text).sliced(copied, open - copied);
        out += *start + QStringView(text).sliced(tagEnd + 1, close - tagEnd - 1) + shadedEnd;
        copied = close + closeLength;
        // The rewritten paragraph holds the shading again, in its span: go on
        // behind it.
        from = copied + 4;
    }
    out += QStringView(text).sliced(copied);
    return out;
}

void extractStyle(HtmElement& e)
{
    // Markup is ASCII; a value in full-width letters is not the attribute.
    const qsizetype at = e.attributes.indexOf(u"style=", 0, Qt::CaseInsensitive);
    if (at >= 0) {
        const qsizetype valueStart = at + 7;
        const qsizetype quote = e.attributes.indexOf(u'"', valueStart);
        const qsizetype valueEnd = quote < 0 ? e.attributes.size() : quote;
        e.style = mClt::trimSpaces(QStringView(e.attributes).sliced(
            std::min(valueStart, e.attributes.size()), std::max<qsizetype>(0, valueEnd - valueStart)));
        const QString after = quote < 0 ? QString() : e.attributes.mid(quote + 1);
        e.attributes = mClt::trimSpaces(QString(e.attributes.left(at) + mClt::trimSpaces(after)));
    }
    if (e.name == u"img") {
        e.attributes = mClt::trimSpaces(e.attributes);
        if (e.attributes.endsWith(u'/'))
            e.attributes = mClt::trimSpaces(e.attributes.chopped(1));
    }
}

// The names the engine writes, shared: made anew, each of a long document's
// elements would allocate its name and free it again.
QString sharedName(QStringView name)
{
    static const std::array<QString, 26> names = {
        QStringLiteral("div"),  QStringLiteral("/div"),  QStringLiteral("p"),     QStringLiteral("/p"),
        QStringLiteral("span"), QStringLiteral("/span"), QStringLiteral("a"),     QStringLiteral("/a"),
        QStringLiteral("br"),   QStringLiteral("img"),   QStringLiteral("li"),    QStringLiteral("/li"),
        QStringLiteral("ul"),   QStringLiteral("/ul"),   QStringLiteral("ol"),    QStringLiteral("/ol"),
        QStringLiteral("td"),   QStringLiteral("/td"),   QStringLiteral("tr"),    QStringLiteral("/tr"),
        QStringLiteral("table"), QStringLiteral("/table"), QStringLiteral("h1"), QStringLiteral("/h1"),
        QStringLiteral("hr"),   QStringLiteral("body"),
    };
    if (name.isEmpty())
        return {};
    const auto known = std::find_if(names.begin(), names.end(), [name](const QString& candidate) {
        return candidate.size() == name.size() && candidate.front() == name.front() && candidate == name;
    });
    return known != names.end() ? *known : name.toString();
}

// A tag's name: from `from` to the first space, without ">". Read straight
// from the tag, since its attribute values may hold anything.
QString tagName(const QString& raw, qsizetype from)
{
    const qsizetype space = raw.indexOf(u' ', from);
    QStringView name = QStringView(raw).sliced(from, (space < 0 ? raw.size() : space) - from);
    // A tag without attributes ends its name with ">".
    if (name.endsWith(u'>'))
        name.chop(1);
    if (name.contains(u'>'))
        return sharedName(name.toString().remove(u'>'));
    return sharedName(name);
}

HtmElement classified(const QString& raw)
{
    HtmElement e;
    e.raw = raw;
    if (raw.startsWith(QStringLiteral("</"))) {
        e.name = tagName(raw, 1);
        e.container = -1;
    } else if (raw.startsWith(u'<')) {
        e.name = tagName(raw, 1);
        e.container = (e.name == u"br" || e.name == u"img" || e.name == u"hr") ? 0 : 1;
        const qsizetype space = raw.indexOf(u' ');
        if (space >= 0) {
            e.attributes = raw.mid(space + 1);
            if (!e.attributes.endsWith(u'"'))
                e.attributes.chop(1);
        }
        if (e.name != u"###")
            extractStyle(e);
    } else {
        e.name = QStringLiteral("val");
    }
    return e;
}

// Declarations the engine writes for values every paragraph has anyway.
QStringList defaultDeclarations(float lineSpacing)
{
    const int percent = int(100.0f * lineSpacing);
    return {QStringLiteral("text-indent:0pt;"), QStringLiteral("margin-left:0pt;"),
            QStringLiteral("margin-top:0pt;"), QStringLiteral("margin-bottom:0pt;"),
            QStringLiteral("margin-right:0pt;"), QStringLiteral("line-height:100%;"),
            QStringLiteral("line-height:%1%;").arg(percent)};
}

// What a function of a style text gave for each style, for the few styles
// the engine writes thousands of times.
class StyleMemo {
public:
    // Replaces `style` by what `make` gives for it.
    template <typename Make>
    void apply(QString& style, Make make)
    {
        const auto found = m_results.constFind(style);
        if (found != m_results.cend()) {
            style = *found;
            return;
        }
        QString result = make(style);
        // A document of styles that never repeat gains nothing from keeping them.
        if (m_results.size() < kMaxKept)
            m_results.insert(style, result);
        style = std::move(result);
    }

    void clear() { m_results.clear(); }

private:
    static constexpr qsizetype kMaxKept = 4096;
    QHash<QString, QString> m_results;
};

// Drops the default declarations and names a generic family after the fonts.
class StyleCleaner {
public:
    explicit StyleCleaner(float lineSpacing) : m_defaults(defaultDeclarations(lineSpacing)) {}

    void clean(QString& style)
    {
        if (!style.isEmpty())
            m_memo.apply(style, [this](QString text) { return cleaned(std::move(text)); });
    }

private:
    QString cleaned(QString style) const
    {
        for (const QString& d : m_defaults)
            style.remove(d);
        return mClt::trimSpaces(withGenericFamilies(style).replace(QStringLiteral("  "), QStringLiteral(" ")));
    }

    QStringList m_defaults;
    StyleMemo m_memo;
};

// Gives direct children of the body the body's look.
class BodyLook {
public:
    void merge(QString& style, const QString& bodyStyle)
    {
        if (bodyStyle != m_bodyStyle) {
            m_memo.clear();
            m_bodyStyle = bodyStyle;
        }
        m_memo.apply(style, [&bodyStyle](QString merged) {
            MergeStyle(merged, bodyStyle);
            return merged;
        });
    }

private:
    QString m_bodyStyle;
    StyleMemo m_memo;
};

// What each kind of element needs before the passes see it.
void applyNameRules(HtmElement& e, QString& bodyStyle, const QString& baseAddress)
{
    if (e.name == u"a") {
        DropProp(e.style, u"color");
        e.attributes = LinkAttributes(e.attributes, baseAddress);
    } else if (e.name == u"body") {
        DropProp(e.style, u"background-color");
        bodyStyle = e.style;
        e.style.clear();
    } else if (e.name == u"img") {
        DropProp(e.attributes, u"title");
    } else if (e.name == u"p") {
        e.name = QStringLiteral("div");
    } else if (e.name == u"/p") {
        e.name = QStringLiteral("/div");
        e.raw = QStringLiteral("</div>");
    } else if (e.name == u"table") {
        e.attributes = env::textReplace(e.attributes, u"cellspacing=\"0\"", QString());
        e.attributes = env::textReplace(e.attributes, u"cellpadding=\"0\"", QString());
        e.attributes = mClt::trimSpaces(e.attributes);
        DropProp(e.attributes, u"cols");
    }
}

bool isBlank(const HtmElement& e)
{
    return e.name == u"val" && mClt::trimSpaces(e.raw).isEmpty();
}

// Spaces between a block tag and its neighbour only lay out the markup.
void dropLayoutSpaces(ElementList& list)
{
    const auto blockAt = [&list](size_t i) { return i < list.size() && isBlockTag(list[i].name); };
    std::vector<bool> layout(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        layout[i] = isBlank(list[i]) && ((i > 0 && blockAt(i - 1)) || blockAt(i + 1));
    // Compacted in place: a second list would hold every element twice.
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (!layout[i])
            list[kept++] = std::move(list[i]);
    }
    list.resize(kept);
}

// How many non-empty pieces the CR separators cut the text into.
size_t pieceCount(QStringView text)
{
    size_t count = 0;
    for (QStringView piece : qTokenize(text, u'\r'))
        count += piece.isEmpty() ? 0 : 1;
    return count;
}

} // namespace

QString ShadePara(QStringView startTag, QStringView inner)
{
    return shadedStart(startTag) + inner + shadedEnd;
}

ElementList ParseElements(QString body, const ParseContext& context)
{
    const QString text = shadedParagraphs(tokenised(std::move(body), context.bodyFont));
    StyleCleaner cleaner(context.lineSpacing);
    BodyLook bodyLook;
    ElementList list;
    // Counted exactly: growing a list of a million elements holds it twice.
    list.reserve(pieceCount(text));
    int depth = 0;
    QString bodyStyle;
    for (QStringView piece : qTokenize(text, u'\r')) {
        // Spaces in a text run are the document's own; only tags are trimmed.
        const QString raw = piece.startsWith(u'<') ? mClt::trimSpaces(piece) : piece.toString();
        if (raw.isEmpty())
            continue;
        HtmElement e = classified(raw);
        cleaner.clean(e.style);
        depth += e.container;
        // Direct children of the body carry the body's look themselves.
        if (e.container == 1 && depth == 2 && !bodyStyle.isEmpty())
            bodyLook.merge(e.style, bodyStyle);
        applyNameRules(e, bodyStyle, context.baseAddress);
        list.push_back(std::move(e));
    }
    dropLayoutSpaces(list);
    return list;
}

} // namespace html
