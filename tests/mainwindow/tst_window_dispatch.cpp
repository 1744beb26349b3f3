// Module messages fed into the real main window (running the simulated module with the
// quiet station of WindowFixture.h): lamps, logs, verdicts, counters, shifts,
// defects, per-shot counts.
#include "Logic_transfer.h"
#include "WindowFixture.h"

#include <QRegularExpression>
#include <QtTest>

using namespace fixture;

class TestWindowDispatch : public WindowSuite
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void plcLampAndLog();
    void cameraLampWaitsForEveryCamera();
    void runAndResultLines();
    void verdicts();
    void rates();
    void cycleTimes();
    void shiftBoundariesWithinADay();
    void shiftsAcrossMidnightAndDays();
    void defectsBeforeTheFirstResultOfAShift();
    void defectFlags();
    void barChartRebuildsPastEightyPercent();
    void perShotCounts();
    void resultsAfterASwitchWaitForIt();
    void overlongLinesShownCut();

private:
    void result(const QString &data, const QString &sn = QStringLiteral("SN"))
    {
        w->getTransferData(QStringLiteral("AlgoTop"), QStringLiteral("CamA_0"), sn, data.toUtf8());
    }
    void shot(const QString &camera, const QString &data)
    {
        w->getTransferData(QStringLiteral("AlgoTop"), camera, QStringLiteral("SN"), data.toUtf8());
    }
    QStringList counters() const
    {
        return {ui.label_allNum->text(), ui.label_OKNum->text(), ui.label_NGnum->text(),
                ui.label_OKPercent->text()};
    }
    QStringList dayCounters() const
    {
        return {ui.label_allNum_day->text(), ui.label_OKNum_day->text(),
                ui.label_NGnum_day->text(), ui.label_OKPercent_day->text()};
    }
    QStringList nightCounters() const
    {
        return {ui.label_allNum_night->text(), ui.label_OKNum_night->text(),
                ui.label_NGnum_night->text(), ui.label_OKPercent_night->text()};
    }
    void clearAll()
    {
        answerNextBox(QMessageBox::Yes);
        w->clearData();
    }

};

void TestWindowDispatch::init()
{
    startWindow();
}

void TestWindowDispatch::cleanup()
{
    stopWindow();
}

void TestWindowDispatch::plcLampAndLog()
{
    QPushButton *lamp = ui.pushButton_PLCstatus;
    const QString red = QStringLiteral("QPushButton{ background-color: rgb(255, 0, 0); }");
    const QString green = QStringLiteral("QPushButton{ background-color: rgb(0, 255, 0); }");
    clock.at(9, 1, 2, 3);
    w->getTransferData("sendTcpStatus_false", "", "", "1#9#");
    QCOMPARE(lamp->styleSheet(), red);
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " PLC通信，掉线");
    QCOMPARE(lastLineColour(ui.plainTextEdit_operat), QColor("red"));
    w->getTransferData("sendTcpStatus_true", "", "", "");
    QCOMPARE(lamp->styleSheet(), green);
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " PLC通信，重连成功");
    QCOMPARE(lastLineColour(ui.plainTextEdit_operat), QColor("green"));
    w->getTransferData("sendTcpStatus_false", "", "", "");
    w->getTransferData("sendTcpStatus", "", "", "");
    QCOMPARE(lamp->styleSheet(), green);
    // A key of both families is a PLC message; neither counts as a result.
    w->getTransferData("sendTcpStatus_cameraDisconnect_false", "CamA", "", "");
    QCOMPARE(lamp->styleSheet(), red);
    QCOMPARE(ui.label_allNum->text(), QStringLiteral(" "));
    QVERIFY(!lines(ui.plainTextEdit_run).join("\n").contains("sendTcpStatus"));
}

void TestWindowDispatch::cameraLampWaitsForEveryCamera()
{
    QPushButton *lamp = ui.pushButton_CameraStatus;
    const QString red = QStringLiteral("QPushButton{ background-color: rgb(255, 0, 0); }");
    const QString green = QStringLiteral("QPushButton{ background-color: rgb(0, 255, 0); }");
    w->getTransferData("cameraDisconnect_false", "CamA", "", "");
    QCOMPARE(lamp->styleSheet(), red);
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " CamA,掉线");
    w->getTransferData("cameraDisconnect_false", "CamB", "", "");
    w->getTransferData("cameraDisconnect_true", "CamA", "", "");
    QCOMPARE(lamp->styleSheet(), red);
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " CamA,重连成功");
    w->getTransferData("cameraDisconnect_true", "CamB", "", "");
    QCOMPARE(lamp->styleSheet(), green);
    // Back without ever being lost, nobody offline: green.
    lamp->setStyleSheet(red);
    w->getTransferData("cameraDisconnect", "CamX", "", "");
    QCOMPARE(lamp->styleSheet(), green);
}

