#include "engine/textengine.h"

#include "engine/clipboardtransfer.h"
#include "engine/documentsearch.h"
#include "engine/documenttransfer.h"
#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/filebytes.h"
#include "engine/guardeddocument.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "engine/pagegeometry.h"
#include "engine/pagelayout.h"
#include "engine/plaintext.h"
#include "env/replacingfile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <utility>

namespace engine {

textfold::Folds findFolds(int flags)
{
    textfold::Folds folds;
    folds.setFlag(textfold::Fold::Case, !(flags & FindMatchCase));
    folds.setFlag(textfold::Fold::Width, flags & FindIgnoreWidth);
    folds.setFlag(textfold::Fold::Kana, flags & FindIgnoreKana);
    return folds;
}

namespace {

constexpr qint64 kMaxPictureFileBytes = qint64(64) * 1024 * 1024;
constexpr double kMinFontPoints = 1;
constexpr double kMaxFontPoints = 1638; // Word's largest size
constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 500;

// A merged brush without a style takes the colour away: Qt then paints the
// text in the palette's colour and no background.
QBrush brushOf(int color)
{
    return color == kNoColor ? QBrush() : QBrush(colorFromHost(color));
}

constexpr std::array<HeaderFooterFlag, 4> kHeaderFooterParts = {
    HeaderEveryPage, HeaderFirstPage, FooterEveryPage, FooterFirstPage};

// Enter or Return alone (Shift gives a line break, as in any text field).
bool endsParagraph(int key, Qt::KeyboardModifiers modifiers)
{
    return (key == Qt::Key_Return || key == Qt::Key_Enter)
        && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

// The documents of one engine document and its page setup; replaced as a
// whole when a file or snapshot is loaded.
struct TextEngine::Parts {
    std::unique_ptr<QTextDocument> body = std::make_unique<GuardedDocument>();
    std::unique_ptr<QTextDocument> header = std::make_unique<GuardedDocument>();
    std::unique_ptr<QTextDocument> firstHeader = std::make_unique<GuardedDocument>();
    std::unique_ptr<QTextDocument> footer = std::make_unique<GuardedDocument>();
    std::unique_ptr<QTextDocument> firstFooter = std::make_unique<GuardedDocument>();
    PageSetup pageSetup;
    std::unique_ptr<PageLayout> layout; // pagination, made on demand and kept in step
    bool marginsChanged = false;        // a header or footer changed since `layout` copied them

    DocumentSet set()
    {
        return {body.get(), header.get(), firstHeader.get(), footer.get(), firstFooter.get(), &pageSetup};
    }

    QTextDocument* part(HeaderFooterFlag flag) const
    {
        switch (flag) {
        case HeaderEveryPage: return header.get();
        case HeaderFirstPage: return firstHeader.get();
        case FooterEveryPage: return footer.get();
        case FooterFirstPage: return firstFooter.get();
        }
        return nullptr;
    }

    const PageLayout& pages()
    {
        if (layout && !layout->catchUp(*body))
            layout.reset();
        if (layout && std::exchange(marginsChanged, false))
            layout->replaceMargins(headerFooterOf(set()));
        if (!layout) {
            // Only a document with a layout reports where it changed.
            body->documentLayout();
            layout = std::make_unique<PageLayout>(*body, pageSetup, headerFooterOf(set()));
            marginsChanged = false;
        }
        return *layout;
    }

    void followBody(int position, int charsRemoved, int charsAdded)
    {
        if (layout)
            layout->recordBodyChange(*body, position, charsRemoved, charsAdded);
    }

    // Documents are handed to the view; they go once the event loop has let
    // the view switch to their successors.
    void release()
    {
        for (auto* document : {&body, &header, &firstHeader, &footer, &firstFooter})
            document->release()->deleteLater();
    }
};

// Makes everything an engine operation changes one undo step.
// The step begins at the caret: undoing it puts the caret back there, where
// the edit was, and not at the top of the document.
class TextEngine::EditStep {
public:
    explicit EditStep(const QTextCursor& caret)
        : m_cursor(caret)
    {
        m_cursor.beginEditBlock();
    }
    ~EditStep() { m_cursor.endEditBlock(); }
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

private:
    QTextCursor m_cursor;
};

TextEngine::CompoundEdit::CompoundEdit(TextEngine& engine)
    : m_cursor(engine.m_cursor)
{
    m_cursor.beginEditBlock();
}

TextEngine::CompoundEdit::~CompoundEdit()
{
    m_cursor.endEditBlock();
}

TextEngine::TextEngine(QObject* parent)
    : QObject(parent)
{
    replaceParts(std::make_unique<Parts>());
}

TextEngine::~TextEngine() = default;

// ---- Text -----------------------------------------------------------------

QString TextEngine::plainText() const
{
    return plaintext::fromDocument(*m_active);
}

void TextEngine::setPlainText(const QString& text)
{
    EditStep step(m_cursor);
    QTextCursor all(m_active);
    all.select(QTextCursor::Document);
    plaintext::insert(all, text);
    all.movePosition(QTextCursor::Start);
    moveCursor(all);
}

void TextEngine::reset()
{
    const QScopedValueRollback clearing(m_clearing, true);
    for (const HeaderFooterFlag flag : kHeaderFooterParts)
        m_parts->part(flag)->clear();
    m_parts->body->clear();
    m_parts->pageSetup.headerFooterFlags = 0;
    m_currentField = 0;
    setActive(m_parts->body.get());
}

// ---- Selection ------------------------------------------------------------

int TextEngine::selectionStart() const
{
    return m_cursor.selectionStart();
}

int TextEngine::selectionLength() const
{
    return m_cursor.selectionEnd() - m_cursor.selectionStart();
}

void TextEngine::setSelection(int start, int length)
{
    moveCursor(selectionIn(m_active, start, length));
}

QTextCursor TextEngine::selectionIn(QTextDocument* document, int start, int length)
{
    const int last = document->characterCount() - 1;
    QTextCursor cursor(document);
    if (start == 0 && length < 0) {
        cursor.select(QTextCursor::Document);
    } else {
        const int from = std::clamp(start, 0, last);
        cursor.setPosition(from);
        cursor.setPosition(std::clamp(from + std::max(length, 0), from, last), QTextCursor::KeepAnchor);
    }
    return cursor;
}

QString TextEngine::selectedText() const
{
    // Across table cells the selection is a block of cells; its end is
    // where the last cell starts, so the cells are read one by one.
    if (m_cursor.hasComplexSelection())
        return selectedCellsText();
    return plaintext::fromRange(*m_active, m_cursor.selectionStart(), m_cursor.selectionEnd());
}

QString TextEngine::selectedCellsText() const
{
    int firstRow = 0;
    int rows = 0;
    int firstColumn = 0;
    int columns = 0;
    m_cursor.selectedTableCells(&firstRow, &rows, &firstColumn, &columns);
    const QTextTable* table = m_cursor.currentTable();
    QStringList texts;
    for (int row = firstRow; row < firstRow + rows; ++row) {
        for (int column = firstColumn; column < firstColumn + columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                texts.append(plaintext::fromRange(*m_active, cell.firstPosition(), cell.lastPosition()));
        }
    }
    return texts.join(QStringLiteral("\r\n"));
}

void TextEngine::setSelectedText(const QString& text)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    replaceSelection(cursor, text, nullptr);
    moveCursor(cursor);
}

void TextEngine::setSelectedText(const QString& text, const CharacterLook& look)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    replaceSelection(cursor, text, &look);
    moveCursor(cursor);
}

void TextEngine::replaceSelection(QTextCursor& cursor, const QString& text, const CharacterLook* look)
{
    cursor.removeSelectedText();
    QTextCharFormat format = typingFormatAt(cursor);
    if (look) {
        format.setFontFamilies(QStringList{look->fontName});
        if (look->fontSize >= 1 && look->fontSize <= 1638)
            format.setFontPointSize(look->fontSize);
        format.setForeground(QBrush(colorFromHost(look->textColor)));
        format.setBackground(QBrush(colorFromHost(look->backgroundColor)));
        format.setFontWeight(look->bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(look->italic);
        format.setFontStrikeOut(look->strikeOut);
        format.setUnderlineStyle(look->underline ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    }
    cursor.setCharFormat(format);
    plaintext::insert(cursor, text);
}

// ---- Character format -----------------------------------------------------

QString TextEngine::fontName() const
{
    const QStringList families = selectionCharFormat().fontFamilies().toStringList();
    return families.isEmpty() ? m_active->defaultFont().family() : families.first();
}

void TextEngine::setFontName(const QString& name)
{
    setCharProperty(QTextFormat::FontFamilies, QStringList{name});
}

double TextEngine::fontSize() const
{
    const QTextCharFormat format = selectionCharFormat();
    return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                           : m_active->defaultFont().pointSizeF();
}

void TextEngine::setFontSize(double points)
{
    if (points >= kMinFontPoints && points <= kMaxFontPoints)
        setCharProperty(QTextFormat::FontPointSize, points);
}

int TextEngine::textColor() const
{
    const QTextCharFormat format = selectionCharFormat();
    return format.hasProperty(QTextFormat::ForegroundBrush) ? colorToHost(format.foreground().color()) : 0;
}

void TextEngine::setTextColor(int color)
{
    setCharProperty(QTextFormat::ForegroundBrush, brushOf(color));
}

int TextEngine::backgroundColor() const
{
    const QTextCharFormat format = selectionCharFormat();
    const bool painted = format.hasProperty(QTextFormat::BackgroundBrush)
        && format.background().style() != Qt::NoBrush;
    return painted ? colorToHost(format.background().color()) : 0xFFFFFF;
}

void TextEngine::setBackgroundColor(int color)
{
    setCharProperty(QTextFormat::BackgroundBrush, brushOf(color));
}

bool TextEngine::bold() const
{
    return selectionCharFormat().fontWeight() >= QFont::Bold;
}

void TextEngine::setBold(bool on)
{
    setCharProperty(QTextFormat::FontWeight, on ? QFont::Bold : QFont::Normal);
}

bool TextEngine::italic() const
{
    return selectionCharFormat().fontItalic();
}

void TextEngine::setItalic(bool on)
{
    setCharProperty(QTextFormat::FontItalic, on);
}

bool TextEngine::strikeOut() const
{
    return selectionCharFormat().fontStrikeOut();
}

void TextEngine::setStrikeOut(bool on)
{
    setCharProperty(QTextFormat::FontStrikeOut, on);
}

bool TextEngine::underline() const
{
    return selectionCharFormat().fontUnderline();
}

void TextEngine::setUnderline(bool on)
{
    setCharProperty(QTextFormat::TextUnderlineStyle, on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
}

CharacterLook TextEngine::characterLook() const
{
    return {fontName(), fontSize(), textColor(), backgroundColor(), bold(), italic(), strikeOut(), underline()};
}

// ---- Paragraphs -----------------------------------------------------------

int TextEngine::paragraphAttribute(ParagraphAttribute which) const
{
    return paragraphformat::attribute(selectionBlockFormat(), which);
}

void TextEngine::setParagraphAttribute(ParagraphAttribute which, int value)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    paragraphformat::setAttribute(cursor, which, value);
}

double TextEngine::paragraphValue(ParagraphValue which) const
{
    return paragraphformat::value(selectionBlockFormat(), which);
}

void TextEngine::setParagraphValue(ParagraphValue which, double twips)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    paragraphformat::setValue(cursor, which, twips);
}

QList<double> TextEngine::tabStops() const
{
    return paragraphformat::tabStops(selectionBlockFormat());
}

void TextEngine::setTabStops(const QList<double>& twips)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    paragraphformat::setTabStops(cursor, twips);
}

std::pair<int, int> TextEngine::caretLineAndColumn() const
{
    return {m_cursor.blockNumber() + 1, m_cursor.positionInBlock() + 1};
}

ParagraphAlignment TextEngine::paragraphAlignment() const
{
    return paragraphformat::alignment(selectionBlockFormat());
}

void TextEngine::setParagraphAlignment(ParagraphAlignment alignment)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    paragraphformat::setAlignment(cursor, alignment);
}

