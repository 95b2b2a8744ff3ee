#pragma once
// The styles part (word/styles.xml): document defaults, paragraph and
// character styles with their basedOn chains, resolved into the direct
// formats the engine keeps. A paragraph style that is a heading (see
// word::headingLevelOf) gives its level; the other styles leave only their
// formats behind. Table styles give their basic look (docxtablelook.h);
// latent styles are not read.

#include "formats/docx/docxproperties.h"
#include "formats/docx/docxtablelook.h"

#include <QByteArray>
#include <QHash>

namespace formats::docx {

struct ResolvedParagraphStyle {
    QTextBlockFormat block;
    QTextCharFormat characters; // what runs of the paragraph start from
    int headingLevel = 0;
    std::optional<ListMembership> list;
};

class StyleSheet {
public:
    void read(const QByteArray& xml);

    // The paragraph style `styleId` ("" or unknown: the default paragraph
    // style) over the document defaults.
    ResolvedParagraphStyle paragraphStyle(const QString& styleId) const;
    // The character style `styleId` with its chain; empty when unknown.
    QTextCharFormat characterStyle(const QString& styleId) const;
    // The table style `styleId` with its chain ("" or unknown: the default
    // table style).
    TableLook tableStyle(const QString& styleId) const;

private:
    enum class Kind { Paragraph, Character, Table };
    struct Style {
        QString name;
        QString basedOn;
        Kind kind = Kind::Paragraph;
        ParagraphProperties paragraphProperties;
        QTextCharFormat characters;
        TableLook table;
    };

    void readTableCellProperties(QXmlStreamReader& reader, Style& style);

    void readStyle(QXmlStreamReader& reader);
    void readDefaults(QXmlStreamReader& reader);
    // The chain from `styleId` up to its root, nearest first; cycles and
    // over-long chains are cut.
    std::vector<const Style*> chainOf(const QString& styleId) const;

    QHash<QString, Style> m_styles;
    QString m_defaultParagraphStyle;
    QString m_defaultTableStyle;
    QTextCharFormat m_defaultCharacters;
    QTextBlockFormat m_defaultBlock;
};

} // namespace formats::docx