void TestWindowDispatch::runAndResultLines()
{
    clock.at(11, 22, 33, 444);
    shot("CamB_0", "0*1");
    const QString first = lastLine(ui.plainTextEdit_run);
    const QRegularExpressionMatch m = QRegularExpression("^(\\d+) ").match(first);
    QVERIFY(m.hasMatch());
    const int n = m.captured(1).toInt();
    QCOMPARE(first, QString::number(n) + " 2026-12-07 11:22:33:444 算法名: AlgoTop "
                                         "相机key_index:CamB_0 SN时间戳:SN 结果数据:0*1");
    QCOMPARE(lastLineColour(ui.plainTextEdit_run), QColor("white"));

    result("1#9#", "2026-12-07#11:22:33.000");
    QCOMPARE(lastLine(ui.plainTextEdit_run),
             QString::number(n + 1) + " 2026-12-07 11:22:33:444 算法名: AlgoTop "
                                      "相机key_index:CamA_0 SN时间戳:2026-12-07#11:22:33.000 结果数据:1#9#");
    QCOMPARE(lastLineColour(ui.plainTextEdit_run), QColor("green"));
    const QString resultLine = lastLine(ui.plainTextEdit_history);
    QVERIFY2(resultLine.startsWith("序号："), qPrintable(resultLine));
    const int r = resultLine.mid(3, resultLine.indexOf(' ') - 3).toInt();
    QCOMPARE(resultLine, "序号：" + QString::number(r)
                             + " 日期：2026-12-07 11:22:33:444 SN时间戳：2026-12-07#11:22:33.000 结果：OK");
    result("1#0");
    QCOMPARE(lastLine(ui.plainTextEdit_history),
             "序号：" + QString::number(r + 1) + " 日期：2026-12-07 11:22:33:444 SN时间戳：SN 结果：NG");
    QCOMPARE(lastLineColour(ui.plainTextEdit_history), QColor("red"));
    QCOMPARE(ui.label_SN->text(), QStringLiteral("SN"));
}

void TestWindowDispatch::verdicts()
{
    result("1#0");
    QCOMPARE(ui.label_result->text(), QStringLiteral("NG"));
    QCOMPARE(ui.label_result->styleSheet(), QStringLiteral("background-color: red;"));
    result("9#1");
    QCOMPARE(ui.label_result->text(), QStringLiteral("OK"));
    QCOMPARE(ui.label_result->styleSheet(), QStringLiteral("background-color: green;"));
    result("x9#");
    QCOMPARE(ui.label_result->text(), QStringLiteral("OK"));
    QCOMPARE(counters(), QStringList({"3", "2", "1", "66.66%"}));
    // "1" alone is a per-shot message in either mode: no verdict.
    result("1");
    QCOMPARE(ui.label_allNum->text(), QStringLiteral("3"));
}

void TestWindowDispatch::rates()
{
    result("9#");
    result("1#");
    result("1#");
    QCOMPARE(counters(), QStringList({"3", "1", "2", "33.33%"}));
    QCOMPARE(dayCounters(), QStringList({"3", "1", "2", "33.33%"}));
    clearAll();
    result("9#");
    result("9#");
    result("1#");
    QCOMPARE(ui.label_OKPercent->text(), QStringLiteral("66.66%"));
    clearAll();
    result("1#");
    QCOMPARE(ui.label_OKPercent->text(), QStringLiteral("0%"));
    clearAll();
    result("9#");
    QCOMPARE(ui.label_OKPercent->text(), QStringLiteral("100%"));
    clearAll();
    for (int i = 0; i < 100; ++i)
        result(i < 57 ? "9#" : "0#");
    QCOMPARE(counters(), QStringList({"100", "57", "43", "57%"}));
    QCOMPARE(ui.label_OKPercent_day->text(), QStringLiteral("57%"));
}

void TestWindowDispatch::cycleTimes()
{
    ui.label_CT->setText("before");
    result("9#");
    QCOMPARE(ui.label_CT->text(), QStringLiteral("before"));
    clock.ms += 999;
    result("9#");
    QCOMPARE(ui.label_CT->text(), QStringLiteral("999毫秒"));
    clock.ms += 1000;
    result("9#");
    QCOMPARE(ui.label_CT->text(), QStringLiteral("1000毫秒"));
    clock.ms += 1001;
    result("9#");
    QCOMPARE(ui.label_CT->text(), QStringLiteral("1秒"));
    clock.ms += 1234;
    result("1#");
    QCOMPARE(ui.label_CT->text(), QStringLiteral("1.23秒"));
    // A pause of seven hours between two results.
    clock.ms += qint64(7) * 3600 * 1000 + 230;
    result("9#");
    QCOMPARE(ui.label_CT->text(), QStringLiteral("25200.2秒"));
}

