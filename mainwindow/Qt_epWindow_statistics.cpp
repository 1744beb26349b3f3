// The statistics area: pages and page buttons, pies, shift bar charts, defect
// records and tables, clear-data.
#include "Qt_epWindow.h"

#include "LogBatch.h"
#include "ProductionRules.h"
#include "StatisticsCharts.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QMessageBox>
#include <QTimer>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>

using namespace production;

namespace {

const char kPageButton[] =
    "QPushButton{background-color: rgb(101, 103, 100);border-radius:5px;;}QPushButton:hover{ "
    "background-color: rgb(0, 0, 0); border:none; color:rgb(255, 255, 255); }";
const char kSelectedPageButton[] =
    "QPushButton{background-color: rgb(0, 100, 255);border-radius:5px;;}QPushButton:hover{ "
    "background-color: rgb(0, 100, 255); border:none; color:rgb(255, 255, 255); }";

} // namespace

void Qt_epWindow::initStatisticsPages()
{
    const QString gap(33, QLatin1Char(' '));
    ui.tabWidget->setStyleSheet(
        QStringLiteral("QTabWidget#tabWidget{background-color:rgb(74,74,74);}") + gap
        + QStringLiteral("QTabBar::tab{width:0px;height:0px;background-color:rgb(74,74,74);}") + gap
        + QStringLiteral("QTabBar::tab::selected{background-color:rgb(0,100,200);}"));
    const QString header = QStringLiteral(
        "QHeaderView::section{border-top:0px solid #E5E5E5;border-left:0px solid "
        "#E5E5E5;border-right:0.5px solid #E5E5E5;border-bottom: 0.5px solid "
        "#E5E5E5;background-color:rgb(32,36,40);padding:4px;}");
    ui.tableWidget_24H->horizontalHeader()->setStyleSheet(header);
    ui.tableWidget_24H->verticalHeader()->setStyleSheet(header);
    ui.tabWidget->setCurrentIndex(0);
    selectPage(0);

    ui.plainTextEdit_history->document()->setMaximumBlockCount(1000);
    ui.plainTextEdit_run->document()->setMaximumBlockCount(1000);
    ui.plainTextEdit_operat->document()->setMaximumBlockCount(1000);
    if (!m_runLog)
        m_runLog = new LogBatch(ui.plainTextEdit_run, 1000);
    if (!m_historyLog)
        m_historyLog = new LogBatch(ui.plainTextEdit_history, 1000);

    const QList<QLabel *> blanks{
        ui.label_type,          ui.label_allNum,        ui.label_OKNum,          ui.label_NGnum,
        ui.label_OKPercent,     ui.label_CT,            ui.label_runTime,        ui.label_allNum_day,
        ui.label_OKNum_day,     ui.label_NGnum_day,     ui.label_OKPercent_day,  ui.label_allNum_night,
        ui.label_OKNum_night,   ui.label_NGnum_night,   ui.label_OKPercent_night};
    for (QLabel *label : blanks)
        label->setText(QStringLiteral(" "));

    startRunTimeClock();
    initWidegt24H();

    // Each group box shows exactly one chart: views of an earlier set-up go first.
    charts::removeChartView(m_pieAll.view, ui.groupBox_2->layout());
    charts::removeChartView(m_pieDay.view, ui.groupBox_3->layout());
    charts::removeChartView(m_pieNight.view, ui.groupBox_4->layout());
    charts::removeChartView(m_barDay.view, ui.groupBox_3->layout());
    charts::removeChartView(m_barNight.view, ui.groupBox_4->layout());

    ui.widget_QPie->hide();
    initPieChart(m_pieAll);
    charts::placeChartView(m_pieAll.view, ui.groupBox_2);
    initPieChart(m_pieDay);
    charts::placeChartView(m_pieDay.view, ui.groupBox_3);
    m_pieDay.view->hide();
    ui.tableWidget_day->hide();
    initPieChart(m_pieNight);
    charts::placeChartView(m_pieNight.view, ui.groupBox_4);
    m_pieNight.view->hide();
    ui.tableWidget_night->hide();

    initDefectBarChart(m_barDay, 0);
    charts::placeChartView(m_barDay.view, ui.groupBox_3);
    initDefectBarChart(m_barNight, 0);
    charts::placeChartView(m_barNight.view, ui.groupBox_4);

    connectStatisticsButtons();
}

void Qt_epWindow::connectStatisticsButtons()
{
    if (m_statisticsButtonsConnected)
        return;
    m_statisticsButtonsConnected = true;
    const QList<QPushButton *> pages = pageButtons();
    for (int i = 0; i < pages.size(); ++i)
        connect(pages.at(i), &QPushButton::pressed, this, [this, i] { selectPage(i); });
    connect(ui.pushButton_clearData, &QPushButton::clicked, this, &Qt_epWindow::clearData);
}

QList<QPushButton *> Qt_epWindow::pageButtons() const
{
    return {ui.pushButton_tab_history, ui.pushButton_tab_defectList, ui.pushButton_tab_24H,
            ui.pushButton_tab_run, ui.pushButton_tab_operat};
}

