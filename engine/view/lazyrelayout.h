#pragma once
// Lays a document out again lazily after a change too large to lay out at
// once. Restyling or replacing a whole long document would otherwise keep
// the window frozen for seconds while every changed paragraph is laid out
// before control returns. After such a change the layout starts over from
// the top as for a freshly loaded document: the first screenful at once, the
// rest a step at a time between events. Small changes, such as typing, keep
// the immediate layout of just what changed.

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QTextDocument;

namespace engine {

class LazyRelayout : public QObject {
    Q_OBJECT
public:
    // Changes touching at least this many characters are laid out lazily.
    static constexpr int kLargeChange = 20000;

    explicit LazyRelayout(QObject* parent = nullptr);

    // Follows the changes of `document` (of nothing for nullptr) from now on.
    void watch(QTextDocument* document);

private:
    void restartLayoutForLargeChange(int from, int removed, int added);

    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_changes;
};

} // namespace engine
