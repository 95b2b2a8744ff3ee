#pragma once
// The text engine: one document (body, headers and footers, page setup) with
// a caret, offering every editing, layout and file role the program needs as
// a named method over Qt's QTextDocument.
//
// Contract with the view (EngineView):
// - The view shows activeDocument() and follows activeDocumentChanged(); the
//   documents are replaced, not refilled, when a file or snapshot is loaded.
// - When its caret moves, the view calls setTextCursor(); the engine emits
//   caretMoved() (and textFrameEntered()/textFrameLeft() when the caret crosses
//   a text frame's edge). When the engine moves the caret itself it emits
//   textCursorChanged(); the view then takes textCursor() over.
// - While the caret is at a field's edge the view types in typingFormat():
//   text typed right after a field (or before one at a paragraph start) does
//   not join the field. Typing strictly inside a field extends its text.
// - Key presses go through handleKeyPress(); clicks through handleClick().
// - Pastes and drops go through paste(), so that fields and objects get
//   fresh ids.
// Positions are 0-based document positions of the active document; a
// paragraph end counts as one position. Lengths are twips, font sizes points,
// colours 0x00BBGGRR. Paragraph values: see paragraphformat.h. Page breaks
// are paragraphs whose format says "page break before". Each engine operation
// is one undo step.

#include "engine/characterlook.h"
#include "engine/documentcodec.h"
#include "engine/documentset.h"
#include "engine/pagesetup.h"
#include "engine/paragraphformat.h"
#include "engine/tables.h"
#include "engine/fieldformat.h"
#include "textfold/fold.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSizeF>
#include <QTextCursor>
#include <utility>
#include <optional>

class QPainter;
class QRectF;
class QTextDocument;
class QTextFrame;

namespace engine {

enum class ViewMode : int { Normal = 0, PageLayout = 2 };

// Why the last load or save failed.
enum class FileError {
    None,
    CannotOpen,    // the file could not be opened or read
    TooLarge,      // the input exceeds the codec's limit
    NotUnderstood, // the bytes are not in the format asked for
    NoCodec,       // no codec is registered for the format
    CannotWrite,   // writing or committing the file failed
};

// Find flags, combinable.
enum FindFlag : int {
    FindBackward = 1,
    FindMatchCase = 4,
    FindDefault = 16,
    FindIgnoreWidth = 32, // Ａ finds A, ｶﾞ finds ガ, the ideographic space a space
    FindIgnoreKana = 64,  // か finds カ
};

// The folds a search with `flags` compares text in.
textfold::Folds findFolds(int flags);

// A picture of the document as it stands, for editing it as a whole.
struct PictureInHand {
    QImage image;         // as the document draws it
    QByteArray fileBytes; // the file it came in, where the document kept one
    QSizeF sizeTwips;     // as shown
    QString fileName;     // the file it was inserted from, "" for none
    QString altText;
};

class TextEngine : public QObject {
    Q_OBJECT
public:
    explicit TextEngine(QObject* parent = nullptr);
    ~TextEngine() override;

    // Text
    QString plainText() const;
    void setPlainText(const QString& text);
    void reset();

    // Selection
    int selectionStart() const;
    int selectionLength() const;
    // Start 0 with length −1 selects everything; out-of-range values are clamped.
    void setSelection(int start, int length);
    QString selectedText() const;
    // Replaces the selection; "" deletes it.
    void setSelectedText(const QString& text);
    // Replaces the selection by `text` in `look`.
    void setSelectedText(const QString& text, const CharacterLook& look);

    // Character format of the selection (read at its first character)
    QString fontName() const;
    void setFontName(const QString& name);
    double fontSize() const;
    void setFontSize(double points); // sizes outside 1..1638 points are ignored
    int textColor() const;        // 0 where no colour is set
    void setTextColor(int color); // kNoColor: back to the automatic colour
    int backgroundColor() const; // 0xFFFFFF where no background is set
    void setBackgroundColor(int color); // kNoColor: no background
    bool bold() const;
    void setBold(bool on);
    bool italic() const;
    void setItalic(bool on);
    bool strikeOut() const;
    void setStrikeOut(bool on);
    bool underline() const;
    void setUnderline(bool on);
    CharacterLook characterLook() const;

