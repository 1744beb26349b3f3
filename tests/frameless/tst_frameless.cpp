// Border arithmetic and mouse handling of the shared frameless behaviour.
#include "FramelessRules.h"
#include "QtFramelessWindow.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace frameless;

namespace {

// A window wired the way the console's windows are: title bar with buttons, forwarded handlers.
class FramedWindow : public QMainWindow
{
public:
    explicit FramedWindow(QtFramelessWindow::Mode mode, int margin,
                          QtFramelessWindow::Features features = QtFramelessWindow::NoFeature)
    {
        auto *central = new QWidget(this);
        auto *column = new QVBoxLayout(central);
        column->setContentsMargins(10, 10, 10, 10);
        title = new QFrame(central);
        title->setFixedHeight(40);
        auto *row = new QHBoxLayout(title);
        row->addStretch();
        minButton = new QPushButton("-", title);
        maxButton = new QPushButton("+", title);
        closeButton = new QPushButton("x", title);
        for (auto *b : {minButton, maxButton, closeButton}) {
            b->setFixedSize(30, 30);
            row->addWidget(b);
        }
        column->addWidget(title);
        column->addStretch();
        setCentralWidget(central);
        setWindowFlags(Qt::FramelessWindowHint);
        frameless = new QtFramelessWindow(this, mode, margin, features);
        frameless->setTitle(title, minButton, maxButton, closeButton);
        setMinimumSize(300, 200);
    }

