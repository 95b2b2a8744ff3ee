#pragma once
// The class rules of a document's style sheets ("div.di01 {…}", ".note {…}"),
// so that an element's classes can be written into its own style attribute:
// Qt's HTML import reads lengths in points from a style sheet wrongly, and
// the dialect's element rules must not reach the document at all.

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

namespace formats {

class ClassRules {
public:
    // Adds the rules of one style sheet text: selectors of the forms
    // tag.class and .class for `declarationsFor`, those and tag selectors for
    // `cascadeFor`; any other selector only makes the sheet not `cascades()`.
    void add(QStringView styleSheet);

    // The declarations the rules give an element `tag` with the class
    // attribute `classes`: for each class, the .class rules before the
    // tag.class rules, in the order they were given.
    QString declarationsFor(const QString& tag, QStringView classes) const;

    // Whether the one style sheet added says nothing but rules of the forms
    // tag, .class and tag.class: then `cascadeFor` gives every element what
    // Qt's import would take from the sheet, and the sheet need not reach Qt,
    // whose matching of every element against every rule is slow.
    bool cascades() const { return m_sheets == 1 && m_plain; }

    // The declarations the style sheet gives an element, in the order Qt's
    // import applies them: by specificity, then as the rules were given.
    QString cascadeFor(const QString& tag, QStringView classes) const;

private:
    struct Rule {
        QString tag;       // lower case; empty for .class
        QString className; // empty for a tag rule
        QString declarations;
        uint weight;       // as Qt's style selector orders the rules
    };

    void addRule(QStringView selectors, QStringView declarations, int order);
    QString matchingDeclarations(const QString& tag, QStringView classes) const;

    QHash<QString, QString> m_rules; // "tag.class" or ".class" → declarations
    std::vector<Rule> m_cascade;
    // Elements repeat a few names and classes many times.
    mutable QHash<QString, QString> m_cascadeOf; // "tag classes" → declarations
    int m_sheets = 0;
    bool m_plain = true;
};

} // namespace formats