void TestWindowDispatch::shiftBoundariesWithinADay()
{
    clock.at(8, 29, 59, 999);
    result("9#");
    QCOMPARE(nightCounters(), QStringList({"1", "1", "0", "100%"}));
    clock.at(8, 30, 0, 0);
    result("1#");
    QCOMPARE(dayCounters(), QStringList({"1", "0", "1", "0%"}));
    QCOMPARE(nightCounters(), QStringList({"1", "1", "0", "100%"})); // the finished night stays
    clock.at(20, 29, 59, 999);
    result("9#");
    QCOMPARE(dayCounters(), QStringList({"2", "1", "1", "50%"}));
    clock.at(20, 30, 0, 0);
    result("9#");
    // A new night starts afresh: the morning's night result is gone.
    QCOMPARE(nightCounters(), QStringList({"1", "1", "0", "100%"}));
    QCOMPARE(dayCounters(), QStringList({"2", "1", "1", "50%"}));
    QCOMPARE(counters(), QStringList({"4", "3", "1", "75%"}));
}

void TestWindowDispatch::shiftsAcrossMidnightAndDays()
{
    clock.now = QDateTime(QDate(2026, 12, 4), QTime(23, 59, 59, 999)); // Friday night
    result("9#");
    clock.now = QDateTime(QDate(2026, 12, 5), QTime(0, 0, 0, 1));
    result("1#");
    QCOMPARE(nightCounters(), QStringList({"2", "1", "1", "50%"}));
    clock.now = QDateTime(QDate(2026, 12, 5), QTime(10, 0));
    result("9#");
    QCOMPARE(dayCounters(), QStringList({"1", "1", "0", "100%"}));
    // Monday's day shift does not carry Saturday's counts.
    clock.now = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    result("1#");
    QCOMPARE(dayCounters(), QStringList({"1", "0", "1", "0%"}));
    QCOMPARE(nightCounters(), QStringList({"2", "1", "1", "50%"}));
}

void TestWindowDispatch::defectsBeforeTheFirstResultOfAShift()
{
    clock.at(20, 0);
    shot("none", "0*0");
    QCOMPARE(cell(ui.tableWidget_day, 0, 2), QStringLiteral("1"));
    clock.at(20, 31);
    // A new shift's defects that arrive before its first result are kept.
    shot("none", "0*0*1*0");
    QCOMPARE(cell(ui.tableWidget_night, 0, 2), QStringLiteral("1"));
    QCOMPARE(nightCounters(), QStringList({"0", "0", "0", " "}));
    // The shift's first result keeps them (its own data reads "NG" by then: no flags).
    result("1#*0");
    QCOMPARE(cell(ui.tableWidget_night, 0, 2), QStringLiteral("1"));
    QCOMPARE(cell(ui.tableWidget_night, 2, 2), QStringLiteral("1"));
    QCOMPARE(nightCounters(), QStringList({"1", "0", "1", "0%"}));
    shot("none", "0*0");
    QCOMPARE(cell(ui.tableWidget_night, 0, 2), QStringLiteral("2"));
    QCOMPARE(barSet(ui.groupBox_4)->at(0), 2.0);
    // The next day's day shift starts with its table and bars at 0.
    clock.now = QDateTime(clock.now.date().addDays(1), QTime(9, 0));
    shot("none", "0*1*0");
    QCOMPARE(cell(ui.tableWidget_day, 0, 2), QStringLiteral("0"));
    QCOMPARE(cell(ui.tableWidget_day, 1, 2), QStringLiteral("1"));
    QCOMPARE(barSet(ui.groupBox_3)->at(0), 0.0);
    QCOMPARE(barSet(ui.groupBox_3)->at(1), 1.0);
    QCOMPARE(cell(ui.tableWidget_night, 0, 2), QStringLiteral("2"));
}

void TestWindowDispatch::defectFlags()
{
    QCOMPARE(ui.tableWidget_day->rowCount(), 3);
    QCOMPARE(cell(ui.tableWidget_day, 1, 1), QStringLiteral("脏污"));
    shot("none", "0*1*0*1");
    QCOMPARE(cell(ui.tableWidget_day, 0, 2), QStringLiteral("0"));
    QCOMPARE(cell(ui.tableWidget_day, 1, 2), QStringLiteral("1"));
    QCOMPARE(cell(ui.tableWidget_day, 2, 2), QStringLiteral("0"));
    shot("none", "0**1");
    QCOMPARE(cell(ui.tableWidget_day, 0, 2), QStringLiteral("1"));
    shot("none", "0*1");
    shot("none", "0101");
    QtCharts::QBarSet *bars = barSet(ui.groupBox_3);
    QVERIFY(bars);
    QCOMPARE(bars->count(), 3);
    QCOMPARE(bars->at(0), 1.0);
    QCOMPARE(bars->at(1), 1.0);
    QCOMPARE(bars->at(2), 0.0);
    // A position past the configured classes is skipped.
    shot("none", "0*1*1*1*0*0");
    QCOMPARE(bars->at(0) + bars->at(1) + bars->at(2), 2.0);
    // Night tables untouched by day defects.
    QCOMPARE(cell(ui.tableWidget_night, 1, 2), QStringLiteral("0"));
}