    QtFramelessWindow *frameless;
    QFrame *title;
    QPushButton *minButton;
    QPushButton *maxButton;
    QPushButton *closeButton;

protected:
    void mousePressEvent(QMouseEvent *e) override { frameless->mousePressEvent(e); }
    void mouseMoveEvent(QMouseEvent *e) override { frameless->mouseMoveEvent(e); }
    void mouseReleaseEvent(QMouseEvent *e) override { frameless->mouseReleaseEvent(e); }
};

// Sends a mouse event at a point in window coordinates; returns whether it was accepted.
bool send(QWidget *w, QEvent::Type type, const QPoint &local, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent e(type, local, w->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}

void hover(QWidget *w, const QPoint &p) { send(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
void press(QWidget *w, const QPoint &p) { send(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
void drag(QWidget *w, const QPoint &p) { send(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
void release(QWidget *w, const QPoint &p) { send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }

// Point in window coordinates at the centre of a child widget.
QPoint centreOf(QWidget *window, QWidget *child)
{
    return child->mapTo(window, child->rect().center());
}

void showAt(QWidget *w, const QRect &g)
{
    w->setGeometry(g);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_COMPARE(w->geometry(), g);
}

} // namespace

class TestFrameless : public QObject
{
    Q_OBJECT
private slots:
    void hitRegion_data();
    void hitRegion();
    void cursorPerRegion_data();
    void cursorPerRegion();
    void resizeStopsAtMinimumAndWidensBack();
    void resizeCornersAndEdges_data();
    void resizeCornersAndEdges();
    void sidewaysStepRule();
    void restoredGeometryArithmetic();

    void hoverSetsCursorAndFreezesWhileHeld();
    void borderDragResizesAndSkipsLargeSideStep();
    void titleDragMovesButNotFromButtons();
    void titleDragRestoresMaximised();
    void mainWindowGateAndFollowUp();
    void maximiseToggle();
    void moveOnlyWindow();
};

void TestFrameless::hitRegion_data()
{
    QTest::addColumn<QPoint>("p");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("region");
    // 800 x 600 main window, margin 3.
    QTest::newRow("top-left") << QPoint(1, 1) << 3 << int(TopLeft);
    QTest::newRow("top") << QPoint(400, 1) << 3 << int(Top);
    QTest::newRow("top-right") << QPoint(798, 1) << 3 << int(TopRight);
    QTest::newRow("right") << QPoint(798, 300) << 3 << int(Right);
    QTest::newRow("bottom-right") << QPoint(798, 598) << 3 << int(BottomRight);
    QTest::newRow("bottom") << QPoint(400, 598) << 3 << int(Bottom);
    QTest::newRow("bottom-left") << QPoint(1, 598) << 3 << int(BottomLeft);
    QTest::newRow("left") << QPoint(1, 300) << 3 << int(Left);
    QTest::newRow("on x=m line") << QPoint(3, 1) << 3 << int(Middle);
    QTest::newRow("inside") << QPoint(400, 300) << 3 << int(Middle);
    QTest::newRow("on y=m line") << QPoint(1, 3) << 3 << int(Middle);
    QTest::newRow("on x=W-m line") << QPoint(797, 300) << 3 << int(Middle);
    QTest::newRow("on y=H-m line") << QPoint(400, 597) << 3 << int(Middle);
    QTest::newRow("dialog margin 2 left") << QPoint(1, 300) << 2 << int(Left);
    QTest::newRow("dialog margin 2 x=2") << QPoint(2, 300) << 2 << int(Middle);
}

void TestFrameless::hitRegion()
{
    QFETCH(QPoint, p);
    QFETCH(int, margin);
    QFETCH(int, region);
    QCOMPARE(frameless::hitRegion(p, 800, 600, margin), region);

    QWidget w;
    w.resize(800, 600);
    QtFramelessWindow f(&w, QtFramelessWindow::Full, margin);
    QCOMPARE(f.hitRegion(p), region);
}

void TestFrameless::cursorPerRegion_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<int>("shape");
    QTest::newRow("TopLeft") << int(TopLeft) << int(Qt::SizeFDiagCursor);
    QTest::newRow("Top") << int(Top) << int(Qt::SizeVerCursor);
    QTest::newRow("TopRight") << int(TopRight) << int(Qt::SizeBDiagCursor);
    QTest::newRow("Right") << int(Right) << int(Qt::SizeHorCursor);
    QTest::newRow("BottomRight") << int(BottomRight) << int(Qt::SizeFDiagCursor);
    QTest::newRow("Bottom") << int(Bottom) << int(Qt::SizeVerCursor);
    QTest::newRow("BottomLeft") << int(BottomLeft) << int(Qt::SizeBDiagCursor);
    QTest::newRow("Left") << int(Left) << int(Qt::SizeHorCursor);
    QTest::newRow("Middle") << int(Middle) << int(Qt::ArrowCursor);
    QTest::newRow("above 8") << 9 << int(Qt::ArrowCursor);
}

void TestFrameless::cursorPerRegion()
{
    QFETCH(int, region);
    QFETCH(int, shape);
    QWidget w;
    QtFramelessWindow f(&w, QtFramelessWindow::Full, 2);
    w.setCursor(Qt::WaitCursor);
    f.setCursorType(region);
    QCOMPARE(int(w.cursor().shape()), shape);
}

void TestFrameless::resizeStopsAtMinimumAndWidensBack()
{
    // At the minimum width a left edge dragged right does not move ...
    QRect r(100, 100, 300, 250);
    frameless::resizeRegion(Left, r, QPoint(10, 0), 300, 200);
    QCOMPARE(r, QRect(100, 100, 300, 250));
    // ... dragged left it widens.
    frameless::resizeRegion(Left, r, QPoint(-10, 0), 300, 200);
    QCOMPARE(r, QRect(90, 100, 310, 250));
    // The test is made before the step, so the last step may pass the minimum.
    frameless::resizeRegion(Left, r, QPoint(20, 0), 300, 200);
    QCOMPARE(r.width(), 290);
    // Right and bottom edges at the minimum only grow.
    QRect s(0, 0, 300, 200);
    frameless::resizeRegion(BottomRight, s, QPoint(-5, -5), 300, 200);
    QCOMPARE(s, QRect(0, 0, 300, 200));
    frameless::resizeRegion(BottomRight, s, QPoint(5, 7), 300, 200);
    QCOMPARE(s, QRect(0, 0, 305, 207));
    // A corner at the minimum width but above the minimum height moves vertically only.
    QRect t(0, 0, 300, 400);
    frameless::resizeRegion(TopLeft, t, QPoint(5, 5), 300, 200);
    QCOMPARE(t, QRect(0, 5, 300, 395));
}

void TestFrameless::resizeCornersAndEdges_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<QRect>("expected");
    const QRect r(100, 100, 400, 300); // left 100, top 100, right 499, bottom 399; step (5, 7)
    QTest::newRow("TopLeft") << int(TopLeft) << QRect(QPoint(105, 107), r.bottomRight());
    QTest::newRow("Top") << int(Top) << QRect(QPoint(100, 107), r.bottomRight());
    QTest::newRow("TopRight") << int(TopRight) << QRect(QPoint(100, 107), QPoint(504, 399));
    QTest::newRow("Right") << int(Right) << QRect(QPoint(100, 100), QPoint(504, 399));
    QTest::newRow("BottomRight") << int(BottomRight) << QRect(QPoint(100, 100), QPoint(504, 406));
    QTest::newRow("Bottom") << int(Bottom) << QRect(QPoint(100, 100), QPoint(499, 406));
    QTest::newRow("BottomLeft") << int(BottomLeft) << QRect(QPoint(105, 100), QPoint(499, 406));
    QTest::newRow("Left") << int(Left) << QRect(QPoint(105, 100), QPoint(499, 399));
    QTest::newRow("Middle") << int(Middle) << r;
}

void TestFrameless::resizeCornersAndEdges()
{
    QFETCH(int, region);
    QFETCH(QRect, expected);
    QRect r(100, 100, 400, 300);
    QtFramelessWindow::resizeRegion(region, r, QPoint(5, 7), 200, 150);
    QCOMPARE(r, expected);
}

void TestFrameless::sidewaysStepRule()
{
    QVERIFY(sidewaysStepAccepted(0));
    QVERIFY(sidewaysStepAccepted(49));
    QVERIFY(sidewaysStepAccepted(-49));
    QVERIFY(!sidewaysStepAccepted(50));
    QVERIFY(!sidewaysStepAccepted(-50));
}

void TestFrameless::restoredGeometryArithmetic()
{
    QCOMPARE(restoredGeometry(QSize(1920, 1080)), QRect(240, 180, 1440, 810));
    QCOMPARE(frameRightMinimum(1440), QSize(288, 300));
    // Divisions come before the multiplication: 1366 gives 1023, not 1024.
    QCOMPARE(restoredGeometry(QSize(1366, 768)), QRect(170, 128, 1023, 576));
    QCOMPARE(frameRightMinimum(1023), QSize(204, 300));

    // Kept inside the available area: unchanged where it fits, else shrunk and moved in.
    const QRect area(0, 0, 1366, 728);
    QCOMPARE(fitInside(QRect(170, 128, 1023, 576), area), QRect(170, 128, 1023, 576));
    QCOMPARE(fitInside(QRect(170, 128, 1023, 700), area), QRect(170, 28, 1023, 700));
    QCOMPARE(fitInside(QRect(-20, 10, 1400, 900), area), area);
    QCOMPARE(fitInside(QRect(170, 128, 1023, 576), QRect(0, 40, 1366, 728)), QRect(170, 128, 1023, 576));
}

void TestFrameless::hoverSetsCursorAndFreezesWhileHeld()
{
    FramedWindow w(QtFramelessWindow::Full, 2);
    showAt(&w, QRect(100, 100, 500, 400));
    hover(&w, QPoint(0, 200));
    QCOMPARE(w.frameless->currentRegion(), int(Left));
    QCOMPARE(w.cursor().shape(), Qt::SizeHorCursor);
    // A held button keeps the region of the press while the cursor leaves the border.
    press(&w, QPoint(0, 200));
    drag(&w, QPoint(3, 200));
    QCOMPARE(w.frameless->currentRegion(), int(Left));
    release(&w, QPoint(3, 200));
    hover(&w, QPoint(250, 200));
    QCOMPARE(w.frameless->currentRegion(), int(Middle));
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
}

void TestFrameless::borderDragResizesAndSkipsLargeSideStep()
{
    FramedWindow w(QtFramelessWindow::Full, 2);
    showAt(&w, QRect(100, 100, 500, 400));
    hover(&w, QPoint(499, 200));
    QCOMPARE(w.frameless->currentRegion(), int(Right));
    press(&w, QPoint(499, 200));
    // Positions below are window coordinates at the time of sending; the window's left edge
    // does not move in a right-edge resize, so they map to fixed global points.
    drag(&w, QPoint(519, 210));
    QTRY_COMPARE(w.geometry(), QRect(100, 100, 520, 400));
    // 50 pixels sideways: geometry unchanged, position still taken.
    drag(&w, QPoint(569, 210));
    QCOMPARE(w.geometry(), QRect(100, 100, 520, 400));
    QCOMPARE(w.frameless->lastGlobalPos(), QPoint(669, 310) + (w.mapToGlobal(QPoint()) - QPoint(100, 100)));
    drag(&w, QPoint(579, 210));
    QTRY_COMPARE(w.geometry(), QRect(100, 100, 530, 400));
    release(&w, QPoint(579, 210));

    // Shrinking from the left stops at the minimum width.
    w.setGeometry(QRect(100, 100, 310, 300));
    QTRY_COMPARE(w.geometry(), QRect(100, 100, 310, 300));
    hover(&w, QPoint(0, 150));
    press(&w, QPoint(0, 150));
    for (int i = 0; i < 5; ++i) {
        const QPoint global = QPoint(100 + 10 * (i + 1), 250);
        drag(&w, w.mapFromGlobal(global));
    }
    QTRY_COMPARE(w.width(), 300);
    release(&w, w.mapFromGlobal(QPoint(150, 250)));
}

void TestFrameless::titleDragMovesButNotFromButtons()
{
    FramedWindow w(QtFramelessWindow::Full, 2);
    showAt(&w, QRect(100, 100, 500, 400));
    const QPoint inTitle = w.title->mapTo(&w, QPoint(20, 20));
    const QPoint globalStart = w.mapToGlobal(inTitle);
    hover(&w, inTitle);
    QCOMPARE(w.frameless->currentRegion(), int(Middle));
    press(&w, inTitle);
    // A title move takes any step, also one far past 50 pixels.
    drag(&w, w.mapFromGlobal(globalStart + QPoint(120, 5)));
    QTRY_COMPARE(w.pos(), QPoint(220, 105));
    release(&w, w.mapFromGlobal(globalStart + QPoint(120, 5)));
    QCOMPARE(w.pos(), QPoint(220, 105));

    for (QPushButton *b : {w.minButton, w.maxButton, w.closeButton}) {
        const QPoint onButton = centreOf(&w, b);
        const QPoint g = w.mapToGlobal(onButton);
        const QPoint before = w.pos();
        hover(&w, onButton);
        press(&w, onButton);
        drag(&w, w.mapFromGlobal(g + QPoint(30, 10)));
        release(&w, w.mapFromGlobal(g + QPoint(30, 10)));
        QCOMPARE(w.pos(), before);
    }
}

void TestFrameless::titleDragRestoresMaximised()
{
    FramedWindow w(QtFramelessWindow::Full, 2);
    showAt(&w, QRect(100, 100, 500, 400));
    w.showMaximized();
    QTRY_VERIFY(w.isMaximized());
    const QPoint inTitle = w.title->mapTo(&w, QPoint(20, 20));
    press(&w, inTitle);
    drag(&w, inTitle + QPoint(5, 5));
    QTRY_VERIFY(!w.isMaximized());
    release(&w, inTitle + QPoint(5, 5));
}

void TestFrameless::mainWindowGateAndFollowUp()
{
    FramedWindow w(QtFramelessWindow::Full, 3,
                   QtFramelessWindow::ActiveWindowGate | QtFramelessWindow::FrameRightFollowUp);
    QSignalSpy followUps(w.frameless, &QtFramelessWindow::frameRightMinimumChanged);
    showAt(&w, QRect(100, 100, 600, 400));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    hover(&w, QPoint(1, 200));
    QCOMPARE(w.frameless->currentRegion(), int(Left));
    QCOMPARE(w.cursor().shape(), Qt::SizeHorCursor);
    press(&w, QPoint(1, 200));
    drag(&w, w.mapFromGlobal(w.mapToGlobal(QPoint(1, 200)) + QPoint(-20, 0)));
    QTRY_COMPARE(w.width(), 620);
    QCOMPARE(followUps.count(), 1);
    QCOMPARE(followUps.last().at(0).toSize(), QSize(124, 300));
    release(&w, QPoint(1, 200));

    // Another window active: the border shows the arrow and nothing resizes.
    QWidget other;
    other.setGeometry(800, 100, 100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    hover(&w, QPoint(1, 200));
    QCOMPARE(w.frameless->currentRegion(), int(Middle));
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    const QRect before = w.geometry();
    press(&w, QPoint(1, 200));
    drag(&w, QPoint(-20, 200));
    QCOMPARE(w.geometry(), before);
    QCOMPARE(followUps.count(), 1);

    // Dialog configuration: no gate, no follow-up.
    FramedWindow d(QtFramelessWindow::Full, 2);
    QSignalSpy none(d.frameless, &QtFramelessWindow::frameRightMinimumChanged);
    showAt(&d, QRect(100, 100, 500, 400));
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    hover(&d, QPoint(0, 200));
    QCOMPARE(d.frameless->currentRegion(), int(Left));
    press(&d, QPoint(0, 200));
    drag(&d, d.mapFromGlobal(d.mapToGlobal(QPoint(0, 200)) + QPoint(-10, 0)));
    QTRY_COMPARE(d.width(), 510);
    QCOMPARE(none.count(), 0);
}

void TestFrameless::maximiseToggle()
{
    FramedWindow w(QtFramelessWindow::Full, 3, QtFramelessWindow::FrameRightFollowUp);
    QSignalSpy followUps(w.frameless, &QtFramelessWindow::frameRightMinimumChanged);
    // Contents whose minimum follows the announced width, as the main window's right column
    // does: maximised, the window may not get narrower than nearly the screen.
    connect(w.frameless, &QtFramelessWindow::frameRightMinimumChanged, &w,
            [&w](const QSize &size) { w.setMinimumWidth(size.width() * 5 - 4); });
    const QSize screen = QtFramelessWindow::screenSize();
    QVERIFY(screen.isValid());
    showAt(&w, restoredGeometry(screen));
    QVERIFY(QtFramelessWindow::maximizeNext());
    w.frameless->toggleMaximized();
    QTRY_VERIFY(w.isMaximized());
    QVERIFY(!QtFramelessWindow::maximizeNext());
    QCOMPARE(followUps.last().at(0).toSize(), frameRightMinimum(screen.width()));

    // Restoring by a title drag leaves the flag: the next press restores again.
    const QPoint inTitle = w.title->mapTo(&w, QPoint(20, 20));
    press(&w, inTitle);
    drag(&w, inTitle + QPoint(3, 0));
    release(&w, inTitle + QPoint(3, 0));
    QTRY_VERIFY(!w.isMaximized());
    QVERIFY(!QtFramelessWindow::maximizeNext());
    w.frameless->toggleMaximized();
    QTRY_COMPARE(w.geometry(), restoredGeometry(screen));
    QVERIFY(QtFramelessWindow::maximizeNext());
    QCOMPARE(followUps.last().at(0).toSize(), frameRightMinimum(restoredGeometry(screen).width()));
    w.frameless->toggleMaximized();
    QTRY_VERIFY(w.isMaximized());
    w.frameless->toggleMaximized();
    QTRY_VERIFY(!w.isMaximized());
    QCOMPARE(w.geometry(), restoredGeometry(screen));
}

void TestFrameless::moveOnlyWindow()
{
    FramedWindow w(QtFramelessWindow::MoveOnly, 0);
    showAt(&w, QRect(100, 100, 500, 350));
    // No resize cursors at the border and no resize.
    const Qt::CursorShape shape = w.cursor().shape();
    hover(&w, QPoint(0, 200));
    press(&w, QPoint(0, 200));
    drag(&w, QPoint(-20, 200));
    release(&w, QPoint(-20, 200));
    QCOMPARE(w.cursor().shape(), shape);
    QCOMPARE(w.geometry(), QRect(100, 100, 500, 350));

    // Any button on the title drags.
    const QPoint inTitle = w.title->mapTo(&w, QPoint(20, 20));
    const QPoint g = w.mapToGlobal(inTitle);
    send(&w, QEvent::MouseButtonPress, inTitle, Qt::RightButton, Qt::RightButton);
    send(&w, QEvent::MouseMove, w.mapFromGlobal(g + QPoint(70, 15)), Qt::NoButton, Qt::RightButton);
    QTRY_COMPARE(w.pos(), QPoint(170, 115));
    send(&w, QEvent::MouseButtonRelease, w.mapFromGlobal(g + QPoint(70, 15)), Qt::RightButton,
         Qt::NoButton);
    QCOMPARE(w.pos(), QPoint(170, 115));
}

QTEST_MAIN(TestFrameless)
#include "tst_frameless.moc"
