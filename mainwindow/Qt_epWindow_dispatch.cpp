// Module messages: lamps, run and result logs, verdicts, counters, shifts, per-shot
// and per-class defect counts, the program switch; PLC commands to the module.
#include "Qt_epWindow.h"

#include "LogBatch.h"
#include "Logic_transfer.h"
#include "Platform.h"
#include "ProductionRules.h"
#include "StatisticsCharts.h"

#include <QDebug>
#include <QTimer>

using namespace production;

namespace {

const char kGreenLamp[] = "QPushButton{ background-color: rgb(0, 255, 0); }";
const char kRedLamp[] = "QPushButton{ background-color: rgb(255, 0, 0); }";

// Cameras reported lost and not yet back: one list for the process.
OfflineCameras &offlineCameras()
{
    static OfflineCameras cameras;
    return cameras;
}

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
        ui.pushButton_PLCstatus->setStyleSheet(QLatin1String(connected ? kGreenLamp : kRedLamp));
        setLogColor(ui.plainTextEdit_operat, logColor(connected ? "green" : "red"));
        showOperationLine(tmpDate + QStringLiteral(" PLC通信，") + linkStateText(connected));
        return;
    }
    case MessageKind::CameraLink: {
        const bool connected = linkConnected(m.key);
        switch (offlineCameras().report(m.cameraName, connected)) {
        case OfflineCameras::Lamp::Green:
            ui.pushButton_CameraStatus->setStyleSheet(QLatin1String(kGreenLamp));
            break;
        case OfflineCameras::Lamp::Red:
            ui.pushButton_CameraStatus->setStyleSheet(QLatin1String(kRedLamp));
            break;
        case OfflineCameras::Lamp::Keep:
            break;
        }
        setLogColor(ui.plainTextEdit_operat, logColor(connected ? "green" : "red"));
        showOperationLine(tmpDate + QLatin1Char(' ') + m.cameraName + QLatin1Char(',')
                          + linkStateText(connected));
        return;
    }
    case MessageKind::Data:
        break;
    }

    appendBounded(m_runLines, runLine(m_runLineCount++, tmpDate, m.key, m.cameraName, m.snInfo, myByte));
    // One reading serves the run line and the result line: they are microseconds apart.
    const QDateTime now = entry;
    const QString &nowTime = tmpDate;

    // Every data message decides its shift by date and shift; the first message of a
    // new shift starts that shift afresh, whatever its kind.
    const ShiftId shift = shiftOf(now);
    if (m_shift.enter(shift))
        startShift(shift.night);

    QString data = myByte;
    if (isProgramSwitchKey(m.key)) {
        if (!programSwitchMessage(myByte, tmpDate))
            return;
    } else if (isResultData(myByte)) {
        data = resultMessage(myByte, m.snInfo, nowTime, shift.night);
    } else {
        m_runColour = logColor("white");
        if (!myByte.contains(QLatin1Char('1')))
            countShots(m.cameraName, false);
    }

    const QVector<int> positions = defectPositions(data);
    for (int position : positions) {
        const int record = recordOfClass(m_defects, position);
        if (record >= 0)
            countDefect(record, shift.night);
    }

    if (m_run.communicationMode() == 1) {
        m_runColour = logColor("white");
        if (!m.byte.contains('1'))
            countShots(m.cameraName, true);
    }

    if (m_runLog)
        m_runLog->append(m_runLines.last(), m_runColour);
}

void Qt_epWindow::countShots(const QString &cameraName, bool onePerCamera)
{
    int row = 0;
    for (const MainWindowRules::ShotList &shots : qAsConst(m_shots)) {
        const QStringList &names = shots.shotNames;
        const int next = row + names.size();
        for (const QString &name : names) {
            if (name == cameraName && row < m_shotDefectCounts.size()) {
                const int count = ++m_shotDefectCounts[row];
                charts::setCellText(ui.tableWidget_defectList, row, 2, QString::number(count));
                if (onePerCamera)
                    break;
            }
            ++row;
        }
        row = next;
    }
}

QString Qt_epWindow::resultMessage(const QString &data, const QString &snInfo,
                                   const QString &nowTime, bool night)
{
    PieChartData &all = m_pieAll;
    ++all.allNum;
    const bool ok = isOkResult(data);
    const QString verdict = ok ? QStringLiteral("OK") : QStringLiteral("NG");
    const QColor colour = logColor(ok ? "green" : "red");
    m_runColour = colour;
    ui.label_result->setStyleSheet(ok ? QStringLiteral("background-color: green;")
                                      : QStringLiteral("background-color: red;"));
    ok ? ++all.OKNum : ++all.NGNum;

    appendBounded(m_resultLines, resultLine(m_resultLineCount++, nowTime, snInfo, verdict));
    if (m_historyLog)
        m_historyLog->append(m_resultLines.last(), colour);

    const int percent = percentHundredths(all.OKNum, all.allNum);
    ui.label_result->setText(verdict);
    ui.label_SN->setText(snInfo);
    ui.label_allNum->setText(QString::number(all.allNum));
    ui.label_OKPercent->setText(percentText(percent));
    ui.label_OKNum->setText(QString::number(all.OKNum));
    ui.label_NGnum->setText(QString::number(all.NGNum));

    const qint64 nowMs = platform::clockMs();
    if (all.allNum > 1)
        ui.label_CT->setText(cycleTimeText(nowMs - m_lastResultMs));
    m_lastResultMs = nowMs;
    charts::setPieShare(all, percent / 100.0);

    PieChartData &sh = night ? m_pieNight : m_pieDay;
    ++sh.allNum;
    ok ? ++sh.OKNum : ++sh.NGNum;
    showShiftCounters(night);
    return verdict;
}

void Qt_epWindow::showShiftCounters(bool night)
{
    PieChartData &sh = night ? m_pieNight : m_pieDay;
    QLabel *total = night ? ui.label_allNum_night : ui.label_allNum_day;
    QLabel *okLabel = night ? ui.label_OKNum_night : ui.label_OKNum_day;
    QLabel *ngLabel = night ? ui.label_NGnum_night : ui.label_NGnum_day;
    QLabel *rate = night ? ui.label_OKPercent_night : ui.label_OKPercent_day;
    total->setText(QString::number(sh.allNum));
    okLabel->setText(QString::number(sh.OKNum));
    ngLabel->setText(QString::number(sh.NGNum));
    if (sh.allNum == 0) {
        rate->setText(QStringLiteral(" "));
        charts::setPieShare(sh, 100.0);
        return;
    }
    const int percent = percentHundredths(sh.OKNum, sh.allNum);
    rate->setText(percentText(percent));
    charts::setPieShare(sh, percent / 100.0);
}

void Qt_epWindow::startShift(bool night)
{
    PieChartData &sh = night ? m_pieNight : m_pieDay;
    sh.allNum = 0;
    sh.OKNum = 0;
    sh.NGNum = 0;
    for (DefectData &d : m_defects)
        (night ? d.nightNum : d.dayNum) = 0;
    showShiftCounters(night);
    // Table and bars of the shift start from 0 too (the axis back to its first maximum).
    rebuildDefectBarChart(night, 0);
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
    m_shotDefectCounts.clear();
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
