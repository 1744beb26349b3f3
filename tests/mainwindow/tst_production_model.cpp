#include "Platform.h"
#include "ProductionModel.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

using namespace production;

namespace {

QJsonArray defectEntries()
{
    QJsonArray entries;
    for (int c = 1; c <= 2; ++c)
        entries.append(QJsonObject{{QStringLiteral("缺陷类别"), QString::number(c)},
                                   {QStringLiteral("缺陷名称"), QStringLiteral("缺陷%1").arg(c)}});
    return entries;
}

QDateTime at(int day, int hour, int minute)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

} // namespace

class TestProductionModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void lampsWithTwoCameras();
    void shiftChangeResetsOnlyTheNewShift_data();
    void shiftChangeResetsOnlyTheNewShift();
    void shotsAndDefects();
    void hourlyTotalsFromCountersAcrossMidnight();
    void clearKeepsShotsAndHour();
};

void TestProductionModel::initTestCase()
{
    qRegisterMetaType<Link>();
    qRegisterMetaType<Scope>();
    qRegisterMetaType<Counters>();
    qRegisterMetaType<QVector<CellText>>();
}

void TestProductionModel::cleanup()
{
    platform::setLocalNowForTest({});
}

void TestProductionModel::lampsWithTwoCameras()
{
    ProductionModel m;
    QSignalSpy lamps(&m, &ProductionModel::lampChanged);
    const auto lastCamera = [&] {
        return lamps.last().at(0).value<Link>() == Link::Camera && lamps.last().at(1).toBool();
    };

    m.onLink(Link::Camera, false, "A");
    m.onLink(Link::Camera, false, "B");
    m.onLink(Link::Camera, false, "B");
    QCOMPARE(m.offlineCameras(), QStringList({"A", "B"}));
    QCOMPARE(lamps.count(), 3);
    m.onLink(Link::Camera, true, "A");
    QCOMPARE(lamps.count(), 3); // B still lost: the lamp keeps red
    QVERIFY(!m.lamp(Link::Camera));
    m.onLink(Link::Camera, true, "B");
    QCOMPARE(lamps.count(), 4);
    QVERIFY(lastCamera());
    QVERIFY(m.lamp(Link::Camera));
    QVERIFY(!m.lamp(Link::Plc)); // the PLC lamp is its own

    m.onLink(Link::Camera, true, "never lost");
    QVERIFY(lastCamera());
    m.onLink(Link::Plc, true);
    QVERIFY(m.lamp(Link::Plc));
    m.setLamps(false);
    QVERIFY(!m.lamp(Link::Plc) && !m.lamp(Link::Camera));
}

void TestProductionModel::shiftChangeResetsOnlyTheNewShift_data()
{
    QTest::addColumn<QDateTime>("first");
    QTest::addColumn<QDateTime>("second");
    QTest::addColumn<bool>("started");

    QTest::newRow("day to night") << at(7, 20, 29) << at(7, 20, 30) << true;
    QTest::newRow("night to day") << at(7, 8, 29) << at(7, 8, 30) << true;
    QTest::newRow("night over midnight") << at(7, 23, 59) << at(8, 0, 0) << false;
    QTest::newRow("next day's day shift") << at(7, 10, 0) << at(8, 10, 0) << true;
}

void TestProductionModel::shiftChangeResetsOnlyTheNewShift()
{
    QFETCH(QDateTime, first);
    QFETCH(QDateTime, second);
    QFETCH(bool, started);

    ProductionModel m;
    m.loadDefects(defectEntries());
    QSignalSpy starts(&m, &ProductionModel::shiftStarted);
    const bool firstNight = m.enterShift(first);
    m.onResult(true, 0);
    m.onResult(false, 10);
    m.onDefects("x*0*1");
    QCOMPARE(starts.count(), 0); // the first message only adopts its shift

    const bool night = m.enterShift(second);
    QCOMPARE(starts.count(), started ? 1 : 0);
    const Scope scope = night ? Scope::Night : Scope::Day;
    const int kept = started ? 0 : 2;
    QCOMPARE(m.counters(scope).allNum, kept);
    const DefectData &d = m.defects().first();
    QCOMPARE(night ? d.nightNum : d.dayNum, kept / 2);
    QCOMPARE(d.allNum, 1);
    if (night != firstNight) {
        // The shift left keeps its numbers; the overall counters go on.
        QCOMPARE(m.counters(firstNight ? Scope::Night : Scope::Day).allNum, 2);
        QCOMPARE(firstNight ? d.nightNum : d.dayNum, 1);
    }
    m.onResult(true, 20);
    QCOMPARE(m.counters(scope).allNum, kept + 1);
    QCOMPARE(m.counters(Scope::Overall).allNum, 3);
    QCOMPARE(m.counters(Scope::Overall).NGNum, 1);
}

