#pragma once
// The inline styles of the engine's HTML export: what a paragraph's <p style>
// and a character run's <span style> say about the engine's formats.
//
// A paragraph always states its four margins and first-line indent (zero as
// "0pt", which the dialect writer drops), its line height as a whole
// percentage of its font size, and its font; alignment, shading and page
// breaks only when set. A run states only what differs from its paragraph.

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>

class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextFragment;

namespace formats {

// The font a paragraph is set in: its own character format's families and
// size, else those of its first run, else the font of text without its own
// (`standard`).
struct ParagraphFont {
    QStringList families; // in their order, the first one the font's name
    double size = 10.0;   // points

    static ParagraphFont of(const QTextBlock& block, const ParagraphFont& standard);
    // A font as a paragraph font.
    static ParagraphFont of(const QFont& font);
};

// "center", "right" or "justify"; empty for the usual left alignment.
QString alignmentName(Qt::Alignment alignment);

// "margin-left:…pt;margin-top:…pt;…" for a <p> or <li> style attribute.
QString paragraphStyle(const QTextBlock& block, const ParagraphFont& font);

// The styles of one document's paragraphs and runs, each made once: a long
// document has a few formats and fonts, repeated over thousands of
// paragraphs.
class StyleCache {
public:
    QString paragraph(const QTextBlock& block, const ParagraphFont& font);
    QString run(const QTextFragment& fragment, const QTextBlock& block, const ParagraphFont& font);

private:
    struct Key {
        int format;          // the block's or the run's format, by its index in the document
        int paragraphFormat; // for a run, its block's format
        QStringList families;
        double size;
        friend bool operator==(const Key&, const Key&) = default;
        friend size_t qHash(const Key& key, size_t seed = 0)
        {
            return qHashMulti(seed, key.format, key.paragraphFormat, key.families, key.size);
        }
    };
    QHash<Key, QString> m_paragraphs;
    QHash<Key, QString> m_runs;
};

// The line height of `format` as the whole percentage of `fontSize` the
// dialect writes, computed in single precision like the writer's default.
int lineHeightPercent(const QTextBlockFormat& format, double fontSize);

// The declarations of a run set in `format` inside a paragraph in `font` with
// `paragraph`'s format; empty when the run looks like its paragraph.
QString runStyle(const QTextCharFormat& format, const ParagraphFont& font, const QTextBlockFormat& paragraph);

} // namespace formats
