#include "dialogs/fontdialog.h"

#include "dialogs/okcancel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace dialogs {

namespace {

constexpr double kLargestPreviewPoints = 36; // larger sizes would hide the sample

QLabel* caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QString colorStyle(const QColor& text, const QColor& background)
{
    QString style;
    if (text.isValid())
        style += QStringLiteral("color: %1;").arg(text.name());
    if (background.isValid())
        style += QStringLiteral("background-color: %1;").arg(background.name());
    return style;
}

// Without a colour the button says what is painted instead.
void showSwatch(QPushButton& button, const QColor& color, const QString& noColor)
{
    button.setText(color.isValid() ? QString() : noColor);
    button.setStyleSheet(color.isValid() ? QStringLiteral("background-color: %1").arg(color.name()) : QString());
}

} // namespace

const QString FontDialog::kPreviewText = QStringLiteral("あいうえお アイウエオ 亜唖娃 AaBbYyZz");

FontDialog::FontDialog(const env::FontRequest& initial, QWidget* parent)
    : QDialog(parent)
    , m_familyEdit(new QLineEdit(this))
    , m_families(new QListWidget(this))
    , m_styles(new QListWidget(this))
    , m_size(new QComboBox(this))
    , m_textColor(new QPushButton(this))
    , m_textColorNone(new QPushButton(QStringLiteral("なし"), this))
    , m_background(new QPushButton(this))
    , m_backgroundNone(new QPushButton(QStringLiteral("なし"), this))
    , m_underline(new QCheckBox(QStringLiteral("下線"), this))
    , m_strikeOut(new QCheckBox(QStringLiteral("取り消し線"), this))
    , m_preview(new QLabel(kPreviewText, this))
{
    setModal(true);
    setWindowTitle(QStringLiteral("ﾌｫﾝﾄ"));
    m_families->addItems(FontForm::families());
    m_styles->addItems(FontForm::styleNames());
    m_styles->setFixedHeight(m_styles->sizeHintForRow(0) * 5);
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (const double points : FontForm::usualSizes())
        m_size->addItem(FontForm::sizeText(points));
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFixedHeight(72);
    m_preview->setMinimumWidth(360);
    m_preview->setFrameShape(QFrame::StyledPanel);

    auto* choices = new QGridLayout;
    choices->addWidget(caption(QStringLiteral("ﾌｫﾝﾄ名"), m_familyEdit), 0, 0);
    choices->addWidget(m_familyEdit, 1, 0);
    choices->addWidget(m_families, 2, 0, 3, 1);
    choices->addWidget(caption(QStringLiteral("ｽﾀｲﾙ"), m_styles), 0, 1);
    choices->addWidget(m_styles, 1, 1, 2, 1, Qt::AlignTop);
    choices->addWidget(caption(QStringLiteral("ｻｲｽﾞ"), m_size), 0, 2);
    choices->addWidget(m_size, 1, 2, Qt::AlignTop);
    choices->setColumnStretch(0, 1);
    auto* colors = new QGridLayout;
    colors->addWidget(caption(QStringLiteral("文字色"), m_textColor), 0, 0);
    colors->addWidget(m_textColor, 0, 1);
    colors->addWidget(m_textColorNone, 0, 2);
    colors->addWidget(caption(QStringLiteral("背景色"), m_background), 1, 0);
    colors->addWidget(m_background, 1, 1);
    colors->addWidget(m_backgroundNone, 1, 2);
    auto* emphases = new QVBoxLayout;
    emphases->addWidget(m_underline);
    emphases->addWidget(m_strikeOut);
    auto* decoration = new QHBoxLayout;
    decoration->addLayout(colors);
    decoration->addStretch();
    decoration->addLayout(emphases);
    auto* previewGroup = new QGroupBox(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), this);
    (new QVBoxLayout(previewGroup))->addWidget(m_preview);
    const OkCancelRow row = okCancelRow(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(decoration);
    layout->addWidget(previewGroup);
    layout->addLayout(row.layout);

    m_initialFamily = initial.font.family();
    showForm(FontForm::from(initial));

    connect(m_familyEdit, &QLineEdit::textEdited, this, &FontDialog::filterFamilies);
    connect(m_familyEdit, &QLineEdit::textChanged, this, &FontDialog::updatePreview);
    connect(m_families, &QListWidget::currentTextChanged, this, [this](const QString& family) {
        if (!family.isEmpty() && m_families->hasFocus())
            m_familyEdit->setText(family);
    });
    connect(m_families, &QListWidget::itemClicked, this,
            [this](const QListWidgetItem* item) { m_familyEdit->setText(item->text()); });
    connect(m_styles, &QListWidget::currentRowChanged, this, &FontDialog::updatePreview);
    connect(m_size, &QComboBox::editTextChanged, this, &FontDialog::updatePreview);
    connect(m_underline, &QCheckBox::toggled, this, &FontDialog::updatePreview);
    connect(m_strikeOut, &QCheckBox::toggled, this, &FontDialog::updatePreview);
    connect(m_textColor, &QPushButton::clicked, this, [this] { chooseColor(m_textColorValue, QColor(Qt::black), QStringLiteral("文字色")); });
    connect(m_background, &QPushButton::clicked, this, [this] { chooseColor(m_backgroundValue, QColor(Qt::white), QStringLiteral("背景色")); });
    connect(m_textColorNone, &QPushButton::clicked, this, [this] {
        m_textColorValue = QColor();
        showColors();
    });
    connect(m_backgroundNone, &QPushButton::clicked, this, [this] {
        m_backgroundValue = QColor();
        showColors();
    });
    connect(row.ok, &QPushButton::clicked, this, &FontDialog::confirm);
}

