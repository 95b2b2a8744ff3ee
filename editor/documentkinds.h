#pragma once
// The kinds of document file the editor opens and writes, keyed by the
// lower-cased extension of the file name ("html" counts as "htm"): the
// engine's format code and the caption the file dialogs show. This one
// table feeds the open, insert and save dialogs, the opening and the saving.

#include "engine/documentcodec.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <initializer_list>

namespace editor::documentkinds {

struct DocumentKind {
    QStringView extension;     // lower case; "htm" stands for "html" too
    engine::FormatCode format;
    QStringView caption;       // the dialogs' filter text before the patterns
    bool opens;                // the editor reads files of this kind
};

// The lower-cased text after the last "." of the file name in `path`, with
// "html" given as "htm"; "" when the name has no ".".
QString extensionOf(const QString& path);

// The kind of `extension` (as extensionOf gives it); null when the editor
// neither opens nor writes it.
const DocumentKind* kindOf(QStringView extension);

// The filters of a file dialog that offers the kinds of `extensions`, in that
// order, as "caption (patterns)"; a dialog may caption the HTML entry its
// own way with `htmlCaption`.
QStringList dialogFilters(std::initializer_list<QStringView> extensions, QStringView htmlCaption = {});

} // namespace editor::documentkinds
