// The simulated station's model: document reading, product cycles, frames and the
// module object's own bookkeeping.
#include "FrameBank.h"
#include "SimConfig.h"
#include "SimCycle.h"
#include "SimLogic.h"
#include "StationFixture.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <thread>

using namespace sim;
using namespace stationdoc;

class TstSimStation : public QObject
{
    Q_OBJECT

private slots:
    void samplesDescribeTwoStations();
    void refusals_data();
    void refusals();
    void settingsDefaultsAndTypes();
    void cycleFormats();
    void okRatioExtremes();
    void cameraWithoutShots();
    void programCommands();
    void framesPerCameraType();
    void resultListIsBounded();
    void reloadKeys();
    void newDocumentBeforeRestart();
};

void TstSimStation::samplesDescribeTwoStations()
{
    Station a, b;
    QString err;
    QVERIFY2(parseStation(sample("camera_cfg.json"), &a, &err), qPrintable(err));
    QVERIFY2(parseStation(sample("camera_cfg2.json"), &b, &err), qPrintable(err));
    QVERIFY(a.taskName != b.taskName);
    QCOMPARE(a.standardFlow, true);
    QCOMPARE(b.standardFlow, false);
    QCOMPARE(a.cameras.size(), 4);
    QCOMPARE(b.cameras.size(), 2);
    QVERIFY(a.totalShots() != b.totalShots());
    QVERIFY(a.defects.size() != b.defects.size());
    // Both offer the program switch at the module's address.
    QVERIFY(a.plcAddresses.contains(a.settings.programAddress));
    QVERIFY(b.plcAddresses.contains(b.settings.programAddress));
    // The first station shows every convertible matrix type.
    QSet<int> types;
    for (int i = 0; i < a.cameras.size(); ++i)
        types.insert(int(a.settings.imageTypes.at(i % a.settings.imageTypes.size())));
    QCOMPARE(types.size(), 4);
    QVERIFY(a.settings.unsupportedEvery > 0);
    QCOMPARE(a.cameras.at(2).station, QStringLiteral("侧面工站"));
    QCOMPARE(a.cameras.at(2).algorithm, QStringLiteral("盖板侧面检测"));
}

void TstSimStation::refusals_data()
{
    QTest::addColumn<QJsonObject>("doc");
    QTest::addColumn<QString>("fragment");
    const QJsonObject d = sample("camera_cfg.json");
    const QString cam = QStringLiteral("工站列表/0/相机模块列表/1/");
    QTest::newRow("empty") << QJsonObject() << QStringLiteral("为空");
    QTest::newRow("no stations") << withoutKey(d, "工站列表") << QStringLiteral("缺少“工站列表”");
    QTest::newRow("no cameras") << withValue(d, "工站列表/1/相机模块列表", QJsonArray())
                                << QStringLiteral("“相机模块列表”为空");
    QTest::newRow("number not text") << withValue(d, cam + "单通道拍照数", 2) << QStringLiteral("必须是文本");
    QTest::newRow("shots not a number") << withValue(d, cam + "单通道拍照数", "两")
                                        << QStringLiteral("“单通道拍照数”值“两”无效");
    QTest::newRow("duplicate key") << withValue(d, cam + "相机key", "Cam01") << QStringLiteral("“Cam01”重复");
    QTest::newRow("key with _") << withValue(d, cam + "相机key", "Cam_2") << QStringLiteral("不能包含");
    QTest::newRow("placeholder key") << withValue(d, cam + "相机key", "输入SN") << QStringLiteral("输入SN");
    QTest::newRow("trigger") << withValue(d, cam + "触发方式", "auto") << QStringLiteral("触发方式");
    QTest::newRow("no params") << withoutKey(d, cam + "相机参数") << QStringLiteral("缺少“相机参数”");
    QTest::newRow("algorithm name") << withoutKey(d, "工站列表/1/算法列表/0/算法名称")
                                    << QStringLiteral("工站“侧面工站”的第1个算法缺少“算法名称”");
    QTest::newRow("flow") << withValue(d, "是否为标准通信流程", "yes") << QStringLiteral("是否为标准通信流程");
    QTest::newRow("defect class") << withValue(d, "缺陷类别名称设置/2/缺陷类别", "1")
                                  << QStringLiteral("缺陷类别1重复");
    QTest::newRow("defect switch") << withValue(d, "缺陷类别名称设置/0/是否检测", "yes")
                                   << QStringLiteral("是否检测");
    QTest::newRow("save switch") << withValue(d, "存图设置/0/原图", "1") << QStringLiteral("保存");
    QTest::newRow("plc value") << withoutKey(d, "手动补信号/0/信号值/1/标签值") << QStringLiteral("标签值");
    QTest::newRow("setting") << withValue(d, "模拟设置/周期毫秒", "快") << QStringLiteral("周期毫秒");
    QTest::newRow("image type") << withValue(d, "模拟设置/图像类型", QJsonArray{"8UC1", "32FC1"})
                                << QStringLiteral("32FC1");
    QTest::newRow("frame memory") << withValue(withValue(d, "模拟设置/图像宽度", "16384"), "模拟设置/图像高度", "16384")
                                  << QStringLiteral("超过上限2048 MB");
    QTest::newRow("fps") << withValue(d, "模拟设置/图像帧率", "-1") << QStringLiteral("图像帧率");
}