int TextEngine::listAttribute() const
{
    return paragraphformat::listAttribute(m_active->findBlock(m_cursor.selectionStart()));
}

void TextEngine::setListAttribute(int attribute)
{
    QTextCursor cursor = m_cursor;
    paragraphformat::setListAttribute(cursor, attribute);
}

int TextEngine::listLevel() const
{
    return paragraphformat::listLevel(m_active->findBlock(m_cursor.selectionStart()));
}

void TextEngine::setListLevel(int level)
{
    QTextCursor cursor = m_cursor;
    paragraphformat::setListLevel(cursor, level);
}

void TextEngine::separateSelectedLines()
{
    EditStep step(m_cursor);
    plaintext::separateLines(m_cursor);
}

int TextEngine::headingLevel() const
{
    return selectionBlockFormat().headingLevel();
}

void TextEngine::setHeadingLevel(int level)
{
    QTextBlockFormat change;
    change.setHeadingLevel(level);
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    cursor.mergeBlockFormat(change);
}

// ---- Clipboard ------------------------------------------------------------

void TextEngine::cut()
{
    if (!canCopy())
        return;
    copy();
    deleteSelection();
}

void TextEngine::copy()
{
    clipboard::copy(m_cursor);
}

bool TextEngine::paste()
{
    QTextCursor cursor = m_cursor;
    if (!clipboard::paste(cursor))
        return false;
    moveCursor(cursor);
    return true;
}

