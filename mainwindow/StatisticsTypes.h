// Holders of the statistics area's charts: OK/NG pies and shift bar charts.
#pragma once

#include <QString>
#include <QtCharts/QChartGlobal>

QT_CHARTS_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QPieSeries;
class QBarSeries;
class QBarSet;
class QBarCategoryAxis;
QT_CHARTS_END_NAMESPACE

// One OK/NG pie (its counters are the production model's).
struct PieChartData
{
    QT_CHARTS_NAMESPACE::QChart *chart = nullptr;
    QT_CHARTS_NAMESPACE::QPieSeries *series = nullptr;
    QT_CHARTS_NAMESPACE::QChartView *view = nullptr;
};

// One shift's defect bar chart.
struct BarChartData
{
    QT_CHARTS_NAMESPACE::QChart *chart = nullptr;
    QT_CHARTS_NAMESPACE::QBarSeries *series = nullptr;
    QT_CHARTS_NAMESPACE::QChartView *view = nullptr;
    QT_CHARTS_NAMESPACE::QBarSet *set = nullptr;
    QT_CHARTS_NAMESPACE::QBarCategoryAxis *axis = nullptr;
    int barCount = 0;
    int step = 50;
    int maxValue = 0;
};

// The charts of the statistics area: overall, day and night pies, the shift bar charts.
struct StatisticsChartSet
{
    PieChartData all;
    PieChartData day;
    PieChartData night;
    BarChartData barDay;
    BarChartData barNight;
    bool barsScheduled = false; // bars take their counts at the next turn of the event loop
};
