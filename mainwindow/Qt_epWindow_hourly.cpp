// The 24-hour table (every 500 ms) and the run-time clock (every second).
#include "Qt_epWindow.h"

#include "Platform.h"
#include "ProductionRules.h"
#include "StatisticsCharts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTimer>

using namespace production;

namespace {

// The hour whose row is being filled: fixed at the first set-up of the process.
QString &currentHour()
{
    static QString hour = hourStamp(platform::localNow());
    return hour;
}

// Seconds since the statistics were first set up; one clock for the process.
int runTimeSeconds = 0;

QTimer *runTimeTimer()
{
    static QTimer *timer = new QTimer(QCoreApplication::instance());
    return timer;
}

} // namespace

void Qt_epWindow::initWidegt24H()
{
    currentHour();
    applyHourCells(HourlyStatistics::blankCells());
    if (m_timer24H) {
        m_timer24H->stop();
        delete m_timer24H;
    }
    m_timer24H = new QTimer(this);
    m_timer24H->setInterval(500);
    m_hourly.reset();
    connect(m_timer24H, &QTimer::timeout, this, &Qt_epWindow::updateHourTable);
    m_timer24H->start();
}

void Qt_epWindow::updateHourTable()
{
    const int total = ui.label_allNum->text().toInt();
    const int ok = ui.label_OKNum->text().toInt();
    applyHourCells(m_hourly.update(currentHour(), hourStamp(platform::localNow()), total, ok));
    if (m_hourly.negative())
        qDebug() << "hour_allNum12.last()<0";
}

void Qt_epWindow::applyHourCells(const QVector<CellText> &cells)
{
    for (const CellText &c : cells)
        charts::setCellText(ui.tableWidget_24H, c.row, c.column, c.text);
}

void Qt_epWindow::startRunTimeClock()
{
    QTimer *timer = runTimeTimer();
    if (!m_runTimeConnected) {
        m_runTimeConnected = true;
        connect(timer, &QTimer::timeout, this, &Qt_epWindow::updateRunTime);
    }
    timer->setInterval(1000);
    timer->start();
}

void Qt_epWindow::updateRunTime()
{
    ++runTimeSeconds;
    ui.label_runTime->setText(runTimeText(runTimeSeconds));
}
