#include "dialogs/listdialog.h"

#include "dialogs/okcancel.h"
#include "engine/paragraphformat.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace dialogs {

namespace {

constexpr int kBullets = 2;
constexpr int kLastKind = 7;

} // namespace

ListDialog::ListDialog(const ListLook& look, QWidget* parent)
    : QDialog(parent)
    , m_kind(new QComboBox(this))
    , m_level(new QSpinBox(this))
    , m_initialKind(look.kind)
{
    setModal(true);
    setWindowTitle(QStringLiteral("ﾘｽﾄ"));
    // In the order of the engine's list attributes, from 1.
    m_kind->addItems({QStringLiteral("なし"), QStringLiteral("箇条書き"), QStringLiteral("1 2 3"),
                      QStringLiteral("a b c"), QStringLiteral("A B C"), QStringLiteral("i ii iii"),
                      QStringLiteral("I II III")});
    m_level->setRange(1, engine::kMaxListLevel);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("種類"), m_kind);
    form->addRow(QStringLiteral("ﾚﾍﾞﾙ"), m_level);
    const OkCancelRow row = okCancelRow(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row.layout);

    m_kind->setCurrentIndex(rowOf(look.kind));
    m_level->setValue(std::clamp(look.level, 1, engine::kMaxListLevel));
    m_level->setEnabled(look.kind > engine::kNoList);

    connect(m_kind, &QComboBox::currentIndexChanged, this,
            [this](int row) { m_level->setEnabled(row + 1 > engine::kNoList); });
    connect(row.ok, &QPushButton::clicked, this, &QDialog::accept);
}

ListDialog::~ListDialog() = default;

ListLook ListDialog::look() const
{
    const int row = m_kind->currentIndex();
    return {row == rowOf(m_initialKind) ? m_initialKind : row + 1, m_level->value()};
}

// Values below 1 are no list, values past the last kind bullets (see
// paragraphformat.h).
int ListDialog::rowOf(int kind)
{
    if (kind <= engine::kNoList)
        return 0;
    return (kind > kLastKind ? kBullets : kind) - 1;
}

} // namespace dialogs
