#include "LogBatch.h"
#include "StatisticsCharts.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>
#include <QtTest>

using namespace QtCharts;

class TestStatisticsCharts : public QObject
{
    Q_OBJECT

private slots:
    void pieStartsAllOkAndFollowsShare();
    void barAxisFromValue();
    void fillBarsAndTableFromRecords();
    void replaceViewInLayout();
    void cellWritesStayInsideTable();
    void logBatchWritesAtTheNextTurn();
    void logBatchKeepsNewestLinesAndColours();
    void logBatchFollowsTheEndUntilScrolledAway();
};

void TestStatisticsCharts::pieStartsAllOkAndFollowsShare()
{
    PieChartData pie;
    charts::initPieChart(pie);
    QVERIFY(pie.view && pie.view->chart() == pie.chart);
    QCOMPARE(pie.series->count(), 2);
    QCOMPARE(pie.series->slices().at(0)->label(), QStringLiteral("OK:100%"));
    QCOMPARE(pie.series->slices().at(0)->value(), 100.0);
    QCOMPARE(pie.series->slices().at(1)->value(), 0.0);
    QCOMPARE(pie.series->slices().at(1)->color(), QColor(255, 0, 0));
    charts::setPieShare(pie, 66.66);
    QCOMPARE(pie.series->slices().at(0)->value(), 66.66);
    QCOMPARE(pie.series->slices().at(1)->value(), 100.0 - 66.66);
    QCOMPARE(pie.series->slices().at(0)->label(), QStringLiteral("OK:100%"));
    delete pie.view;
}

void TestStatisticsCharts::barAxisFromValue()
{
    const QList<int> values{0, 49, 50, 101, 301};
    const QList<int> maxima{100, 100, 200, 300, 700};
    for (int i = 0; i < values.size(); ++i) {
        BarChartData bar;
        charts::initDefectBarChart(bar, values[i]);
        QCOMPARE(bar.maxValue, maxima[i]);
        QCOMPARE(bar.set->count(), 1);
        QCOMPARE(bar.set->at(0), 0.0);
        QCOMPARE(bar.set->label(), QStringLiteral("缺陷数"));
        // The category axis is the series' only horizontal axis.
        const auto xAxes = bar.chart->axes(Qt::Horizontal);
        QCOMPARE(xAxes.size(), 1);
        QCOMPARE(xAxes.first(), bar.axis);
        delete bar.view;
    }
}

void TestStatisticsCharts::fillBarsAndTableFromRecords()
{
    BarChartData bar;
    charts::initDefectBarChart(bar, 0);
    QTableWidget table;
    table.setColumnCount(3);
    QList<DefectData> recs;
    DefectData a;
    a.defectName = "划痕";
    a.defectClass = 1;
    a.dayNum = 4;
    a.nightNum = 9;
    DefectData b;
    b.defectName = "脏污";
    b.defectClass = 3;
    b.dayNum = 0;
    recs << a << b;

    charts::fillDefectBars(bar, &table, recs, false);
    QCOMPARE(bar.barCount, 2);
    QCOMPARE(bar.set->count(), 2);
    QCOMPARE(bar.set->at(0), 4.0);
    QCOMPARE(bar.axis->categories(), QStringList({"划痕", "脏污"}));
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.item(1, 0)->text(), QStringLiteral("3"));
    QCOMPARE(table.item(1, 1)->text(), QStringLiteral("脏污"));
    QCOMPARE(table.item(0, 2)->text(), QStringLiteral("4"));
    QCOMPARE(table.item(0, 2)->textAlignment(), int(Qt::AlignCenter));

    // A refill replaces instead of appending; the night flag picks the night counts.
    charts::fillDefectBars(bar, &table, recs, true);
    QCOMPARE(bar.set->count(), 2);
    QCOMPARE(bar.set->at(0), 9.0);
    QCOMPARE(bar.axis->categories().size(), 2);

    charts::setBar(bar, 1, 12);
    QCOMPARE(bar.set->at(1), 12.0);
    charts::setBar(bar, 2, 5); // no such bar
    QCOMPARE(bar.set->count(), 2);

    charts::fillDefectBars(bar, &table, {}, false);
    QCOMPARE(bar.set->count(), 0);
    QVERIFY(bar.axis->categories().isEmpty());
    QCOMPARE(table.rowCount(), 0);
    delete bar.view;
}

