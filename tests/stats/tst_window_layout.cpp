// The console at its starting sizes shows every counter, caption and the pie whole.
#include "FramelessRules.h"
#include "QtFramelessWindow.h"
#include "WindowFixture.h"

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
};

namespace {

QRect inWindow(QWidget *w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// Why a label's text does not fit its contents rectangle, or empty.
QString clipped(QLabel *label)
{
    if (!label->isVisible() || label->text().isEmpty() || Qt::mightBeRichText(label->text()))
        return QString();
    const QFontMetrics fm(label->font());
    const int margin = 2 * label->margin();
    QSize need;
    for (const QString &line : label->text().split(QRegularExpression(QStringLiteral("\r?\n")))) {
        need.rwidth() = qMax(need.width(), fm.horizontalAdvance(line));
        need.rheight() += fm.tightBoundingRect(line).height();
    }
    const QRect r = label->contentsRect();
    if (r.width() - margin >= need.width() && r.height() - margin >= need.height())
        return QString();
    return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
        .arg(label->objectName(), label->text())
        .arg(need.width()).arg(need.height())
        .arg(r.width() - margin).arg(r.height() - margin);
}

} // namespace

void TestWindowLayout::everyFigureFits_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1920x1080") << QSize(1440, 810);
}

void TestWindowLayout::everyFigureFits()
{
    QFETCH(QSize, size);
    w->showNormal();
    w->resize(size);
    // The right column's minimum as the window sets it for the screen of this size.
    auto *frameless = w->findChild<QtFramelessWindow *>();
    QVERIFY(frameless);
    emit frameless->frameRightMinimumChanged(frameless::frameRightMinimum(size.width()));
    QCOMPARE(w->size(), size);

    for (QLabel *l : {ui.label_allNum, ui.label_OKNum, ui.label_NGnum, ui.label_allNum_day,
                      ui.label_OKNum_day, ui.label_NGnum_day, ui.label_allNum_night,
                      ui.label_OKNum_night, ui.label_NGnum_night})
        l->setText(QStringLiteral("999999"));
    for (QLabel *l : {ui.label_OKPercent_day, ui.label_OKPercent_night})
        l->setText(QStringLiteral("100%"));
    ui.label_OKPercent->setText(QStringLiteral("66.66%"));
    ui.label_CT->setText(QStringLiteral("12.50秒"));
    ui.label_SN->setText(QStringLiteral("2026-12-09#16:15:58.430"));
    ui.label_result->setText(QStringLiteral("NG"));
    QCoreApplication::processEvents();
    QTest::qWait(0);

    // Every label of the right column and the two shift panels.
    QStringList faults;
    QList<QLabel *> labels = w->findChild<QWidget *>(QStringLiteral("frame"))->findChildren<QLabel *>();
    labels += ui.groupBox_3->findChildren<QLabel *>();
    labels += ui.groupBox_4->findChildren<QLabel *>();
    for (QLabel *label : qAsConst(labels)) {
        const QString why = clipped(label);
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
    const QRect pieRect = inWindow(pie);
    QVERIFY2(ui.groupBox_2->contentsRect().translated(inWindow(ui.groupBox_2).topLeft()).contains(pieRect),
             qPrintable(QStringLiteral("pie %1,%2 %3x%4").arg(pieRect.x()).arg(pieRect.y())
                            .arg(pieRect.width()).arg(pieRect.height())));
    for (QWidget *p = pie; p != w.get(); p = p->parentWidget())
        QVERIFY2(QRect(QPoint(0, 0), p->parentWidget()->size()).contains(p->geometry()),
                 qPrintable(p->objectName() + QStringLiteral(" is cut by its parent")));
    auto *clear = w->findChild<QWidget *>(QStringLiteral("frame_clearData"));
    QVERIFY(clear);
    QVERIFY(!inWindow(clear).intersects(pieRect));
    QVERIFY(inWindow(clear).top() >= pieRect.bottom());
}

QTEST_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
