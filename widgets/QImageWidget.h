// Graphics item showing one picture centred on its origin: fitted to the view,
// wheel zoom about the cursor, left drag pans, right click resets.
#pragma once

#include <QGraphicsItem>
#include <QPixmap>
#include <QPointF>

class QImageWidget : public QGraphicsItem
{
public:
    explicit QImageWidget(const QPixmap &pixmap);
    ~QImageWidget() override;

    // Scales uniformly so the whole picture fits a view of the given size.
    void fitToView(int viewWidth, int viewHeight);
    // Back to the fit scale, centred at (0, 0).
    void resetItemPos();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    double currentScale() const { return m_scaleValue; }
    double fitScale() const { return m_scaleDefault; }

    static constexpr double kMaxZoomScale = 50.0;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void wheelEvent(QGraphicsSceneWheelEvent *event) override;

private:
    double m_scaleValue = 0;   // scale last set
    double m_scaleDefault = 0; // fit scale
    QPixmap m_pix;
    bool m_isMove = false;
    QPointF m_startPos;
};
