#pragma once
// Fills one document with snapshot content through a QTextCursor: the
// document is cleared first, everything happens in one edit block and no undo
// history is kept, as when Qt itself replaces a document's content.
//
// Qt makes some paragraphs on its own: the first one of the document, of a
// frame and of a table cell, and the one after a frame or table. The builder
// fills those (`reuse`) and starts the others.

#include <QHash>
#include <QList>
#include <QTextCursor>
#include <QTextFormat>

class QImage;
class QTextDocument;
class QTextFrame;
class QTextList;
class QTextTable;

namespace engine {

class SnapshotBuilder {
public:
    SnapshotBuilder(QTextDocument& document, const QTextFrameFormat& rootFormat);
    ~SnapshotBuilder();
    SnapshotBuilder(const SnapshotBuilder&) = delete;
    SnapshotBuilder& operator=(const SnapshotBuilder&) = delete;

    void addPicture(const QString& name, const QImage& image);

    // `list` numbers the snapshot's lists; -1 for a paragraph outside lists.
    void paragraph(bool reuse, const QTextBlockFormat& format, const QTextCharFormat& charFormat,
                   int list, const QTextListFormat& listFormat);
    void text(const QString& text, const QTextCharFormat& format);
    // `count` picture characters, each floated through a frame of `floatFormat`.
    void floatingPictures(qsizetype count, const QTextImageFormat& format,
                          const QTextFrameFormat& floatFormat);

    void beginFrame(const QTextFrameFormat& format);
    void beginTable(const QTextTableFormat& format, int rows, int columns);
    // The next cell of the innermost table; covered cells are merged into it.
    void beginCell(int row, int column, int rowSpan, int columnSpan, const QTextCharFormat& format);
    // Closes the innermost frame or table; the cursor goes to the paragraph after it.
    void end();

private:
    QTextFrame* floatFrameBeforeCursor() const;

    QTextDocument& m_document;
    QTextCursor m_cursor;
    bool m_undoWasEnabled;
    bool m_atCellStart = false;
    QList<QTextFrame*> m_open;
    QHash<int, QTextList*> m_lists;
};

} // namespace engine