void TextEngine::deleteSelection()
{
    QTextCursor cursor = m_cursor;
    cursor.removeSelectedText();
    moveCursor(cursor);
}

bool TextEngine::canCopy() const
{
    return m_cursor.hasSelection();
}

bool TextEngine::canPaste() const
{
    return clipboard::canPaste();
}

// ---- Undo -----------------------------------------------------------------

void TextEngine::undo()
{
    QTextCursor cursor = m_cursor;
    m_active->undo(&cursor);
    moveCursor(cursor);
}

void TextEngine::redo()
{
    QTextCursor cursor = m_cursor;
    m_active->redo(&cursor);
    moveCursor(cursor);
}

int TextEngine::undoCount() const
{
    return m_active->availableUndoSteps();
}

// Qt 6.4 counts no redo steps after undoing an edit block that it will
// nevertheless redo; whether redo is possible is the question that matters.
int TextEngine::redoCount() const
{
    return m_active->isRedoAvailable() ? std::max(1, m_active->availableRedoSteps()) : 0;
}

// ---- Fields ---------------------------------------------------------------

QList<int> TextEngine::fieldIds() const
{
    QList<int> ids;
    const Fields fields(*m_active);
    for (const FieldRun& run : fields.runs())
        ids.append(run.id);
    return ids;
}

int TextEngine::nextField(int afterId) const
{
    return Fields(*m_active).next(afterId);
}

int TextEngine::fieldAtCaret() const
{
    return Fields(*m_active).at(m_cursor.position());
}

int TextEngine::currentField() const
{
    return Fields(*m_active).find(m_currentField) ? m_currentField : 0;
}

