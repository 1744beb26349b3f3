// The statistics area: pages and page buttons, pies, shift bar charts, defect
// records and tables, clear-data.
#include "Qt_epWindow.h"

#include "LogBatch.h"
#include "ProductionModel.h"
#include "StationDocument.h"
#include "StatisticsCharts.h"
#include "Styles.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QMessageBox>
#include <QTimer>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>

using namespace production;

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
    if (!m_logs.run)
        m_logs.run = new LogBatch(ui.plainTextEdit_run, 1000);
    if (!m_logs.history)
        m_logs.history = new LogBatch(ui.plainTextEdit_history, 1000);

    const QList<QLabel *> blanks{
        ui.label_type,          ui.label_allNum,        ui.label_OKNum,          ui.label_NGnum,
        ui.label_OKPercent,     ui.label_CT,            ui.label_runTime,        ui.label_allNum_day,
        ui.label_OKNum_day,     ui.label_NGnum_day,     ui.label_OKPercent_day,  ui.label_allNum_night,
        ui.label_OKNum_night,   ui.label_NGnum_night,   ui.label_OKPercent_night};
    for (QLabel *label : blanks)
        label->setText(QStringLiteral(" "));

    m_production.startRunTime();
    initWidegt24H();

    // Each group box shows exactly one chart: views of an earlier set-up go first.
    charts::removeChartView(m_charts.all.view, ui.groupBox_2->layout());
    charts::removeChartView(m_charts.day.view, ui.groupBox_3->layout());
    charts::removeChartView(m_charts.night.view, ui.groupBox_4->layout());
    charts::removeChartView(m_charts.barDay.view, ui.groupBox_3->layout());
    charts::removeChartView(m_charts.barNight.view, ui.groupBox_4->layout());

    ui.widget_QPie->hide();
    initPieChart(m_charts.all);
    charts::placeChartView(m_charts.all.view, ui.groupBox_2);
    initPieChart(m_charts.day);
    charts::placeChartView(m_charts.day.view, ui.groupBox_3);
    m_charts.day.view->hide();
    ui.tableWidget_day->hide();
    initPieChart(m_charts.night);
    charts::placeChartView(m_charts.night.view, ui.groupBox_4);
    m_charts.night.view->hide();
    ui.tableWidget_night->hide();

    initDefectBarChart(m_charts.barDay, 0);
    charts::placeChartView(m_charts.barDay.view, ui.groupBox_3);
    initDefectBarChart(m_charts.barNight, 0);
    charts::placeChartView(m_charts.barNight.view, ui.groupBox_4);

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
        b->setStyleSheet(styles::pageButton(false));
    if (index >= 0 && index < pages.size())
        pages.at(index)->setStyleSheet(styles::pageButton(true));
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
    BarChartData &h = night ? m_charts.barNight : m_charts.barDay;
    QGroupBox *box = night ? ui.groupBox_4 : ui.groupBox_3;
    charts::removeChartView(h.view, box->layout());
    initDefectBarChart(h, value);
    charts::placeChartView(h.view, box);
    charts::fillDefectBars(h, night ? ui.tableWidget_night : ui.tableWidget_day,
                           m_production.defects(), night);
}

void Qt_epWindow::countDefect(int row, bool night)
{
    m_production.countDefect(row, night);
}

void Qt_epWindow::showDefectCount(int row, bool night, int count)
{
    charts::setCellText(night ? ui.tableWidget_night : ui.tableWidget_day, row, 2,
                        QString::number(count));
    BarChartData &h = night ? m_charts.barNight : m_charts.barDay;
    if (barNeedsRebuild(count, h.maxValue)) {
        rebuildDefectBarChart(night, barRebuildValue(count));
    } else if (!m_charts.barsScheduled) {
        // Each replaced bar lays the whole chart out again: while messages stream in,
        // the bars take their counts once per turn of the event loop.
        m_charts.barsScheduled = true;
        QMetaObject::invokeMethod(this, &Qt_epWindow::showDefectBars, Qt::QueuedConnection);
    }
}

void Qt_epWindow::showDefectBars()
{
    m_charts.barsScheduled = false;
    const QList<DefectData> &defects = m_production.defects();
    for (bool night : {false, true}) {
        BarChartData &h = night ? m_charts.barNight : m_charts.barDay;
        for (int row = 0; row < defects.size(); ++row) {
            const int count = night ? defects.at(row).nightNum : defects.at(row).dayNum;
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
    m_production.loadDefects(cameraCfg().value(stationkey::defectClasses()).toArray());
    for (bool night : {false, true}) {
        QTableWidget *table = night ? ui.tableWidget_night : ui.tableWidget_day;
        table->setColumnCount(3);
        setTableStyle(table);
        table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
        table->setHorizontalHeaderLabels(
            {QStringLiteral("缺陷类别"), QStringLiteral("缺陷名称"), QStringLiteral("缺陷数")});
        table->setRowCount(0);
        charts::fillDefectBars(night ? m_charts.barNight : m_charts.barDay, table,
                               m_production.defects(), night);
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

    m_logs.runLines.clear();
    m_logs.resultLines.clear();
    m_production.clear();
    if (m_logs.run)
        m_logs.run->clear();
    if (m_logs.history)
        m_logs.history->clear();
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
    for (PieChartData *h : {&m_charts.all, &m_charts.day, &m_charts.night})
        charts::setPieShare(*h, 100.0);
    applyHourCells(HourlyStatistics::blankCells());

    for (int row = 0; row < m_production.shotCounts().size(); ++row)
        charts::setCellText(ui.tableWidget_defectList, row, 2, QStringLiteral("0"));

    loadDefectTable();
    rebuildDefectBarChart(false, 0);
    rebuildDefectBarChart(true, 0);
}
