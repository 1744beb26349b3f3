// Program switch, PLC commands, clear-data, pages, the 24-hour table and the run-time
// clock of the real main window against the simulated module.
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

using namespace fixture;

class TestWindowStatistics : public WindowSuite
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void switchToNewProgram();
    void switchToSameProgramKeepsShotCounts();
    void switchDataNotANumberIsIgnored();
    void failedSwitchIsReported();
    void switchThroughTheBridgeFromTheSimulator();
    void plcCommands();
    void plcCommandsWithoutBridge();
    void clearDataAsksFirst();
    void pageButtons();
    void hourlyTable();
    void runTimeClock();

private:
    void shot(const QString &camera, const QString &data)
    {
        w->getTransferData(QStringLiteral("AlgoSide"), camera, QStringLiteral("SN"), data.toUtf8());
    }
    void switchTo(const QString &number)
    {
        w->getTransferData(QStringLiteral("程序号"), QStringLiteral("PLC"), QStringLiteral("SN"),
                           number.toUtf8());
    }
    // The simulated PLC link comes up shortly after the start.
    bool plcLinkUp(int times = 1) const
    {
        return ui.plainTextEdit_operat->toPlainText().count(QStringLiteral("PLC通信，重连成功")) >= times;
    }
    QString cfgPath(const QString &name) const
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/config/") + name;
    }

};

void TestWindowStatistics::init()
{
    startWindow();
}

void TestWindowStatistics::cleanup()
{
    stopWindow();
}

void TestWindowStatistics::switchToNewProgram()
{
    w->getTransferData("AlgoTop", "CamA_0", "SN", "0");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    QCOMPARE(ui.tableWidget_defectList->rowCount(), 3);
    switchTo("2");
    // A direct call has its whole effect before it returns.
    QCOMPARE(ui.label_15->text(), QStringLiteral("程序运行"));
    QCOMPARE(ui.label_15->styleSheet(), QStringLiteral("color: green;"));
    QCOMPARE(ui.label_programNum->text(), QStringLiteral("2"));
    QCOMPARE(ui.tabWidget->currentIndex(), 0);
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " 切换程序号完成，程序运行...");
    QVERIFY(lines(ui.plainTextEdit_operat).contains(clock.stamp() + " 切换程序号2，请稍等..."));
    QVERIFY(lastLine(ui.plainTextEdit_run).endsWith("算法名: 程序号 相机key_index:PLC SN时间戳:SN 结果数据:2"));
    // The new program's shots, all from 0; the statistics pages were rebuilt once.
    QTableWidget *shots = ui.tableWidget_defectList;
    QCOMPARE(shots->rowCount(), 4);
    QCOMPARE(cell(shots, 3, 1), QStringLiteral("右侧_1"));
    QCOMPARE(cell(shots, 0, 2), QStringLiteral("0"));
    QVERIFY(barView(ui.groupBox_3));
    QVERIFY(barView(ui.groupBox_4));
    QCOMPARE(ui.groupBox_2->findChildren<QtCharts::QChartView *>().size(), 1);

    // Program 2 is the non-standard flow: a matching shot without "1" counts twice,
    // a result whose raw data holds no "1" once, at most once per camera list.
    shot("CamC_1", "0");
    QCOMPARE(cell(shots, 1, 2), QStringLiteral("2"));
    shot("CamD_0", "9#");
    QCOMPARE(cell(shots, 2, 2), QStringLiteral("1"));
    shot("CamD_0", "1#0");
    QCOMPARE(cell(shots, 2, 2), QStringLiteral("1"));
}