bool TextEngine::setCurrentField(int id)
{
    if (!Fields(*m_active).find(id))
        return false;
    m_currentField = id;
    return true;
}

QString TextEngine::fieldText() const
{
    const std::optional<FieldRun> run = Fields(*m_active).find(m_currentField);
    return run ? plaintext::fromRange(*m_active, run->start, run->end) : QString();
}

bool TextEngine::setFieldText(const QString& text)
{
    return Fields(*m_active).setText(currentField(), text);
}

QString TextEngine::fieldData() const
{
    return Fields(*m_active).format(currentField()).stringProperty(FieldData);
}

bool TextEngine::setFieldData(const QString& data)
{
    return setFieldProperty(FieldData, data);
}

int TextEngine::fieldKind() const
{
    return Fields(*m_active).format(currentField()).intProperty(FieldKind);
}

bool TextEngine::setFieldKind(int kind)
{
    return setFieldProperty(FieldKind, kind);
}

int TextEngine::fieldAttribute() const
{
    return Fields(*m_active).format(currentField()).intProperty(FieldAttribute);
}

bool TextEngine::setFieldAttribute(int attribute)
{
    return setFieldProperty(FieldAttribute, attribute);
}

int TextEngine::fieldStart() const
{
    const std::optional<FieldRun> run = Fields(*m_active).find(m_currentField);
    return run ? run->start : -1;
}

int TextEngine::insertField(const QString& text)
{
    QTextCursor cursor = m_cursor;
    const int id = Fields(*m_active).insert(cursor, text);
    if (id > 0) {
        m_currentField = id;
        moveCursor(cursor);
    }
    return id;
}

bool TextEngine::deleteCurrentField(bool keepText)
{
    if (!Fields(*m_active).remove(currentField(), keepText))
        return false;
    m_currentField = 0;
    QTextCursor cursor = m_cursor;
    cursor.setCharFormat(Fields::withoutField(cursor.charFormat()));
    moveCursor(cursor);
    return true;
}

bool TextEngine::setFieldProperty(int property, const QVariant& value)
{
    return Fields(*m_active).setProperty(currentField(), property, value);
}

// ---- Objects --------------------------------------------------------------

int TextEngine::nextObject(int kind, int afterId) const
{
    return Objects(*m_active).next(kind, afterId);
}

int TextEngine::currentObject() const
{
    const Objects objects(*m_active);
    if (selectionLength() == 1) {
        if (const int picture = objects.pictureAt(selectionStart()))
            return picture;
    }
    const QTextFrame* frame = objects.textFrameAt(m_cursor.position());
    return frame ? frame->frameFormat().intProperty(ObjectId) : 0;
}

int TextEngine::pictureAt(int position) const
{
    return Objects(*m_active).pictureAt(position);
}

bool TextEngine::setCurrentObject(int id)
{
    const Objects objects(*m_active);
    if (const std::optional<int> position = objects.picturePosition(id)) {
        setSelection(*position, 1);
        return true;
    }
    return objects.textFrame(id) && makeTextFrameCurrent(id);
}

int TextEngine::objectSetting() const
{
    return currentObjectProperty(ObjectSetting).toInt();
}

bool TextEngine::setObjectSetting(int setting)
{
    return setCurrentObjectProperty(ObjectSetting, setting);
}

QString TextEngine::objectFileName() const
{
    return currentObjectProperty(ObjectFileName).toString();
}

bool TextEngine::setObjectFileName(const QString& fileName)
{
    return setCurrentObjectProperty(ObjectFileName, fileName);
}

int TextEngine::insertPicture(const QImage& image, PicturePlacement placement, const QString& fileName,
                              int scalePercent)
{
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    const QSizeF size = scalePercent == 100 ? QSizeF() : QSizeF(image.size()) * (scalePercent / 100.0);
    const int id = Objects(*m_active).insertPicture(cursor, image, placement, fileName, size);
    if (id > 0)
        moveCursor(cursor);
    return id;
}

int TextEngine::insertPictureFile(const QString& path, PicturePlacement placement, int scalePercent)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureFileBytes)
        return 0;
    QImageReader reader(&file);
    const QImage image = reader.read();
    return insertPicture(image, placement, path, scalePercent);
}

// A picture is current only while it is the whole selection: a text frame
// the caret stands in is an object too, but no picture.
std::optional<PictureInHand> TextEngine::currentPicture() const
{
    const int id = selectionLength() == 1 ? pictureAt(selectionStart()) : 0;
    if (id == 0)
        return std::nullopt;
    const QTextImageFormat format = selectionCharFormat().toImageFormat();
    PictureInHand picture;
    picture.image = pictureImage(*m_active, format.name());
    picture.fileBytes = pictureFileBytes(*m_active, format.name());
    // A picture read without a size of its own shows at its image's.
    const double width = format.width() > 0 ? format.width() : picture.image.width();
    const double height = format.height() > 0 ? format.height() : picture.image.height();
    picture.sizeTwips = QSizeF(documentToTwips(width), documentToTwips(height));
    picture.fileName = format.stringProperty(ObjectFileName);
    picture.altText = format.stringProperty(QTextFormat::ImageAltText);
    return picture;
}

