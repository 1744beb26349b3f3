// The statistics charts (OK/NG pies, shift defect bars) and the statistics tables'
// common look. Functions take the widgets they work on, so the window stays thin.
#pragma once

#include "ProductionRules.h"
#include "StatisticsTypes.h"

#include <QList>

class QLayout;
class QTableWidget;
class QWidget;

QT_CHARTS_BEGIN_NAMESPACE
class QChartView;
QT_CHARTS_END_NAMESPACE

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
