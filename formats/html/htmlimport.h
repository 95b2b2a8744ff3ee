#pragma once
// The engine's codec for HTML (format code 4).
//
// Reading: any HTML file, the program's own dialect first. Qt's HTML import
// does the parsing; ImportPreparer and ImportFinisher supply what it lacks
// (class rules, exact paragraph lengths and line heights, heading levels,
// ideographic spaces, fields from links and tool-tip spans, pictures).
// Supported: paragraphs and headings, character formats, line breaks, page
// breaks, shading, nested lists and an ordered list's start, rules,
// preformatted text, tables with cell alignment, colour and borders, text
// frames of the dialect, pictures (files beside the document and data
// addresses) with their alt text, links, link targets (ids and named
// anchors), tags, tool tips, references. Partial: CSS beyond inline and class
// rules is left to Qt; a missing picture leaves only its alt text. Not read:
// scripts, frames, forms, pictures on the web. Input is limited to 32 MiB,
// to kMaxNesting levels of elements and to kMaxTableCells table cells; a
// file over a limit is refused, and refusalReason() names the limit.
//
// Writing: the engine's HTML (enginehtmlwriter.h). Written to a file, the
// pictures go into "<stem>_images" beside it; written to memory, into data
// addresses.

#include "engine/documentcodec.h"

#include <QString>

namespace formats {

class HtmlImport : public engine::DocumentCodec {
public:
    explicit HtmlImport(float lineSpacing = 1.2f);

    qint64 maxInputBytes() const override { return qint64(32) * 1024 * 1024; }
    // The bytes come without their file's folder: a file showing pictures
    // from beside it is refused rather than read without them.
    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override;
    bool write(const engine::DocumentSet& source, QIODevice& out) override;

    // Reads `bytes` as an HTML file kept in `folder`.
    bool readFrom(const QByteArray& bytes, const QString& folder, const engine::DocumentSet& target) const;
    // Reads `html`, the text of such a file already decoded (htmltext.h).
    bool readText(QString html, const QString& folder, const engine::DocumentSet& target) const;
    // Why the last read refused its input, as a sentence for the user; empty
    // when it names no limit.
    QString refusalReason() const { return m_refusalReason; }

private:
    float m_lineSpacing;
    mutable QString m_refusalReason;
};

// Registers HtmlImport as the engine's codec for format code 4, with the
// user's standard line-spacing factor.
void registerHtmlCodec(float lineSpacing = 1.2f);

} // namespace formats
