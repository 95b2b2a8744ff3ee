#pragma once
// The generated classes of one conversion: one class per distinct tag and
// style text, numbered per tag, and the style rules that define them.

#include <QHash>
#include <QString>
#include <utility>
#include <vector>

namespace html {

class ClassTable {
public:
    // The class name for `tag` with `style` (di01, sp02, a01...): the same
    // tag and style (text comparison, double spaces collapsed) always get the
    // same class. Tags starting with "###" get none ("").
    QString MakeClass(const QString& tag, const QString& style);
    bool isEmpty() const { return m_entries.empty(); }
    // One rule line a class, sorted by selector, each ending in CR LF.
    QString ClassRules() const;

private:
    struct Entry {
        QString key;      // tag, ".", the tag's first two characters
        int number;
        QString style;
    };

    QString classFor(const QString& tag, const QString& style);

    std::vector<Entry> m_entries;
    QHash<QString, int> m_numberOf;   // folded key TAB folded style -> number
    QHash<QString, int> m_countOf;    // folded key -> classes so far
    // The class given to each tag and style as written: a long document
    // repeats a few styles thousands of times, and each is folded once.
    QHash<std::pair<QString, QString>, QString> m_classOf;
};

} // namespace html
