// Holders of the statistics area: defect records, OK/NG pies and shift bar charts.
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

// One defect class of "缺陷类别名称设置" with its counts.
struct DefectData
{
    QString defectName;
    int defectClass = 0;
    int allNum = 0;
    int dayNum = 0;
    int nightNum = 0;
};

// One OK/NG pie and the product counters it shows.
struct PieChartData
{
    QT_CHARTS_NAMESPACE::QChart *chart = nullptr;
    QT_CHARTS_NAMESPACE::QPieSeries *series = nullptr;
    QT_CHARTS_NAMESPACE::QChartView *view = nullptr;
    int allNum = 0;
    int OKNum = 0;
    int NGNum = 0;
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