    // Paragraphs of the selection (read at its first paragraph)
    int paragraphAttribute(ParagraphAttribute which) const;
    void setParagraphAttribute(ParagraphAttribute which, int value);
    double paragraphValue(ParagraphValue which) const;
    void setParagraphValue(ParagraphValue which, double twips);
    ParagraphAlignment paragraphAlignment() const;
    void setParagraphAlignment(ParagraphAlignment alignment);
    int listAttribute() const;
    void setListAttribute(int attribute);
    int listLevel() const; // 1-9, 0 outside lists (see paragraphformat.h)
    void setListLevel(int level);
    QList<double> tabStops() const; // twips from the text's left edge
    void setTabStops(const QList<double>& twips);
    // The caret's paragraph (from 1) in the active document and its
    // character in that paragraph (from 1).
    std::pair<int, int> caretLineAndColumn() const;
    // Makes the lines the selection touches (the parts of a paragraph between
    // line breaks) a paragraph of their own, in the paragraph's format.
    // Positions do not move.
    void separateSelectedLines();
    // Which of the three heading styles the paragraphs have (1-3), 0 for none;
    // HTML writes them as h1, h3 and h5.
    int headingLevel() const;
    void setHeadingLevel(int level);

    // Clipboard
    void cut();
    void copy();
    bool paste();
    void deleteSelection();
    bool canCopy() const;
    bool canPaste() const;

    // Undo. The counts are Qt's counts of undoable changes: greater than 0
    // exactly when undo (redo) is possible, but an operation may count more
    // than once; one undo() always takes back one whole operation.
    void undo();
    void redo();
    int undoCount() const;
    int redoCount() const;

    // Fields (ids > 0; 0 means none)
    QList<int> fieldIds() const;
    int nextField(int afterId) const;
    int fieldAtCaret() const;
    int currentField() const;
    bool setCurrentField(int id);
    QString fieldText() const;
    bool setFieldText(const QString& text);
    QString fieldData() const;
    bool setFieldData(const QString& data);
    int fieldKind() const;
    bool setFieldKind(int kind);
    int fieldAttribute() const;
    bool setFieldAttribute(int attribute);
    int fieldStart() const; // position of the current field's first character, −1 without one
    // Inserts a field showing `text` in place of the selection; it becomes the
    // current field and the caret goes after it. Returns its id, 0 for "".
    int insertField(const QString& text);
    bool deleteCurrentField(bool keepText = false);

    // Objects
    int nextObject(int kind, int afterId) const;
    int currentObject() const;
    bool setCurrentObject(int id);
    // The id of the picture at character `position`, 0 when it is no picture.
    int pictureAt(int position) const;
    int objectSetting() const;
    bool setObjectSetting(int setting);
    QString objectFileName() const;
    bool setObjectFileName(const QString& fileName);
    // Shown at `scalePercent` of its pixels (as 96-dpi units) both ways.
    int insertPicture(const QImage& image, PicturePlacement placement, const QString& fileName = {},
                      int scalePercent = 100);
    // 0 when the file cannot be read as a picture (or is over 64 MiB).
    int insertPictureFile(const QString& path, PicturePlacement placement, int scalePercent = 100);
    // The selected picture; nullopt when the selection is no picture.
    std::optional<PictureInHand> currentPicture() const;
    // The selected picture shows `image` at the image's own size, keeping its
    // id, placement, text and the link over it; one undo step.
    bool replaceCurrentPicture(const QImage& image);
    bool setCurrentPictureAltText(const QString& text);
    int insertTextFrame(double widthTwips = 0, double heightTwips = 0);
    // Puts the caret into text frame `id`; 0 puts it back into the main text
    // after the frame it was in.
    bool makeTextFrameCurrent(int id);
    int currentTextFrame() const;
    // The text frame table `table` lies in, 0 for the main text or no such table.
    int textFrameOfTable(int table) const;