bool TextEngine::replaceCurrentPicture(const QImage& image)
{
    if (!currentPicture())
        return false;
    EditStep step(m_cursor);
    return Objects(*m_active).replacePicture(currentObject(), image);
}

bool TextEngine::setCurrentPictureAltText(const QString& text)
{
    return currentPicture() && setCurrentObjectProperty(QTextFormat::ImageAltText, text);
}

int TextEngine::insertTextFrame(double widthTwips, double heightTwips)
{
    QTextCursor cursor = m_cursor;
    const int id = Objects(*m_active).insertTextFrame(
        cursor, QSizeF(twipsToDocument(widthTwips), twipsToDocument(heightTwips)));
    moveCursor(cursor);
    return id;
}

bool TextEngine::makeTextFrameCurrent(int id)
{
    const Objects objects(*m_active);
    if (id == 0) {
        if (const QTextFrame* frame = objects.textFrameAt(m_cursor.position())) {
            QTextCursor after(m_active);
            after.setPosition(frame->lastPosition() + 1);
            moveCursor(after);
        }
        return true;
    }
    const QTextFrame* frame = objects.textFrame(id);
    if (!frame)
        return false;
    moveCursor(frame->firstCursorPosition());
    return true;
}

int TextEngine::currentTextFrame() const
{
    const QTextFrame* frame = Objects(*m_active).textFrameAt(m_cursor.position());
    return frame ? frame->frameFormat().intProperty(ObjectId) : 0;
}

int TextEngine::textFrameOfTable(int table) const
{
    const QTextTable* found = Tables(*m_active).table(table);
    const QTextFrame* frame = found ? Objects(*m_active).textFrameAt(found->firstPosition()) : nullptr;
    return frame ? frame->frameFormat().intProperty(ObjectId) : 0;
}

QVariant TextEngine::currentObjectProperty(int property) const
{
    return Objects(*m_active).property(currentObject(), property);
}

bool TextEngine::setCurrentObjectProperty(int property, const QVariant& value)
{
    return Objects(*m_active).setProperty(currentObject(), property, value);
}

// ---- Tables ---------------------------------------------------------------

int TextEngine::tableCount() const
{
    return Tables(*m_active).count();
}

int TextEngine::insertTable(int rows, int columns, int columnWidthTwips)
{
    if (!canInsertTable())
        return 0;
    QTextCursor cursor = m_cursor;
    const int table = Tables(*m_active).insert(cursor, rows, columns, columnWidthTwips);
    if (table > 0)
        moveCursor(cursor);
    return table;
}

CellAddress TextEngine::tableAtCaret() const
{
    return Tables(*m_active).at(m_cursor);
}

int TextEngine::tableRows(int table) const
{
    const QTextTable* found = Tables(*m_active).table(table);
    return found ? found->rows() : 0;
}

int TextEngine::tableColumns(int table) const
{
    const QTextTable* found = Tables(*m_active).table(table);
    return found ? found->columns() : 0;
}

QString TextEngine::cellText(const CellAddress& cell) const
{
    return Tables(*m_active).cellText(cell);
}

bool TextEngine::setCellText(const CellAddress& cell, const QString& text)
{
    return Tables(*m_active).setCellText(cell, text);
}

int TextEngine::cellFirstPosition(const CellAddress& cell) const
{
    return Tables(*m_active).cellFirstPosition(cell);
}

int TextEngine::cellLength(const CellAddress& cell) const
{
    return Tables(*m_active).cellLength(cell);
}

bool TextEngine::insertTableRow(TableSide side)
{
    EditStep step(m_cursor);
    return Tables(*m_active).insertRow(m_cursor, side);
}

bool TextEngine::insertTableColumn(TableSide side)
{
    EditStep step(m_cursor);
    return Tables(*m_active).insertColumn(m_cursor, side);
}

bool TextEngine::splitTable(TableSide side)
{
    EditStep step(m_cursor);
    return Tables(*m_active).split(m_cursor, side);
}

bool TextEngine::deleteSelectedTableRows()
{
    EditStep step(m_cursor);
    return Tables(*m_active).deleteSelectedRows(m_cursor);
}

bool TextEngine::deleteTableColumn()
{
    EditStep step(m_cursor);
    return Tables(*m_active).deleteColumn(m_cursor);
}

bool TextEngine::canInsertTable() const
{
    return !m_cursor.currentTable();
}

bool TextEngine::canInsertTableRow() const
{
    return m_cursor.currentTable() != nullptr;
}

bool TextEngine::canInsertTableColumn() const
{
    return m_cursor.currentTable() != nullptr;
}

bool TextEngine::canDeleteTableRows() const
{
    return m_cursor.currentTable() != nullptr;
}

bool TextEngine::canDeleteTableColumn() const
{
    return m_cursor.currentTable() != nullptr;
}

bool TextEngine::canSplitTable() const
{
    const QTextTable* table = m_cursor.currentTable();
    return table && table->rows() > 1;
}

std::optional<TableLook> TextEngine::tableLook(TablePart part) const
{
    return Tables(*m_active).look(m_cursor, part);
}

