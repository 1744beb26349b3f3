// The zoomable image item: fit, wheel zoom limits, pan, reset and degenerate input.
#include "QImageWidget.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSceneWheelEvent>
#include <QtTest>

#include <cmath>

namespace {

QPixmap pixmap(int w, int h)
{
    QPixmap p(w, h);
    p.fill(Qt::gray);
    return p;
}

void wheel(QGraphicsScene &scene, QGraphicsItem *item, int delta, QPointF at)
{
    QGraphicsSceneWheelEvent ev(QEvent::GraphicsSceneWheel);
    ev.setDelta(delta);
    ev.setPos(at);
    scene.sendEvent(item, &ev);
}

void mouse(QGraphicsScene &scene, QGraphicsItem *item, QEvent::Type type, Qt::MouseButton button, QPointF at)
{
    QGraphicsSceneMouseEvent ev(type);
    ev.setButton(button);
    ev.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : Qt::MouseButtons(button));
    ev.setPos(at);
    scene.sendEvent(item, &ev);
}

bool near(double a, double b)
{
    return std::fabs(a - b) < 1e-9 * std::max(1.0, std::fabs(b));
}

bool nearPoint(QPointF a, QPointF b)
{
    return std::fabs(a.x() - b.x()) < 1e-6 && std::fabs(a.y() - b.y()) < 1e-6;
}

} // namespace

class TestImageWidget : public QObject
{
    Q_OBJECT

private slots:
    void boundingRect_centresPicture();
    void fit_usesSmallerRatio();
    void zoomIn_stopsAtLimit();
    void zoomOut_belowFitResets();
    void zoom_keepsPointUnderCursor();
    void rightClick_resets();
    void leftDrag_movesWithCursor();
    void degenerate_keepsFinitePositiveScale_data();
    void degenerate_keepsFinitePositiveScale();
    void zeroWheelStep_changesNothing();
    void unfittedItem_ignoresWheel();
};

void TestImageWidget::boundingRect_centresPicture()
{
    QCOMPARE(QImageWidget(pixmap(1000, 500)).boundingRect(), QRectF(-500, -250, 1000, 500));
    // Odd sizes: the extra pixel lies right / below.
    QCOMPARE(QImageWidget(pixmap(5, 3)).boundingRect(), QRectF(-2, -1, 5, 3));
}

void TestImageWidget::fit_usesSmallerRatio()
{
    QImageWidget item(pixmap(1000, 500));
    item.setPos(3, 4);
    item.fitToView(800, 600);
    QCOMPARE(item.fitScale(), 0.8);
    QCOMPARE(item.currentScale(), 0.8);
    QCOMPARE(item.scale(), 0.8);
    QCOMPARE(item.pos(), QPointF(3, 4)); // fitting does not move the item
}

void TestImageWidget::zoomIn_stopsAtLimit()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(10, 10));
    item->fitToView(499, 499); // fit 49.9
    scene.addItem(item);
    QVERIFY(near(item->currentScale(), 49.9));
    wheel(scene, item, 120, QPointF(1, 2));
    QVERIFY(near(item->currentScale(), 54.89));
    QVERIFY(near(item->scale(), 54.89));
    const QPointF pos = item->pos();
    wheel(scene, item, 120, QPointF(1, 2));
    QVERIFY(near(item->currentScale(), 54.89));
    QCOMPARE(item->pos(), pos);
}

void TestImageWidget::zoomOut_belowFitResets()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(1000, 500));
    item->fitToView(800, 600);
    scene.addItem(item);
    wheel(scene, item, 120, QPointF(100, 50)); // 0.88
    wheel(scene, item, -120, QPointF(100, 50)); // 0.792: one step below the fit
    QVERIFY(near(item->currentScale(), 0.8 * 1.1 * 0.9));
    QVERIFY(item->currentScale() < item->fitScale());
    QVERIFY(item->pos() != QPointF(0, 0));
    wheel(scene, item, -120, QPointF(100, 50)); // snaps back
    QCOMPARE(item->currentScale(), 0.8);
    QCOMPARE(item->scale(), 0.8);
    QCOMPARE(item->pos(), QPointF(0, 0));
}

