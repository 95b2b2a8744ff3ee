// uTxm's tool bars: showing and hiding them, their stored arrangement, and
// what their buttons, pickers and the ruler do to the document.

#include "editor/utxm.h"

#include "bars/buttonbar.h"
#include "bars/colorpicker.h"
#include "bars/formatbar.h"
#include "bars/palette.h"
#include "bars/ruler.h"
#include "bars/standardbar.h"
#include "bars/statusbar.h"
#include "bars/toolband.h"
#include "dialogs/popupmenus.h"
#include "editor/stylelevel.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>

namespace editor {

namespace {

// The standard buttons catch up with typing this long after it.
constexpr int kButtonRefreshMs = 150;

// The display menu's items, by the bar number their command carries.
const QString kDisplayItems[] = {QStringLiteral("ﾂｰﾙﾊﾞｰ"), QStringLiteral("文字色指定"), QStringLiteral("書式指定"),
                                 QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ"), QStringLiteral("ﾙｰﾗｰ")};

std::optional<bars::Alignment> barAlignment(engine::ParagraphAlignment alignment)
{
    switch (alignment) {
    case engine::ParagraphAlignment::Left: return bars::Alignment::Left;
    case engine::ParagraphAlignment::Center: return bars::Alignment::Center;
    case engine::ParagraphAlignment::Right: return bars::Alignment::Right;
    case engine::ParagraphAlignment::Justify: return std::nullopt;
    }
    return std::nullopt;
}

engine::ParagraphAlignment engineAlignment(bars::Alignment alignment)
{
    switch (alignment) {
    case bars::Alignment::Left: return engine::ParagraphAlignment::Left;
    case bars::Alignment::Center: return engine::ParagraphAlignment::Center;
    case bars::Alignment::Right: return engine::ParagraphAlignment::Right;
    }
    return engine::ParagraphAlignment::Left;
}

} // namespace

void uTxm::makeBars()
{
    m_band = new bars::ToolBand(this);
    m_buttonRefresh.setSingleShot(true);
    m_buttonRefresh.setInterval(kButtonRefreshMs);
    connect(&m_buttonRefresh, &QTimer::timeout, this, &uTxm::refreshStandardButtons);

    connect(m_band->standardBar(), &bars::StandardBar::jobRequested, this, [this](int job) {
        if (!m_modified.busy())
            rtAct(job);
    });
    bars::FormatBar* format = m_band->formatBar();
    connect(format, &bars::FormatBar::textColorPicked, this,
            [this](int color) { applyPickedColor(bars::ColorTarget::Text, color); });
    connect(format, &bars::FormatBar::backgroundColorPicked, this,
            [this](int color) { applyPickedColor(bars::ColorTarget::Background, color); });
    connect(format, &bars::FormatBar::painterPressed, this, [this] {
        if (!m_modified.busy())
            rtAct(71);
    });

    bars::ButtonBar* buttons = m_band->buttonBar();
    connect(buttons, &bars::ButtonBar::emphasisToggled, this, [this](bars::Emphasis emphasis, bool on) {
        if (m_modified.busy())
            return;
        switch (emphasis) {
        case bars::Emphasis::Bold: m_engine->setBold(on); break;
        case bars::Emphasis::Italic: m_engine->setItalic(on); break;
        case bars::Emphasis::Underline: m_engine->setUnderline(on); break;
        }
        m_view->setFocus();
        refreshBars();
    });
    connect(buttons, &bars::ButtonBar::alignmentChosen, this, [this](bars::Alignment alignment) {
        if (m_modified.busy())
            return;
        m_engine->setParagraphAlignment(engineAlignment(alignment));
        m_view->setFocus();
        refreshBars();
    });
    connect(buttons, &bars::ButtonBar::indentRequested, this, [this](int step) {
        if (!m_modified.busy())
            rtAct(55, step > 0 ? 0 : -1);
    });

    connect(m_band->ruler(), &bars::Ruler::indentsChanged, this, &uTxm::applyRulerIndents);
    connect(m_band->ruler(), &bars::Ruler::tabsChanged, this, &uTxm::applyRulerTabs);
    connect(m_band, &bars::ToolBand::menuRequested, this, &uTxm::showBarMenu);
    // The ruler measures the text where the view shows it.
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &uTxm::refreshRuler);
    // A new zoom reaches the view's layout first.
    connect(m_engine.get(), &engine::TextEngine::viewStateChanged, this, &uTxm::refreshRuler, Qt::QueuedConnection);
}

QLabel* uTxm::statusPanel() const
{
    return m_band->statusBar()->styleLabel();
}

void uTxm::refreshBars()
{
    m_band->statusBar()->styleLabel()->setText(styleCaption(*m_engine, m_formats));
    const auto [line, column] = m_engine->caretLineAndColumn();
    m_band->statusBar()->showPlace({m_view->caretPage(), line, column});
    bars::ButtonBar* buttons = m_band->buttonBar();
    buttons->setFreeFormatting(!headingAtCaret(*m_engine, m_formats));
    buttons->showLook(m_engine->bold(), m_engine->italic(), m_engine->underline(),
                      barAlignment(m_engine->paragraphAlignment()));
    refreshRuler();
    if (!m_buttonRefresh.isActive())
        m_buttonRefresh.start();
}

void uTxm::refreshStandardButtons()
{
    const DocumentState document = ChkJbMn0();
    bars::EditorFacts facts;
    facts.hasContent = document.bExDoc;
    facts.modified = m_modified.modified();
    facts.canCopy = m_engine->canCopy();
    facts.canPaste = m_engine->canPaste();
    facts.canUndo = canUndo();
    facts.canRedo = canRedo();
    facts.documentType = m_documentType;
    m_band->standardBar()->refresh(facts);
}

void uTxm::refreshRuler()
{
    if (!m_band->layoutState().rulerShown())
        return;
    const engine::TextSpan span = m_view->caretTextSpan();
    bars::ParagraphMarks marks;
    marks.left = m_engine->paragraphValue(engine::ParagraphValue::LeftIndent);
    marks.firstLine = m_engine->paragraphValue(engine::ParagraphValue::FirstLineIndent);
    marks.right = m_engine->paragraphValue(engine::ParagraphValue::RightIndent);
    marks.tabs = m_engine->tabStops();
    const QPoint viewOrigin = m_view->mapTo(this, QPoint(0, 0)) - m_band->ruler()->mapTo(this, QPoint(0, 0));
    m_band->ruler()->showParagraph({span.left + viewOrigin.x(), span.right + viewOrigin.x(), span.pixelsPerTwip},
                                   marks);
}

// A picked colour is a change the user makes, like typing: it marks the
// document modified through the engine's own change notification.
void uTxm::applyPickedColor(bars::ColorTarget target, int color)
{
    if (m_modified.busy())
        return;
    if (target == bars::ColorTarget::Text)
        m_engine->setTextColor(color);
    else
        m_engine->setBackgroundColor(color);
    m_view->setFocus();
    refreshBars();
}

void uTxm::applyRulerIndents(double left, double firstLine, double right)
{
    if (m_modified.busy())
        return;
    m_engine->setParagraphValue(engine::ParagraphValue::LeftIndent, left);
    m_engine->setParagraphValue(engine::ParagraphValue::FirstLineIndent, firstLine);
    m_engine->setParagraphValue(engine::ParagraphValue::RightIndent, right);
    m_view->setFocus();
    refreshBars();
}

void uTxm::applyRulerTabs(const QList<double>& tabs)
{
    if (m_modified.busy())
        return;
    m_engine->setTabStops(tabs);
    m_view->setFocus();
    refreshBars();
}

uTxm::Outcome uTxm::redrawBars()
{
    m_band->redraw();
    return Outcome::Unchanged;
}

uTxm::Outcome uTxm::showOrHideBars(const QVariant& command)
{
    bool number = false;
    const int value = command.toInt(&number);
    if (!number || !m_band->showOrHide(value))
        return Outcome::Skipped;
    tickDisplayMenu();
    refreshBars();
    // A ruler just shown measures once it has its place.
    QMetaObject::invokeMethod(this, &uTxm::refreshRuler, Qt::QueuedConnection);
    return Outcome::Unchanged;
}

void uTxm::applyBarLayout()
{
    bars::BarLayout layout = bars::BarLayout::fromText(m_options.barLayout).value_or(m_band->layoutState());
    layout.setRulerShown(m_options.rulerShown);
    m_band->arrange(layout);
    tickDisplayMenu();
}

void uTxm::tickDisplayMenu()
{
    const bars::BarLayout& layout = m_band->layoutState();
    const dialogs::PopupMenus& menus = m_dialog->menus();
    for (int bar = 1; bar <= bars::kBarCount; ++bar)
        if (QAction* item = menus.action(dialogs::PopupMenu::Display, kDisplayItems[bar - 1]))
            item->setChecked(layout.shown(bars::Bar(bar)));
    if (QAction* ruler = menus.action(dialogs::PopupMenu::Display, kDisplayItems[bars::kRulerNumber - 1]))
        ruler->setChecked(layout.rulerShown());
}

void uTxm::showBarMenu(const QPoint& globalPosition)
{
    m_dialog->menus().menu(dialogs::PopupMenu::Display)->popup(globalPosition);
}

void uTxm::showPainterFace()
{
    const std::optional<engine::CharacterLook>& kept = m_painter.kept();
    if (!kept)
        return;
    QFont font(kept->fontName);
    font.setBold(kept->bold);
    font.setItalic(kept->italic);
    font.setUnderline(kept->underline);
    font.setStrikeOut(kept->strikeOut);
    m_band->formatBar()->showKeptFormat(font, engine::colorFromHost(kept->textColor),
                                        engine::colorFromHost(kept->backgroundColor));
}

} // namespace editor
