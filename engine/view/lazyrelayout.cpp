#include "engine/view/lazyrelayout.h"

#include <QTextDocument>

#include <algorithm>

namespace engine {

LazyRelayout::LazyRelayout(QObject* parent)
    : QObject(parent)
{
}

void LazyRelayout::watch(QTextDocument* document)
{
    if (document == m_document)
        return;
    disconnect(m_changes);
    m_document = document;
    if (document) {
        // The document reports a finished edit before its layout takes the
        // change in.
        m_changes = connect(document, &QTextDocument::contentsChange, this,
                            &LazyRelayout::restartLayoutForLargeChange);
    }
}

void LazyRelayout::restartLayoutForLargeChange(int /*from*/, int removed, int added)
{
    if (std::max(removed, added) < kLargeChange)
        return;
    // A new page size, even the same one, makes the layout begin again
    // lazily; laying out the change itself then stops where that has got to.
    m_document->setPageSize(m_document->pageSize());
}

} // namespace engine
