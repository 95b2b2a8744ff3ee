#include "engine/fieldruncache.h"

#include "engine/documentwalk.h"
#include "engine/fieldformat.h"

#include <QHash>
#include <QTextDocument>

namespace engine {

namespace {

const QString kCacheName = QStringLiteral("engine-field-runs");

} // namespace

FieldRunCache& FieldRunCache::of(QTextDocument& document)
{
    // Only this class names a child so; the cast is therefore safe.
    if (auto* cache = document.findChild<QObject*>(kCacheName, Qt::FindDirectChildrenOnly))
        return *static_cast<FieldRunCache*>(cache);
    return *new FieldRunCache(document);
}

FieldRunCache::FieldRunCache(QTextDocument& document)
    : QObject(&document)
    , m_document(document)
{
    setObjectName(kCacheName);
    connect(&document, &QTextDocument::contentsChanged, this, &FieldRunCache::invalidate);
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

void FieldRunCache::rebuild()
{
    m_runs.clear();
    QHash<int, qsizetype> indexOfId;
    forEachFragment(m_document, [&](const QTextFragment& fragment) {
        const int id = fragment.charFormat().intProperty(FieldId);
        if (id <= 0)
            return;
        const int end = fragment.position() + fragment.length();
        const auto known = indexOfId.constFind(id);
        if (known != indexOfId.constEnd()) {
            m_runs[*known].end = end;
            return;
        }
        indexOfId.insert(id, m_runs.size());
        m_runs.append({id, fragment.position(), end});
    });
    m_valid = true;
    m_revision = m_document.revision();
}

} // namespace engine