bool TextEngine::setTableLook(TablePart part, const TableLook& look)
{
    EditStep step(m_cursor);
    return Tables(*m_active).setLook(m_cursor, part, look);
}

// ---- Page, headers and footers --------------------------------------------

PageSetup TextEngine::pageSetup() const
{
    return m_parts->pageSetup;
}

void TextEngine::setPageSetup(const PageSetup& setup)
{
    const int flags = setup.headerFooterFlags;
    m_parts->pageSetup = setup;
    m_parts->pageSetup.headerFooterFlags = headerFooterFlags();
    m_parts->layout.reset();
    setHeaderFooterFlags(flags);
}

int TextEngine::headerFooterFlags() const
{
    return m_parts->pageSetup.headerFooterFlags;
}

void TextEngine::setHeaderFooterFlags(int flags)
{
    for (const HeaderFooterFlag flag : kHeaderFooterParts) {
        if (flags & flag)
            continue;
        QTextDocument* part = m_parts->part(flag);
        if (part == m_active)
            activateBody();
        part->clear();
    }
    m_parts->pageSetup.headerFooterFlags = flags & (HeaderEveryPage | HeaderFirstPage | FooterEveryPage
                                                    | FooterFirstPage);
    m_parts->layout.reset();
}

QTextDocument* TextEngine::headerFooterDocument(HeaderFooterFlag part) const
{
    return m_parts->part(part);
}

bool TextEngine::activateHeaderFooter(HeaderFooterFlag part)
{
    if (!(headerFooterFlags() & part) || !m_parts->part(part))
        return false;
    setActive(m_parts->part(part));
    return true;
}

void TextEngine::activateBody()
{
    if (!isBodyActive())
        setActive(m_parts->body.get());
}

bool TextEngine::isBodyActive() const
{
    return m_active == m_parts->body.get();
}

bool TextEngine::insertPageNumberField()
{
    if (isBodyActive())
        return false;
    EditStep step(m_cursor);
    QTextCursor cursor = m_cursor;
    Fields fields(*m_active);
    const int id = fields.insert(cursor, QStringLiteral("1"));
    fields.setProperty(id, FieldKind, kPageNumberFieldKind);
    moveCursor(cursor);
    return id > 0;
}

// ---- View state -----------------------------------------------------------

ViewMode TextEngine::viewMode() const
{
    return m_viewMode;
}

void TextEngine::setViewMode(ViewMode mode)
{
    if (mode == m_viewMode)
        return;
    m_viewMode = mode;
    emit viewStateChanged();
}

int TextEngine::zoom() const
{
    return m_zoom;
}

