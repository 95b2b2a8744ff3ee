#include "env/shell.h"

#include "env/dialogs.h"
#include "env/globals.h"
#include "env/yini.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace env {

QString BrowseFld(const QString& sPath, const QString& sTitle)
{
    const QString start = !sPath.isEmpty() && QFileInfo(sPath).isDir() ? sPath : QString();
    const QString title = sTitle.isEmpty() ? QStringLiteral("ﾌｫﾙﾀﾞの指定") : sTitle;
    return dialogs().folder(title, start);
}

void ExpFd(const QString& sFld)
{
    gxIni().W_ExpFd(sFld, true);
}

namespace {
// Logical DPI of the primary screen; 96 where there is no screen.
double logicalDpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

// Twips are whole numbers; halves go to the even neighbour.
int toTwips(int pixels, double factor)
{
    return static_cast<int>(std::nearbyint(pixels * factor));
}
} // namespace

double twipsPerPixelX() { return 1440.0 / logicalDpi(true); }
double twipsPerPixelY() { return 1440.0 / logicalDpi(false); }

void GetWorkArea()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect r = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const double fx = twipsPerPixelX();
    const double fy = twipsPerPixelY();
    workArea.width = toTwips(r.width(), fx);
    workArea.left = toTwips(r.left(), fx);
    workArea.height = toTwips(r.height(), fy);
    workArea.top = toTwips(r.top(), fy);
}

void FitWorkArea(int& left, int& top, int& width, int& height)
{
    if (left < workArea.left)
        left = workArea.left;
    if (top < workArea.top)
        top = workArea.top;
    // Compared with the work area's width and height, not its right and
    // bottom edges: a window never ends up beyond either.
    if (left + width > workArea.width) {
        left = workArea.left;
        if (width > workArea.width)
            width = workArea.width;
    }
    if (top + height > workArea.height) {
        top = workArea.top;
        if (height > workArea.height)
            height = workArea.height;
    }
}

} // namespace env
