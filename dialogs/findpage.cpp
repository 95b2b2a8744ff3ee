#include "dialogs/findpage.h"

#include "dialogs/fontchoice.h"
#include "dialogs/frmt.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "textfold/conversions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTabBar>
#include <QVBoxLayout>

namespace dialogs {

namespace {

QLabel* label(const char* text)
{
    return new QLabel(QString::fromUtf8(text));
}

QPushButton* button(const char* caption, const QString& name)
{
    auto* made = new QPushButton(QString::fromUtf8(caption));
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

// The search text of a box: a paragraph end can never be found, so a
// selection taken over ends at its first one.
QString firstLine(const QString& text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n\u2029]")));
    return end < 0 ? text : text.left(end);
}

} // namespace

void rememberText(QComboBox& box)
{
    const QString text = box.currentText();
    if (text.isEmpty())
        return;
    for (int i = 0; i < box.count(); ++i) {
        if (box.itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return;
    }
    box.insertItem(0, text);
    while (box.count() > FindPage::kHistoryLength)
        box.removeItem(box.count() - 1);
    box.setEditText(text);
}

FindPage::FindPage(const Frmt& formats)
    : m_formats(formats)
    , m_box(std::make_unique<engine::TextEngine>())
    , m_frame(std::make_unique<QWidget>())
    , m_tabs(new QTabBar)
    , m_panels(new QStackedWidget)
{
    m_searchHistory = new QStandardItemModel(m_frame.get());
    m_tabs->addTab(QStringLiteral("検索"));
    m_tabs->addTab(QStringLiteral("置換"));
    m_tabs->addTab(QStringLiteral("書式付き置換"));
    m_panels->addWidget(makeFindPanel());
    m_panels->addWidget(makeReplacePanel());
    m_panels->addWidget(makeFormattedPanel());
    auto* layout = new QVBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_panels, 1);
    QObject::connect(m_tabs, &QTabBar::currentChanged, m_frame.get(), [this](int panel) { showPanel(panel); });
}

FindPage::~FindPage() = default;

QComboBox* FindPage::makeSearchBox(int index)
{
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("cbFnd%1").arg(index));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(24);
    if (index < 3)
        box->setModel(m_searchHistory);
    return box;
}

void FindPage::addMatchBoxes(Panel panel, QGridLayout* grid, int row)
{
    m_matchCase[panel] = new QCheckBox(QStringLiteral("大文字･小文字を区別する"));
    m_matchCase[panel]->setObjectName(QStringLiteral("chMatch%1").arg(int(panel)));
    m_ignoreWidth[panel] = new QCheckBox(QStringLiteral("全角/半角を区別しない"));
    m_ignoreWidth[panel]->setObjectName(QStringLiteral("chWidth%1").arg(int(panel)));
    m_ignoreKana[panel] = new QCheckBox(QStringLiteral("ひらがな/カタカナを区別しない"));
    m_ignoreKana[panel]->setObjectName(QStringLiteral("chKana%1").arg(int(panel)));
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_matchCase[panel]);
    boxes->addWidget(m_ignoreWidth[panel]);
    boxes->addWidget(m_ignoreKana[panel]);
    boxes->addStretch();
    grid->addLayout(boxes, row, 1);
}

QPushButton* FindPage::makeUndoButton(Panel panel)
{
    QPushButton* made = button("元に戻す", QStringLiteral("ssUndo"));
    made->setToolTip(QStringLiteral("置換えを一つ元に戻します"));
    made->setEnabled(false);
    QObject::connect(made, &QPushButton::clicked, m_frame.get(), [this] { undo(); });
    m_undoButtons[panel == ReplacePanel ? 0 : 1] = made;
    return made;
}

QWidget* FindPage::makeFindPanel()
{
    auto* panel = new QGroupBox(QStringLiteral("検索"));
    auto* grid = new QGridLayout(panel);
    m_search[FindPanel] = makeSearchBox(0);
    grid->addWidget(label("検索文字"), 0, 0);
    grid->addWidget(m_search[FindPanel], 0, 1);
    addMatchBoxes(FindPanel, grid, 1);
    auto* buttons = new QHBoxLayout;
    const std::array<const char*, 3> captions = {"   先頭から", "  前を探す", "  次を探す"};
    for (int which = FromTop; which <= Next; ++which) {
        m_findButtons[which] = button(captions[which], QStringLiteral("ssCom%1").arg(which));
        QObject::connect(m_findButtons[which], &QPushButton::clicked, m_frame.get(),
                         [this, which] { find(FindButton(which)); });
        buttons->addWidget(m_findButtons[which]);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 2, 1);
    grid->setRowStretch(3, 1);
    return panel;
}