void TestProductionModel::shotsAndDefects()
{
    ProductionModel m;
    m.addShots(MainWindowRules::shotList("Cam1", "V1", "2"));
    m.addShots(MainWindowRules::shotList("Cam2", "V2", "1"));
    m.appendShotCounts(3);
    m.addShots(MainWindowRules::shotList("Cam1", "V1b", "1")); // no table row yet: not counted
    QSignalSpy shots(&m, &ProductionModel::shotCounted);
    m.onShot("Cam1_1", false);
    m.onShot("Cam1_0", false);
    m.onShot("Cam1_0", true);
    QCOMPARE(m.shotCounts(), QList<int>({2, 1, 0}));
    QCOMPARE(shots.count(), 3);
    QCOMPARE(shots.last(), QVariantList({0, 2}));

    QJsonArray entries = defectEntries();
    entries.append(QJsonObject{{QStringLiteral("缺陷类别"), "2"}, {QStringLiteral("缺陷名称"), "again"}});
    m.loadDefects(entries);
    m.enterShift(at(7, 22, 0));
    QSignalSpy defects(&m, &ProductionModel::defectCounted);
    m.onDefects("OK*1*0*7");
    m.onDefects("NG**1");
    QCOMPARE(defects.count(), 2);
    QCOMPARE(defects.at(0), QVariantList({1, true, 1}));
    QCOMPARE(defects.at(1), QVariantList({0, true, 1}));
    QCOMPARE(m.defects().at(2).nightNum, 0); // a second record of class 2 is not counted
    m.countDefect(3, true); // no such record
    QCOMPARE(defects.count(), 2);
}

void TestProductionModel::hourlyTotalsFromCountersAcrossMidnight()
{
    QDateTime now = at(7, 23, 10);
    platform::setLocalNowForTest([&now] { return now; });
    ProductionModel m;
    QSignalSpy cells(&m, &ProductionModel::hourCellsChanged);
    m.startHourly();
    QCOMPARE(m.currentHour(), QStringLiteral("23"));
    QCOMPARE(cells.takeFirst().at(0).value<QVector<CellText>>().size(), 24 * 5);

    const auto row = [&cells](int r) {
        QStringList texts{"", "", "", "", ""};
        for (const QVariantList &call : qAsConst(cells))
            for (const CellText &c : call.at(0).value<QVector<CellText>>())
                if (c.row == r)
                    texts[c.column - 1] = c.text;
        return texts;
    };
    m.enterShift(now);
    m.onResult(true, 0);
    m.onResult(false, 1);
    m.hourTick();
    QCOMPARE(row(24), QStringList({"2", "1", "50%", "1", "50%"}));

    now = at(8, 0, 0);
    m.hourTick();
    m.onResult(true, 2);
    m.hourTick();
    QCOMPARE(row(24), QStringList({"2", "1", "50%", "1", "50%"}));
    QCOMPARE(row(1), QStringList({"1", "1", "100%", "0", "0%"}));
    QCOMPARE(m.hourly().products(), QList<int>({2, 1}));

    // A new set-up counts the hour from 0 and keeps the hour.
    m.resetOverall();
    m.startHourly();
    m.onResult(true, 3);
    cells.clear();
    m.hourTick();
    QCOMPARE(row(1), QStringList({"1", "1", "100%", "0", "0%"}));
    QCOMPARE(m.currentHour(), QStringLiteral("00"));
}

void TestProductionModel::clearKeepsShotsAndHour()
{
    ProductionModel m;
    m.addShots(MainWindowRules::shotList("Cam1", "V1", "2"));
    m.appendShotCounts(2);
    m.loadDefects(defectEntries());
    m.enterShift(at(7, 10, 0));
    m.onResult(true, 0);
    m.onShot("Cam1_1", false);
    m.onDefects("x*0");
    m.runTimeTick();

    m.clear();
    QCOMPARE(m.shotCounts(), QList<int>({0, 0}));
    QVERIFY(m.defects().isEmpty());
    for (Scope s : {Scope::Overall, Scope::Day, Scope::Night})
        QCOMPARE(m.counters(s).allNum, 0);
    QVERIFY(m.hourly().products().isEmpty());
    QCOMPARE(m.runTimeSeconds(), 1);
    m.loadDefects(defectEntries());
    QCOMPARE(m.defects().first().dayNum, 0);
}

QTEST_GUILESS_MAIN(TestProductionModel)
#include "tst_production_model.moc"
