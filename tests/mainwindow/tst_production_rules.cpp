#include "ProductionRules.h"

#include <QJsonObject>
#include <QtTest>

using namespace production;

class TestProductionRules : public QObject
{
    Q_OBJECT

private slots:
    void keysAndLinkState_data();
    void keysAndLinkState();
    void offlineCameraLamp();
    void dataTextStopsAtNul();
    void verdicts_data();
    void verdicts();
    void lineFormats();
    void boundedQueue();
    void rates_data();
    void rates();
    void cycleTime_data();
    void cycleTime();
    void runTime();
    void shiftBoundaries_data();
    void shiftBoundaries();
    void shiftTrackerAcrossDays();
    void defectFlags_data();
    void defectFlags();
    void defectRecordsKeepCountsByName();
    void barAxis();
    void programSwitch_data();
    void programSwitch();
    void hourOfStamp();
    void hourlyTableWithinHour();
    void hourlyTableRollsOverHourAndMidnight();
    void hourlyTableEmptyHourAndTrim();
};

void TestProductionRules::keysAndLinkState_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("connected");
    QTest::newRow("plc true") << "sendTcpStatus_true" << int(MessageKind::PlcLink) << true;
    QTest::newRow("plc false") << "sendTcpStatus_false" << int(MessageKind::PlcLink) << false;
    QTest::newRow("plc bare") << "sendTcpStatus" << int(MessageKind::PlcLink) << true;
    QTest::newRow("plc both words") << "sendTcpStatus_false_true" << int(MessageKind::PlcLink) << true;
    QTest::newRow("camera false") << "cameraDisconnect_false" << int(MessageKind::CameraLink) << false;
    QTest::newRow("plc wins over camera")
        << "cameraDisconnect_sendTcpStatus_false" << int(MessageKind::PlcLink) << false;
    QTest::newRow("case sensitive") << "SendTcpStatus_true" << int(MessageKind::Data) << true;
    QTest::newRow("algorithm") << "AlgoTop" << int(MessageKind::Data) << true;
}

void TestProductionRules::keysAndLinkState()
{
    QFETCH(QString, key);
    QFETCH(int, kind);
    QFETCH(bool, connected);
    QCOMPARE(int(classifyKey(key)), kind);
    QCOMPARE(linkConnected(key), connected);
    QCOMPARE(linkStateText(connected), connected ? QStringLiteral("重连成功") : QStringLiteral("掉线"));
}

void TestProductionRules::offlineCameraLamp()
{
    OfflineCameras cams;
    QCOMPARE(cams.report("A", false), OfflineCameras::Lamp::Red);
    QCOMPARE(cams.report("B", false), OfflineCameras::Lamp::Red);
    QCOMPARE(cams.report("A", false), OfflineCameras::Lamp::Red);
    QCOMPARE(cams.names(), QStringList({"A", "B"}));
    QCOMPARE(cams.report("A", true), OfflineCameras::Lamp::Keep);
    QCOMPARE(cams.report("B", true), OfflineCameras::Lamp::Green);
    // A camera never reported lost, with the list empty, turns the lamp green.
    QCOMPARE(cams.report("C", true), OfflineCameras::Lamp::Green);
}

void TestProductionRules::dataTextStopsAtNul()
{
    QCOMPARE(dataText(QByteArray("0*1\0*0", 6)), QStringLiteral("0*1"));
    QCOMPARE(dataText(QByteArray("结果9#")), QStringLiteral("结果9#"));
    QCOMPARE(dataText(QByteArray()), QString());
}

void TestProductionRules::verdicts_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("ok");
    QTest::newRow("1#0") << "1#0" << true << false;
    QTest::newRow("9#1") << "9#1" << true << true;
    QTest::newRow("x9#") << "x9#" << true << true;
    QTest::newRow("one char 1") << "1" << false << false;
    QTest::newRow("9 without #") << "9" << false << false;
}

void TestProductionRules::verdicts()
{
    QFETCH(QString, data);
    QFETCH(bool, result);
    QFETCH(bool, ok);
    QCOMPARE(isResultData(data), result);
    QCOMPARE(isOkResult(data), ok);
}

void TestProductionRules::lineFormats()
{
    const QDateTime t(QDate(2026, 3, 4), QTime(5, 6, 7, 89));
    QCOMPARE(logStamp(t), QStringLiteral("2026-03-04 05:06:07:089"));
    QCOMPARE(runLine(7, logStamp(t), "AlgoTop", "CamA_0", "SN1", "0*1"),
             QStringLiteral("7 2026-03-04 05:06:07:089 算法名: AlgoTop 相机key_index:CamA_0 "
                            "SN时间戳:SN1 结果数据:0*1"));
    QCOMPARE(resultLine(0, logStamp(t), "SN2", "OK"),
             QStringLiteral("序号：0 日期：2026-03-04 05:06:07:089 SN时间戳：SN2 结果：OK"));
}