QWidget* FindPage::makeReplacePanel()
{
    auto* panel = new QGroupBox(QStringLiteral("置換え"));
    auto* grid = new QGridLayout(panel);
    m_search[ReplacePanel] = makeSearchBox(1);
    m_replacement = makeSearchBox(3);
    grid->addWidget(label("検索文字"), 0, 0);
    grid->addWidget(m_search[ReplacePanel], 0, 1);
    auto* conversions = new QHBoxLayout;
    const std::array<const char*, 5> conversionCaptions = {"↓全角", "↓半角", "↓大文字", "↓小文字", "↓Proper"};
    for (int which = FullWidth; which <= Proper; ++which) {
        m_conversions[which] = button(conversionCaptions[which], QStringLiteral("cmStrCnv%1").arg(which));
        QObject::connect(m_conversions[which], &QPushButton::clicked, m_frame.get(),
                         [this, which] { convert(Conversion(which)); });
        conversions->addWidget(m_conversions[which]);
    }
    conversions->addStretch();
    grid->addLayout(conversions, 1, 1);
    grid->addWidget(label("置換後の文字"), 2, 0);
    grid->addWidget(m_replacement, 2, 1);
    addMatchBoxes(ReplacePanel, grid, 3);
    auto* buttons = new QHBoxLayout;
    const std::array<const char*, 3> captions = {" 置換え", " 全て置換", "  次を探す"};
    for (int which = ReplaceOne; which <= ReplaceNext; ++which) {
        m_replaceButtons[which] = button(captions[which], QStringLiteral("ssRep%1").arg(which));
        QObject::connect(m_replaceButtons[which], &QPushButton::clicked, m_frame.get(),
                         [this, which] { replace(ReplacePanel, ReplaceButton(which)); });
        buttons->addWidget(m_replaceButtons[which]);
    }
    buttons->addStretch();
    buttons->addWidget(makeUndoButton(ReplacePanel));
    grid->addLayout(buttons, 4, 1);
    grid->setRowStretch(5, 1);
    return panel;
}

QWidget* FindPage::makeFormattedPanel()
{
    auto* panel = new QGroupBox(QStringLiteral("置換え"));
    auto* grid = new QGridLayout(panel);
    m_search[FormattedPanel] = makeSearchBox(2);
    grid->addWidget(label("検索文字"), 0, 0);
    grid->addWidget(m_search[FormattedPanel], 0, 1);
    m_boxView = new engine::EngineView(*m_box);
    m_boxView->setObjectName(QStringLiteral("txFndR"));
    m_boxView->setFixedHeight(m_boxView->fontMetrics().height() * 3);
    m_fontButton = button("ﾌｫﾝﾄ", QStringLiteral("cmFmt"));
    QObject::connect(m_fontButton, &QPushButton::clicked, m_frame.get(), [this] { chooseBoxFont(); });
    auto* boxRow = new QHBoxLayout;
    boxRow->addWidget(m_boxView, 1);
    boxRow->addWidget(m_fontButton);
    grid->addWidget(label("置換後の文字"), 1, 0);
    grid->addLayout(boxRow, 1, 1);
    addMatchBoxes(FormattedPanel, grid, 2);
    auto* buttons = new QHBoxLayout;
    const std::array<const char*, 3> captions = {" 置換え", " 全て置換", "  次を探す"};
    for (int which = ReplaceOne; which <= ReplaceNext; ++which) {
        m_formattedButtons[which] = button(captions[which], QStringLiteral("ssRpf%1").arg(which));
        QObject::connect(m_formattedButtons[which], &QPushButton::clicked, m_frame.get(),
                         [this, which] { replace(FormattedPanel, ReplaceButton(which)); });
        buttons->addWidget(m_formattedButtons[which]);
    }
    buttons->addStretch();
    buttons->addWidget(makeUndoButton(FormattedPanel));
    grid->addLayout(buttons, 3, 1);
    grid->setRowStretch(4, 1);
    return panel;
}

QWidget* FindPage::frame()
{
    return m_frame.get();
}

QWidget* FindPage::focusControl()
{
    return m_search.at(currentPanel());
}

