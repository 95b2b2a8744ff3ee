#include "engine/documentsearch.h"

#include "textfold/foldedtext.h"

#include <QTextBlock>
#include <QTextDocument>

namespace engine {

namespace {

// A block's text as it is searched: a no-break space is found as a space.
QString searchedText(const QTextBlock& block)
{
    QString text = block.text();
    text.replace(QChar::Nbsp, u' ');
    return text;
}

TextSpan inDocument(const QTextBlock& block, const textfold::Match& match)
{
    return {block.position() + int(match.start), int(match.length)};
}

} // namespace

DocumentSearch::DocumentSearch(const QTextDocument& document, const QString& text, textfold::Folds folds)
    : m_document(document)
    , m_text(text)
    , m_folds(folds)
{
}

std::optional<TextSpan> DocumentSearch::next(int from) const
{
    if (m_text.isEmpty())
        return std::nullopt;
    for (QTextBlock block = m_document.findBlock(std::max(from, 0)); block.isValid(); block = block.next()) {
        const QString text = searchedText(block);
        const int offset = std::max(from - block.position(), 0);
        const textfold::Match match = textfold::FoldedText(text, m_folds).indexOf(m_text, offset);
        if (match.found())
            return inDocument(block, match);
    }
    return std::nullopt;
}

std::optional<TextSpan> DocumentSearch::previous(int before) const
{
    if (m_text.isEmpty() || before <= 0)
        return std::nullopt;
    for (QTextBlock block = m_document.findBlock(before - 1); block.isValid(); block = block.previous()) {
        const QString text = searchedText(block);
        const qsizetype limit = std::min<qsizetype>(before - block.position(), text.size());
        const textfold::Match match = textfold::FoldedText(text, m_folds).lastIndexOf(m_text, limit);
        if (match.found())
            return inDocument(block, match);
    }
    return std::nullopt;
}

QList<TextSpan> DocumentSearch::all() const
{
    QList<TextSpan> spans;
    if (m_text.isEmpty())
        return spans;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QString text = searchedText(block);
        for (const textfold::Match& match : textfold::FoldedText(text, m_folds).all(m_text))
            spans.append(inDocument(block, match));
    }
    return spans;
}

} // namespace engine