    // Tables
    int tableCount() const;
    int insertTable(int rows, int columns, int columnWidthTwips = 0);
    CellAddress tableAtCaret() const;
    int tableRows(int table) const;
    int tableColumns(int table) const;
    QString cellText(const CellAddress& cell) const;
    bool setCellText(const CellAddress& cell, const QString& text);
    int cellFirstPosition(const CellAddress& cell) const; // 1-based
    int cellLength(const CellAddress& cell) const;
    bool insertTableRow(TableSide side);
    bool insertTableColumn(TableSide side);
    bool splitTable(TableSide side);
    bool deleteSelectedTableRows();
    bool deleteTableColumn();
    bool canInsertTable() const;
    bool canInsertTableRow() const;
    bool canInsertTableColumn() const;
    bool canDeleteTableRows() const;
    bool canDeleteTableColumn() const;
    bool canSplitTable() const;
    // The look of the caret's table, row or cell; nullopt outside tables.
    std::optional<TableLook> tableLook(TablePart part) const;
    bool setTableLook(TablePart part, const TableLook& look);

    // Page, headers and footers
    PageSetup pageSetup() const;
    void setPageSetup(const PageSetup& setup);
    int headerFooterFlags() const;
    // Switching a part off empties it.
    void setHeaderFooterFlags(int flags);
    QTextDocument* headerFooterDocument(HeaderFooterFlag part) const;
    // Makes a part that is switched on the active document; false otherwise.
    bool activateHeaderFooter(HeaderFooterFlag part);
    void activateBody();
    bool isBodyActive() const;
    // Inserts at the caret of the header or footer being edited a field that
    // shows the number of the page it is printed on; false in the body.
    bool insertPageNumberField();

    // View state (read by the view)
    ViewMode viewMode() const;
    void setViewMode(ViewMode mode);
    int zoom() const;
    void setZoom(int percent); // clamped to 10..500
    bool controlCharactersShown() const;
    void setControlCharactersShown(bool shown);
    bool gridLinesShown() const;
    void setGridLinesShown(bool shown);
    void refresh();

    // Printing
    int pageCount() const;
    bool printPage(int page, QPainter& painter, const QRectF& target) const;

    // Find: `start` 0 searches from the top (from the end when backward),
    // −1 from the caret, any other value from that position. The text found
    // is selected; returns its position, −1 when not found.
    // Case is ignored unless FindMatchCase is given; a match covers whole
    // characters (ｶ is not found in ｶﾞ) and never crosses a paragraph end.
    int find(const QString& text, int start, int flags);
    // Replaces every match of `text` from the top, found as find() finds it,
    // by `replacement` (in `look` when given) as one undo step. The search
    // goes on behind each replacement, so a replacement that holds the text
    // is not found again. The caret goes behind the last replacement; returns
    // how many there were.
    int replaceAll(const QString& text, int flags, const QString& replacement,
                   const std::optional<CharacterLook>& look = std::nullopt);

    // Files and memory. Without insertAtCaret a load replaces the whole
    // document, or, while a text frame is current, that frame's content.
    bool loadFile(const QString& path, FormatCode format, bool insertAtCaret);
    // Replaces the file whole or not at all (env::ReplacingFile).
    bool saveFile(const QString& path, FormatCode format);
    bool loadFromMemory(const QByteArray& bytes, FormatCode format, bool insertAtCaret);
    // Puts a whole document saved in format 3 back, text frames and all,
    // with the given selection (as setSelection takes it).
    bool restoreSnapshot(const QByteArray& bytes, int selectionStart, int selectionLength);
    std::optional<QByteArray> saveToMemory(FormatCode format);
    FileError lastFileError() const;
    // Why the last save failed, as its codec put it; "" when it said nothing.
    QString lastWriteRefusal() const;
    // What the last load noticed (characters it could not read), also for a
    // load that filled documentSet() from outside.
    const ReadReport& lastReadReport() const;

