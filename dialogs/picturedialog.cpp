#include "dialogs/picturedialog.h"

#include "env/dialogs.h"
#include "picture/fit.h"
#include "picture/mimepicture.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>

namespace dialogs {

namespace {

// The room around the preview, in twips: the buttons sit in the band below it.
constexpr int kChromeWidthTwips = 500;
constexpr int kChromeHeightTwips = 920;
constexpr int kButtonGapTwips = 60;
constexpr double kTwipsPerInch = 1440.0;

int screenPixels(int twips, double dpi)
{
    return qRound(twips * dpi / kTwipsPerInch);
}

QScreen* screenOf(const QWidget* widget)
{
    QScreen* screen = widget ? widget->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The dots per inch of the screen `widget` is on, across and down.
QPointF dotsPerInch(const QWidget* widget)
{
    const QScreen* screen = screenOf(widget);
    return screen ? QPointF(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()) : QPointF(96.0, 96.0);
}

QRect windowArea(const PictureTarget& target)
{
    if (target.mainWindow)
        return target.mainWindow->frameGeometry();
    const QScreen* screen = screenOf(nullptr);
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

QPoint pictureDialogPosition(const QSize& size, const QPoint& mouse, const QRect& mainWindow)
{
    int left = mouse.x() - size.width() / 2;
    int top = mouse.y() - size.height() / 2;
    left = std::min(left, mainWindow.x() + mainWindow.width() - size.width());
    top = std::min(top, mainWindow.y() + mainWindow.height() - size.height());
    return {std::max(left, 0), std::max(top, 0)};
}

sbWmf::sbWmf(const picture::Source& source, const QImage& preview, const PictureTarget& target)
    : QDialog(target.mainWindow), m_source(source), m_target(target), m_previewSize(preview.size())
{
    const QSize shown = preview.size();
    setWindowTitle(QStringLiteral("ｻｲｽﾞを確定してﾗｽﾀﾃﾞｰﾀｰに変換します"));
    m_preview = new QLabel(this);
    m_preview->setScaledContents(true);
    m_preview->setPixmap(QPixmap::fromImage(preview));
    m_ok = new QPushButton(QStringLiteral("Ok(&O)"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel(&C)"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &sbWmf::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const QSize chrome = chromeSize();
    const int buttonsWidth = m_ok->sizeHint().width() + m_cancel->sizeHint().width() + chrome.width();
    m_openedSize = QSize(std::max(shown.width() + chrome.width(), buttonsWidth), shown.height() + chrome.height());
    resize(m_openedSize);
    move(pictureDialogPosition(m_openedSize, QCursor::pos(), windowArea(target)));
    layOut();
}

QSize sbWmf::chromeSize() const
{
    const QPointF dpi = dotsPerInch(this);
    return {screenPixels(kChromeWidthTwips, dpi.x()), screenPixels(kChromeHeightTwips, dpi.y())};
}

// Once the user gives the dialog another size, the preview takes whatever
// room there is: that is how a size other than the proposed one is chosen.
// Until then the preview keeps the proposed size, even where the dialog is
// wider for its buttons.
void sbWmf::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_followResizes = m_followResizes || event->size() != m_openedSize;
    if (m_followResizes) {
        const QSize chrome = chromeSize();
        m_previewSize = QSize(std::max(1, width() - chrome.width()), std::max(1, height() - chrome.height()));
    }
    layOut();
}

void sbWmf::layOut()
{
    const QSize chrome = chromeSize();
    const int gap = screenPixels(kButtonGapTwips, dotsPerInch(this).y());
    m_preview->setGeometry((width() - m_previewSize.width()) / 2, chrome.width() / 2, m_previewSize.width(),
                           m_previewSize.height());
    const QSize ok = m_ok->sizeHint();
    const QSize cancel = m_cancel->sizeHint();
    const int top = height() - gap - ok.height();
    const int left = (width() - ok.width() - cancel.width() - gap) / 2;
    m_ok->setGeometry(left, top, ok.width(), ok.height());
    m_cancel->setGeometry(left + ok.width() + gap, top, cancel.width(), cancel.height());
}

void sbWmf::confirm()
{
    picture::Failure failure = picture::Failure::None;
    const QImage drawn = m_source.render(m_previewSize, &failure);
    const bool written = !drawn.isNull()
        && picture::writeWorkBitmap(picture::prepareForDocument(drawn, m_target.reduction), m_target.sFp);
    m_result = written ? PictureResult::Placed : PictureResult::NotWritten;
    accept();
}

PictureOutcome placePicture(const picture::Source& source, const PictureTarget& target)
{
    if (!source.ok())
        return {PictureResult::NotLoaded, source.failure(), {}};
    const QPointF dpi = dotsPerInch(target.mainWindow);
    const double dpiX = dpi.x();
    const double dpiY = dpi.y();
    const QSize proposed = target.proposedTwips.isEmpty() ? picture::pixelsToTwips(source.pixelSize(), dpiX, dpiY)
                                                          : target.proposedTwips;
    const picture::Fit fit = picture::fitToWidth(proposed, target.nMaxWd);
    if (fit.shrunk)
        env::dialogs().message({picture::shrinkMessage(fit.ratio), {}, env::Buttons::Ok, env::Answer::Ok, env::Icon::None});
    const QSize shown = picture::twipsToPixels(fit.twips, dpiX, dpiY).expandedTo(QSize(1, 1));
    // Some damage shows only in decoding: such a picture is refused before
    // the user is asked anything about it.
    picture::Failure failure = picture::Failure::None;
    const QImage preview = source.render(shown, &failure);
    if (preview.isNull())
        return {PictureResult::NotLoaded, failure == picture::Failure::None ? picture::Failure::Damaged : failure, {}};

    sbWmf dialog(source, preview, target);
    dialog.exec();
    return {dialog.result(), picture::Failure::None, dialog.result() == PictureResult::Placed ? dialog.previewSize() : QSize()};
}

PictureOutcome Act(const QString& sFw, const PictureTarget& target)
{
    return placePicture(picture::Source::fromFile(sFw), target);
}

PictureOutcome ActCp(const QMimeData& clipboard, const PictureTarget& target)
{
    return placePicture(picture::fromMimeData(clipboard), target);
}

} // namespace dialogs
