#include "dialogs/pagesetuppage.h"

#include "dialogs/pagedefaults.h"
#include "dialogs/papertable.h"
#include "engine/textengine.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>

namespace dialogs {

namespace {

constexpr double kTwipsPerCentimetre = 567;
constexpr double kTwipsPerInch = 1440;
constexpr double kLargestDoubleSide = 33680; // twice the widest side the page takes
constexpr double kPreviewUnitsPerCentimetre = 1000.0 / 37;

// Selects a box's whole text when it gets the focus, so that typing replaces it.
class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* edit = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        }
        return false;
    }
};

bool within(double value, double low, double high)
{
    return value >= low && value <= high;
}

} // namespace

// ---- Preview ------------------------------------------------------------------

PaperPreview::PaperPreview(QWidget* parent)
    : QWidget(parent)
{
    const double dpi = logicalDpiX();
    setFixedSize(int(kFrameWidthTwips * dpi / kTwipsPerInch), int(kFrameHeightTwips * dpi / kTwipsPerInch));
}

void PaperPreview::showPaper(double widthCentimetres, double heightCentimetres)
{
    const double width = widthCentimetres * kPreviewUnitsPerCentimetre;
    const double height = heightCentimetres * kPreviewUnitsPerCentimetre;
    m_paper = QRectF((kFrameWidthTwips - width) / 2, (kFrameHeightTwips - height) / 2, width, height);
    update();
}

void PaperPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.scale(width() / double(kFrameWidthTwips), height() / double(kFrameHeightTwips));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(m_paper);
}

// ---- Page ---------------------------------------------------------------------

PageSetupPage::PageSetupPage(env::yIni& settings)
    : m_settings(settings)
    , m_frame(std::make_unique<QWidget>())
    , m_paper(new QComboBox(m_frame.get()))
    , m_portrait(new QRadioButton(QStringLiteral("縦"), m_frame.get()))
    , m_landscape(new QRadioButton(QStringLiteral("横"), m_frame.get()))
    , m_preview(new PaperPreview(m_frame.get()))
    , m_default(new QPushButton(QStringLiteral("規定値として設定"), m_frame.get()))
{
    m_paper->setObjectName(QStringLiteral("cbPage"));
    m_portrait->setObjectName(QStringLiteral("OpVH0"));
    m_landscape->setObjectName(QStringLiteral("OpVH1"));
    m_default->setObjectName(QStringLiteral("cmPage"));
    m_default->setAutoDefault(false);
    const std::array<const char*, 6> names = {"txPgWd", "txPgHi", "txLftMrg", "txTopMrg", "txRghMrg", "txBtmMrg"};
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i].edit = new QLineEdit(m_frame.get());
        m_boxes[i].edit->setObjectName(QString::fromLatin1(names[i]));
    }
    for (const Paper& paper : paperTable())
        m_paper->addItem(paper.label);
    m_paper->addItem(userDefinedPaperLabel());
    buildLayout();
    connectControls();
}

PageSetupPage::~PageSetupPage() = default;

void PageSetupPage::buildLayout()
{
    QWidget* frame = m_frame.get();
    auto* paperLabel = new QLabel(QStringLiteral("用紙(&P)"), frame);
    paperLabel->setBuddy(m_paper);
    auto* widthLabel = new QLabel(QStringLiteral("幅(&W):"), frame);
    widthLabel->setBuddy(box(Width));
    auto* heightLabel = new QLabel(QStringLiteral("高さ(&H):"), frame);
    heightLabel->setBuddy(box(Height));

    auto* orientation = new QHBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    orientation->addStretch();

    auto* margins = new QGroupBox(QStringLiteral("ﾍﾟｰｼﾞ余白"), frame);
    auto* marginGrid = new QGridLayout(margins);
    const std::array<std::pair<Box, const char*>, 4> sides = {
        {{Left, "左"}, {Top, "上"}, {Right, "右"}, {Bottom, "下"}}};
    for (std::size_t i = 0; i < sides.size(); ++i) {
        const int row = int(i) / 2;
        const int column = int(i) % 2 * 2;
        marginGrid->addWidget(new QLabel(QString::fromUtf8(sides[i].second), margins), row, column);
        marginGrid->addWidget(box(sides[i].first), row, column + 1);
    }

    auto* grid = new QGridLayout(frame);
    grid->addWidget(paperLabel, 0, 0);
    grid->addWidget(m_paper, 0, 1, 1, 3);
    grid->addLayout(orientation, 1, 1, 1, 3);
    grid->addWidget(widthLabel, 2, 0);
    grid->addWidget(box(Width), 2, 1);
    grid->addWidget(heightLabel, 2, 2);
    grid->addWidget(box(Height), 2, 3);
    grid->addWidget(margins, 3, 0, 1, 4);
    grid->addWidget(m_preview, 0, 4, 3, 1, Qt::AlignCenter);
    grid->addWidget(m_default, 3, 4, Qt::AlignBottom | Qt::AlignRight);
}

