#include "dialogs/tableattributedialog.h"

#include "engine/hostunits.h"
#include "env/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace dialogs {

namespace {

constexpr int kUnshaded = 0xFFFFFF; // what the shading button offers first

QPushButton* colorButton(QWidget* parent, const QString& name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFixedWidth(48);
    return button;
}

} // namespace

TableAttributeDialog::TableAttributeDialog(const engine::TableLook& look, engine::TablePart part, QWidget* parent)
    : QDialog(parent)
    , m_border(new QDoubleSpinBox(this))
    , m_borderColorButton(colorButton(this, QStringLiteral("cmBdCL")))
    , m_shaded(new QCheckBox(QStringLiteral("網掛けする"), this))
    , m_shadingButton(colorButton(this, QStringLiteral("cmShCL")))
    , m_alignment(new QComboBox(this))
    , m_verticalAlignment(new QComboBox(this))
    , m_width(new QDoubleSpinBox(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
{
    setModal(true);
    setWindowTitle(titleFor(part));
    m_border->setObjectName(QStringLiteral("txBd"));
    m_border->setRange(0, engine::Tables::kMaxBorderTwips / kTwipsPerPoint);
    m_border->setSingleStep(0.25);
    m_border->setSuffix(QStringLiteral(" pt"));
    m_border->setSpecialValueText(QStringLiteral("なし"));
    m_shaded->setObjectName(QStringLiteral("chSh"));
    m_alignment->setObjectName(QStringLiteral("cbAl"));
    m_alignment->addItems({QStringLiteral("左揃え"), QStringLiteral("中央揃え"), QStringLiteral("右揃え"),
                           QStringLiteral("両端揃え")});
    m_verticalAlignment->setObjectName(QStringLiteral("cbVAl"));
    m_verticalAlignment->addItems({QStringLiteral("上"), QStringLiteral("中央"), QStringLiteral("下")});
    m_width->setObjectName(QStringLiteral("txWd"));
    m_width->setRange(0, engine::Tables::kMaxColumnWidthTwips / kTwipsPerCentimetre);
    m_width->setSingleStep(0.1);
    m_width->setDecimals(2);
    m_width->setSuffix(QStringLiteral(" cm"));
    m_width->setSpecialValueText(QStringLiteral("自動"));

    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(m_border);
    borderRow->addWidget(m_borderColorButton);
    auto* shadingRow = new QHBoxLayout;
    shadingRow->addWidget(m_shaded);
    shadingRow->addWidget(m_shadingButton);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("罫線"), borderRow);
    form->addRow(QStringLiteral("網掛け"), shadingRow);
    form->addRow(QStringLiteral("横の配置"), m_alignment);
    form->addRow(QStringLiteral("縦の配置"), m_verticalAlignment);
    form->addRow(QStringLiteral("列の幅"), m_width);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    m_border->setValue(look.borderTwips / kTwipsPerPoint);
    m_borderColor = look.borderColor;
    showColor(*m_borderColorButton, m_borderColor);
    m_shaded->setChecked(look.shading >= 0);
    m_shading = look.shading >= 0 ? look.shading : kUnshaded;
    showColor(*m_shadingButton, m_shading);
    m_shadingButton->setEnabled(m_shaded->isChecked());
    m_alignment->setCurrentIndex(int(look.alignment));
    m_verticalAlignment->setCurrentIndex(int(look.verticalAlignment));
    m_width->setValue(look.columnWidthTwips / kTwipsPerCentimetre);

    connect(m_borderColorButton, &QPushButton::clicked, this, &TableAttributeDialog::chooseBorderColor);
    connect(m_shadingButton, &QPushButton::clicked, this, &TableAttributeDialog::chooseShading);
    connect(m_shaded, &QCheckBox::toggled, m_shadingButton, &QWidget::setEnabled);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TableAttributeDialog::~TableAttributeDialog() = default;

engine::TableLook TableAttributeDialog::look() const
{
    engine::TableLook look;
    look.borderTwips = int(std::lround(m_border->value() * kTwipsPerPoint));
    look.borderColor = m_borderColor;
    look.shading = m_shaded->isChecked() ? m_shading : -1;
    look.alignment = engine::CellAlignment(m_alignment->currentIndex());
    look.verticalAlignment = engine::CellVerticalAlignment(m_verticalAlignment->currentIndex());
    look.columnWidthTwips = int(std::lround(m_width->value() * kTwipsPerCentimetre));
    return look;
}

QString TableAttributeDialog::titleFor(engine::TablePart part)
{
    switch (part) {
    case engine::TablePart::Row:
        return QStringLiteral("行のﾌﾟﾛﾊﾟﾃｨ");
    case engine::TablePart::Cell:
        return QStringLiteral("ｾﾙのﾌﾟﾛﾊﾟﾃｨ");
    case engine::TablePart::Table:
        break;
    }
    return QStringLiteral("表のﾌﾟﾛﾊﾟﾃｨ");
}

void TableAttributeDialog::chooseBorderColor()
{
    if (const std::optional<QColor> chosen = env::dialogs().color(engine::colorFromHost(m_borderColor), QStringLiteral("罫線の色"))) {
        m_borderColor = engine::colorToHost(*chosen);
        showColor(*m_borderColorButton, m_borderColor);
    }
}

void TableAttributeDialog::chooseShading()
{
    if (const std::optional<QColor> chosen = env::dialogs().color(engine::colorFromHost(m_shading), QStringLiteral("網掛けの色"))) {
        m_shading = engine::colorToHost(*chosen);
        showColor(*m_shadingButton, m_shading);
    }
}

void TableAttributeDialog::showColor(QPushButton& button, int color)
{
    button.setStyleSheet(QStringLiteral("background-color: %1").arg(engine::colorFromHost(color).name()));
}

} // namespace dialogs
