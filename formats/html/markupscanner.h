#pragma once
// Cuts HTML text into tokens — text runs, start tags with their attributes,
// end tags and everything else (comments, declarations, processing
// instructions) — without building a tree. Every character of the input
// belongs to exactly one token, so the input can be rewritten token by token.
// The contents of script, style, title and textarea elements are one text
// token each. The scan is linear and never fails: a "<" that starts no tag
// is text, an unterminated tag runs to the end of the input.

#include <QList>
#include <QString>
#include <QStringView>
#include <vector>

namespace formats {

struct MarkupAttribute {
    QString name;  // lower case
    QString value; // as written, entities not decoded, quotes removed
    bool quoted = true;
};

struct MarkupToken {
    enum Kind { Text, StartTag, EndTag, Other };
    Kind kind = Text;
    qsizetype start = 0;  // position in the input
    qsizetype length = 0;
    QString name;         // tags: lower case
    QList<MarkupAttribute> attributes;
    bool selfClosing = false;

    const MarkupAttribute* attribute(QStringView attributeName) const;
};

// The tokens one at a time, for a scan that keeps none of them.
class MarkupReader {
public:
    explicit MarkupReader(QStringView text);
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next token; only when not atEnd().
    MarkupToken next();
    // Where the next token starts.
    qsizetype position() const { return m_pos; }

private:
    QChar at(qsizetype i) const;
    MarkupToken text();
    MarkupToken markup();
    MarkupToken skipTo(QStringView end, qsizetype from);
    void skipPast(QChar c);
    QString name();
    MarkupToken startTag();
    MarkupAttribute attribute();
    MarkupToken rawContent();

    QStringView m_text;
    qsizetype m_pos = 0;
    QString m_rawElement; // a raw-content element just opened
};

std::vector<MarkupToken> scanMarkup(QStringView text);

// Attribute or text content with the character references resolved: the
// XML five, &nbsp; and numeric references; others are kept as written.
QString decodeEntities(QStringView text);

// `text` escaped for a double-quoted attribute value.
QString attributeText(QStringView text);

} // namespace formats