void TestProductionRules::boundedQueue()
{
    QQueue<QString> q;
    for (int i = 0; i < 5; ++i)
        appendBounded(q, QString::number(i), 3);
    QCOMPARE(q.size(), 3);
    QCOMPARE(q.head(), QStringLiteral("2"));
    QCOMPARE(q.last(), QStringLiteral("4"));

    QQueue<QString> full;
    for (int i = 0; i < kMaxQueuedLines; ++i)
        full.enqueue(QString());
    full.first() = QStringLiteral("oldest");
    full[1] = QStringLiteral("second");
    appendBounded(full, QStringLiteral("newest"));
    QCOMPARE(full.size(), kMaxQueuedLines);
    QCOMPARE(full.head(), QStringLiteral("second"));
    QCOMPARE(full.last(), QStringLiteral("newest"));
}

void TestProductionRules::rates_data()
{
    QTest::addColumn<int>("ok");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("okText");
    QTest::addColumn<QString>("ngText");
    QTest::newRow("1 of 3") << 1 << 3 << "33.33%" << "66.67%";
    QTest::newRow("2 of 3") << 2 << 3 << "66.66%" << "33.34%";
    QTest::newRow("0 of 1") << 0 << 1 << "0%" << "100%";
    QTest::newRow("1 of 1") << 1 << 1 << "100%" << "0%";
    QTest::newRow("57 of 100") << 57 << 100 << "57%" << "43%";
    QTest::newRow("99 of 100") << 99 << 100 << "99%" << "1%";
    QTest::newRow("large") << 300000 << 300001 << "99.99%" << "0.01%";
}

void TestProductionRules::rates()
{
    QFETCH(int, ok);
    QFETCH(int, total);
    QFETCH(QString, okText);
    QFETCH(QString, ngText);
    QCOMPARE(okRateText(ok, total), okText);
    QCOMPARE(ngRateText(ok, total), ngText);
}

void TestProductionRules::cycleTime_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("999") << qint64(999) << "999毫秒";
    QTest::newRow("1000") << qint64(1000) << "1000毫秒";
    QTest::newRow("1001") << qint64(1001) << "1秒";
    QTest::newRow("1234") << qint64(1234) << "1.23秒";
    QTest::newRow("2000") << qint64(2000) << "2秒";
    // Past the 32-bit range of d x 100 (about 5.97 hours).
    QTest::newRow("7 hours") << qint64(7) * 3600 * 1000 + 230 << "25200.2秒";
}

void TestProductionRules::cycleTime()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(cycleTimeText(ms), text);
}

void TestProductionRules::runTime()
{
    QCOMPARE(runTimeText(59), QStringLiteral("0小时0分钟59秒"));
    QCOMPARE(runTimeText(60), QStringLiteral("0小时1分钟0秒"));
    QCOMPARE(runTimeText(3600), QStringLiteral("1小时0分钟0秒"));
    QCOMPARE(runTimeText(3725), QStringLiteral("1小时2分钟5秒"));
}

void TestProductionRules::shiftBoundaries_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QDate>("shiftDate");
    QTest::addColumn<bool>("night");
    const QDate d(2026, 12, 7);
    QTest::newRow("08:29:59.999") << QDateTime(d, QTime(8, 29, 59, 999)) << d.addDays(-1) << true;
    QTest::newRow("08:30:00.000") << QDateTime(d, QTime(8, 30)) << d << false;
    QTest::newRow("20:29:59.999") << QDateTime(d, QTime(20, 29, 59, 999)) << d << false;
    QTest::newRow("20:30:00.000") << QDateTime(d, QTime(20, 30)) << d << true;
    QTest::newRow("23:59:59.999") << QDateTime(d, QTime(23, 59, 59, 999)) << d << true;
    QTest::newRow("00:00:00.000") << QDateTime(d.addDays(1), QTime(0, 0)) << d << true;
}

void TestProductionRules::shiftBoundaries()
{
    QFETCH(QDateTime, time);
    QFETCH(QDate, shiftDate);
    QFETCH(bool, night);
    const ShiftId id = shiftOf(time);
    QCOMPARE(id.night, night);
    QCOMPARE(id.date, shiftDate);
    QCOMPARE(isNightTime(time.time()), night);
}

