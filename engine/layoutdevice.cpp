#include "engine/layoutdevice.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace engine {

namespace {
// Large enough for any page; layouts never ask for more than the resolution.
constexpr int kNominalSizeInches = 100;
constexpr double kMillimetresPerInch = 25.4;
} // namespace

LayoutDevice::LayoutDevice(int dotsPerInch)
    : m_dotsPerInch(std::max(1, dotsPerInch))
{
}

int LayoutDevice::formatDotsPerInch()
{
    constexpr int kStandardDpi = 96;
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return kStandardDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : kStandardDpi;
}

int LayoutDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
    case PdmHeight:
        return kNominalSizeInches * m_dotsPerInch;
    case PdmWidthMM:
    case PdmHeightMM:
        return static_cast<int>(kNominalSizeInches * kMillimetresPerInch);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dotsPerInch;
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace engine