void TstSimStation::refusals()
{
    QFETCH(QJsonObject, doc);
    QFETCH(QString, fragment);
    Station st;
    st.taskName = QStringLiteral("untouched");
    QString err;
    QVERIFY(!parseStation(doc, &st, &err));
    QVERIFY2(err.contains(fragment), qPrintable(err));
    QCOMPARE(st.taskName, QStringLiteral("untouched"));

    SimLogic logic;
    QString text;
    QVERIFY(!logic.checkCameraCfg(doc, text));
    QVERIFY(text.endsWith(err));
    QVERIFY(!logic.setCameraCfg(doc));
    QVERIFY(!logic.initTask());
}

void TstSimStation::settingsDefaultsAndTypes()
{
    Settings s;
    QString err;
    QVERIFY(parseSettings(QJsonValue(QJsonValue::Undefined), &s, &err));
    QCOMPARE(s.cycleMs, Settings().cycleMs);
    QVERIFY(parseSettings(QJsonObject{{"图像类型", "16UC1,8uc4"}, {"图像帧率", "2.5"}, {"随机种子", "7"}}, &s, &err));
    QCOMPARE(s.imageTypes, (QList<ImageType>{ImageType::Gray16, ImageType::Bgra8}));
    QCOMPARE(s.imageFps, 2.5);
    QCOMPARE(s.seed, 7u);
    QVERIFY(!parseSettings(QJsonObject{{"initTask失败", "是"}}, &s, &err));
    QVERIFY(err.contains("initTask失败"));
    QVERIFY(!parseSettings(QJsonArray(), &s, &err));
}

// The console's shot name of entry "<key>#<window>_<i>".
static QString consoleShotName(const Camera &c, int i)
{
    const QString entry = c.key + "#" + c.windowName + "_" + QString::number(i);
    return entry.split("#").at(0) + "_" + entry.split("#").at(1).split("_").at(1);
}

