#pragma once
// Converting files without a window, for "fumi --convert-to <ext> [--outdir
// DIR] FILE...": each file is opened with the engine as the editor opens it
// and written as save-as writes it — "htm"/"html" as the program's HTML
// dialect (default user formats), "txt" as plain text, "doc" as Word 97–2003,
// "docx" as Word, "rtf" as RTF and "pdf" as the pages the page view shows.
// Other formats are not converted yet and say so.
//
// A conversion never destroys a file: it does not write over any input of
// the command, over a file the same command has already written, or through
// a symbolic link (a link may point anywhere outside the output folder).

#include <QSet>
#include <QString>
#include <QStringList>

namespace formats {

struct ConversionOutcome {
    bool written = false;
    QString reason;       // one line, when nothing was written
    QStringList warnings; // one line each, about what was written
};

// The conversions of one command, which know each other's inputs and outputs.
class ConversionRun {
public:
    // HTML is converted into the dialect in pieces of at least this many
    // characters (formats/html/htmlpieces.h): Qt's document of a piece takes
    // some ninety times its length.
    static constexpr qsizetype kHtmlPieceLength = 32 * 1024;

    explicit ConversionRun(const QStringList& inputs, qsizetype htmlPieceLength = kHtmlPieceLength);

    // Converts `input` into a file named like it with `targetExtension`
    // (without the dot) in `outDir`, or beside the input when `outDir` is
    // empty; missing folders are made. Each picture taken from outside the
    // input's folder tree gives a warning.
    ConversionOutcome convert(const QString& input, const QString& targetExtension, const QString& outDir);

private:
    // Why `target` (and its picture folder, `withPictures`) must not be written; empty when it may.
    QString refusal(const QString& target, bool withPictures) const;

    qsizetype m_htmlPieceLength;
    QSet<QString> m_inputs;  // canonical paths
    QSet<QString> m_written; // canonical paths
};

} // namespace formats
