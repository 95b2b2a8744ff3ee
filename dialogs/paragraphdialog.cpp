#include "dialogs/paragraphdialog.h"

#include "dialogs/okcancel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace dialogs {

namespace {

constexpr double kSmallestCharacterTwips = 20; // a 1-point font

QDoubleSpinBox* pointBox(QWidget* parent, double maxTwips)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0, maxTwips / ParagraphDialog::kTwipsPerPoint);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" pt"));
    return box;
}

QDoubleSpinBox* indentBox(QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    return box;
}

// A box still showing `shownTwips` as the dialog put it there gives that
// length back exactly: opening and confirming must not round a length.
double twipsOf(const QDoubleSpinBox& box, double shownTwips, double perUnit)
{
    const double shown = QString::number(shownTwips / perUnit, 'f', box.decimals()).toDouble();
    return box.value() == shown ? shownTwips : double(std::lround(box.value() * perUnit));
}

} // namespace

ParagraphDialog::ParagraphDialog(const ParagraphLook& look, double characterTwips, QWidget* parent)
    : QDialog(parent)
    , m_characterTwips(std::max(characterTwips, kSmallestCharacterTwips))
    , m_alignment(new QComboBox(this))
    , m_unit(new QComboBox(this))
    , m_left(indentBox(this))
    , m_right(indentBox(this))
    , m_firstLine(indentBox(this))
    , m_before(pointBox(this, kMaxSpacingTwips))
    , m_after(pointBox(this, kMaxSpacingTwips))
    , m_lineSpacing(pointBox(this, kMaxSpacingTwips))
{
    setModal(true);
    setWindowTitle(QStringLiteral("段落"));
    m_alignment->addItems({QStringLiteral("左揃え"), QStringLiteral("中央揃え"), QStringLiteral("右揃え"),
                           QStringLiteral("両端揃え")});
    m_unit->addItems({QStringLiteral("字"), QStringLiteral("cm")});
    m_lineSpacing->setSpecialValueText(QStringLiteral("自動"));

    auto* alignment = new QFormLayout;
    alignment->addRow(QStringLiteral("配置"), m_alignment);
    auto* indents = new QGroupBox(QStringLiteral("インデント"), this);
    auto* indentForm = new QFormLayout(indents);
    indentForm->addRow(QStringLiteral("単位"), m_unit);
    indentForm->addRow(QStringLiteral("左"), m_left);
    indentForm->addRow(QStringLiteral("右"), m_right);
    indentForm->addRow(QStringLiteral("1行目"), m_firstLine);
    auto* spacing = new QGroupBox(QStringLiteral("間隔"), this);
    auto* spacingForm = new QFormLayout(spacing);
    spacingForm->addRow(QStringLiteral("段落前"), m_before);
    spacingForm->addRow(QStringLiteral("段落後"), m_after);
    spacingForm->addRow(QStringLiteral("行間"), m_lineSpacing);
    const OkCancelRow row = okCancelRow(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(alignment);
    layout->addWidget(indents);
    layout->addWidget(spacing);
    layout->addLayout(row.layout);

    m_alignment->setCurrentIndex(int(look.alignment));
    m_shown = look;
    showIndents(look, Characters);
    m_before->setValue(look.spaceBefore / kTwipsPerPoint);
    m_after->setValue(look.spaceAfter / kTwipsPerPoint);
    m_lineSpacing->setValue(look.lineSpacing / kTwipsPerPoint);

    connect(m_unit, &QComboBox::currentIndexChanged, this, &ParagraphDialog::switchUnit);
    connect(row.ok, &QPushButton::clicked, this, &QDialog::accept);
}

ParagraphDialog::~ParagraphDialog() = default;

ParagraphLook ParagraphDialog::look() const
{
    const double perUnit = twipsPerUnit(m_shownUnit);
    ParagraphLook look;
    look.alignment = engine::ParagraphAlignment(m_alignment->currentIndex());
    look.leftIndent = twipsOf(*m_left, m_shown.leftIndent, perUnit);
    look.rightIndent = twipsOf(*m_right, m_shown.rightIndent, perUnit);
    look.firstLineIndent = twipsOf(*m_firstLine, m_shown.firstLineIndent, perUnit);
    look.spaceBefore = twipsOf(*m_before, m_shown.spaceBefore, kTwipsPerPoint);
    look.spaceAfter = twipsOf(*m_after, m_shown.spaceAfter, kTwipsPerPoint);
    look.lineSpacing = twipsOf(*m_lineSpacing, m_shown.lineSpacing, kTwipsPerPoint);
    return look;
}

double ParagraphDialog::twipsPerUnit(int unit) const
{
    return unit == Centimetres ? kTwipsPerCentimetre : m_characterTwips;
}

void ParagraphDialog::showIndents(const ParagraphLook& look, int unit)
{
    const double perUnit = twipsPerUnit(unit);
    const QString suffix = unit == Centimetres ? QStringLiteral(" cm") : QStringLiteral(" 字");
    const double most = kMaxIndentTwips / perUnit;
    m_left->setRange(0, most);
    m_right->setRange(0, most);
    m_firstLine->setRange(-most, most); // below 0 hangs the first line
    for (QDoubleSpinBox* box : {m_left, m_right, m_firstLine})
        box->setSuffix(suffix);
    m_left->setValue(look.leftIndent / perUnit);
    m_right->setValue(look.rightIndent / perUnit);
    m_firstLine->setValue(look.firstLineIndent / perUnit);
    m_shown.leftIndent = look.leftIndent;
    m_shown.rightIndent = look.rightIndent;
    m_shown.firstLineIndent = look.firstLineIndent;
    m_shownUnit = unit;
}

// The indents keep their lengths; only the numbers shown change.
void ParagraphDialog::switchUnit(int unit)
{
    showIndents(look(), unit);
}

} // namespace dialogs