void Qt_epWindow::selectPage(int index)
{
    ui.tabWidget->setCurrentIndex(index);
    const QList<QPushButton *> pages = pageButtons();
    for (QPushButton *b : pages)
        b->setStyleSheet(QLatin1String(kPageButton));
    if (index >= 0 && index < pages.size())
        pages.at(index)->setStyleSheet(QLatin1String(kSelectedPageButton));
}

void Qt_epWindow::initPieChart(PieChartData &h)
{
    charts::initPieChart(h);
}

void Qt_epWindow::initDefectBarChart(BarChartData &h, int value)
{
    charts::initDefectBarChart(h, value);
}

void Qt_epWindow::rebuildDefectBarChart(bool night, int value)
{
    BarChartData &h = night ? m_barNight : m_barDay;
    QGroupBox *box = night ? ui.groupBox_4 : ui.groupBox_3;
    charts::removeChartView(h.view, box->layout());
    initDefectBarChart(h, value);
    charts::placeChartView(h.view, box);
    charts::fillDefectBars(h, night ? ui.tableWidget_night : ui.tableWidget_day, m_defects, night);
}

void Qt_epWindow::countDefect(int row, bool night)
{
    if (row < 0 || row >= m_defects.size())
        return;
    DefectData &d = m_defects[row];
    ++d.allNum;
    const int count = night ? ++d.nightNum : ++d.dayNum;
    charts::setCellText(night ? ui.tableWidget_night : ui.tableWidget_day, row, 2,
                        QString::number(count));
    BarChartData &h = night ? m_barNight : m_barDay;
    if (barNeedsRebuild(count, h.maxValue)) {
        rebuildDefectBarChart(night, barRebuildValue(count));
    } else if (!m_barsScheduled) {
        // Each replaced bar lays the whole chart out again: while messages stream in,
        // the bars take their counts once per turn of the event loop.
        m_barsScheduled = true;
        QMetaObject::invokeMethod(this, &Qt_epWindow::showDefectBars, Qt::QueuedConnection);
    }
}

void Qt_epWindow::showDefectBars()
{
    m_barsScheduled = false;
    for (bool night : {false, true}) {
        BarChartData &h = night ? m_barNight : m_barDay;
        for (int row = 0; row < m_defects.size(); ++row) {
            const int count = night ? m_defects.at(row).nightNum : m_defects.at(row).dayNum;
            if (h.set && row < h.set->count() && h.set->at(row) != count)
                charts::setBar(h, row, count);
        }
    }
}

void Qt_epWindow::loadDefectTable()
{
    if (!m_windowMutex.tryLock()) {
        // A message is being handled: reload right after it.
        QTimer::singleShot(0, this, &Qt_epWindow::loadDefectTable);
        return;
    }
    m_defects = buildDefectRecords(cameraCfg().value(QStringLiteral("缺陷类别名称设置")).toArray(),
                                   m_defects);
    for (bool night : {false, true}) {
        QTableWidget *table = night ? ui.tableWidget_night : ui.tableWidget_day;
        table->setColumnCount(3);
        setTableStyle(table);
        table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
        table->setHorizontalHeaderLabels(
            {QStringLiteral("缺陷类别"), QStringLiteral("缺陷名称"), QStringLiteral("缺陷数")});
        table->setRowCount(0);
        charts::fillDefectBars(night ? m_barNight : m_barDay, table, m_defects, night);
    }
    m_windowMutex.unlock();
}

void Qt_epWindow::setTableStyle(QTableWidget *table)
{
    charts::setTableStyle(table);
}

void Qt_epWindow::clearData()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, QStringLiteral("清空数据？"), QStringLiteral("确定清空数据？"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer != QMessageBox::Yes)
        return;

    m_runLines.clear();
    m_resultLines.clear();
    m_hourly.reset();
    m_shotDefectCounts.clear();
    if (m_runLog)
        m_runLog->clear();
    if (m_historyLog)
        m_historyLog->clear();
    ui.plainTextEdit_history->clear();
    ui.plainTextEdit_run->clear();
    ui.plainTextEdit_operat->clear();
    const QList<QLabel *> blanks{
        ui.label_allNum,        ui.label_OKNum,         ui.label_NGnum,        ui.label_CT,
        ui.label_runTime,       ui.label_SN,            ui.label_OKPercent,    ui.label_allNum_day,
        ui.label_OKNum_day,     ui.label_NGnum_day,     ui.label_OKPercent_day, ui.label_allNum_night,
        ui.label_OKNum_night,   ui.label_NGnum_night,   ui.label_OKPercent_night};
    for (QLabel *label : blanks)
        label->setText(QStringLiteral(" "));
    for (PieChartData *h : {&m_pieAll, &m_pieDay, &m_pieNight}) {
        h->allNum = 0;
        h->OKNum = 0;
        h->NGNum = 0;
        charts::setPieShare(*h, 100.0);
    }
    applyHourCells(HourlyStatistics::blankCells());

    int row = 0;
    for (const MainWindowRules::ShotList &shots : qAsConst(m_shots)) {
        for (int i = 0; i < shots.entries.size(); ++i) {
            charts::setCellText(ui.tableWidget_defectList, row++, 2, QStringLiteral("0"));
            m_shotDefectCounts.append(0);
        }
    }

    m_defects.clear();
    loadDefectTable();
    rebuildDefectBarChart(false, 0);
    rebuildDefectBarChart(true, 0);
}
