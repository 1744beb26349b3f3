// The 24-hour table (every 500 ms) and the run-time clock (every second).
#include "Qt_epWindow.h"

#include "ProductionModel.h"
#include "StatisticsCharts.h"

using namespace production;

void Qt_epWindow::initWidegt24H()
{
    m_production.startHourly();
}

void Qt_epWindow::updateHourTable()
{
    m_production.hourTick();
}

void Qt_epWindow::applyHourCells(const QVector<CellText> &cells)
{
    for (const CellText &c : cells)
        charts::setCellText(ui.tableWidget_24H, c.row, c.column, c.text);
}

void Qt_epWindow::updateRunTime()
{
    m_production.runTimeTick();
}