void TestWindowStatistics::switchToSameProgramKeepsShotCounts()
{
    QTableWidget *shots = ui.tableWidget_defectList;
    w->getTransferData("AlgoTop", "CamB_0", "SN", "0");
    const QString before = lastLine(ui.plainTextEdit_run);
    switchTo("1");
    QCOMPARE(ui.label_15->text(), QStringLiteral("切换程序号\r\n1"));
    QCOMPARE(ui.label_15->styleSheet(), QStringLiteral("color: red;"));
    QCOMPARE(ui.tabWidget->currentIndex(), 4);
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " 切换程序号1，请稍等...");
    QCOMPARE(lastLine(ui.plainTextEdit_run), before); // no run-log line
    QCOMPARE(shots->rowCount(), 3);
    // Per-shot messages afterwards go on counting into the same rows.
    w->getTransferData("AlgoTop", "CamB_0", "SN", "0");
    w->getTransferData("AlgoTop", "CamA_1", "SN", "0");
    QCOMPARE(cell(shots, 2, 2), QStringLiteral("2"));
    QCOMPARE(cell(shots, 1, 2), QStringLiteral("1"));
}

void TestWindowStatistics::switchDataNotANumberIsIgnored()
{
    w->getTransferData("AlgoTop", "CamA_0", "SN", "0");
    switchTo("abc");
    QCOMPARE(ui.label_15->text(), QStringLiteral("程序运行"));
    QCOMPARE(lastLine(ui.plainTextEdit_operat),
             clock.stamp() + " 切换程序号abc：不是程序号，已忽略");
    QCOMPARE(ui.tableWidget_defectList->rowCount(), 3);
    QCOMPARE(cell(ui.tableWidget_defectList, 0, 2), QStringLiteral("1"));
    QCOMPARE(ui.label_type->text(), QStringLiteral("统计测试"));
}

