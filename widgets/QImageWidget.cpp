#include "QImageWidget.h"

#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSceneWheelEvent>
#include <QPainter>

#include <cmath>

namespace {

// A scale usable for setScale: finite and above zero, else 1 (the item's natural size).
double usableScale(double scale)
{
    return (std::isfinite(scale) && scale > 0) ? scale : 1.0;
}

} // namespace

QImageWidget::QImageWidget(const QPixmap &pixmap)
    : m_pix(pixmap)
{
    setAcceptDrops(true);
}

QImageWidget::~QImageWidget() = default;

void QImageWidget::fitToView(int viewWidth, int viewHeight)
{
    double fit = 1.0;
    if (!m_pix.isNull() && m_pix.width() > 0 && m_pix.height() > 0 && viewWidth > 0 && viewHeight > 0)
        fit = std::min(static_cast<double>(viewWidth) / m_pix.width(),
                       static_cast<double>(viewHeight) / m_pix.height());
    m_scaleDefault = usableScale(fit);
    setScale(m_scaleDefault);
    m_scaleValue = m_scaleDefault;
}

void QImageWidget::resetItemPos()
{
    m_scaleValue = usableScale(m_scaleDefault);
    setScale(m_scaleValue);
    setPos(0, 0);
}

QRectF QImageWidget::boundingRect() const
{
    return QRectF(-m_pix.width() / 2, -m_pix.height() / 2, m_pix.width(), m_pix.height());
}

void QImageWidget::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    Q_UNUSED(option);
    Q_UNUSED(widget);
    painter->drawPixmap(-m_pix.width() / 2, -m_pix.height() / 2, m_pix);
}

void QImageWidget::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_startPos = event->pos();
        m_isMove = true;
    } else if (event->button() == Qt::RightButton) {
        resetItemPos();
    }
}

void QImageWidget::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_isMove) {
        const QPointF delta = event->pos() - m_startPos;
        moveBy(delta.x() * m_scaleValue, delta.y() * m_scaleValue);
    }
}

void QImageWidget::mouseReleaseEvent(QGraphicsSceneMouseEvent *)
{
    m_isMove = false;
}

void QImageWidget::wheelEvent(QGraphicsSceneWheelEvent *event)
{
    const int delta = event->delta();
    // No step, or an item that was never fitted: nothing to zoom from.
    if (delta == 0 || !(m_scaleValue > 0))
        return;
    const double s = m_scaleValue;
    if (delta > 0 && s >= kMaxZoomScale)
        return;
    if (delta < 0 && m_scaleDefault >= s) {
        resetItemPos();
        return;
    }
    m_scaleValue = delta > 0 ? s * 1.1 : s * 0.9;
    setScale(m_scaleValue);
    const QPointF p = event->pos();
    if (delta > 0)
        moveBy(-p.x() * s * 0.1, -p.y() * s * 0.1);
    else
        moveBy(p.x() * s * 0.1, p.y() * s * 0.1);
}