FontDialog::~FontDialog() = default;

FontForm FontDialog::form() const
{
    FontForm form;
    const QString family = m_familyEdit->text().trimmed();
    form.family = family.isEmpty() ? m_initialFamily : family;
    form.style = FontForm::Style(std::max(0, m_styles->currentRow()));
    form.size = m_size->currentText();
    form.underline = m_underline->isChecked();
    form.strikeOut = m_strikeOut->isChecked();
    form.textColor = m_textColorValue;
    form.backgroundColor = m_backgroundValue;
    return form;
}

void FontDialog::showForm(const FontForm& form)
{
    m_familyEdit->setText(form.family);
    const QList<QListWidgetItem*> found = m_families->findItems(form.family, Qt::MatchFixedString);
    if (!found.isEmpty())
        m_families->setCurrentItem(found.first());
    m_styles->setCurrentRow(form.style);
    m_size->setEditText(form.size);
    m_underline->setChecked(form.underline);
    m_strikeOut->setChecked(form.strikeOut);
    m_textColorValue = form.textColor;
    m_backgroundValue = form.backgroundColor;
    showColors();
}

// The list keeps the families whose names hold the text typed, and follows
// the first that starts with it.
void FontDialog::filterFamilies(const QString& text)
{
    const QString wanted = text.trimmed();
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < m_families->count(); ++row) {
        QListWidgetItem* item = m_families->item(row);
        item->setHidden(!item->text().contains(wanted, Qt::CaseInsensitive));
        if (!first && item->text().startsWith(wanted, Qt::CaseInsensitive))
            first = item;
    }
    if (first)
        m_families->setCurrentItem(first, QItemSelectionModel::ClearAndSelect);
}

void FontDialog::chooseColor(QColor& color, const QColor& offered, const QString& title)
{
    if (const std::optional<QColor> chosen = env::dialogs().color(color.isValid() ? color : offered, title))
        color = *chosen;
    showColors();
}

void FontDialog::showColors()
{
    showSwatch(*m_textColor, m_textColorValue, QStringLiteral("自動"));
    showSwatch(*m_background, m_backgroundValue, QStringLiteral("透明"));
    updatePreview();
}

void FontDialog::updatePreview()
{
    const FontForm chosen = form();
    const double points = std::min(FontForm::sizeOf(chosen.size).value_or(font().pointSizeF()),
                                   kLargestPreviewPoints);
    m_preview->setFont(
        FontForm::fontOf(chosen.family.trimmed(), points, chosen.style, chosen.underline, chosen.strikeOut));
    m_preview->setStyleSheet(colorStyle(chosen.textColor, chosen.backgroundColor));
}

void FontDialog::confirm()
{
    const std::optional<env::FontRequest> answer = form().request();
    if (!answer) {
        env::dialogs().inform(FontForm::sizeRefusal());
        m_size->setFocus();
        return;
    }
    m_answer = *answer;
    accept();
}

} // namespace dialogs