void TestWindowStatistics::failedSwitchIsReported()
{
    // Program 2's document refused by the module's check.
    QFile file(cfgPath("camera_cfg2.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    file.close();
    QByteArray refused = original;
    refused.replace("\"周期毫秒\"", "\"检查拒绝原因\": \"测试拒绝\", \"周期毫秒\"");
    QVERIFY(refused != original);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(refused);
    file.close();

    QStringList seen;
    answerNextBox(QMessageBox::Ok, &seen);
    switchTo("2");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(original);
    file.close();

    QCOMPARE(seen.value(0), QStringLiteral("camera_cfg错误"));
    QCOMPARE(ui.label_15->text(), QStringLiteral("初始化失败"));
    QCOMPARE(ui.label_15->styleSheet(), QStringLiteral("color: red;"));
    QCOMPARE(lastLine(ui.plainTextEdit_operat), clock.stamp() + " 切换程序号失败，程序未运行");
    QCOMPARE(lastLineColour(ui.plainTextEdit_operat), QColor("red"));
    QVERIFY(!lines(ui.plainTextEdit_operat).join('\n').contains("切换程序号完成"));
}

void TestWindowStatistics::switchThroughTheBridgeFromTheSimulator()
{
    FakeClock::uninstall(); // the simulator stamps its own messages
    QTRY_VERIFY_WITH_TIMEOUT(plcLinkUp(), 5000);
    w->sendPLCData("D100_2");
    QVERIFY(lastLine(ui.plainTextEdit_operat).endsWith(" 手动补信号：D100_2"));
    QTRY_COMPARE_WITH_TIMEOUT(ui.label_programNum->text(), QStringLiteral("2"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(lastLine(ui.plainTextEdit_operat).endsWith("切换程序号完成，程序运行..."), 5000);
    QCOMPARE(ui.label_15->text(), QStringLiteral("程序运行"));
    QCOMPARE(ui.label_type->text(), QStringLiteral("统计测试2"));
    QCOMPARE(ui.tableWidget_defectList->rowCount(), 4);
    // And back again through the new bridge.
    QTRY_VERIFY_WITH_TIMEOUT(plcLinkUp(2), 5000); // the new module's link
    w->sendPLCData("D100_1");
    QTRY_COMPARE_WITH_TIMEOUT(ui.label_programNum->text(), QStringLiteral("1"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(ui.tableWidget_defectList->rowCount(), 3, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(ui.label_15->text(), QStringLiteral("程序运行"), 5000);
}

void TestWindowStatistics::plcCommands()
{
    QTRY_VERIFY_WITH_TIMEOUT(plcLinkUp(), 5000);
    const int before = lines(ui.plainTextEdit_operat).size();
    w->sendPLCData("补全部信号#D100_1#D200_1");
    QStringList log = lines(ui.plainTextEdit_operat).mid(before);
    const QString p = clock.stamp() + " 手动补信号：";
    QCOMPARE(log, QStringList({p + "补全部信号", p + "D100_1", p + "D200_1"}));
    w->sendPLCData("补全部信号");
    QCOMPARE(lastLine(ui.plainTextEdit_operat), p + "补全部信号");
    // A single command goes whole, "#" and all; the module refuses an unknown address.
    w->sendPLCData("D200_1#x");
    QCOMPARE(lastLine(ui.plainTextEdit_operat), p + "D200_1#x");
    w->sendPLCData("D999_1");
    QCOMPARE(lastLine(ui.plainTextEdit_operat), p + "D999_1（发送失败）");
}

void TestWindowStatistics::plcCommandsWithoutBridge()
{
    w->stopAndClear();
    const int before = lines(ui.plainTextEdit_operat).size();
    w->sendPLCData("补全部信号#D100_1#");
    const QString p = clock.stamp() + " 手动补信号：";
    const QString notSent = QStringLiteral("（未发送：通用逻辑未加载）");
    QCOMPARE(lines(ui.plainTextEdit_operat).mid(before),
             QStringList({p + "补全部信号", p + "D100_1" + notSent, p + notSent}));
}

void TestWindowStatistics::clearDataAsksFirst()
{
    w->getTransferData("AlgoTop", "CamA_0", "SN", "0*0");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "1#");
    QStringList seen;
    answerNextBox(QMessageBox::No, &seen);
    w->clearData();
    QCOMPARE(seen, QStringList({"清空数据？", "确定清空数据？"}));
    QCOMPARE(ui.label_allNum->text(), QStringLiteral("2"));
    QVERIFY(!lines(ui.plainTextEdit_run).join("\n").isEmpty());

    answerNextBox(QMessageBox::Yes);
    w->clearData();
    QCOMPARE(ui.label_allNum->text(), QStringLiteral(" "));
    QCOMPARE(ui.label_OKPercent_day->text(), QStringLiteral(" "));
    QVERIFY(lines(ui.plainTextEdit_run).join("\n").isEmpty());
    QVERIFY(lines(ui.plainTextEdit_history).join("\n").isEmpty());
    QCOMPARE(cell(ui.tableWidget_defectList, 0, 2), QStringLiteral("0"));
    QCOMPARE(cell(ui.tableWidget_day, 0, 2), QStringLiteral("0"));
    QCOMPARE(cell(ui.tableWidget_24H, 5, 3), QStringLiteral(" "));
    QCOMPARE(barAxisMax(ui.groupBox_3), 100.0);
    QCOMPARE(barSet(ui.groupBox_3)->at(0), 0.0);
    // Counting starts again from 0, shots included.
    w->getTransferData("AlgoTop", "CamA_0", "SN", "0");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    QCOMPARE(ui.label_allNum->text(), QStringLiteral("1"));
    QCOMPARE(ui.label_OKPercent->text(), QStringLiteral("100%"));
    QCOMPARE(cell(ui.tableWidget_defectList, 0, 2), QStringLiteral("1"));
}

void TestWindowStatistics::pageButtons()
{
    const QList<QPushButton *> buttons{ui.pushButton_tab_history, ui.pushButton_tab_defectList,
                                       ui.pushButton_tab_24H, ui.pushButton_tab_run,
                                       ui.pushButton_tab_operat};
    for (int i = 0; i < buttons.size(); ++i) {
        QTest::mousePress(buttons[i], Qt::LeftButton);
        QTest::mouseRelease(buttons[i], Qt::LeftButton);
        QCOMPARE(ui.tabWidget->currentIndex(), i);
        for (int j = 0; j < buttons.size(); ++j)
            QCOMPARE(buttons[j]->styleSheet().contains("rgb(0, 100, 255)"), i == j);
    }
    w->selectPage(5);
    for (QPushButton *b : buttons)
        QVERIFY(b->styleSheet().startsWith("QPushButton{background-color: rgb(101, 103, 100);"));
}

void TestWindowStatistics::hourlyTable()
{
    QTableWidget *t = ui.tableWidget_24H;
    auto row = [t](int r) {
        QStringList texts;
        for (int c = 1; c <= 5; ++c)
            texts << cell(t, r, c);
        return texts;
    };
    // The current hour is process-wide: bring it to the test's clock first.
    w->updateHourTable();
    const int startRow = clock.now.time().hour() + 1;
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "1#");
    w->updateHourTable();
    QCOMPARE(row(startRow), QStringList({"3", "2", "66.66%", "1", "33.34%"}));

    // Into the next hour: the finished hour closes, the new one counts from there.
    clock.now = clock.now.addSecs(3600);
    w->updateHourTable();
    QCOMPARE(row(startRow + 1), QStringList({"0", "0", "", "0", ""}));
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    w->updateHourTable();
    QCOMPARE(row(startRow + 1), QStringList({"1", "1", "100%", "0", "0%"}));
    QCOMPARE(row(startRow), QStringList({"3", "2", "66.66%", "1", "33.34%"}));

    // Up to midnight and over it: row "23-24" closes, row "0-1" restarts.
    clock.now = QDateTime(clock.now.date(), QTime(23, 10));
    w->updateHourTable();
    w->getTransferData("AlgoTop", "CamA_0", "SN", "1#");
    w->updateHourTable();
    QCOMPARE(row(24), QStringList({"1", "0", "0%", "1", "100%"}));
    t->item(1, 1)->setText("stale");
    clock.now = QDateTime(clock.now.date().addDays(1), QTime(0, 0, 0, 200));
    w->updateHourTable();
    QCOMPARE(row(24), QStringList({"1", "0", "0%", "1", "100%"}));
    QCOMPARE(row(1), QStringList({"0", "0", "", "0", ""}));
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    w->getTransferData("AlgoTop", "CamA_0", "SN", "9#");
    w->updateHourTable();
    QCOMPARE(row(1), QStringList({"2", "2", "100%", "0", "0%"}));
    QCOMPARE(cell(t, 0, 0), QStringLiteral("时间段"));
    QCOMPARE(cell(t, 1, 0), QStringLiteral("0-1"));
}

void TestWindowStatistics::runTimeClock()
{
    static const QRegularExpression re("^(\\d+)小时(\\d+)分钟(\\d+)秒$");
    w->updateRunTime();
    const QRegularExpressionMatch m = re.match(ui.label_runTime->text());
    QVERIFY2(m.hasMatch(), qPrintable(ui.label_runTime->text()));
    const int seconds = m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
    for (int i = 0; i < 3600; ++i)
        w->updateRunTime();
    const int later = seconds + 3600;
    QCOMPARE(ui.label_runTime->text(), QString::number(later / 3600) + "小时"
                                              + QString::number(later % 3600 / 60) + "分钟"
                                              + QString::number(later % 60) + "秒");
    // The real timer keeps ticking once a second.
    QTRY_VERIFY_WITH_TIMEOUT(ui.label_runTime->text() != QString::number(later / 3600) + "小时"
                                     + QString::number(later % 3600 / 60) + "分钟"
                                     + QString::number(later % 60) + "秒",
                             3000);
}

QTEST_MAIN(TestWindowStatistics)
#include "tst_window_statistics.moc"