void TestProductionRules::shiftTrackerAcrossDays()
{
    ShiftTracker tracker;
    const QDate fri(2026, 12, 4);
    QVERIFY(!tracker.hasShift());
    QVERIFY(!tracker.enter(shiftOf(QDateTime(fri, QTime(10, 0)))));
    QVERIFY(!tracker.enter(shiftOf(QDateTime(fri, QTime(20, 29, 59, 999)))));
    QVERIFY(tracker.enter(shiftOf(QDateTime(fri, QTime(20, 30)))));
    // Past midnight: still Friday's night shift.
    QVERIFY(!tracker.enter(shiftOf(QDateTime(fri.addDays(1), QTime(3, 0)))));
    // Monday's day shift is not Friday's, even with no night message in between.
    QVERIFY(!tracker.enter(shiftOf(QDateTime(fri.addDays(1), QTime(8, 29)))));
    QVERIFY(tracker.enter(shiftOf(QDateTime(fri.addDays(3), QTime(9, 0)))));
    QVERIFY(tracker.enter(shiftOf(QDateTime(fri.addDays(4), QTime(9, 0)))));
    QCOMPARE(tracker.current().date, fri.addDays(4));
    QVERIFY(!tracker.current().night);
}

void TestProductionRules::defectFlags_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QVector<int>>("positions");
    QTest::newRow("0*1*0*1") << "0*1*0*1" << QVector<int>{2};
    QTest::newRow("0**1") << "0**1" << QVector<int>{1};
    QTest::newRow("0*1") << "0*1" << QVector<int>{};
    QTest::newRow("no star") << "0101" << QVector<int>{};
    QTest::newRow("trailing star") << "0*" << QVector<int>{1};
    QTest::newRow("star only") << "*" << QVector<int>{1};
    QTest::newRow("11 is a defect") << "x*11*1" << QVector<int>{1};
}

void TestProductionRules::defectFlags()
{
    QFETCH(QString, data);
    QFETCH(QVector<int>, positions);
    QCOMPARE(defectPositions(data), positions);
}

static QJsonObject defectEntry(const QString &cls, const QString &name)
{
    return QJsonObject{{QStringLiteral("缺陷类别"), cls}, {QStringLiteral("缺陷名称"), name}};
}

void TestProductionRules::defectRecordsKeepCountsByName()
{
    QList<DefectData> old;
    DefectData scratch;
    scratch.defectName = "划痕";
    scratch.defectClass = 1;
    scratch.allNum = 5;
    scratch.dayNum = 3;
    scratch.nightNum = 2;
    DefectData dent;
    dent.defectName = "凹坑";
    dent.defectClass = 2;
    dent.allNum = 4;
    old << scratch << dent;

    const QJsonArray doc{defectEntry("7", "划痕"), defectEntry("2", "脏污"), defectEntry("x", "划痕")};
    const QList<DefectData> recs = buildDefectRecords(doc, old);
    QCOMPARE(recs.size(), 3);
    QCOMPARE(recs[0].defectClass, 7); // class changed, counts kept
    QCOMPARE(recs[0].dayNum, 3);
    QCOMPARE(recs[0].allNum, 5);
    QCOMPARE(recs[1].defectName, QStringLiteral("脏污")); // new name under an old class: from 0
    QCOMPARE(recs[1].allNum, 0);
    QCOMPARE(recs[2].defectClass, 0); // not a number
    QCOMPARE(recs[2].nightNum, 2);
    QCOMPARE(recordOfClass(recs, 2), 1);
    QCOMPARE(recordOfClass(recs, 5), -1);
    QCOMPARE(recordOfClass(QList<DefectData>() << recs[1] << recs[1], 2), 0);
}

void TestProductionRules::barAxis()
{
    QCOMPARE(barMaxValue(0, 50), 100);
    QCOMPARE(barMaxValue(49, 50), 100);
    QCOMPARE(barMaxValue(50, 50), 200);
    QCOMPARE(barMaxValue(101, 50), 300);
    QCOMPARE(barMaxValue(301, 50), 700);
    QVERIFY(!barNeedsRebuild(80, 100));
    QVERIFY(barNeedsRebuild(81, 100));
    QCOMPARE(barMaxValue(barRebuildValue(81), 50), 300);
    QVERIFY(!barNeedsRebuild(240, 300));
    QVERIFY(barNeedsRebuild(241, 300));
    QCOMPARE(barMaxValue(barRebuildValue(241), 50), 700);
}

void TestProductionRules::programSwitch_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("number");
    QTest::newRow("new") << "2" << 1 << int(SwitchDecision::NewProgram) << 2;
    QTest::newRow("same") << "1" << 1 << int(SwitchDecision::SameProgram) << 1;
    QTest::newRow("zero is a number") << "0" << 1 << int(SwitchDecision::NewProgram) << 0;
    QTest::newRow("not a number") << "abc" << 1 << int(SwitchDecision::NotANumber) << 0;
    QTest::newRow("empty") << "" << 0 << int(SwitchDecision::NotANumber) << 0;
    QTest::newRow("mixed") << "2a" << 1 << int(SwitchDecision::NotANumber) << 0;
}

