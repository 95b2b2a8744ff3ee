#include "formats/word/placeholder.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace formats::word {

namespace {

constexpr int kDefaultSide = 96;
constexpr int kMaxSide = 2000; // past a page in any direction

int sideOf(double length)
{
    return length > 0 && std::isfinite(length) ? std::clamp(int(std::lround(length)), 2, kMaxSide) : kDefaultSide;
}

} // namespace

QImage placeholderPicture(QSizeF size)
{
    QImage image(sideOf(size.width()), sideOf(size.height()), QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter painter(&image);
    painter.setPen(QColor(0x99, 0x99, 0x99));
    const QRect frame = image.rect().adjusted(0, 0, -1, -1);
    painter.drawRect(frame);
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.bottomLeft(), frame.topRight());
    return image;
}

} // namespace formats::word