void TstSimStation::cycleFormats()
{
    for (const QString &file : {QStringLiteral("camera_cfg.json"), QStringLiteral("camera_cfg2.json")}) {
        Station st;
        QString err;
        QVERIFY(parseStation(sample(file), &st, &err));
        CycleGenerator gen(st, 42);
        const QDateTime t0(QDate(2026, 3, 5), QTime(8, 29, 59, 7));
        const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d#\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$");
        int ok = 0, ng = 0;
        QSet<QString> dataForms;
        for (int cycle = 0; cycle < 300; ++cycle) {
            const QList<Message> msgs = gen.nextCycle(t0.addMSecs(cycle * 1500));
            QCOMPARE(msgs.size(), st.totalShots() + 1);
            QHash<QString, int> perShot;
            bool anyBad = false;
            int lastDelay = -1;
            for (int k = 0; k < msgs.size(); ++k) {
                const Message &m = msgs.at(k);
                QCOMPARE(m.snInfo, msgs.first().snInfo);
                QVERIFY(m.delayMs >= lastDelay && m.delayMs < st.settings.cycleMs);
                lastDelay = m.delayMs;
                QVERIFY(!m.key.contains("程序号") && !m.key.contains("sendTcpStatus")
                        && !m.key.contains("cameraDisconnect"));
                if (k == msgs.size() - 1)
                    break;
                QVERIFY(!m.data.contains('#'));
                perShot[m.cameraName] += 1;
                if (m.data == "1" || m.data == "0") {
                    dataForms.insert(QString(m.data));
                    anyBad |= m.data == "0";
                    continue;
                }
                const QList<QByteArray> f = m.data.split('*');
                QCOMPARE(f.size(), st.maxDefectClass() + 1);
                bool bad = false;
                for (int i = 0; i < f.size(); ++i) {
                    QVERIFY(f[i] == "0" || f[i] == "1");
                    if (i > 0 && f[i] == "0") {
                        bad = true;
                        // Only inspected classes are ever flagged.
                        bool inspected = false;
                        for (const Defect &d : st.defects)
                            inspected |= d.classNo == i && d.inspect;
                        QVERIFY(inspected);
                    }
                }
                QCOMPARE(f[0] == "0", bad);
                dataForms.insert(bad ? "flags-bad" : "flags-good");
                anyBad |= bad;
            }
            QCOMPARE(msgs.first().snInfo, t0.addMSecs(cycle * 1500).toString("yyyy-MM-dd#hh:mm:ss.zzz"));
            QVERIFY(stamp.match(msgs.first().snInfo).hasMatch());
            for (const Camera &c : st.cameras)
                for (int i = 0; i < c.shots; ++i)
                    QCOMPARE(perShot.value(consoleShotName(c, i)), 1);
            const QByteArray result = msgs.last().data;
            QCOMPARE(result.count('#'), 1);
            QCOMPARE(msgs.last().key, st.algorithms.first());
            if (result.contains("9#")) {
                ++ok;
                QVERIFY(!anyBad);
                QVERIFY(result.startsWith("9#"));
            } else {
                ++ng;
                QVERIFY(anyBad);
            }
            QVERIFY(result.endsWith("#" + QByteArray::number(cycle + 1)));
        }
        // Near the configured OK share, and every data form occurs.
        QVERIFY2(qAbs(ok * 100 / 300 - st.settings.okPercent) <= 10, qPrintable(QString::number(ok)));
        QVERIFY(ng > 0);
        QCOMPARE(dataForms.size(), 4);
    }
}

void TstSimStation::okRatioExtremes()
{
    Station st;
    QString err;
    QVERIFY(parseStation(withSimulator(sample("camera_cfg.json"), {{"良品率", "100"}}), &st, &err));
    CycleGenerator all(st, 1);
    for (int i = 0; i < 50; ++i)
        QVERIFY(all.nextCycle(QDateTime::currentDateTime()).last().data.startsWith("9#"));
    QVERIFY(parseStation(withSimulator(sample("camera_cfg.json"), {{"良品率", "0"}}), &st, &err));
    CycleGenerator none(st, 1);
    for (int i = 0; i < 50; ++i)
        QVERIFY(!none.nextCycle(QDateTime::currentDateTime()).last().data.contains("9#"));
    // A live update changes the ratio but keeps the cameras and the serial.
    Station more = st;
    more.settings.okPercent = 100;
    more.cameras.clear();
    none.update(more);
    const QList<Message> msgs = none.nextCycle(QDateTime::currentDateTime());
    QCOMPARE(msgs.size(), st.totalShots() + 1);
    QCOMPARE(msgs.last().data, QByteArray("9#51"));
}

