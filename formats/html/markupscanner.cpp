#include "formats/html/markupscanner.h"

#include <algorithm>

namespace formats {

namespace {

bool isNameStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// Elements whose content is not markup.
bool hasRawContent(const QString& name)
{
    return name == u"script" || name == u"style" || name == u"title" || name == u"textarea";
}

} // namespace

MarkupReader::MarkupReader(QStringView text)
    : m_text(text)
{
}

MarkupToken MarkupReader::next()
{
    if (!m_rawElement.isEmpty())
        return rawContent();
    const qsizetype start = m_pos;
    MarkupToken token = m_text[m_pos] == u'<' ? markup() : text();
    token.start = start;
    token.length = m_pos - start;
    if (token.kind == MarkupToken::StartTag && !token.selfClosing && hasRawContent(token.name))
        m_rawElement = token.name;
    return token;
}

QChar MarkupReader::at(qsizetype i) const
{
    return i < m_text.size() ? m_text[i] : QChar();
}

MarkupToken MarkupReader::text()
{
    const qsizetype next = m_text.indexOf(u'<', m_pos + 1);
    m_pos = next < 0 ? m_text.size() : next;
    return {};
}

MarkupToken MarkupReader::markup()
{
    if (m_text.sliced(m_pos).startsWith(u"<!--"))
        return skipTo(u"-->", 4);
    if (at(m_pos + 1) == u'!' || at(m_pos + 1) == u'?')
        return skipTo(u">", 2);
    if (at(m_pos + 1) == u'/' && isNameStart(at(m_pos + 2))) {
        MarkupToken token;
        token.kind = MarkupToken::EndTag;
        m_pos += 2;
        token.name = name();
        skipPast(u'>');
        return token;
    }
    if (isNameStart(at(m_pos + 1)))
        return startTag();
    return text(); // a "<" that starts no tag
}

MarkupToken MarkupReader::skipTo(QStringView end, qsizetype from)
{
    const qsizetype found = m_text.indexOf(end, m_pos + from);
    m_pos = found < 0 ? m_text.size() : found + end.size();
    MarkupToken token;
    token.kind = MarkupToken::Other;
    return token;
}

void MarkupReader::skipPast(QChar c)
{
    const qsizetype found = m_text.indexOf(c, m_pos);
    m_pos = found < 0 ? m_text.size() : found + 1;
}

QString MarkupReader::name()
{
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && !isSpace(m_text[m_pos]) && m_text[m_pos] != u'>' && m_text[m_pos] != u'/'
           && m_text[m_pos] != u'=')
        ++m_pos;
    return m_text.sliced(start, m_pos - start).toString().toLower();
}

MarkupToken MarkupReader::startTag()
{
    MarkupToken token;
    token.kind = MarkupToken::StartTag;
    ++m_pos;
    token.name = name();
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos];
        if (c == u'>') {
            ++m_pos;
            return token;
        }
        if (c == u'/' && at(m_pos + 1) == u'>') {
            token.selfClosing = true;
            m_pos += 2;
            return token;
        }
        if (isSpace(c) || c == u'/' || c == u'=') {
            ++m_pos;
            continue;
        }
        token.attributes.append(attribute());
    }
    return token;
}

MarkupAttribute MarkupReader::attribute()
{
    MarkupAttribute a;
    a.name = name();
    qsizetype look = m_pos;
    while (look < m_text.size() && isSpace(m_text[look]))
        ++look;
    if (at(look) != u'=')
        return a;
    m_pos = look + 1;
    while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
        ++m_pos;
    const QChar quote = at(m_pos);
    if (quote == u'"' || quote == u'\'') {
        const qsizetype close = m_text.indexOf(quote, m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        a.value = m_text.sliced(m_pos + 1, end - m_pos - 1).toString();
        m_pos = close < 0 ? end : end + 1;
        return a;
    }
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && !isSpace(m_text[m_pos]) && m_text[m_pos] != u'>')
        ++m_pos;
    a.value = m_text.sliced(start, m_pos - start).toString();
    a.quoted = false;
    return a;
}

// The content of a script, style, title or textarea element, up to its end
// tag, as one text token; an empty content gives the end tag at once.
MarkupToken MarkupReader::rawContent()
{
    const QString end = QStringLiteral("</") + m_rawElement;
    m_rawElement.clear();
    const qsizetype found = m_text.indexOf(end, m_pos, Qt::CaseInsensitive);
    const qsizetype stop = found < 0 ? m_text.size() : found;
    if (stop == m_pos)
        return next();
    MarkupToken content;
    content.start = m_pos;
    content.length = stop - m_pos;
    m_pos = stop;
    return content;
}

namespace {

std::optional<char32_t> numericReference(QStringView digits)
{
    bool ok = false;
    const uint value = digits.startsWith(u'x', Qt::CaseInsensitive) ? digits.sliced(1).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
    if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return char32_t(value);
}

std::optional<char32_t> namedReference(QStringView name)
{
    static const std::pair<QStringView, char32_t> known[] = {
        {u"amp", U'&'}, {u"lt", U'<'}, {u"gt", U'>'}, {u"quot", U'"'}, {u"apos", U'\''}, {u"nbsp", U'\u00A0'},
    };
    for (const auto& [entity, c] : known) {
        if (name == entity)
            return c;
    }
    return std::nullopt;
}

} // namespace

const MarkupAttribute* MarkupToken::attribute(QStringView attributeName) const
{
    for (const MarkupAttribute& a : attributes) {
        if (a.name == attributeName)
            return &a;
    }
    return nullptr;
}

std::vector<MarkupToken> scanMarkup(QStringView text)
{
    std::vector<MarkupToken> tokens;
    MarkupReader reader(text);
    while (!reader.atEnd())
        tokens.push_back(reader.next());
    return tokens;
}

QString decodeEntities(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype amp = text.indexOf(u'&'); amp >= 0; amp = text.indexOf(u'&', amp + 1)) {
        // A reference is at most 12 characters long; looking further for its
        // ";" made a text of many "&" quadratic.
        const qsizetype window = std::min<qsizetype>(12, text.size() - amp - 1);
        const qsizetype found = text.sliced(amp + 1, window).indexOf(u';');
        if (found < 0)
            continue;
        const qsizetype semicolon = amp + 1 + found;
        const QStringView name = text.sliced(amp + 1, semicolon - amp - 1);
        const std::optional<char32_t> c = name.startsWith(u'#') ? numericReference(name.sliced(1)) : namedReference(name);
        if (!c)
            continue;
        out += text.sliced(copied, amp - copied);
        out += QString::fromUcs4(&*c, 1);
        copied = semicolon + 1;
        amp = semicolon;
    }
    out += text.sliced(copied);
    return out;
}

QString attributeText(QStringView text)
{
    QString out = text.toString();
    out.replace(u'&', QStringLiteral("&amp;")).replace(u'"', QStringLiteral("&quot;"))
        .replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    return out;
}

} // namespace formats
