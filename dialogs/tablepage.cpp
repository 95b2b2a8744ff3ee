#include "dialogs/tablepage.h"

#include "engine/textengine.h"
#include "env/dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

namespace dialogs {

namespace {

constexpr int kFirstRowEntry = 4; // 5 rows
const QString kInserted = QStringLiteral("表");

// " 1" to " 9", then "10" and up: the numbers line up in the list.
void fillNumbers(QListWidget& list, int last)
{
    for (int n = 1; n <= last; ++n)
        list.addItem(QStringLiteral("%1").arg(n, 2));
}

int shownNumber(const QListWidget& list)
{
    const QListWidgetItem* item = list.currentItem();
    return item ? item->text().trimmed().toInt() : 0;
}

} // namespace

TablePage::TablePage()
    : m_frame(std::make_unique<QWidget>())
    , m_rows(new QListWidget(m_frame.get()))
    , m_columns(new QListWidget(m_frame.get()))
    , m_width(new QComboBox(m_frame.get()))
{
    m_rows->setObjectName(QStringLiteral("lstRw"));
    m_columns->setObjectName(QStringLiteral("LstCL"));
    m_width->setObjectName(QStringLiteral("cbWd"));
    fillNumbers(*m_rows, kMaxRows);
    fillNumbers(*m_columns, kMaxColumns);
    m_width->addItem(QStringLiteral("自動"), 0);
    for (int cm = 1; cm <= kMaxWidthCentimetres; ++cm)
        m_width->addItem(QStringLiteral("%1 cm").arg(cm, 2), cm * kTwipsPerCentimetre);

    auto* layout = new QGridLayout(m_frame.get());
    layout->addWidget(new QLabel(QStringLiteral("行数"), m_frame.get()), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("列数"), m_frame.get()), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("列の幅"), m_frame.get()), 0, 2);
    layout->addWidget(m_rows, 1, 0);
    layout->addWidget(m_columns, 1, 1);
    layout->addWidget(m_width, 1, 2, Qt::AlignTop);
}

TablePage::~TablePage() = default;

QWidget* TablePage::frame()
{
    return m_frame.get();
}

QWidget* TablePage::focusControl()
{
    return m_rows;
}

void TablePage::fill(const PageContext& context, const QString&)
{
    m_engine = context.engine;
    m_rows->setCurrentRow(kFirstRowEntry);
    m_columns->setCurrentRow(0);
    m_width->setCurrentIndex(0);
}

bool TablePage::apply(QString& result)
{
    if (!m_engine)
        return false;
    const int rows = shownNumber(*m_rows);
    const int columns = shownNumber(*m_columns);
    const int width = columnWidthTwips();
    if (!fitsTheText(columns, width)) {
        env::dialogs().inform(QStringLiteral("表の幅が本文の幅を超えます｡列の幅を狭くしてください｡"));
        return false;
    }
    if (!m_engine->canInsertTable()) {
        env::dialogs().inform(QStringLiteral("表の中には表を挿入できません｡"));
        return true;
    }
    if (m_engine->insertTable(rows, columns, width) > 0)
        result = kInserted;
    return true;
}

int TablePage::columnWidthTwips() const
{
    return m_width->currentData().toInt();
}

// Columns of a fixed width must fit between the page margins.
bool TablePage::fitsTheText(int columns, int widthTwips) const
{
    const engine::PageSetup page = m_engine->pageSetup();
    const double textWidth = engine::usableSheet(page).printable().width();
    return double(columns) * widthTwips <= textWidth;
}

} // namespace dialogs
