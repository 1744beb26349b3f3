// The console at its starting sizes shows every counter, caption and the pie whole; where
// the window is smaller than its contents the work area scrolls instead of squeezing them.
#include "FramelessRules.h"
#include "QtFramelessWindow.h"
#include "TextFits.h"
#include "WindowFixture.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace fixture;

class TestWindowLayout : public WindowSuite
{
    Q_OBJECT

private slots:
    void init() { startWindow(); }
    void cleanup() { stopWindow(); }
    void everyFigureFits_data();
    void everyFigureFits();
    void maximiseAndRestoreKeepTheStartGeometry();

private:
    void showWidestFigures();
    QScrollArea *scrollArea() const { return w->findChild<QScrollArea *>(); }
};

namespace {

QRect inWidget(QWidget *w, QWidget *ancestor)
{
    return QRect(w->mapTo(ancestor, QPoint(0, 0)), w->size());
}

// Why a widget is not shown whole inside root: cut by a parent or covered by another
// shown widget of root that is neither its parent nor its child; or empty.
QString coveredOrCut(QWidget *widget, QWidget *root)
{
    for (QWidget *p = widget; p != root; p = p->parentWidget())
        if (!QRect(QPoint(0, 0), p->parentWidget()->size()).contains(p->geometry()))
            return QStringLiteral("%1 is cut by %2").arg(widget->objectName(), p->parentWidget()->objectName());
    const QRect box = inWidget(widget, root);
    const auto others = root->findChildren<QWidget *>();
    for (QWidget *other : others) {
        if (!other->isVisible() || other == widget || other->isAncestorOf(widget)
            || widget->isAncestorOf(other))
            continue;
        if (box.intersects(inWidget(other, root)))
            return QStringLiteral("%1 lies over %2").arg(other->objectName(), widget->objectName());
    }
    return QString();
}

// Layout requests travel up one container per round.
void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

} // namespace

void TestWindowLayout::showWidestFigures()
{
    for (QLabel *l : {ui.label_allNum, ui.label_OKNum, ui.label_NGnum, ui.label_allNum_day,
                      ui.label_OKNum_day, ui.label_NGnum_day, ui.label_allNum_night,
                      ui.label_OKNum_night, ui.label_NGnum_night})
        l->setText(QStringLiteral("999999"));
    for (QLabel *l : {ui.label_OKPercent, ui.label_OKPercent_day, ui.label_OKPercent_night})
        l->setText(QStringLiteral("66.66%"));
    ui.label_CT->setText(QStringLiteral("12.50秒"));
    ui.label_SN->setText(QStringLiteral("2026-12-09#16:15:58.430"));
    ui.label_result->setText(QStringLiteral("NG"));
    ui.label_runTime->setText(QStringLiteral("9999小时59分59秒"));
    settle();
}

void TestWindowLayout::everyFigureFits_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("1920x1080") << QSize(1440, 810) << false;
    QTest::newRow("1366x768") << QSize(1023, 576) << true;
}

void TestWindowLayout::everyFigureFits()
{
    QFETCH(QSize, size);
    QFETCH(bool, scrolls);
    w->showNormal();
    w->resize(size);
    // The right column's minimum as the window sets it for the screen of this size.
    auto *frameless = w->findChild<QtFramelessWindow *>();
    QVERIFY(frameless);
    emit frameless->frameRightMinimumChanged(frameless::frameRightMinimum(size.width()));
    showWidestFigures();
    QCOMPARE(w->size(), size);

    // The title bar stays outside the scrolled contents.
    QScrollArea *area = scrollArea();
    QVERIFY(area);
    QWidget *content = area->widget();
    QVERIFY(content && content->isAncestorOf(ui.tabWidget) && content->isAncestorOf(ui.groupBox_3));
    QVERIFY(!content->isAncestorOf(w->findChild<QWidget *>(QStringLiteral("title"))));
    QCOMPARE(area->horizontalScrollBar()->isVisible(), scrolls);
    if (!scrolls)
        QVERIFY(!area->verticalScrollBar()->isVisible());

    // Every label of the right column and the two shift panels: whole, uncovered, and
    // reachable by scrolling.
    QStringList faults;
    QList<QLabel *> labels = w->findChild<QWidget *>(QStringLiteral("frame"))->findChildren<QLabel *>();
    labels += ui.groupBox_3->findChildren<QLabel *>();
    labels += ui.groupBox_4->findChildren<QLabel *>();
    QVERIFY(labels.size() >= 28 + 8 + 8);
    for (QLabel *label : qAsConst(labels)) {
        if (!label->isVisible())
            continue;
        QString why = textfits::labelCut(label);
        if (why.isEmpty())
            why = coveredOrCut(label, content);
        if (why.isEmpty()) {
            area->ensureWidgetVisible(label, 0, 0);
            if (!area->viewport()->rect().contains(inWidget(label, area->viewport())))
                why = label->objectName() + QStringLiteral(" cannot be scrolled into view");
        }
        if (!why.isEmpty())
            faults << why;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));

    // The pie lies wholly inside its box and nothing lies over it.
    QtCharts::QChartView *pie = nullptr;
    for (auto *v : ui.groupBox_2->findChildren<QtCharts::QChartView *>())
        if (v->isVisible())
            pie = v;
    QVERIFY(pie);
    const QRect pieRect = inWidget(pie, content);
    QVERIFY2(ui.groupBox_2->contentsRect().translated(inWidget(ui.groupBox_2, content).topLeft()).contains(pieRect),
             qPrintable(QStringLiteral("pie %1,%2 %3x%4").arg(pieRect.x()).arg(pieRect.y())
                            .arg(pieRect.width()).arg(pieRect.height())));
    const QString pieFault = coveredOrCut(pie, content);
    QVERIFY2(pieFault.isEmpty(), qPrintable(pieFault));
}

void TestWindowLayout::maximiseAndRestoreKeepTheStartGeometry()
{
    // The test screen (800x600) is smaller than the contents need, as a 1366x768 one is.
    const QRect start = frameless::restoredGeometry(QtFramelessWindow::screenSize());
    QCOMPARE(w->geometry(), start);
    QVERIFY(scrollArea()->horizontalScrollBar()->isVisible());

    auto *max = w->findChild<QPushButton *>(QStringLiteral("pushButton_max"));
    QTest::mousePress(max, Qt::LeftButton);
    QTest::mouseRelease(max, Qt::LeftButton);
    QTRY_VERIFY(w->isMaximized());
    showWidestFigures(); // the contents' minimums grow while maximised
    QTest::mousePress(max, Qt::LeftButton);
    QTest::mouseRelease(max, Qt::LeftButton);
    QVERIFY(!w->isMaximized());
    QCOMPARE(w->geometry(), start);
    settle();
    QCOMPARE(w->geometry(), start);
}

QTEST_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
