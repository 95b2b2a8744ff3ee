#include "picture/fit.h"

#include <QtMath>

namespace picture {

namespace {

constexpr double kTwipsPerInch = 1440.0;

} // namespace

QSize pixelsToTwips(const QSize& pixels, double dpiX, double dpiY)
{
    return {qRound(pixels.width() * kTwipsPerInch / dpiX), qRound(pixels.height() * kTwipsPerInch / dpiY)};
}

QSize twipsToPixels(const QSize& twips, double dpiX, double dpiY)
{
    return {qRound(twips.width() * dpiX / kTwipsPerInch), qRound(twips.height() * dpiY / kTwipsPerInch)};
}

Fit fitToWidth(const QSize& twips, int maxWidthTwips)
{
    if (maxWidthTwips <= 0 || twips.width() <= maxWidthTwips)
        return {twips};
    const double ratio = double(maxWidthTwips) / twips.width();
    return {QSize(maxWidthTwips, qRound(twips.height() * ratio)), true, ratio};
}

QString shrinkMessage(double ratio)
{
    return QStringLiteral("元の画像の巾が現在の文書の巾より大きいので、") + QString::number(ratio * 100.0, 'f', 1)
        + QStringLiteral("%縮小されます");
}

} // namespace picture
