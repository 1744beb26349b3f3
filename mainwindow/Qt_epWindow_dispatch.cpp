// Module messages: lamps, run and result logs, verdicts, counters, shifts, per-shot
// and per-class defect counts, the program switch; PLC commands to the module.
#include "Qt_epWindow.h"

#include "LogBatch.h"
#include "Logic_transfer.h"
#include "Platform.h"
#include "ProductionModel.h"
#include "StatisticsCharts.h"
#include "Styles.h"

#include <QDebug>
#include <QTimer>

using namespace production;

namespace {

QColor logColor(const char *name)
{
    return QColor(QLatin1String(name));
}

} // namespace

void Qt_epWindow::getTransferData(QString key, QString cameraName, QString snInfo, QByteArray byte)
{
    m_pendingMessages.append({key, cameraName, snInfo, byte});
    // Delivered by the bridge: the switch destroys that bridge, so it runs once the
    // delivery has returned.
    dispatchPending(sender() != nullptr);
}

void Qt_epWindow::dispatchPending(bool deferSwitch)
{
    // The guard is only ever held on this thread; a message that arrives while it is
    // held (from a nested event loop) waits and is handled in order afterwards. Once a
    // program switch is pending, later messages wait until it has run, so they count
    // towards the new program as the shift totals do.
    if (!m_switchPending && m_windowMutex.tryLock()) {
        while (!m_switchPending && !m_pendingMessages.isEmpty())
            dispatchMessage(m_pendingMessages.takeFirst());
        m_windowMutex.unlock();
    }
    if (m_switchPending && !m_switchScheduled) {
        if (deferSwitch) {
            m_switchScheduled = true;
            QTimer::singleShot(0, this, &Qt_epWindow::runProgramSwitch);
        } else {
            runProgramSwitch();
        }
    }
}

void Qt_epWindow::dispatchMessage(const ModuleMessage &m)
{
    const QString myByte = dataText(m.byte);
    const QDateTime entry = platform::localNow();
    const QString tmpDate = logStamp(entry);

    switch (classifyKey(m.key)) {
    case MessageKind::PlcLink: {
        const bool connected = linkConnected(m.key);
        m_production.onLink(Link::Plc, connected);
        setLogColor(ui.plainTextEdit_operat, logColor(connected ? "green" : "red"));
        showOperationLine(tmpDate + QStringLiteral(" PLC通信，") + linkStateText(connected));
        return;
    }
    case MessageKind::CameraLink: {
        const bool connected = linkConnected(m.key);
        m_production.onLink(Link::Camera, connected, m.cameraName);
        setLogColor(ui.plainTextEdit_operat, logColor(connected ? "green" : "red"));
        showOperationLine(tmpDate + QLatin1Char(' ') + m.cameraName + QLatin1Char(',')
                          + linkStateText(connected));
        return;
    }
    case MessageKind::Data:
        break;
    }

    appendBounded(m_logs.runLines,
                  runLine(m_logs.runCount++, tmpDate, m.key, m.cameraName, m.snInfo, myByte));
    // One reading serves the run line and the result line: they are microseconds apart.
    const QString &nowTime = tmpDate;

    // Every data message decides its shift by date and shift; the first message of a
    // new shift starts that shift afresh, whatever its kind.
    m_production.enterShift(entry);

    QString data = myByte;
    if (isProgramSwitchKey(m.key)) {
        if (!programSwitchMessage(myByte, tmpDate))
            return;
    } else if (isResultData(myByte)) {
        data = resultMessage(myByte, m.snInfo, nowTime);
    } else {
        m_logs.runColour = logColor("white");
        if (!myByte.contains(QLatin1Char('1')))
            m_production.onShot(m.cameraName, false);
    }

    m_production.onDefects(data);

    if (m_run.communicationMode() == 1) {
        m_logs.runColour = logColor("white");
        if (!m.byte.contains('1'))
            m_production.onShot(m.cameraName, true);
    }

    if (m_logs.run)
        m_logs.run->append(m_logs.runLines.last(), m_logs.runColour);
}

QString Qt_epWindow::resultMessage(const QString &data, const QString &snInfo,
                                   const QString &nowTime)
{
    const bool ok = isOkResult(data);
    const QString verdict = ok ? QStringLiteral("OK") : QStringLiteral("NG");
    const QColor colour = logColor(ok ? "green" : "red");
    m_logs.runColour = colour;
    appendBounded(m_logs.resultLines, resultLine(m_logs.resultCount++, nowTime, snInfo, verdict));
    if (m_logs.history)
        m_logs.history->append(m_logs.resultLines.last(), colour);
    ui.label_SN->setText(snInfo);
    m_production.onResult(ok, platform::clockMs());
    return verdict;
}

void Qt_epWindow::connectProduction()
{
    using production::ProductionModel;
    connect(&m_production, &ProductionModel::lampChanged, this, &Qt_epWindow::showLamp);
    connect(&m_production, &ProductionModel::verdictChanged, this, [this](bool ok) {
        ui.label_result->setStyleSheet(styles::verdict(ok));
        ui.label_result->setText(ok ? QStringLiteral("OK") : QStringLiteral("NG"));
    });
    connect(&m_production, &ProductionModel::countersChanged, this, &Qt_epWindow::showCounters);
    connect(&m_production, &ProductionModel::cycleTimeChanged, ui.label_CT, &QLabel::setText);
    connect(&m_production, &ProductionModel::shiftStarted, this,
            // Table and bars of the shift start from 0 too (the axis back to its first maximum).
            [this](bool night) { rebuildDefectBarChart(night, 0); });
    connect(&m_production, &ProductionModel::shotCounted, this, [this](int row, int count) {
        charts::setCellText(ui.tableWidget_defectList, row, 2, QString::number(count));
    });
    connect(&m_production, &ProductionModel::defectCounted, this, &Qt_epWindow::showDefectCount);
    connect(&m_production, &ProductionModel::hourCellsChanged, this, &Qt_epWindow::applyHourCells);
    connect(&m_production, &ProductionModel::runTimeChanged, ui.label_runTime, &QLabel::setText);
}

