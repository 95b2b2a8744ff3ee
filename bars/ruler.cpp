#include "bars/ruler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace bars {

namespace {

constexpr int kHeight = 24;
constexpr double kMarkHalf = 4.5;

QPolygonF triangle(double x, double tipY, double baseY)
{
    return QPolygonF({QPointF(x, tipY), QPointF(x - kMarkHalf, baseY), QPointF(x + kMarkHalf, baseY)});
}

} // namespace

Ruler::Ruler(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vRuler"));
    setToolTip(QStringLiteral("ｲﾝﾃﾞﾝﾄとﾀﾌﾞ: 印をﾄﾞﾗｯｸﾞで移動､目盛のｸﾘｯｸでﾀﾌﾞを追加､ﾙｰﾗｰの外へﾄﾞﾗｯｸﾞでﾀﾌﾞを削除"));
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize Ruler::sizeHint() const
{
    return {400, kHeight};
}

void Ruler::showParagraph(const RulerSpan& span, const ParagraphMarks& marks)
{
    if (m_dragged)
        return;
    if (m_model.marks() == marks && m_model.span().left == span.left && m_model.span().right == span.right
        && m_model.span().pixelsPerTwip == span.pixelsPerTwip)
        return;
    m_model.setSpan(span);
    m_model.setMarks(marks);
    update();
}

void Ruler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (m_model.span().pixelsPerTwip <= 0)
        return;
    paintScale(painter);
    paintMarks(painter);
}

// The text's width is white, the margins beside it grey; a long tick and its
// number every centimetre, a short one at each half.
void Ruler::paintScale(QPainter& painter) const
{
    const RulerSpan& span = m_model.span();
    const QRectF band(0, 4, width(), height() - 8);
    painter.fillRect(band, QColor(0xD8, 0xD8, 0xD8));
    painter.fillRect(QRectF(span.left, band.top(), span.right - span.left, band.height()), Qt::white);
    painter.setPen(palette().color(QPalette::WindowText));
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    const double halfCentimetre = RulerModel::kTwipsPerCentimetre / 2 * span.pixelsPerTwip;
    if (halfCentimetre < 2)
        return;
    const int first = int(std::floor(-span.left / halfCentimetre));
    const int last = int(std::ceil((width() - span.left) / halfCentimetre));
    for (int half = first; half <= last; ++half) {
        const double x = span.left + half * halfCentimetre;
        if (half % 2 != 0) {
            painter.drawLine(QPointF(x, band.center().y() - 2), QPointF(x, band.center().y() + 2));
        } else if (half != 0 && halfCentimetre >= 6) {
            const QRectF label(x - 10, band.top(), 20, band.height());
            painter.drawText(label, Qt::AlignCenter, QString::number(std::abs(half / 2)));
        }
    }
}

void Ruler::paintMarks(QPainter& painter) const
{
    const double top = 4;
    const double bottom = height() - 4;
    const double middle = height() / 2.0;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(QColor(0xE8, 0xE8, 0xE8));
    painter.drawPolygon(triangle(m_model.pixelOfMark({MarkKind::FirstLine}), middle, top));
    painter.drawPolygon(triangle(m_model.pixelOfMark({MarkKind::Left}), middle, bottom));
    painter.drawPolygon(triangle(m_model.pixelOfMark({MarkKind::Right}), middle, bottom));
    painter.setPen(QPen(Qt::black, 1.5));
    for (int i = 0; i < m_model.marks().tabs.size(); ++i) {
        const double x = m_model.pixelOfMark({MarkKind::Tab, i});
        painter.drawLine(QPointF(x, middle), QPointF(x, bottom - 1));
        painter.drawLine(QPointF(x, bottom - 1), QPointF(x + 5, bottom - 1));
    }
}

bool Ruler::offRuler(const QPointF& point) const
{
    return point.y() < -kHeight || point.y() > height() + kHeight;
}

void Ruler::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at = event->position();
    m_before = m_model.marks();
    m_dragged = m_model.markAt(at.x(), at.y() < height() / 2.0);
    // A new tab stop follows the pointer until the button is let go.
    if (!m_dragged)
        m_dragged = m_model.addTab(at.x());
    update();
}

void Ruler::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragged)
        return;
    m_dragged = m_model.drag(*m_dragged, event->position().x());
    update();
}

void Ruler::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragged)
        return;
    const Mark mark = *m_dragged;
    m_dragged.reset();
    if (mark.kind == MarkKind::Tab && offRuler(event->position()))
        m_model.removeTab(mark.tab);
    const ParagraphMarks& now = m_model.marks();
    if (now.tabs != m_before.tabs)
        emit tabsChanged(now.tabs);
    if (now.left != m_before.left || now.firstLine != m_before.firstLine || now.right != m_before.right)
        emit indentsChanged(now.left, now.firstLine, now.right);
    update();
}

} // namespace bars
