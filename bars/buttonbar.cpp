#include "bars/buttonbar.h"

#include "bars/standardbar.h"

#include <QAction>
#include <QActionGroup>

namespace bars {

ButtonBar::ButtonBar(QWidget* parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("vButton"));
    setWindowTitle(QStringLiteral("書式指定"));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_emphasis[0] = addButton(QStringLiteral("B"), QStringLiteral("太字 (Ctrl+B)"), QStringLiteral("format-text-bold"), QStringLiteral("cmBold"));
    m_emphasis[1] = addButton(QStringLiteral("I"), QStringLiteral("斜体 (Ctrl+I)"), QStringLiteral("format-text-italic"), QStringLiteral("cmItalic"));
    m_emphasis[2] = addButton(QStringLiteral("U"), QStringLiteral("下線 (Ctrl+U)"), QStringLiteral("format-text-underline"), QStringLiteral("cmUnderline"));
    for (int i = 0; i < 3; ++i) {
        m_emphasis[i]->setCheckable(true);
        connect(m_emphasis[i], &QAction::triggered, this, [this, i](bool on) { emit emphasisToggled(Emphasis(i), on); });
    }
    addSeparator();
    auto* alignments = new QActionGroup(this);
    alignments->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    m_alignment[0] = addButton(QStringLiteral("左"), QStringLiteral("左揃え"), QStringLiteral("format-justify-left"), QStringLiteral("cmLeft"));
    m_alignment[1] = addButton(QStringLiteral("中"), QStringLiteral("中央揃え"), QStringLiteral("format-justify-center"), QStringLiteral("cmCenter"));
    m_alignment[2] = addButton(QStringLiteral("右"), QStringLiteral("右揃え"), QStringLiteral("format-justify-right"), QStringLiteral("cmRight"));
    for (int i = 0; i < 3; ++i) {
        m_alignment[i]->setCheckable(true);
        alignments->addAction(m_alignment[i]);
        connect(m_alignment[i], &QAction::triggered, this, [this, i] { emit alignmentChosen(Alignment(i)); });
    }
    addSeparator();
    m_indentLess = addButton(QStringLiteral("字上"), QStringLiteral("字下げを１文字分戻す"), QStringLiteral("format-indent-less"), QStringLiteral("cmIndentLess"));
    m_indentMore = addButton(QStringLiteral("字下"), QStringLiteral("字下げ(１文字分)"), QStringLiteral("format-indent-more"), QStringLiteral("cmIndentMore"));
    connect(m_indentLess, &QAction::triggered, this, [this] { emit indentRequested(-1); });
    connect(m_indentMore, &QAction::triggered, this, [this] { emit indentRequested(1); });
}

QAction* ButtonBar::addButton(const QString& caption, const QString& tip, const QString& icon, const QString& name)
{
    const QIcon face = themedIcon(icon);
    QAction* action = addAction(face, caption);
    action->setToolTip(tip);
    action->setObjectName(name);
    return action;
}

void ButtonBar::showLook(bool bold, bool italic, bool underline, std::optional<Alignment> alignment)
{
    const bool on[3] = {bold, italic, underline};
    for (int i = 0; i < 3; ++i) {
        m_emphasis[i]->setChecked(on[i]);
        m_alignment[i]->setChecked(alignment && int(*alignment) == i);
    }
}

void ButtonBar::setFreeFormatting(bool free)
{
    for (QAction* action : actions())
        action->setEnabled(free);
}

QAction* ButtonBar::emphasisAction(Emphasis emphasis) const
{
    return m_emphasis[int(emphasis)];
}

QAction* ButtonBar::alignmentAction(Alignment alignment) const
{
    return m_alignment[int(alignment)];
}

} // namespace bars
