#pragma once
// The class rules of a document's style sheets ("div.di01 {…}", ".note {…}"),
// so that an element's classes can be written into its own style attribute:
// Qt's HTML import reads lengths in points from a style sheet wrongly, and
// the dialect's element rules must not reach the document at all.

#include <QHash>
#include <QString>
#include <QStringView>

namespace formats {

class ClassRules {
public:
    // Adds the rules of one style sheet text; everything but selectors of
    // the forms tag.class and .class is passed over.
    void add(QStringView styleSheet);

    // The declarations the rules give an element `tag` with the class
    // attribute `classes`: for each class, the .class rules before the
    // tag.class rules, in the order they were given.
    QString declarationsFor(const QString& tag, QStringView classes) const;

private:
    void addRule(QStringView selectors, QStringView declarations);

    QHash<QString, QString> m_rules; // "tag.class" or ".class" → declarations
};

} // namespace formats