void TestWindowDispatch::barChartRebuildsPastEightyPercent()
{
    QtCharts::QChartView *first = barView(ui.groupBox_3);
    QVERIFY(first);
    QCOMPARE(barAxisMax(ui.groupBox_3), 100.0);
    for (int i = 0; i < 80; ++i)
        shot("none", "0*0");
    QCOMPARE(barView(ui.groupBox_3), first);
    QCOMPARE(barSet(ui.groupBox_3)->at(0), 80.0);
    shot("none", "0*0");
    QtCharts::QChartView *second = barView(ui.groupBox_3);
    QVERIFY(second);
    QCOMPARE(barAxisMax(ui.groupBox_3), 300.0);
    QCOMPARE(barSet(ui.groupBox_3)->at(0), 81.0);
    QCOMPARE(barSet(ui.groupBox_3)->count(), 3);
    for (int i = 81; i < 241; ++i)
        shot("none", "0*0");
    QCOMPARE(barAxisMax(ui.groupBox_3), 700.0);
    QCOMPARE(cell(ui.tableWidget_day, 0, 2), QStringLiteral("241"));
    QCOMPARE(barAxisMax(ui.groupBox_4), 100.0);
}

void TestWindowDispatch::perShotCounts()
{
    QTableWidget *shots = ui.tableWidget_defectList;
    QCOMPARE(shots->rowCount(), 3);
    shot("CamA_1", "0");
    shot("CamA_1", "0*0");
    shot("CamA_1", "1*0"); // holds a "1": not counted
    shot("CamB_0", "0");
    shot("CamB", "0");
    QCOMPARE(cell(shots, 0, 2), QStringLiteral("0"));
    QCOMPARE(cell(shots, 1, 2), QStringLiteral("2"));
    QCOMPARE(cell(shots, 2, 2), QStringLiteral("1"));
}

void TestWindowDispatch::resultsAfterASwitchWaitForIt()
{
    // Through the bridge the switch runs from the event loop; results delivered before
    // it runs wait for it and count towards the new program.
    Logic_transfer *bridge = w->bridge();
    QVERIFY(bridge);
    auto send = [&](const char *key, const char *data) {
        emit bridge->LogicTransfer_writeData(QString::fromUtf8(key), QStringLiteral("CamA_0"),
                                             QStringLiteral("SN"), QByteArray(data));
    };
    send("AlgoTop", "9#1");
    send("程序号", "2");
    send("AlgoTop", "9#2");
    send("AlgoTop", "1#3");
    QCOMPARE(counters().first(), QStringLiteral("1")); // switch not run yet
    QTRY_VERIFY(w->bridge() != bridge);
    QTRY_COMPARE(counters(), QStringList({"2", "1", "1", "50%"}));
    QCOMPARE(dayCounters().first(), QStringLiteral("3"));
    QCOMPARE(ui.label_programNum->text(), QStringLiteral("2"));
}

void TestWindowDispatch::overlongLinesShownCut()
{
    // One message with a 100000-character SN or camera name: the log views show the
    // first 2000 characters and how many were left out; the queues keep the whole line.
    const QString sn(100000, QLatin1Char('S'));
    auto cut = [](const QString &line) {
        return line.left(2000) + "…（省略" + QString::number(line.size() - 2000) + "字）";
    };
    result("1#9#", sn);
    QVERIFY(w->runLines().last().endsWith(" SN时间戳:" + sn + " 结果数据:1#9#"));
    QCOMPARE(lastLine(ui.plainTextEdit_run), cut(w->runLines().last()));
    QVERIFY(w->resultLines().last().endsWith(" SN时间戳：" + sn + " 结果：OK"));
    QCOMPARE(lastLine(ui.plainTextEdit_history), cut(w->resultLines().last()));

    w->getTransferData("cameraDisconnect_false", sn, "", "");
    QCOMPARE(lastLine(ui.plainTextEdit_operat), cut(clock.stamp() + " " + sn + ",掉线"));
    w->getTransferData("cameraDisconnect_true", sn, "", "");
    QCOMPARE(ui.pushButton_CameraStatus->styleSheet(),
             QStringLiteral("QPushButton{ background-color: rgb(0, 255, 0); }"));
}

QTEST_MAIN(TestWindowDispatch)
#include "tst_window_dispatch.moc"