void TestProductionRules::programSwitch()
{
    QFETCH(QString, data);
    QFETCH(int, current);
    QFETCH(int, action);
    QFETCH(int, number);
    const SwitchDecision d = decideProgramSwitch(data, current);
    QCOMPARE(int(d.action), action);
    QCOMPARE(d.number, number);
}

void TestProductionRules::hourOfStamp()
{
    QCOMPARE(production::hourOfStamp("2026-12-09#07:59:59.999"), QStringLiteral("07"));
    QCOMPARE(hourStamp(QDateTime(QDate(2026, 12, 9), QTime(23, 0, 1))), QStringLiteral("23"));
}

// Reads the cells of one update into a 25 x 6 grid.
static void apply(QVector<QVector<QString>> &grid, const QVector<CellText> &cells)
{
    for (const CellText &c : cells)
        grid[c.row][c.column] = c.text;
}

static QStringList rowOf(const QVector<QVector<QString>> &grid, int row)
{
    return QStringList(grid[row].begin() + 1, grid[row].end());
}

void TestProductionRules::hourlyTableWithinHour()
{
    QVector<QVector<QString>> grid(25, QVector<QString>(6));
    HourlyStatistics h;
    QString current = "10";
    apply(grid, h.update(current, "10", 3, 2));
    QCOMPARE(rowOf(grid, 11), QStringList({"3", "2", "66.66%", "1", "33.34%"}));
    apply(grid, h.update(current, "10", 5, 5));
    QCOMPARE(rowOf(grid, 11), QStringList({"5", "5", "100%", "0", "0%"}));
    QCOMPARE(h.products(), QList<int>{5});
    QVERIFY(!h.negative());
    // Counters cleared below the start totals: shown as they are, reported.
    QString c2 = "10";
    HourlyStatistics g;
    g.update(c2, "10", 4, 4);
    g.update(c2, "11", 4, 4); // start totals 4
    apply(grid, g.update(c2, "11", 1, 0));
    QVERIFY(g.negative());
    QCOMPARE(grid[12][1], QStringLiteral("-3"));
}

void TestProductionRules::hourlyTableRollsOverHourAndMidnight()
{
    QVector<QVector<QString>> grid(25, QVector<QString>(6));
    HourlyStatistics h;
    QString current = "22";
    apply(grid, h.update(current, "22", 10, 9));
    apply(grid, h.update(current, "23", 12, 10)); // hour 22 closes with 12 / 10
    QCOMPARE(current, QStringLiteral("23"));
    QCOMPARE(rowOf(grid, 23), QStringList({"12", "10", "83.33%", "2", "16.67%"}));
    QCOMPARE(rowOf(grid, 24), QStringList({"0", "0", "", "0", ""}));
    QCOMPARE(h.startTotal(), 12);
    apply(grid, h.update(current, "23", 15, 12));
    QCOMPARE(rowOf(grid, 24), QStringList({"3", "2", "66.66%", "1", "33.34%"}));
    // Midnight: row "23-24" closed, row "0-1" reset and then filled.
    grid[1] = QVector<QString>{"0-1", "7", "7", "100%", "0", "0%"};
    apply(grid, h.update(current, "00", 16, 13));
    QCOMPARE(rowOf(grid, 24), QStringList({"4", "3", "75%", "1", "25%"}));
    QCOMPARE(rowOf(grid, 1), QStringList({"0", "0", "", "0", ""}));
    apply(grid, h.update(current, "00", 17, 13));
    QCOMPARE(rowOf(grid, 1), QStringList({"1", "0", "0%", "1", "100%"}));
}

void TestProductionRules::hourlyTableEmptyHourAndTrim()
{
    QVector<QVector<QString>> grid(25, QVector<QString>(6));
    HourlyStatistics h;
    QString current = "05";
    grid[6][3] = QStringLiteral("earlier");
    apply(grid, h.update(current, "06", 0, 0));
    // An hour without products keeps its column 3 text and an empty column 5.
    QCOMPARE(rowOf(grid, 6), QStringList({"0", "0", "earlier", "0", ""}));
    for (int i = 0; i < 30; ++i) {
        const QString next = QString::asprintf("%02d", (7 + i) % 24);
        h.update(current, next, i + 1, i);
    }
    QVERIFY(h.products().size() <= 24);
    QCOMPARE(h.products().size(), h.okProducts().size());
    QCOMPARE(HourlyStatistics::blankCells().size(), 120);
}

QTEST_GUILESS_MAIN(TestProductionRules)
#include "tst_production_rules.moc"
