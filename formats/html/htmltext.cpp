#include "formats/html/htmltext.h"

namespace formats {

namespace {

// Browsers look for the declaration this far into a file.
constexpr qsizetype kPrescanBytes = 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The value after `name` in `text` (name, optional spaces, "=", a value
// quoted or ending at a space, ";", ">" or a quote, as inside a content
// attribute), "" when `name` is not there.
QByteArray valueAfter(const QByteArray& text, const char* name)
{
    qsizetype at = text.indexOf(name);
    if (at < 0)
        return {};
    at += qsizetype(qstrlen(name));
    while (at < text.size() && isSpace(text[at]))
        ++at;
    if (at >= text.size() || text[at] != '=')
        return {};
    ++at;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    const bool quoted = at < text.size() && (text[at] == '"' || text[at] == '\'');
    const char quote = quoted ? text[at++] : '\0';
    qsizetype end = at;
    const auto ends = [&](char c) { return quoted ? c == quote : isSpace(c) || QByteArrayView(";>\"'").contains(c); };
    while (end < text.size() && !ends(text[end]))
        ++end;
    return text.mid(at, end - at).trimmed();
}

QByteArray xmlDeclarationEncoding(const QByteArray& head)
{
    const QByteArray start = head.trimmed();
    if (!start.startsWith("<?xml"))
        return {};
    return valueAfter(start.left(start.indexOf("?>")), "encoding");
}

QByteArray metaCharset(const QByteArray& head)
{
    for (qsizetype at = head.indexOf("<meta"); at >= 0; at = head.indexOf("<meta", at + 1)) {
        const qsizetype end = head.indexOf('>', at);
        const QByteArray charset = valueAfter(head.mid(at, end < 0 ? -1 : end - at), "charset");
        if (!charset.isEmpty())
            return charset;
    }
    return {};
}

} // namespace

QByteArray declaredCharset(QByteArrayView bytes)
{
    const QByteArray head = bytes.first(std::min(bytes.size(), kPrescanBytes)).toByteArray().toLower();
    const QByteArray fromXml = xmlDeclarationEncoding(head);
    return fromXml.isEmpty() ? metaCharset(head) : fromXml;
}

engine::DecodedText decodeHtml(const QByteArray& bytes)
{
    engine::DecodedText decoded = engine::decodeText(bytes, engine::TextMarkup::Html, declaredCharset(bytes));
    decoded.text.remove(QChar(0));
    return decoded;
}

} // namespace formats