void PageSetupPage::connectControls()
{
    QObject::connect(m_paper, &QComboBox::activated, m_frame.get(), [this] { choosePaper(); });
    QObject::connect(m_portrait, &QRadioButton::clicked, m_frame.get(), [this] { switchOrientation(false); });
    QObject::connect(m_landscape, &QRadioButton::clicked, m_frame.get(), [this] { switchOrientation(true); });
    QObject::connect(m_default, &QPushButton::clicked, m_frame.get(), [this] { storeAsDefault(); });
    auto* selector = new SelectAllOnFocus(m_frame.get());
    for (const Box side : {Left, Top, Right, Bottom})
        box(side)->installEventFilter(selector);
    for (const Box size : {Width, Height})
        QObject::connect(box(size), &QLineEdit::editingFinished, m_frame.get(), [this] { selectPaper(); });
    for (const LengthBox& each : m_boxes)
        QObject::connect(each.edit, &QLineEdit::textChanged, m_frame.get(), [this] { boxEdited(); });
}

QWidget* PageSetupPage::frame()
{
    return m_frame.get();
}

QWidget* PageSetupPage::focusControl()
{
    return m_paper;
}

void PageSetupPage::fill(const PageContext& context, const QString&)
{
    m_engine = context.engine;
    m_allowOk = context.allowOk;
    m_busy = true;
    const engine::PageSetup page = m_engine ? m_engine->pageSetup() : engine::PageSetup();
    const QSizeF sheet = page.sheetTwips();
    setBox(Left, page.marginLeft);
    setBox(Top, page.marginTop);
    setBox(Right, page.marginRight);
    setBox(Bottom, page.marginBottom);
    setBox(Width, sheet.width());
    setBox(Height, sheet.height());
    m_isLandscape = boxTwips(Height) < boxTwips(Width);
    (m_isLandscape ? m_landscape : m_portrait)->setChecked(true);
    for (const LengthBox& each : m_boxes)
        each.edit->selectAll();
    selectPaper();
    m_busy = false;
    redrawPreview();
}

bool PageSetupPage::apply(QString&)
{
    if (!m_engine || !valid())
        return false;
    m_engine->setPageSetup(typedPage(m_engine->pageSetup()));
    m_engine->refresh();
    return true;
}

bool PageSetupPage::valid() const
{
    const double width = boxTwips(Width);
    const double height = boxTwips(Height);
    return within(boxTwips(Left), 0, width) && within(boxTwips(Right), 0, width)
        && within(boxTwips(Top), 0, height) && within(boxTwips(Bottom), 0, height)
        && within(2 * width, 0, kLargestDoubleSide) && within(2 * height, 0, kLargestDoubleSide);
}

void PageSetupPage::setBox(Box which, double twips)
{
    LengthBox& target = m_boxes[which];
    target.twips = twips;
    target.shown = sTwpsDlg(twips);
    target.edit->setText(target.shown);
}

double PageSetupPage::boxTwips(Box which) const
{
    const LengthBox& source = m_boxes[which];
    const QString text = source.edit->text();
    return text == source.shown ? source.twips : nDlgTwps(text);
}

// `page` with the paper and margins of the boxes; the orientation follows
// from the sizes, which are given as the sheet lies.
engine::PageSetup PageSetupPage::typedPage(engine::PageSetup page) const
{
    page.marginLeft = boxTwips(Left);
    page.marginTop = boxTwips(Top);
    page.marginRight = boxTwips(Right);
    page.marginBottom = boxTwips(Bottom);
    page.paperWidth = engine::wholeTwips(boxTwips(Width));
    page.paperHeight = engine::wholeTwips(boxTwips(Height));
    page.landscape = page.paperHeight < page.paperWidth;
    return page;
}

// Selecting shows which paper the sizes are; it applies nothing.
void PageSetupPage::selectPaper()
{
    double width = boxTwips(Width);
    double height = boxTwips(Height);
    if (m_isLandscape)
        std::swap(width, height);
    const QSignalBlocker quiet(m_paper);
    m_paper->setCurrentIndex(matchingPaper(width, height));
}

// The chosen paper's size as the sheet lies, and margins of a tenth of its
// portrait width (left, right) and height (top, bottom).
void PageSetupPage::choosePaper()
{
    if (m_busy)
        return;
    const std::optional<Paper> paper = paperAt(m_paper->currentIndex());
    const double width = paper ? paper->width : 0;
    const double height = paper ? paper->height : 0;
    setBox(Width, m_isLandscape ? height : width);
    setBox(Height, m_isLandscape ? width : height);
    setBox(Left, width / 10);
    setBox(Right, width / 10);
    setBox(Top, height / 10);
    setBox(Bottom, height / 10);
    redrawPreview();
}

// A paper of the table comes back in the new orientation with its own
// margins; a size the user typed is only turned.
void PageSetupPage::switchOrientation(bool landscape)
{
    if (m_busy || landscape == m_isLandscape)
        return;
    LengthBox& width = m_boxes[Width];
    LengthBox& height = m_boxes[Height];
    const QString widthText = width.edit->text();
    std::swap(width.twips, height.twips);
    std::swap(width.shown, height.shown);
    width.edit->setText(height.edit->text());
    height.edit->setText(widthText);
    m_isLandscape = landscape;
    if (m_paper->currentIndex() != kUserDefinedPaper)
        choosePaper();
    boxEdited();
}

void PageSetupPage::boxEdited()
{
    if (m_busy)
        return;
    if (m_allowOk)
        m_allowOk(valid());
    redrawPreview();
}

void PageSetupPage::storeAsDefault()
{
    writePageDefaults(m_settings, typedPage(engine::PageSetup()));
}

void PageSetupPage::redrawPreview()
{
    m_preview->showPaper(boxTwips(Width) / kTwipsPerCentimetre, boxTwips(Height) / kTwipsPerCentimetre);
}

} // namespace dialogs