void TextEngine::setZoom(int percent)
{
    const int zoom = std::clamp(percent, kMinZoom, kMaxZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    emit viewStateChanged();
}

bool TextEngine::controlCharactersShown() const
{
    return m_controlCharactersShown;
}

void TextEngine::setControlCharactersShown(bool shown)
{
    if (shown == m_controlCharactersShown)
        return;
    m_controlCharactersShown = shown;
    emit viewStateChanged();
}

bool TextEngine::gridLinesShown() const
{
    return m_gridLinesShown;
}

void TextEngine::setGridLinesShown(bool shown)
{
    if (shown == m_gridLinesShown)
        return;
    m_gridLinesShown = shown;
    emit viewStateChanged();
}

void TextEngine::refresh()
{
    emit refreshRequested();
}

// ---- Printing -------------------------------------------------------------

int TextEngine::pageCount() const
{
    return m_parts->pages().pageCount();
}

bool TextEngine::printPage(int page, QPainter& painter, const QRectF& target) const
{
    return m_parts->pages().paintPage(page, painter, target);
}

// ---- Find -----------------------------------------------------------------

int TextEngine::find(const QString& text, int start, int flags)
{
    const bool backward = flags & FindBackward;
    const int end = m_active->characterCount() - 1;
    int from = 0;
    if (start < 0)
        from = backward ? m_cursor.selectionStart() : m_cursor.selectionEnd();
    else if (start == 0 && backward)
        from = end;
    else
        from = std::min(start, end);

    const DocumentSearch search(*m_active, text, findFolds(flags));
    const std::optional<TextSpan> found = backward ? search.previous(from) : search.next(from);
    if (!found)
        return -1;
    moveCursor(selectionIn(m_active, found->start, found->length));
    return found->start;
}

int TextEngine::replaceAll(const QString& text, int flags, const QString& replacement,
                           const std::optional<CharacterLook>& look)
{
    // Every match is known before the first replacement, and they are
    // replaced from the last one back: positions before a replacement do
    // not move, and no replacement is searched again.
    const QList<TextSpan> matches = DocumentSearch(*m_active, text, findFolds(flags)).all();
    if (matches.isEmpty())
        return 0;
    EditStep step(m_cursor);
    QTextCursor cursor(m_active);
    QTextCursor behindLast;
    for (auto match = matches.rbegin(); match != matches.rend(); ++match) {
        cursor.setPosition(match->start);
        cursor.setPosition(match->start + match->length, QTextCursor::KeepAnchor);
        replaceSelection(cursor, replacement, look ? &*look : nullptr);
        if (behindLast.isNull())
            behindLast = cursor; // Qt moves it along with the replacements before it
    }
    moveCursor(behindLast);
    return int(matches.size());
}

// ---- Files and memory -----------------------------------------------------

bool TextEngine::loadFile(const QString& path, FormatCode format, bool insertAtCaret)
{
    const std::shared_ptr<DocumentCodec> codec = codecFor(format);
    if (!codec)
        return failWith(FileError::NoCodec);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failWith(FileError::CannotOpen);
    if (file.size() > codec->maxInputBytes())
        return failWith(FileError::TooLarge);
    const std::optional<QByteArray> bytes = readFileBytes(file, codec->maxInputBytes());
    if (!bytes)
        return failWith(file.error() == QFileDevice::NoError ? FileError::TooLarge : FileError::CannotOpen);
    return readInto(*bytes, format, insertAtCaret);
}

bool TextEngine::saveFile(const QString& path, FormatCode format)
{
    m_lastWriteRefusal.clear();
    const std::shared_ptr<DocumentCodec> codec = codecFor(format);
    if (!codec)
        return failWith(FileError::NoCodec);
    env::ReplacingFile file(path);
    if (!file.open())
        return failWith(FileError::CannotWrite);
    if (!codec->write(m_parts->set(), file.device())) {
        m_lastWriteRefusal = codec->writeRefusal();
        return failWith(FileError::CannotWrite);
    }
    if (!file.commit())
        return failWith(FileError::CannotWrite);
    m_lastFileError = FileError::None;
    return true;
}

bool TextEngine::loadFromMemory(const QByteArray& bytes, FormatCode format, bool insertAtCaret)
{
    return readInto(bytes, format, insertAtCaret);
}

std::optional<QByteArray> TextEngine::saveToMemory(FormatCode format)
{
    m_lastWriteRefusal.clear();
    const std::shared_ptr<DocumentCodec> codec = codecFor(format);
    if (!codec) {
        failWith(FileError::NoCodec);
        return std::nullopt;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!codec->write(m_parts->set(), buffer)) {
        m_lastWriteRefusal = codec->writeRefusal();
        failWith(FileError::CannotWrite);
        return std::nullopt;
    }
    m_lastFileError = FileError::None;
    return bytes;
}

FileError TextEngine::lastFileError() const
{
    return m_lastFileError;
}

QString TextEngine::lastWriteRefusal() const
{
    return m_lastWriteRefusal;
}

const ReadReport& TextEngine::lastReadReport() const
{
    return m_lastRead;
}

bool TextEngine::failWith(FileError error)
{
    m_lastFileError = error;
    return false;
}

bool TextEngine::restoreSnapshot(const QByteArray& bytes, int selectionStart, int selectionLength)
{
    std::unique_ptr<Parts> parts = readParts(bytes, FormatCode::Snapshot);
    if (!parts)
        return false;
    // Placed before any view lays the new document out: a caret far down
    // would otherwise make the layout reach it at once.
    const QTextCursor selection = selectionIn(parts->body.get(), selectionStart, selectionLength);
    replaceParts(std::move(parts), selection);
    return true;
}

std::unique_ptr<TextEngine::Parts> TextEngine::readParts(const QByteArray& bytes, FormatCode format)
{
    const std::shared_ptr<DocumentCodec> codec = codecFor(format);
    if (!codec || bytes.size() > codec->maxInputBytes()) {
        failWith(codec ? FileError::TooLarge : FileError::NoCodec);
        return nullptr;
    }
    auto parts = std::make_unique<Parts>();
    parts->pageSetup = m_parts->pageSetup;
    parts->pageSetup.headerFooterFlags = 0;
    m_lastRead = {};
    DocumentSet target = parts->set();
    target.report = &m_lastRead;
    if (!codec->read(bytes, target)) {
        failWith(FileError::NotUnderstood);
        return nullptr;
    }
    m_lastFileError = FileError::None;
    return parts;
}

bool TextEngine::readInto(const QByteArray& bytes, FormatCode format, bool insertAtCaret)
{
    std::unique_ptr<Parts> parts = readParts(bytes, format);
    if (!parts)
        return false;
    if (insertAtCaret)
        insertAt(m_cursor, *parts->body);
    else if (const QTextFrame* frame = Objects(*m_active).textFrame(currentTextFrame()))
        insertAt(wholeFrame(*frame), *parts->body);
    else
        replaceParts(std::move(parts));
    return true;
}

void TextEngine::insertAt(QTextCursor cursor, const QTextDocument& content)
{
    transfer::insertDocument(content, cursor);
    moveCursor(cursor);
}

QTextCursor TextEngine::wholeFrame(const QTextFrame& frame)
{
    QTextCursor cursor = frame.firstCursorPosition();
    cursor.setPosition(frame.lastPosition(), QTextCursor::KeepAnchor);
    return cursor;
}

void TextEngine::replaceParts(std::unique_ptr<Parts> parts, const QTextCursor& caret)
{
    std::unique_ptr<Parts> old = std::exchange(m_parts, std::move(parts));
    for (const DocumentSet set = m_parts->set();
         QTextDocument* document : {set.body, set.header, set.firstHeader, set.footer, set.firstFooter})
        adopt(document);
    m_currentField = 0;
    setActive(m_parts->body.get(), caret);
    if (old)
        old->release();
}

void TextEngine::adopt(QTextDocument* document)
{
    // A loaded document starts a history of its own.
    document->clearUndoRedoStacks();
    // Only a document with a layout says where it changed: the body, which
    // the pages follow edit by edit. Headers and footers are copied afresh.
    if (document == m_parts->body.get()) {
        connect(document, &QTextDocument::contentsChange, this, [this, document](int position, int removed, int added) {
            if (!m_displayChange && document == m_parts->body.get())
                m_parts->followBody(position, removed, added);
        });
    }
    connect(document, &QTextDocument::contentsChanged, this, [this, document] {
        if (m_displayChange)
            return;
        if (document != m_parts->body.get())
            m_parts->marginsChanged = true;
        emit changed();
    });
}

// ---- View hooks -----------------------------------------------------------

bool TextEngine::handleKeyPress(int key, Qt::KeyboardModifiers modifiers)
{
    bool handled = false;
    emit keyPressed(key, modifiers, &handled);
    if (!handled && key == Qt::Key_Tab && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier)
        return moveToNextCell();
    if (handled || !endsParagraph(key, modifiers))
        return handled;
    setSelectedText(QStringLiteral("\r\n"));
    return true;
}

bool TextEngine::moveToNextCell()
{
    QTextCursor caret = m_cursor;
    {
        EditStep step(m_cursor);
        if (!Tables(*m_active).moveToNextCell(caret))
            return false;
    }
    moveCursor(caret);
    return true;
}

void TextEngine::applyPageViewMargins()
{
    const QScopedValueRollback displayOnly(m_displayChange, true);
    applyPagedRootFrame(*m_parts->body, m_parts->pageSetup);
}

void TextEngine::handleClick(int position)
{
    if (const int id = Fields(*m_active).at(position))
        emit fieldClicked(id);
}

// ---- Accessors ------------------------------------------------------------

QTextDocument* TextEngine::document() const
{
    return m_parts->body.get();
}

QTextDocument* TextEngine::activeDocument() const
{
    return m_active;
}

QTextCursor TextEngine::textCursor() const
{
    return m_cursor;
}

void TextEngine::setTextCursor(const QTextCursor& cursor)
{
    if (m_clearing || cursor.document() != m_active)
        return;
    m_cursor = cursor;
    if (const int field = fieldAtCaret())
        m_currentField = field;
    followFrameFocus();
    emit caretMoved();
}

QTextCharFormat TextEngine::typingFormat() const
{
    return typingFormatAt(m_cursor);
}

QTextCharFormat TextEngine::typingFormatAt(const QTextCursor& cursor)
{
    const QTextCharFormat format = cursor.charFormat();
    const int id = format.intProperty(FieldId);
    if (id <= 0)
        return format;
    const Fields fields(*cursor.document());
    const int position = cursor.selectionStart();
    const bool inside = fields.idOfCharacter(position - 1) == id && fields.idOfCharacter(position) == id;
    return inside ? format : Fields::withoutField(format);
}

DocumentSet TextEngine::documentSet()
{
    DocumentSet set = m_parts->set();
    set.report = &m_lastRead;
    return set;
}

// ---- Internals ------------------------------------------------------------

void TextEngine::moveCursor(const QTextCursor& cursor)
{
    setTextCursor(cursor);
    emit textCursorChanged();
}

QTextCharFormat TextEngine::selectionCharFormat() const
{
    if (!m_cursor.hasSelection())
        return m_cursor.charFormat();
    QTextCursor first(m_active);
    first.setPosition(m_cursor.selectionStart());
    first.setPosition(m_cursor.selectionStart() + 1, QTextCursor::KeepAnchor);
    return first.charFormat();
}

void TextEngine::setCharProperty(int property, const QVariant& value)
{
    QTextCharFormat change;
    change.setProperty(property, value);
    QTextCursor cursor = m_cursor;
    cursor.mergeCharFormat(change);
    // An empty paragraph keeps the format chosen for typing in it, also
    // when the caret is placed into it anew (a click, an empty input box).
    if (!cursor.hasSelection() && cursor.block().length() == 1)
        cursor.mergeBlockCharFormat(change);
    moveCursor(cursor);
}

QTextBlockFormat TextEngine::selectionBlockFormat() const
{
    return m_active->findBlock(m_cursor.selectionStart()).blockFormat();
}

void TextEngine::followFrameFocus()
{
    const int frame = currentTextFrame();
    if (frame == m_frameFocus)
        return;
    const bool left = m_frameFocus > 0;
    m_frameFocus = frame;
    if (left)
        emit textFrameLeft();
    if (frame > 0)
        emit textFrameEntered(frame);
}

void TextEngine::setActive(QTextDocument* document, const QTextCursor& caret)
{
    m_active = document;
    m_frameFocus = 0;
    emit activeDocumentChanged(document);
    moveCursor(caret.isNull() || caret.document() != document ? QTextCursor(document) : caret);
}

} // namespace engine