void TstSimStation::cameraWithoutShots()
{
    Station st;
    QString err;
    const QJsonObject doc = withValue(withSimulator(sample("camera_cfg2.json"), {{"图像帧率", "500"}, {"图像宽度", "32"},
                                                                         {"图像高度", "32"}}),
                                      "工站列表/0/相机模块列表/1/单通道拍照数", "0");
    QVERIFY2(parseStation(doc, &st, &err), qPrintable(err));
    CycleGenerator gen(st, 3);
    const QList<Message> msgs = gen.nextCycle(QDateTime::currentDateTime());
    QCOMPARE(msgs.size(), 5);
    for (int i = 0; i < 4; ++i)
        QVERIFY(msgs.at(i).cameraName.startsWith("TabL_"));
    // Its images still come, under shot 0.
    SimLogic logic;
    QVERIFY(logic.setCameraCfg(doc));
    QVERIFY(logic.initTask());
    QVERIFY(logic.startTask());
    QStringList names;
    QTRY_VERIFY([&] {
        QList<ResultEntry> got;
        logic.fetchResults(&got);
        for (const ResultEntry &e : got)
            names.append(e.name);
        return names.filter(QRegularExpression("^TabR_0_\\d+$")).size() >= 3;
    }());
    QVERIFY(logic.stopTask());
    QVERIFY(names.filter(QRegularExpression("^TabR_[1-9]")).isEmpty());
}

void TstSimStation::programCommands()
{
    int n = -1;
    QVERIFY(parseProgramCommand("D100_2", "D100", &n));
    QCOMPARE(n, 2);
    QVERIFY(parseProgramCommand("D_100_12", "D_100", &n));
    QCOMPARE(n, 12);
    for (const char *bad : {"D100_x", "D1000_2", "D100_", "_2", "D100_-1", "D100", "D200_2", ""})
        QVERIFY2(!parseProgramCommand(bad, "D100", &n), bad);
    const Message m = programMessage(2, QDateTime(QDate(2026, 1, 2), QTime(9, 5, 3, 7)));
    QVERIFY(m.key.contains("程序号"));
    QCOMPARE(m.data, QByteArray("2"));
    QCOMPARE(m.snInfo, QStringLiteral("2026-01-02#09:05:03.007"));
}

void TstSimStation::framesPerCameraType()
{
    Station st;
    QString err;
    QVERIFY(parseStation(withSimulator(sample("camera_cfg.json"), {{"图像宽度", "320"}, {"图像高度", "200"}}), &st, &err));
    FrameBank bank;
    bank.build(st.cameras, st.settings);
    QCOMPARE(bank.cameraCount(), 4);
    const int expected[] = {CV_8UC1, CV_16UC1, CV_8UC3, CV_8UC4};
    for (int c = 0; c < 4; ++c) {
        const cv::Mat f0 = bank.frame(c, 0);
        QCOMPARE(f0.type(), expected[c]);
        QCOMPARE(f0.cols, 320);
        QCOMPARE(f0.rows, 200);
        QVERIFY(f0.isContinuous());
        // Frames cycle through shared buffers.
        QCOMPARE(bank.frame(c, quint64(st.settings.prerenderedFrames)).data, f0.data);
        QVERIFY(bank.frame(c, 1).data != f0.data);
        double lo = 0, hi = 0;
        cv::minMaxLoc(f0.reshape(1), &lo, &hi);
        QVERIFY(hi > lo); // a picture, not a flat fill
    }
    // Colour frames mark defects in red; the alpha channel is opaque.
    const cv::Mat bgra = bank.frame(3, 0);
    std::vector<cv::Mat> ch;
    cv::split(bgra, ch);
    double amin = 0;
    cv::minMaxLoc(ch[3], &amin);
    QCOMPARE(amin, 255.0);
    QVERIFY(cv::countNonZero(ch[2] - ch[1]) > 0);
    QCOMPARE(bank.unsupported().type(), CV_32FC1);
    QCOMPARE(bank.frame(9, 0).empty(), true);
    // The smallest size renders too.
    st.settings.imageWidth = st.settings.imageHeight = 16;
    bank.build(st.cameras, st.settings);
    QCOMPARE(bank.frame(2, 0).size(), cv::Size(16, 16));
    QVERIFY(bank.builtFor(st.cameras, st.settings));
    st.settings.imageTypes = {ImageType::Gray8};
    QVERIFY(!bank.builtFor(st.cameras, st.settings));
    bank.clear();
    QVERIFY(bank.isEmpty());
    QVERIFY(!bank.builtFor(st.cameras, st.settings));
}