void TestStatisticsCharts::replaceViewInLayout()
{
    QWidget box;
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(new QTableWidget);
    BarChartData bar;
    charts::initDefectBarChart(bar, 0);
    charts::placeChartView(bar.view, &box);
    QCOMPARE(layout->count(), 2);
    QCOMPARE(layout->itemAt(1)->widget(), bar.view);
    QPointer<QChartView> old = bar.view;
    charts::removeChartView(bar.view, layout);
    QVERIFY(old.isNull());
    QVERIFY(!bar.view);
    QCOMPARE(layout->count(), 1);
    charts::removeChartView(bar.view, layout); // nothing placed: no effect
    QCOMPARE(layout->count(), 1);
}

void TestStatisticsCharts::cellWritesStayInsideTable()
{
    QTableWidget table(2, 3);
    charts::setTableStyle(&table);
    QVERIFY(table.verticalHeader()->isHidden());
    QCOMPARE(table.selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(charts::setCellText(&table, 1, 2, "5"));
    QCOMPARE(table.item(1, 2)->text(), QStringLiteral("5"));
    QVERIFY(charts::setCellText(&table, 1, 2, "6"));
    QCOMPARE(table.item(1, 2)->text(), QStringLiteral("6"));
    QVERIFY(!charts::setCellText(&table, 2, 0, "x"));
    QVERIFY(!charts::setCellText(&table, 0, 3, "x"));
    QVERIFY(!charts::setCellText(&table, -1, 0, "x"));
    QVERIFY(!charts::setCellText(nullptr, 0, 0, "x"));
    QCOMPARE(table.rowCount(), 2);
}

static QColor blockColour(const QTextBlock &block)
{
    QTextCursor c(block);
    c.movePosition(QTextCursor::EndOfBlock);
    return c.charFormat().foreground().color();
}

void TestStatisticsCharts::logBatchWritesAtTheNextTurn()
{
    QPlainTextEdit view;
    auto *batch = new LogBatch(&view, 1000);
    QCOMPARE(batch->parent(), &view);
    batch->append("a", Qt::green);
    batch->append("b", Qt::green);
    QVERIFY(view.toPlainText().isEmpty());
    QCoreApplication::sendPostedEvents(batch, QEvent::MetaCall);
    QCOMPARE(view.toPlainText(), QStringLiteral("a\nb")); // no blank first line
    batch->append("c", Qt::red);
    QCoreApplication::sendPostedEvents(batch, QEvent::MetaCall);
    QCOMPARE(view.toPlainText(), QStringLiteral("a\nb\nc"));
    QCOMPARE(batch->pending(), 0);
    batch->append("d", Qt::red);
    batch->clear();
    QCoreApplication::sendPostedEvents(batch, QEvent::MetaCall);
    QCOMPARE(view.document()->blockCount(), 3);
}

void TestStatisticsCharts::logBatchKeepsNewestLinesAndColours()
{
    QPlainTextEdit view;
    view.document()->setMaximumBlockCount(5);
    LogBatch batch(&view, 5);
    view.appendPlainText("old");
    for (int i = 0; i < 23; ++i)
        batch.append(QString::number(i), i % 2 ? Qt::red : Qt::green);
    QCOMPARE(batch.pending(), 5);
    batch.flush();
    QCOMPARE(view.toPlainText(), QStringLiteral("18\n19\n20\n21\n22"));
    QCOMPARE(blockColour(view.document()->lastBlock()), QColor(Qt::green));
    QCOMPARE(blockColour(view.document()->lastBlock().previous()), QColor(Qt::red));
    // Within the limit nothing is dropped.
    for (int i = 0; i < 3; ++i)
        batch.append(QString::number(i), Qt::white);
    batch.flush();
    QCOMPARE(view.toPlainText(), QStringLiteral("21\n22\n0\n1\n2"));
    QCOMPARE(blockColour(view.document()->firstBlock()), QColor(Qt::red)); // trimmed, colour kept
}

void TestStatisticsCharts::logBatchFollowsTheEndUntilScrolledAway()
{
    QPlainTextEdit view;
    view.setReadOnly(true);
    view.resize(200, 80);
    view.show();
    LogBatch batch(&view, 1000);
    const QString longLine(60, QLatin1Char('x')); // wraps
    auto lastLineShown = [&view] {
        QTextCursor end(view.document());
        end.movePosition(QTextCursor::End);
        return view.viewport()->rect().contains(view.cursorRect(end).center());
    };
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 50; ++i)
            batch.append(longLine + QString::number(i), Qt::white);
        batch.flush();
        QVERIFY(lastLineShown());
    }
    // Scrolled to the top by the user: new lines leave the view where it is.
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    for (int i = 0; i < 20; ++i)
        batch.append(longLine, Qt::white);
    batch.flush();
    QCOMPARE(view.verticalScrollBar()->value(), 0);
    QVERIFY(!lastLineShown());
}

QTEST_MAIN(TestStatisticsCharts)
#include "tst_statistics_charts.moc"