    // View hooks
    // Asks the owner about a key press; true when the owner or the engine
    // handled it and the view must not. Enter that the owner leaves ends the
    // paragraph here, so that a page break is never copied into the new one.
    // Tab in a table goes to the next cell, and from the last cell adds a row.
    bool handleKeyPress(int key, Qt::KeyboardModifiers modifiers);
    // Reports a click at `position`; emits fieldClicked() on a field.
    void handleClick(int position);
    // Gives the body the page margins the page view shows them with. This is
    // display, not an edit: changed() is not emitted for it.
    void applyPageViewMargins();

    // Accessors for the view and the snapshot code
    QTextDocument* document() const;
    QTextDocument* activeDocument() const;
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor& cursor);
    QTextCharFormat typingFormat() const;
    DocumentSet documentSet();

    // Groups many engine operations into one: one undo step, one change
    // notification, and one layout pass of the view when it ends, instead of
    // one per operation. Scopes nest.
    class CompoundEdit {
    public:
        explicit CompoundEdit(TextEngine& engine);
        ~CompoundEdit();
        CompoundEdit(const CompoundEdit&) = delete;
        CompoundEdit& operator=(const CompoundEdit&) = delete;

    private:
        QTextCursor m_cursor;
    };

signals:
    void changed();
    void caretMoved();
    void textCursorChanged();
    void activeDocumentChanged(QTextDocument* document);
    // Set *handled to take the key away from the view.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers, bool* handled);
    void fieldClicked(int id);
    void textFrameEntered(int id);
    void textFrameLeft();
    void viewStateChanged();
    void refreshRequested();

private:
    struct Parts;
    class EditStep;

    // A selection over the active document's caret (a copy).
    QTextCursor cursor() const { return m_cursor; }
    void moveCursor(const QTextCursor& cursor);
    static QTextCharFormat typingFormatAt(const QTextCursor& cursor);
    static void replaceSelection(QTextCursor& cursor, const QString& text, const CharacterLook* look);
    QTextCharFormat selectionCharFormat() const;
    // Sets one character property on the selection, or for typing without one.
    void setCharProperty(int property, const QVariant& value);
    QTextBlockFormat selectionBlockFormat() const;
    bool setFieldProperty(int property, const QVariant& value);
    QVariant currentObjectProperty(int property) const;
    bool setCurrentObjectProperty(int property, const QVariant& value);
    void followFrameFocus();
    bool moveToNextCell();
    QString selectedCellsText() const;
    void setActive(QTextDocument* document, const QTextCursor& caret = {});
    static QTextCursor selectionIn(QTextDocument* document, int start, int length);
    void adopt(QTextDocument* document);
    bool failWith(FileError error);
    std::unique_ptr<Parts> readParts(const QByteArray& bytes, FormatCode format);
    bool readInto(const QByteArray& bytes, FormatCode format, bool insertAtCaret);
    void insertAt(QTextCursor cursor, const QTextDocument& content);
    static QTextCursor wholeFrame(const QTextFrame& frame);
    void replaceParts(std::unique_ptr<Parts> parts, const QTextCursor& caret = {});

    std::unique_ptr<Parts> m_parts;
    QTextDocument* m_active = nullptr;
    QTextCursor m_cursor;
    int m_currentField = 0;
    // Set while the documents are cleared: Qt keeps its cursor list aside
    // then, and a cursor replaced meanwhile would stay in it dangling.
    bool m_clearing = false;
    int m_frameFocus = 0;
    bool m_displayChange = false; // the document changes for display only
    ViewMode m_viewMode = ViewMode::Normal;
    int m_zoom = 100;
    bool m_controlCharactersShown = false;
    bool m_gridLinesShown = true;
    FileError m_lastFileError = FileError::None;
    ReadReport m_lastRead;
    QString m_lastWriteRefusal;
};

} // namespace engine
