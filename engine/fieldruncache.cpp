#include "engine/fieldruncache.h"

#include "engine/documentwalk.h"
#include "engine/fieldformat.h"

#include <QHash>
#include <QMutex>
#include <QTextDocument>

#include <algorithm>

namespace engine {

namespace {

// The cache of each document. Looked up here rather than among the
// document's children, which grow with every list and table: a walk over
// many fields asks for the cache once a field. Documents of other threads
// (a long file is converted in pieces, several at once) have theirs here
// too, so the table is guarded.
struct Caches {
    QMutex mutex;
    QHash<const QTextDocument*, FieldRunCache*> byDocument;
};

Caches& caches()
{
    static Caches all;
    return all;
}

} // namespace

FieldRunCache& FieldRunCache::of(QTextDocument& document)
{
    {
        const QMutexLocker lock(&caches().mutex);
        if (FieldRunCache* cache = caches().byDocument.value(&document))
            return *cache;
    }
    return *new FieldRunCache(document);
}

FieldRunCache::FieldRunCache(QTextDocument& document)
    : QObject(&document)
    , m_document(document)
{
    {
        const QMutexLocker lock(&caches().mutex);
        caches().byDocument.insert(&document, this);
    }
    connect(&document, &QTextDocument::contentsChanged, this, &FieldRunCache::invalidate);
}

FieldRunCache::~FieldRunCache()
{
    const QMutexLocker lock(&caches().mutex);
    caches().byDocument.remove(&m_document);
}

const QList<FieldRun>& FieldRunCache::runs()
{
    if (!m_valid || m_revision != m_document.revision())
        rebuild();
    return m_runs;
}

void FieldRunCache::invalidate()
{
    m_valid = false;
}

bool FieldRunCache::isFresh() const
{
    return m_valid && m_revision == m_document.revision();
}

void FieldRunCache::keepAfterReplace(int start, int removed, int added, std::optional<FieldRun> inserted)
{
    const int removedEnd = start + removed;
    const int shift = added - removed;
    QList<FieldRun> kept;
    kept.reserve(m_runs.size() + 1);
    for (FieldRun run : std::as_const(m_runs)) {
        if (removed > 0 && run.start >= start && run.end <= removedEnd)
            continue; // replaced
        if (run.start >= removedEnd) {
            run.start += shift;
            run.end += shift;
        } else if (run.end > start) {
            run.end += shift; // the edit happened inside this field
        }
        if (inserted && run.start >= inserted->start && !kept.contains(*inserted))
            kept.append(*inserted);
        kept.append(run);
    }
    if (inserted && !kept.contains(*inserted))
        kept.append(*inserted);
    m_runs = kept;
    keepAfterFormatChange();
}

void FieldRunCache::keepAfterFormatChange()
{
    m_valid = true;
    m_revision = m_document.revision();
}

int FieldRunCache::issueId()
{
    if (m_lastIssuedId == 0) {
        forEachFragment(m_document, [this](const QTextFragment& fragment) {
            m_lastIssuedId = std::max(m_lastIssuedId, fragment.charFormat().intProperty(FieldId));
        });
    }
    return ++m_lastIssuedId;
}

void FieldRunCache::rebuild()
{
    // Looking the id up once per format, not once per fragment, keeps the
    // walk cheap on long documents: most fragments are no field at all.
    const QList<QTextFormat> formats = m_document.allFormats();
    QList<int> idOfFormat(formats.size());
    for (qsizetype i = 0; i < formats.size(); ++i)
        idOfFormat[i] = formats.at(i).intProperty(FieldId);

    m_runs.clear();
    QHash<int, qsizetype> indexOfId;
    forEachFragment(m_document, [&](const QTextFragment& fragment) {
        const int formatIndex = fragment.charFormatIndex();
        const int id = formatIndex >= 0 && formatIndex < idOfFormat.size() ? idOfFormat.at(formatIndex) : 0;
        if (id <= 0)
            return;
        const int start = fragment.position();
        const int end = start + fragment.length();
        const auto known = indexOfId.constFind(id);
        if (known != indexOfId.constEnd()) {
            m_runs[*known].end = end;
            return;
        }
        indexOfId.insert(id, m_runs.size());
        m_runs.append({id, start, end});
    });
    m_valid = true;
    m_revision = m_document.revision();
}

} // namespace engine
