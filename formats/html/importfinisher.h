#pragma once
// Completes a document Qt's HTML import has read from markup that
// ImportPreparer prepared: applies each paragraph's noted declarations
// (margins, first-line indent and line height in exact units, heading
// levels), gives the ideographic spaces back, turns the noted pictures into
// engine pictures and the links and tool-tip spans into engine fields.
//
// Heading levels: the three heading styles ("見出１", "見出２", "見出３") are
// marked with QTextBlockFormat::headingLevel 1, 2 and 3 (h1, h3, h5 of the
// dialect). Line heights: a paragraph's "line-height:N%" becomes a minimum
// line height of N.5 % of its font size, so that writing it again gives N;
// a dialect paragraph without one has the standard line spacing. Pictures
// that cannot be read (missing files, web addresses, over 64 MiB) leave
// their alt text in their place; a file whose pictures lie beside it is not read at all when its
// folder is not known. A one-cell table of the dialect marked as a text
// frame becomes a text frame again. Fields get the colour the editor shows their kind in; the links'
// other looks come from the file.

#include "engine/objects.h"
#include "formats/html/importnotes.h"
#include "formats/html/picturesource.h"

#include <QPointer>
#include <QTextCharFormat>
#include <QTextTable>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTextTable;
class QTextTableCell;

namespace formats {

struct ImportOptions {
    QString folder;           // the file's folder, for relative picture addresses
    float lineSpacing = 1.2f; // the user's standard line-spacing factor
};

class ImportFinisher {
public:
    ImportFinisher(QTextDocument& document, const ImportNotes& notes, ImportOptions options);

    // False when the file shows pictures from beside it and no folder to
    // look in is known: reading on would lose them.
    bool canFindPictures() const;
    void finish();

private:
    struct MarkedPiece {
        int start = 0;
        int end = 0;
        QTextCharFormat format;
    };
    struct MarkedRun {
        QString marker; // the link's address or the span's tool tip
        int start = 0;
        int end = 0;
        std::vector<MarkedPiece> pieces; // the fragments, each with its own look
    };

    void applyParagraphs();
    void makeTextFrames();
    void makeTextFrame(QTextTable& table);
    void applyParagraph(const QTextBlock& block, const ParagraphNote& note);
    // Keeps the one-cell table `block` opens, to become a text frame.
    void noteTextFrame(const QTextBlock& block);
    void tidyTables();
    // Qt's import hands a cell's shading and vertical alignment down to the
    // paragraphs and characters in it; they belong to the cell alone. A
    // transparent shading is none.
    void clearCellCopies(QTextTableCell cell);
    void keepCellBorders(QTextTable& table);
    void emptyMarkedParagraphs();
    void restoreIdeographicSpaces();
    void placePictures();
    void placeAnchors();
    void placePicture(int position, const PictureNote& note);
    void makeFields();
    int firstFreeFieldId() const;
    QString fieldData(const MarkedRun& run) const;
    void makeField(const MarkedRun& run, int id);

    QTextDocument& m_document;
    const ImportNotes& m_notes;
    ImportOptions m_options;
    PictureSource m_pictures;
    // One view for every picture and frame the finisher inserts: ids count on
    // instead of being looked for through the whole document each time.
    engine::Objects m_objects;
    // One-cell tables that stand for text frames. Guarded: making one frame
    // removes its table, and with it any such table nested inside.
    std::vector<QPointer<QTextTable>> m_textFrameTables;
};

} // namespace formats