void TstSimStation::resultListIsBounded()
{
    SimLogic logic;
    QVERIFY(logic.setCameraCfg(withSimulator(sample("camera_cfg.json"), {{"图像帧率", "400"}, {"结果队列上限", "5"},
                                                                  {"图像宽度", "64"}, {"图像高度", "48"},
                                                                  {"不支持类型间隔", "0"}})));
    QVERIFY(logic.initTask());
    QVERIFY(logic.startTask());
    QTRY_VERIFY_WITH_TIMEOUT(logic.imagesProduced() > 40, 10000);
    QVERIFY(logic.stopTask());
    QVERIFY(!logic.isRunning());
    const quint64 produced = logic.imagesProduced();
    QCOMPARE(logic.imagesDropped(), produced - 5);
    QList<ResultEntry> got;
    QVERIFY(logic.fetchResults(&got));
    QCOMPARE(got.size(), 5);
    // The newest are kept: serials near the end of each camera's count.
    for (const ResultEntry &e : got)
        QVERIFY(e.name.section('_', 2).toULongLong() + 5 >= produced / 4 - 2);
    QVERIFY(!logic.fetchResults(&got));
    QCOMPARE(got.size(), 5);
    QVERIFY(!logic.fetchResults(nullptr));
}

void TstSimStation::reloadKeys()
{
    SimLogic logic;
    QVERIFY(!logic.reLoadJsonSetParameter({"Cam01"})); // nothing configured yet
    QVERIFY(logic.setCameraCfg(sample("camera_cfg.json")));
    QVERIFY(logic.reLoadJsonSetParameter({"Cam01", "盖板侧面检测"}));
    QVERIFY(!logic.reLoadJsonSetParameter({"Cam01", "不存在"}));
    QVERIFY(!logic.reLoadJsonSetParameter({}));
}

// Stop, apply a document with other images, start again without initTask.
void TstSimStation::newDocumentBeforeRestart()
{
    SimLogic logic;
    const QJsonObject small{{"图像帧率", "300"}, {"图像宽度", "40"}, {"图像高度", "30"}, {"不支持类型间隔", "0"}};
    QVERIFY(logic.setCameraCfg(withSimulator(sample("camera_cfg2.json"), small)));
    QVERIFY(logic.initTask());
    QVERIFY(logic.startTask());
    QVERIFY(logic.stopTask());
    QJsonObject bigger = small;
    bigger.insert("图像宽度", "48");
    QVERIFY(logic.setCameraCfg(withSimulator(sample("camera_cfg2.json"), bigger)));
    QVERIFY(logic.startTask());
    QList<ResultEntry> got;
    QTRY_VERIFY(logic.fetchResults(&got) || !got.isEmpty());
    QVERIFY(logic.unloadTask());
    for (const ResultEntry &e : got)
        QCOMPARE(e.image.cols, 48);
    QVERIFY(logic.frames().isEmpty());
}

QTEST_GUILESS_MAIN(TstSimStation)
#include "tst_sim_station.moc"