void TestImageWidget::zoom_keepsPointUnderCursor()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(640, 480));
    item->fitToView(320, 240);
    scene.addItem(item);
    const QPointF at(-123.5, 77.25);
    const QPointF screen = item->mapToScene(at);
    for (int delta : {120, 120, 240, -120, 120, -120, -120}) {
        wheel(scene, item, delta, at);
        QVERIFY2(nearPoint(item->mapToScene(at), screen), qPrintable(QStringLiteral("after step %1").arg(delta)));
    }
}

void TestImageWidget::rightClick_resets()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(200, 100));
    item->fitToView(100, 100);
    scene.addItem(item);
    wheel(scene, item, 120, QPointF(30, 20));
    wheel(scene, item, 120, QPointF(30, 20));
    QVERIFY(item->currentScale() > item->fitScale());
    mouse(scene, item, QEvent::GraphicsSceneMousePress, Qt::RightButton, QPointF(-70, 10));
    QCOMPARE(item->currentScale(), 0.5);
    QCOMPARE(item->scale(), 0.5);
    QCOMPARE(item->pos(), QPointF(0, 0));
}

void TestImageWidget::leftDrag_movesWithCursor()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(200, 100));
    item->fitToView(100, 100); // scale 0.5
    scene.addItem(item);
    mouse(scene, item, QEvent::GraphicsSceneMousePress, Qt::LeftButton, QPointF(10, 10));
    mouse(scene, item, QEvent::GraphicsSceneMouseMove, Qt::NoButton, QPointF(30, 4));
    QCOMPARE(item->pos(), QPointF(10, -3)); // (20, -6) item units at scale 0.5
    // Any button's release ends the drag.
    mouse(scene, item, QEvent::GraphicsSceneMouseRelease, Qt::RightButton, QPointF(30, 4));
    mouse(scene, item, QEvent::GraphicsSceneMouseMove, Qt::NoButton, QPointF(80, 80));
    QCOMPARE(item->pos(), QPointF(10, -3));
    // A middle press neither drags nor resets.
    mouse(scene, item, QEvent::GraphicsSceneMousePress, Qt::MiddleButton, QPointF(0, 0));
    mouse(scene, item, QEvent::GraphicsSceneMouseMove, Qt::NoButton, QPointF(50, 50));
    QCOMPARE(item->pos(), QPointF(10, -3));
}

void TestImageWidget::degenerate_keepsFinitePositiveScale_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("view");
    QTest::newRow("null picture") << QSize() << QSize(800, 600);
    QTest::newRow("zero width view") << QSize(100, 100) << QSize(0, 600);
    QTest::newRow("zero view") << QSize(100, 100) << QSize(0, 0);
    QTest::newRow("negative view") << QSize(100, 100) << QSize(-5, 600);
}

void TestImageWidget::degenerate_keepsFinitePositiveScale()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, view);
    QGraphicsScene scene;
    auto *item = new QImageWidget(picture.isValid() ? pixmap(picture.width(), picture.height()) : QPixmap());
    item->fitToView(view.width(), view.height());
    scene.addItem(item);
    auto sane = [item] {
        return std::isfinite(item->currentScale()) && item->currentScale() > 0 && std::isfinite(item->scale())
               && item->scale() > 0 && std::isfinite(item->fitScale()) && item->fitScale() > 0;
    };
    QVERIFY(sane());
    wheel(scene, item, -120, QPointF(1, 1));
    QVERIFY(sane());
    wheel(scene, item, 120, QPointF(1, 1));
    QVERIFY(sane());
    mouse(scene, item, QEvent::GraphicsSceneMousePress, Qt::RightButton, QPointF(0, 0));
    QVERIFY(sane());
}

void TestImageWidget::zeroWheelStep_changesNothing()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(100, 100));
    item->fitToView(50, 50);
    scene.addItem(item);
    for (int i = 0; i < 100; ++i)
        wheel(scene, item, 0, QPointF(10, 10));
    QCOMPARE(item->currentScale(), 0.5);
    QCOMPARE(item->scale(), 0.5);
    QCOMPARE(item->pos(), QPointF(0, 0));
}

void TestImageWidget::unfittedItem_ignoresWheel()
{
    QGraphicsScene scene;
    auto *item = new QImageWidget(pixmap(100, 100));
    scene.addItem(item);
    wheel(scene, item, -120, QPointF(10, 10));
    wheel(scene, item, 120, QPointF(10, 10));
    QCOMPARE(item->scale(), 1.0);
    QCOMPARE(item->pos(), QPointF(0, 0));
}

QTEST_MAIN(TestImageWidget)
#include "tst_image_widget.moc"
