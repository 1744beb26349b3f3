// The statistics charts (OK/NG pies, shift defect bars) and the statistics tables'
// common look. Functions take the widgets they work on, so the window stays thin.
#pragma once

#include "ProductionRules.h"

#include <QList>

class QLayout;
class QTableWidget;
class QWidget;

namespace QtCharts {
class QChart;
class QChartView;
class QPieSeries;
class QBarSeries;
class QBarSet;
class QBarCategoryAxis;
} // namespace QtCharts

// One OK/NG pie and the product counters it shows.
struct PieChartData
{
    QtCharts::QChart *chart = nullptr;
    QtCharts::QPieSeries *series = nullptr; // slice 0 OK share, slice 1 NG share (percent)
    QtCharts::QChartView *view = nullptr;   // owns the chart
    int allNum = 0;
    int OKNum = 0;
    int NGNum = 0;
};

// One shift's defect bar chart.
struct BarChartData
{
    QtCharts::QChart *chart = nullptr;
    QtCharts::QBarSeries *series = nullptr;
    QtCharts::QChartView *view = nullptr; // owns the chart
    QtCharts::QBarSet *set = nullptr;     // bar r = shift count of defect record r
    QtCharts::QBarCategoryAxis *axis = nullptr;
    int barCount = 0;
    int step = 50;
    int maxValue = 0;
};

namespace charts {

// New pie objects in the holder: "OK:100%" 100 and "NG:0%" 0.
void initPieChart(PieChartData &h);
// Slice 0 := okPercent, slice 1 := 100 - okPercent.
void setPieShare(PieChartData &h, double okPercent);
// New bar chart objects in the holder, value axis from value; the set keeps one 0 bar.
void initDefectBarChart(BarChartData &h, int value);
// Empties the set and axis, then one bar, one category and one table row per record.
void fillDefectBars(BarChartData &h, QTableWidget *table, const QList<DefectData> &records,
                    bool night);
// Bar row := value (nothing when the bar does not exist).
void setBar(BarChartData &h, int row, int value);

// Removes a view from the layout holding it and deletes it (with its chart).
void removeChartView(QtCharts::QChartView *&view, QLayout *layout);
// Appends the view as the last item of the box's layout.
void placeChartView(QtCharts::QChartView *view, QWidget *box);

// Common look of the statistics tables.
void setTableStyle(QTableWidget *table);
// Centred text item into an existing cell; false when the cell does not exist.
bool setCellText(QTableWidget *table, int row, int column, const QString &text);

} // namespace charts
