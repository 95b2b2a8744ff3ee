#pragma once
// Writes one engine document as the engine's HTML: the shape the dialect
// writer (html/yhtm.h) expects. Paragraphs become <p style>, list paragraphs
// <li> inside <ul>/<ol>, tables <table cellspacing="0" cellpadding="0"
// cols="N">, pictures <img src alt="">, fields <a href> and character runs
// <span style>; a line break inside a paragraph is <br />.
//
// A text frame is written as a one-cell table with a border, so its text
// stays boxed on the page and in the file (HTML has no text frames); the
// table's frame="box" rules="none" make reading it back give a text frame. Headers and footers belong to printed
// pages and are not written, nor is the page setup. A field that runs over a
// paragraph end is closed and reopened with the same address in each
// paragraph.

#include "formats/html/enginestyles.h"

#include <QString>
#include <QTextFrame>
#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

namespace formats {

class PictureFiles;

class EngineHtmlWriter {
public:
    // Text without its own font is written in `standard`.
    EngineHtmlWriter(const QTextDocument& document, PictureFiles& pictures, ParagraphFont standard);

    // The whole file: head with `<base href="baseAddress">` and the
    // document's title, then the body.
    QString html(const QString& baseAddress);

private:
    void writeContents(QTextFrame::iterator it, const QTextFrame::iterator& end);
    void writeFrame(QTextFrame* frame);
    void writeTable(const QTextTable& table);
    void writeTextFrame(const QTextFrame& frame);
    void writeBlock(const QTextBlock& block);
    void writeRuns(const QTextBlock& block, const ParagraphFont& font);
    void writeText(const QString& text, const QString& style);
    void writePictures(const QTextFragment& fragment);
    void openList(const QTextList* list);
    void closeListsAround(const QTextList* list);
    void closeList();
    void closeLists();

    const QTextDocument& m_document;
    PictureFiles& m_pictures;
    ParagraphFont m_standardFont;
    StyleCache m_styles;
    QString m_out;
    std::vector<const QTextList*> m_openLists; // outermost first; the innermost's item is open
    QString m_lastSpanStyle;      // the last span written, and where it ends
    qsizetype m_lastSpanEnd = -1;
};

// A folder as the file address the head's base element gives: "file://",
// the absolute path with "/" separators and a final "/", spaces as %20.
QString fileAddress(const QString& folder);

// `text` escaped for HTML text and attribute values, with only the
// characters HTML allows (html::validHtmlText) and no line ends.
QString escaped(QStringView text);

} // namespace formats
