#pragma once
// vButton: the text buttons — bold, italic, underline, the three alignments
// and one character of indent more or less. Headings take their look from
// their style, so there the buttons rest.

#include <QToolBar>
#include <optional>

class QAction;

namespace bars {

enum class Emphasis { Bold, Italic, Underline };
enum class Alignment { Left, Center, Right };

class ButtonBar : public QToolBar {
    Q_OBJECT
public:
    explicit ButtonBar(QWidget* parent = nullptr);

    // Shows the look at the caret without sending anything; justified text
    // has no alignment button of its own.
    void showLook(bool bold, bool italic, bool underline, std::optional<Alignment> alignment);
    // False rests every button (the caret is in a heading).
    void setFreeFormatting(bool free);

    QAction* emphasisAction(Emphasis emphasis) const;
    QAction* alignmentAction(Alignment alignment) const;
    QAction* indentAction(bool more) const { return more ? m_indentMore : m_indentLess; }

signals:
    void emphasisToggled(bars::Emphasis emphasis, bool on);
    void alignmentChosen(bars::Alignment alignment);
    // +1 one character more, −1 one less.
    void indentRequested(int step);

private:
    QAction* addButton(const QString& caption, const QString& tip, const QString& icon, const QString& name);

    QAction* m_emphasis[3];
    QAction* m_alignment[3];
    QAction* m_indentMore;
    QAction* m_indentLess;
};

} // namespace bars
