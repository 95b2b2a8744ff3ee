#include "dialogs/findsession.h"

#include "engine/textengine.h"
#include "textfold/fold.h"

namespace dialogs {

void FindSession::restart(engine::TextEngine* engine)
{
    m_engine = engine;
    m_lastPosition = 0;
    m_lastFound.clear();
}

bool FindSession::find(const QString& text, int start, int flags)
{
    if (!m_engine)
        return false;
    m_lastPosition = m_engine->find(text, start, flags);
    if (m_lastPosition < 0)
        return false;
    m_lastFound = text;
    return true;
}

// The selection is the match found last when the search text has not
// changed since and the selection still reads as that text. Case is never
// asked about here, so a selection differing only in case is the match; the
// width and kana the search ignored are ignored too.
bool FindSession::lastMatchSelected(const QString& text, int flags) const
{
    if (text != m_lastFound || m_lastPosition < 0)
        return false;
    const textfold::Folds folds = engine::findFolds(flags) | textfold::Fold::Case;
    return textfold::folded(m_engine->selectedText(), folds) == textfold::folded(m_lastFound, folds);
}

bool FindSession::replaceOne(const QString& text, int flags, const Replacement& replacement)
{
    if (!m_engine)
        return false;
    if (m_lastFound.isEmpty())
        m_lastFound = m_engine->selectedText();
    if (lastMatchSelected(text, flags)) {
        if (replacement.look)
            m_engine->setSelectedText(replacement.text, *replacement.look);
        else
            m_engine->setSelectedText(replacement.text);
    }
    return find(text, -1, flags);
}

int FindSession::replaceAll(const QString& text, int flags, const Replacement& replacement)
{
    if (!m_engine)
        return 0;
    const int replaced = m_engine->replaceAll(text, flags, replacement.text, replacement.look);
    if (replaced > 0)
        m_lastFound = text;
    // The search behind the last replacement is the one that found nothing.
    m_lastPosition = -1;
    return replaced;
}

} // namespace dialogs