void Qt_epWindow::showLamp(Link link, bool green)
{
    (link == Link::Plc ? ui.pushButton_PLCstatus : ui.pushButton_CameraStatus)
        ->setStyleSheet(styles::lamp(green));
}

void Qt_epWindow::showCounters(Scope scope, const Counters &c)
{
    const bool overall = scope == Scope::Overall;
    const bool night = scope == Scope::Night;
    QLabel *total = overall ? ui.label_allNum : night ? ui.label_allNum_night : ui.label_allNum_day;
    QLabel *okLabel = overall ? ui.label_OKNum : night ? ui.label_OKNum_night : ui.label_OKNum_day;
    QLabel *ngLabel = overall ? ui.label_NGnum : night ? ui.label_NGnum_night : ui.label_NGnum_day;
    QLabel *rate = overall ? ui.label_OKPercent
                           : night ? ui.label_OKPercent_night : ui.label_OKPercent_day;
    PieChartData &pie = overall ? m_charts.all : night ? m_charts.night : m_charts.day;
    total->setText(QString::number(c.allNum));
    okLabel->setText(QString::number(c.OKNum));
    ngLabel->setText(QString::number(c.NGNum));
    if (c.allNum == 0) {
        rate->setText(QStringLiteral(" "));
        charts::setPieShare(pie, 100.0);
        return;
    }
    const int percent = percentHundredths(c.OKNum, c.allNum);
    rate->setText(percentText(percent));
    charts::setPieShare(pie, percent / 100.0);
}

bool Qt_epWindow::programSwitchMessage(const QString &myByte, const QString &tmpDate)
{
    const SwitchDecision d = decideProgramSwitch(myByte, m_run.programNumber());
    if (d.action == SwitchDecision::NotANumber) {
        qWarning().noquote() << "Qt_epWindow::getTransferData" << " line:" << __LINE__
                             << "program number is not a number:" << myByte;
        setLogColor(ui.plainTextEdit_operat, logColor("red"));
        showOperationLine(tmpDate + QStringLiteral(" 切换程序号") + myByte
                          + QStringLiteral("：不是程序号，已忽略"));
        setLogColor(ui.plainTextEdit_operat, logColor("white"));
        return false;
    }
    m_run.setState(RunState::SwitchingProgram, myByte);
    ui.tabWidget->setCurrentIndex(4);
    selectPage(4);
    setLogColor(ui.plainTextEdit_operat, logColor("red"));
    showOperationLine(tmpDate + QStringLiteral(" 切换程序号") + myByte + QStringLiteral("，请稍等..."));
    if (d.action == SwitchDecision::SameProgram)
        return false;
    m_run.setProgramNumber(d.number);
    ui.label_programNum->setText(myByte);
    m_switchPending = true;
    m_switchStamp = tmpDate;
    return true;
}

void Qt_epWindow::runProgramSwitch()
{
    m_switchScheduled = false;
    if (!m_switchPending)
        return;
    m_switchPending = false;
    const QString stamp = m_switchStamp;

    // The new program's shot rows get their own counts.
    m_production.clearShotCounts();
    platform::sleepMs(100);
    stopAndClear();
    platform::sleepMs(100);
    m_run.markViewsStale();
    initStatisticsPages();
    setTools();
    m_run.resumeReceiving();
    if (reloadAndRun()) {
        setLogColor(ui.plainTextEdit_operat, logColor("green"));
        showOperationLine(stamp + QStringLiteral(" 切换程序号完成，程序运行..."));
        setLogColor(ui.plainTextEdit_operat, logColor("white"));
        m_run.setState(RunState::Running);
        ui.tabWidget->setCurrentIndex(0);
        selectPage(0);
        dispatchPending(true);
        return;
    }
    qCritical().noquote() << "Qt_epWindow::runProgramSwitch" << " line:" << __LINE__
                          << "program" << m_run.programNumber() << "failed to load";
    setLogColor(ui.plainTextEdit_operat, logColor("red"));
    showOperationLine(stamp + QStringLiteral(" 切换程序号失败，程序未运行"));
    setLogColor(ui.plainTextEdit_operat, logColor("white"));
    m_run.setState(RunState::Failed);
    dispatchPending(true);
}

void Qt_epWindow::sendPLCData(QString cmd)
{
    const QString tmpDate = logStamp(platform::localNow());
    const QString prefix = tmpDate + QStringLiteral(" 手动补信号：");
    auto send = [&](const QString &command) {
        QString line = prefix + command;
        if (!bridge()) {
            line += QStringLiteral("（未发送：通用逻辑未加载）");
        } else if (m_run.isCameraDebugging()) {
            line += QStringLiteral("（未发送：相机调试中，任务已卸载）");
        } else if (!bridge()->sendPLCCommand(command)) {
            line += QStringLiteral("（发送失败）");
            qWarning().noquote() << "Qt_epWindow::sendPLCData" << " line:" << __LINE__
                                 << "module refused" << command;
        }
        showOperationLine(line);
    };
    if (cmd.contains(QStringLiteral("补全部信号"))) {
        const QStringList fields = cmd.split(QLatin1Char('#'), Qt::KeepEmptyParts);
        showOperationLine(prefix + QStringLiteral("补全部信号"));
        for (int i = 1; i < fields.size(); ++i)
            send(fields.at(i));
        return;
    }
    send(cmd);
}
