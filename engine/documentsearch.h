#pragma once
// Finding a text in a document paragraph by paragraph, as Qt's own find
// does (a match never crosses a paragraph end), with the folds a Japanese
// user chooses: letter case, full and half width, hiragana and katakana.
// Matches are reported in document positions.

#include "textfold/fold.h"

#include <QList>
#include <QString>
#include <optional>

class QTextDocument;

namespace engine {

struct TextSpan {
    int start = 0;
    int length = 0;

    bool operator==(const TextSpan&) const = default;
};

class DocumentSearch {
public:
    // `document` must outlive this object.
    DocumentSearch(const QTextDocument& document, const QString& text, textfold::Folds folds);

    // The first match that starts at or after `from`.
    std::optional<TextSpan> next(int from) const;
    // The last match that starts before `before`.
    std::optional<TextSpan> previous(int before) const;
    // Every match from the top, none overlapping another, in document order.
    QList<TextSpan> all() const;

private:
    const QTextDocument& m_document;
    QString m_text;
    textfold::Folds m_folds;
};

} // namespace engine
