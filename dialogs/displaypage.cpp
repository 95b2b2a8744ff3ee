#include "dialogs/displaypage.h"

#include "dialogs/displayzoom.h"
#include "engine/pagesetup.h"
#include "engine/textengine.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dialogs {

namespace {

constexpr int kPageCentring = 1;
constexpr int kZoomRows = 3;

QRadioButton* option(const QString& caption, const QString& name, int index, QButtonGroup& group, QWidget* parent)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name + QString::number(index));
    group.addButton(button, index);
    return button;
}

} // namespace

DisplayPage::DisplayPage(DisplayHost host)
    : m_frame(std::make_unique<QWidget>())
    , m_viewGroup(new QButtonGroup(m_frame.get()))
    , m_zoomGroup(new QButtonGroup(m_frame.get()))
    , m_host(std::move(host))
{
    auto* viewBox = new QGroupBox(QStringLiteral("表示方法"), m_frame.get());
    auto* viewLayout = new QVBoxLayout(viewBox);
    const std::array<QString, kViewOptions> views{QStringLiteral("ﾉｰﾏﾙ (境界線無し)"),
                                                  QStringLiteral("ﾍﾟｰｼﾞ･ｾﾝﾀﾘﾝｸﾞ")};
    for (int i : {kPageCentring, 0}) {
        m_view[size_t(i)] = option(views[size_t(i)], QStringLiteral("opDP"), i, *m_viewGroup, viewBox);
        viewLayout->addWidget(m_view[size_t(i)]);
    }
    viewLayout->addStretch();

    auto* zoomBox = new QGroupBox(QStringLiteral("倍率"), m_frame.get());
    auto* zoomLayout = new QGridLayout(zoomBox);
    const std::array<QString, kZoomOptions> zooms{
        QStringLiteral("150 %"),    QStringLiteral("125 %"),  QStringLiteral("100 %"),
        QStringLiteral(" 75 %"),    QStringLiteral(" 50 %"),  QStringLiteral("ﾍﾟ-ｼﾞ合せ"),
        QStringLiteral("巾合せ"),   QStringLiteral("指定")};
    for (int i = 0; i < kZoomOptions; ++i) {
        m_zoom[size_t(i)] = option(zooms[size_t(i)], QStringLiteral("opZoom"), i, *m_zoomGroup, zoomBox);
        zoomLayout->addWidget(m_zoom[size_t(i)], i % kZoomRows, i / kZoomRows);
    }
    m_zoomBox = new QLineEdit(zoomBox);
    m_zoomBox->setObjectName(QStringLiteral("txZoom"));
    m_zoomBox->setMaxLength(5);
    m_zoomBox->setMaximumWidth(m_zoomBox->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    auto* typed = new QHBoxLayout;
    typed->addWidget(m_zoom[size_t(ZoomOption::Typed)]);
    typed->addWidget(m_zoomBox);
    typed->addStretch();
    zoomLayout->addLayout(typed, int(ZoomOption::Typed) % kZoomRows, int(ZoomOption::Typed) / kZoomRows);

    auto* layout = new QHBoxLayout(m_frame.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(viewBox);
    layout->addWidget(zoomBox, 1);

    QObject::connect(m_zoomBox, &QLineEdit::textEdited, m_frame.get(),
                     [this] { m_zoom[size_t(ZoomOption::Typed)]->setChecked(true); });
}

DisplayPage::~DisplayPage() = default;

QWidget* DisplayPage::frame()
{
    return m_frame.get();
}

// The page has no control that must be answered first.
QWidget* DisplayPage::focusControl()
{
    return nullptr;
}

void DisplayPage::fill(const PageContext& context, const QString&)
{
    m_engine = context.engine;
    const bool paged = m_engine && m_engine->viewMode() != engine::ViewMode::Normal;
    const int zoom = m_engine ? m_engine->zoom() : 100;
    m_view[paged ? kPageCentring : 0]->setChecked(true);
    m_zoom[size_t(optionShowing(zoom))]->setChecked(true);
    // The box keeps the current zoom, so that choosing "指定" alone changes nothing.
    m_zoomBox->setText(QString::number(zoom));
}

bool DisplayPage::apply(QString&)
{
    if (!m_engine)
        return true;
    const ZoomBasis basis{m_host.windowTwips(), engine::usableSheet(m_engine->pageSetup()).size, m_zoomBox->text()};
    const int zoom = zoomOf(ZoomOption(m_zoomGroup->checkedId()), basis);
    const bool paged = m_viewGroup->checkedId() == kPageCentring;
    m_engine->setViewMode(paged ? engine::ViewMode::PageLayout : engine::ViewMode::Normal);
    m_engine->setZoom(zoom);
    m_host.store(int(m_engine->viewMode()), zoom);
    return true;
}

} // namespace dialogs
