#include "StatisticsCharts.h"

#include <QGraphicsLayout>
#include <QHeaderView>
#include <QLayout>
#include <QTableWidget>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>
#include <QtCharts/QValueAxis>

using namespace QtCharts;

namespace charts {

void initPieChart(PieChartData &h)
{
    h.chart = new QChart(nullptr, Qt::WindowFlags());
    h.series = new QPieSeries;
    h.series->append(QStringLiteral("OK:100%"), 100.0);
    h.series->append(QStringLiteral("NG:0%"), 0.0);
    h.series->setLabelsVisible(false);
    h.series->setUseOpenGL(false);
    const QList<QPieSlice *> slices = h.series->slices();
    slices.at(1)->setColor(QColor(255, 0, 0, 255));
    slices.at(1)->setLabelColor(QColor(255, 0, 0, 255));
    slices.at(0)->setColor(QColor(0, 255, 0, 255));
    slices.at(0)->setLabelColor(QColor(0, 255, 0, 255));
    slices.last()->setExploded(false);
    slices.at(slices.size() - 2)->setExploded(false);
    h.chart->setTheme(QChart::ChartThemeDark);
    h.chart->setDropShadowEnabled(true);
    h.chart->setBackgroundVisible(false);
    h.chart->addSeries(h.series);
    h.chart->legend()->hide();
    // The pie fills its small box.
    h.chart->setMargins(QMargins(0, 0, 0, 0));
    h.chart->layout()->setContentsMargins(0, 0, 0, 0);
    h.series->setPieSize(0.95);
    h.view = new QChartView(h.chart);
    h.view->setRenderHint(QPainter::Antialiasing, true);
}

void setPieShare(PieChartData &h, double okPercent)
{
    if (!h.series || h.series->count() < 2)
        return;
    const QList<QPieSlice *> slices = h.series->slices();
    slices.at(0)->setValue(okPercent);
    slices.at(1)->setValue(100.0 - okPercent);
}

void initDefectBarChart(BarChartData &h, int value)
{
    h.set = new QBarSet(QStringLiteral("缺陷数"));
    h.maxValue = production::barMaxValue(value, h.step);
    // A placeholder bar makes the default value axis span 0..maxValue.
    h.set->append(h.maxValue);
    h.series = new QBarSeries;
    h.series->append(h.set);
    h.chart = new QChart;
    h.chart->addSeries(h.series);
    h.view = new QChartView(h.chart);
    h.axis = new QBarCategoryAxis;
    h.chart->createDefaultAxes();
    const QList<QAbstractAxis *> xAxes = h.chart->axes(Qt::Horizontal, h.series);
    for (QAbstractAxis *old : xAxes) {
        h.chart->removeAxis(old);
        delete old;
    }
    h.chart->addAxis(h.axis, Qt::AlignBottom);
    h.series->attachAxis(h.axis);
    h.series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    h.series->setLabelsVisible(true);
    h.chart->setTheme(QChart::ChartThemeBlueCerulean);
    h.chart->legend()->setAlignment(Qt::AlignBottom);
    h.chart->legend()->hide();
    // Small type and few ticks, so the short shift charts keep their labels readable.
    QFont small = h.chart->font();
    small.setPointSize(8);
    for (QAbstractAxis *axis : h.chart->axes()) {
        axis->setLabelsFont(small);
        if (auto *values = qobject_cast<QValueAxis *>(axis)) {
            values->setTickCount(3);
            values->setLabelFormat(QStringLiteral("%d"));
        }
    }
    h.set->setLabelFont(small);
    h.chart->setMargins(QMargins(2, 2, 2, 2));
    h.set->replace(0, 0);
}

static QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

void fillDefectBars(BarChartData &h, QTableWidget *table, const QList<DefectData> &records,
                    bool night)
{
    if (h.set && h.set->count() > 0)
        h.set->remove(0, h.set->count());
    if (h.axis)
        h.axis->clear();
    h.barCount = 0;
    if (table)
        table->setRowCount(records.size());
    QList<qreal> values;
    QStringList names;
    values.reserve(records.size());
    for (int r = 0; r < records.size(); ++r) {
        const DefectData &d = records.at(r);
        const int count = night ? d.nightNum : d.dayNum;
        if (table) {
            table->setItem(r, 0, centredItem(QString::number(d.defectClass)));
            table->setItem(r, 1, centredItem(d.defectName));
            table->setItem(r, 2, centredItem(QString::number(count)));
        }
        values.append(count);
        names.append(d.defectName);
        ++h.barCount;
    }
    if (h.set)
        h.set->append(values);
    if (h.axis)
        h.axis->append(names);
}

void setBar(BarChartData &h, int row, int value)
{
    if (h.set && row >= 0 && row < h.set->count())
        h.set->replace(row, value);
}

void removeChartView(QChartView *&view, QLayout *layout)
{
    if (!view)
        return;
    if (layout)
        layout->removeWidget(view);
    delete view;
    view = nullptr;
}

void placeChartView(QChartView *view, QWidget *box)
{
    if (view && box && box->layout())
        box->layout()->addWidget(view);
}

void setTableStyle(QTableWidget *table)
{
    table->setMouseTracking(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section{background:rgb(50,55,60);color: rgb(255,255,255);border:0px solid "
        "rgb(32,36,40);border-bottom:2px solid rgb(32,36,40);}"));
    table->verticalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section{background:rgb(50,55,60);color: rgb(255,255,255);}"));
    table->horizontalHeader()->setSectionsClickable(false);
    table->verticalHeader()->setSectionsClickable(false);
    table->verticalHeader()->setHidden(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

bool setCellText(QTableWidget *table, int row, int column, const QString &text)
{
    if (!table || row < 0 || column < 0 || row >= table->rowCount()
        || column >= table->columnCount())
        return false;
    if (QTableWidgetItem *item = table->item(row, column)) {
        item->setText(text);
        return true;
    }
    table->setItem(row, column, centredItem(text));
    return true;
}

} // namespace charts
