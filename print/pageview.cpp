#include "print/pageview.h"

#include "engine/pagesetup.h"
#include "env/globals.h"
#include "print/printjobs.h"

#include <QEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cmath>

namespace print {

namespace {

const QColor kDeskColour(0x80, 0x80, 0x80);
const QColor kShadowColour(0x40, 0x40, 0x40);

QSize pageTwips(const engine::TextEngine& engine)
{
    return engine::usableSheet(engine.pageSetup()).size.toSize();
}

QImage loadedPicture(const QString& path)
{
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

// Painted rather than filled from its palette: the scroll area hands its own
// palette down to everything it holds.
class ShadowStrip : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), kShadowColour); }
};

} // namespace

// The picture box: the engine paints the current page into it on every
// repaint, or, in picture mode, the picture is drawn at its own size.
class PageBox : public QWidget {
public:
    PageBox(const engine::TextEngine& engine, const PageViewState& state, const QImage& picture, QWidget* parent)
        : QWidget(parent), m_engine(engine), m_state(state), m_picture(picture)
    {
        setObjectName(QStringLiteral("pcTxt"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!m_picture.isNull()) {
            painter.drawImage(QPoint(), m_picture);
            return;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        m_engine.printPage(m_state.page(), painter, QRectF(rect()));
    }

private:
    const engine::TextEngine& m_engine;
    const PageViewState& m_state;
    const QImage& m_picture;
};

PageView::PageView(engine::TextEngine& engine, QString settingsFile, const QString& picture,
                   PrinterDirectory printers, QWidget* mainWindow)
    : QDialog(mainWindow), m_engine(engine), m_settingsFile(std::move(settingsFile)),
      m_printers(std::move(printers)), m_keptViewMode(engine.viewMode()), m_keptZoom(engine.zoom()),
      m_state(pageTwips(engine), engine.pageCount()), m_picture(loadedPicture(picture))
{
    setObjectName(QStringLiteral("sbTvw"));
    setWindowTitle(QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
    m_engine.setViewMode(engine::ViewMode::PageLayout);

    buildClientArea();
    buildMenus();
    placeAtWindow(mainWindow);
    layout()->activate();
    fitClientArea();
    m_engine.setZoom(m_state.zoom());
    updatePageMenu();
}

PageView::~PageView()
{
    m_engine.setZoom(m_keptZoom);
    m_engine.setViewMode(m_keptViewMode);
}

QWidget* PageView::pageBox() const
{
    return m_box;
}

QWidget* PageView::clientArea() const
{
    return m_area;
}

// The client area: a desk to scroll over, with the picture box and its
// shadows on it.
void PageView::buildClientArea()
{
    m_area = new QScrollArea(this);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_area->setBackgroundRole(QPalette::Dark);
    QPalette desk = m_area->palette();
    desk.setColor(QPalette::Dark, kDeskColour);
    m_area->setPalette(desk);
    m_canvas = new QWidget;
    m_box = new PageBox(m_engine, m_state, m_picture, m_canvas);
    m_rightShadow = new ShadowStrip(m_canvas);
    m_bottomShadow = new ShadowStrip(m_canvas);
    m_area->setWidget(m_canvas);
    m_area->installEventFilter(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_area);
}

void PageView::buildMenus()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    const auto named = [](QAction* action, const QString& name) {
        action->setObjectName(name);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("mnFile"));
    connect(named(file->addAction(QStringLiteral("印刷")), QStringLiteral("mnFile0")), &QAction::triggered, this,
            &PageView::print);
    file->addSeparator();
    connect(named(file->addAction(QStringLiteral("閉じる(&X)")), QStringLiteral("mnFile2")), &QAction::triggered,
            this, &QDialog::accept);

    QMenu* page = bar->addMenu(QStringLiteral("ﾍﾟ-ｼﾞ(&P)"));
    page->setObjectName(QStringLiteral("mnPage"));
    const QString turnCaptions[] = {QStringLiteral("最初(&F)"), QStringLiteral("前(&P)"), QStringLiteral("次(&N)"),
                                    QStringLiteral("最後(&L)")};
    for (int i = 0; i < 4; ++i) {
        m_turns[i] = named(page->addAction(turnCaptions[i]), QStringLiteral("mnPage%1").arg(i));
        connect(m_turns[i], &QAction::triggered, this, [this, i] { turn(PageViewState::Turn(i)); });
    }

    QMenu* zoom = bar->addMenu(QStringLiteral("ｽﾞｰﾑ(&Z)"));
    zoom->setObjectName(QStringLiteral("mnZoom"));
    for (int i = 0; i < int(PageViewState::kZoomChoices.size()); ++i) {
        const int percent = PageViewState::kZoomChoices[i];
        QAction* choice = named(zoom->addAction(QStringLiteral("%1%").arg(percent)), QStringLiteral("mnZoom%1").arg(i));
        connect(choice, &QAction::triggered, this, [this, percent] { zoomTo(percent); });
    }
    zoom->addSeparator();
    connect(named(zoom->addAction(QStringLiteral("ﾍﾟｰｼﾞ全体")), QStringLiteral("mnZoom7")), &QAction::triggered,
            this, [this] { zoomTo(0); });
}

// 13/15 of the main window, centred over it; over the screen when there is
// no main window to sit on.
void PageView::placeAtWindow(QWidget* mainWindow)
{
    QRect over = mainWindow ? mainWindow->window()->geometry() : QRect();
    if (over.isEmpty()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        over = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    const int width = over.width() * 13 / 15;
    const int height = over.height() * 13 / 15;
    setGeometry(over.left() + over.width() / 15, over.top() + over.height() / 15, width, height);
}

// A resized view fits the page again but leaves the engine's zoom alone: the
// editor behind would lay the whole document out again at every step.
bool PageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_area && event->type() == QEvent::Resize)
        fitClientArea();
    return QDialog::eventFilter(watched, event);
}

void PageView::fitClientArea()
{
    const QSize client = m_area->size();
    m_state.fitInto(QSize(int(std::lround(client.width() * 1440.0 / logicalDpiX())),
                          int(std::lround(client.height() * 1440.0 / logicalDpiY()))));
    placePage();
}

QRect PageView::pixels(const QRect& twips) const
{
    const double x = logicalDpiX() / 1440.0;
    const double y = logicalDpiY() / 1440.0;
    const auto at = [](double value) { return int(std::lround(value)); };
    return QRect(QPoint(at(twips.left() * x), at(twips.top() * y)),
                 QPoint(at((twips.left() + twips.width()) * x) - 1, at((twips.top() + twips.height()) * y) - 1));
}

// The box at the page rectangle, the shadows along its right and bottom
// edges.
void PageView::placePage()
{
    m_canvas->setUpdatesEnabled(false);
    const QRect page = pixels(m_state.pageRect());
    const QRect right = pixels(m_state.rightShadow());
    const QRect bottom = pixels(m_state.bottomShadow());
    m_box->setGeometry(page);
    m_rightShadow->setGeometry(right);
    m_bottomShadow->setGeometry(bottom);
    m_canvas->resize(m_area->size().expandedTo(QSize(right.right() + 1, bottom.bottom() + 1)));
    m_canvas->setUpdatesEnabled(true);
    m_box->update();
}

void PageView::turn(PageViewState::Turn turn)
{
    m_state.turn(turn);
    updatePageMenu();
    m_box->update();
}

void PageView::updatePageMenu()
{
    for (int i = 0; i < 4; ++i)
        m_turns[i]->setEnabled(m_state.canTurn(PageViewState::Turn(i)));
}

void PageView::zoomTo(int percent)
{
    if (percent > 0)
        m_state.zoomTo(percent);
    else
        m_state.zoomToWholePage();
    placePage();
    m_engine.setZoom(m_state.zoom());
}

void PageView::print()
{
    PrintJobs jobs(m_engine, defaultSettingsFile(), m_printers);
    jobs.cPrint(false, m_settingsFile);
    m_box->update();
}

void cAct(engine::TextEngine& engine, const QString& settingsFile, const QString& picture, QWidget* mainWindow)
{
    PageView view(engine, settingsFile, picture, PrinterDirectory::system(), mainWindow);
    view.exec();
}

} // namespace print