int FindPage::currentPanel() const
{
    return m_tabs->currentIndex();
}

QPushButton* FindPage::replaceButton(Panel panel, ReplaceButton which) const
{
    return panel == FormattedPanel ? m_formattedButtons.at(which) : m_replaceButtons.at(which);
}

QPushButton* FindPage::undoButton(Panel panel) const
{
    return m_undoButtons.at(panel == FormattedPanel ? 1 : 0);
}

void FindPage::fill(const PageContext& context, const QString&)
{
    m_engine = context.engine;
    const int panel = context.replaceMode ? ReplacePanel : FindPanel;
    m_tabs->setCurrentIndex(panel);
    showPanel(panel);
    if (m_engine && m_engine->selectionLength() > 0) {
        const QString selected = firstLine(m_engine->selectedText());
        for (QComboBox* box : m_search)
            box->setEditText(selected);
    }
    resetFormattedBox();
    m_session.restart(m_engine);
    updateUndoButtons();
}

bool FindPage::apply(QString&)
{
    return true;
}

void FindPage::showPanel(int panel)
{
    m_panels->setCurrentIndex(panel);
    m_search.at(panel)->setFocus();
}

// The box holds nothing and types in the body format.
void FindPage::resetFormattedBox()
{
    const UserFormat& body = m_formats.record(kBodyFormat);
    m_box->reset();
    m_box->setFontName(body.fontName);
    m_box->setFontSize(body.size);
    m_box->setTextColor(body.textColor);
    m_box->setBackgroundColor(body.backgroundColor);
}

int FindPage::flags(Panel panel) const
{
    int flags = engine::FindDefault;
    if (m_matchCase.at(panel)->isChecked())
        flags |= engine::FindMatchCase;
    if (m_ignoreWidth.at(panel)->isChecked())
        flags |= engine::FindIgnoreWidth;
    if (m_ignoreKana.at(panel)->isChecked())
        flags |= engine::FindIgnoreKana;
    return flags;
}

void FindPage::find(FindButton which)
{
    QComboBox* box = m_search[FindPanel];
    rememberText(*box);
    const int start = which == FromTop ? 0 : -1;
    const int backward = which == Backward ? engine::FindBackward : 0;
    if (m_session.find(box->currentText(), start, flags(FindPanel) | backward) && which == FromTop)
        m_findButtons[Next]->setFocus();
}

Replacement FindPage::replacement(Panel panel) const
{
    if (panel != FormattedPanel)
        return {m_replacement->currentText(), std::nullopt};
    // The box's look is that of its first character, or of its typing when empty.
    const QTextCursor caret = m_box->textCursor();
    m_box->setSelection(0, -1);
    Replacement formatted{m_box->plainText(), m_box->characterLook()};
    m_box->setTextCursor(caret);
    return formatted;
}

void FindPage::replace(Panel panel, ReplaceButton which)
{
    QComboBox* box = m_search.at(panel);
    rememberText(*box);
    if (panel == ReplacePanel)
        rememberText(*m_replacement);
    const QString text = box->currentText();
    switch (which) {
    case ReplaceOne: m_session.replaceOne(text, flags(panel), replacement(panel)); break;
    case ReplaceAll: m_session.replaceAll(text, flags(panel), replacement(panel)); break;
    case ReplaceNext: m_session.find(text, -1, flags(panel)); break;
    }
    updateUndoButtons();
}

void FindPage::convert(Conversion which)
{
    const QString text = m_search[ReplacePanel]->currentText();
    QString converted;
    switch (which) {
    case FullWidth: converted = textfold::toFullWidth(text); break;
    case HalfWidth: converted = textfold::toHalfWidth(text); break;
    case Upper: converted = textfold::toUpper(text); break;
    case Lower: converted = textfold::toLower(text); break;
    case Proper: converted = textfold::toProper(text); break;
    }
    m_replacement->setEditText(converted);
}

void FindPage::chooseBoxFont()
{
    const int caret = m_box->selectionStart();
    m_box->setSelection(0, -1);
    chooseFont(*m_box);
    m_box->setSelection(caret, 0);
}

void FindPage::undo()
{
    if (m_engine)
        m_engine->undo();
    updateUndoButtons();
}

void FindPage::updateUndoButtons()
{
    const bool possible = m_engine && m_engine->undoCount() > 0;
    for (QPushButton* undo : m_undoButtons)
        undo->setEnabled(possible);
}

} // namespace dialogs
