// The simulated module library as the console sees it: loaded through QLibrary from
// the program folder, driven through base_Logic, its signals connected by signature text.
#include "Platform.h"
#include "base_Logic.h"
#include "StationFixture.h"

#include <QLibrary>
#include <mutex>
#include <QRegularExpression>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace stationdoc;

namespace {

struct Msg
{
    QString key, cameraName, snInfo;
    QByteArray data;
};

// Records every signal of a module, from whatever thread it comes.
class Recorder : public QObject
{
    Q_OBJECT

public:
    explicit Recorder(base_Logic *logic, Qt::ConnectionType type = Qt::DirectConnection)
    {
        connect(logic, SIGNAL(Logic_writeData(QString, QString, QString, QByteArray)), this,
                SLOT(onWrite(QString, QString, QString, QByteArray)), type);
        connect(logic, SIGNAL(Logic_sendTcpStatus(bool)), this, SLOT(onTcp(bool)), type);
        connect(logic, SIGNAL(Logic_cameraDisconnect(QString, bool)), this, SLOT(onCamera(QString, bool)), type);
        connect(logic, SIGNAL(Logic_CommunicationDisconnect(QString, bool)), this,
                SLOT(onCommunication(QString, bool)), type);
    }

    // Detached copies: a shared list would be grown in place by the module's thread.
    QList<Msg> messages()
    {
        std::lock_guard<std::mutex> lock(mutex);
        QList<Msg> copy = msgs;
        copy.detach();
        return copy;
    }
    QStringList events()
    {
        std::lock_guard<std::mutex> lock(mutex);
        QStringList copy = links;
        copy.detach();
        return copy;
    }
    int count() const { return total.load(); }
    int results()
    {
        int n = 0;
        for (const Msg &m : messages())
            n += m.data.contains('#') ? 1 : 0;
        return n;
    }

public slots:
    void onWrite(QString key, QString cameraName, QString snInfo, QByteArray data)
    {
        std::lock_guard<std::mutex> lock(mutex);
        msgs.append({key, cameraName, snInfo, data});
        ++total;
    }
    void onTcp(bool up)
    {
        std::lock_guard<std::mutex> lock(mutex);
        links.append(QStringLiteral("PLC:%1").arg(up));
        ++total;
    }
    void onCommunication(QString name, bool up)
    {
        std::lock_guard<std::mutex> lock(mutex);
        links.append(QStringLiteral("COMM %1:%2").arg(name).arg(up));
        ++total;
    }
    void onCamera(QString name, bool up)
    {
        std::lock_guard<std::mutex> lock(mutex);
        links.append(QStringLiteral("%1:%2").arg(name).arg(up));
        ++total;
    }

private:
    std::mutex mutex;
    QList<Msg> msgs;
    QStringList links;
    std::atomic<int> total{0};
};

// Keeps the messages of products completed (from a first per-shot message to the result).
QList<QList<Msg>> completeCycles(const QList<Msg> &all)
{
    QList<QList<Msg>> cycles;
    QList<Msg> current;
    bool started = false;
    for (const Msg &m : all) {
        if (m.key.contains("程序号"))
            continue;
        current.append(m);
        if (m.data.contains('#')) {
            if (started)
                cycles.append(current);
            current.clear();
            started = true; // the first cycle may have begun before recording
        }
    }
    return cycles;
}

} // namespace

class TstSimModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void createAndDestroy();
    void samplesPassTheCheck();
    void refusalWithReason();
    void failureInjection();
    void operationsOutOfOrder();
    void cycleSequence();
    void linkLossAndRecovery();
    void imagesOfEveryType();
    void fetchWhileTaskOpsRun();
    void programNumberOnCommand();
    void destroyJoinsTheThread();

private:
    base_Logic *make() { return create(); }

    base_Logic_CreateFunc create = nullptr;
    base_Logic_DestroyFunc destroy = nullptr;
};

void TstSimModule::initTestCase()
{
    const QString path = platform::libraryPath("Bx_LogicDll_module.dll");
    QVERIFY2(path.startsWith(QCoreApplication::applicationDirPath()), qPrintable(path));
    QLibrary lib(path);
    QVERIFY2(lib.load(), qPrintable(lib.errorString()));
    create = reinterpret_cast<base_Logic_CreateFunc>(lib.resolve("create"));
    destroy = reinterpret_cast<base_Logic_DestroyFunc>(lib.resolve("destory"));
    QVERIFY(create && destroy);
}

void TstSimModule::createAndDestroy()
{
    base_Logic *a = make();
    base_Logic *b = make();
    QVERIFY(a && b && a != b);
    QVERIFY(a->metaObject()->inherits(&base_Logic::staticMetaObject));
    QVERIFY(a->parent() == nullptr);
    destroy(a);
    destroy(b);
    // Destroying a configured, never-started object is fine too.
    base_Logic *c = make();
    QVERIFY(c->setCameraCfg(sample("camera_cfg.json")));
    QVERIFY(c->initTask());
    destroy(c);
}

void TstSimModule::samplesPassTheCheck()
{
    for (const char *file : {"camera_cfg.json", "camera_cfg2.json", "camera_cfg_bench.json"}) {
        base_Logic *m = make();
        QString err;
        QVERIFY2(m->checkCameraCfg(sample(file), err), qPrintable(file + (": " + err)));
        QVERIFY(err.isEmpty());
        QVERIFY(m->setCameraCfg(sample(file)));
        QVERIFY(m->initTask());
        QVERIFY(m->unloadTask());
        destroy(m);
    }
}

void TstSimModule::refusalWithReason()
{
    base_Logic *m = make();
    QString err;
    QVERIFY(!m->checkCameraCfg(QJsonObject(), err));
    QVERIFY(err.contains("配置文档为空"));
    err.clear();
    const QJsonObject bad = withValue(sample("camera_cfg2.json"), "工站列表/0/相机模块列表/1/单通道拍照数", "");
    QVERIFY(!m->checkCameraCfg(bad, err));
    QCOMPARE(err, QStringLiteral("相机配置检查未通过：工站“极耳工站”的第2个相机的“单通道拍照数”为空"));
    // Refusal set in the document: the document's own text.
    err.clear();
    QVERIFY(!m->checkCameraCfg(withSimulator(sample("camera_cfg.json"), {{"检查拒绝原因", "相机Cam03序列号不符"}}), err));
    QCOMPARE(err, QStringLiteral("相机Cam03序列号不符"));
    destroy(m);
}

void TstSimModule::failureInjection()
{
    base_Logic *m = make();
    QVERIFY(m->setCameraCfg(withSimulator(sample("camera_cfg.json"), {{"initTask失败", "true"}})));
    QVERIFY(!m->initTask());
    QVERIFY(!m->startTask());

    QVERIFY(m->setCameraCfg(withSimulator(sample("camera_cfg.json"), {{"startTask失败", "true"}})));
    QVERIFY(m->initTask());
    QVERIFY(!m->startTask());
    QList<ResultEntry> none;
    QVERIFY(!m->fetchResults(&none));

    QVERIFY(m->setCameraCfg(withSimulator(sample("camera_cfg.json"), {{"stopTask失败", "true"}, {"周期毫秒", "20"}})));
    QVERIFY(m->initTask());
    Recorder rec(m); // connected before the module's thread starts
    QVERIFY(m->startTask());
    QVERIFY(!m->stopTask());
    QTRY_VERIFY(rec.count() > 0); // still running after the refused stop
    QVERIFY(m->unloadTask());
    const int after = rec.count();
    QVERIFY(!m->sendPLCCommand("D100_2"));
    QTest::qWait(60);
    QCOMPARE(rec.count(), after);
    destroy(m);
}

void TstSimModule::operationsOutOfOrder()
{
    base_Logic *m = make();
    QVERIFY(!m->initTask());
    QVERIFY(!m->startTask());
    QVERIFY(m->stopTask());
    QVERIFY(m->unloadTask());
    QVERIFY(!m->sendPLCCommand("D100_2"));
    QList<ResultEntry> list{ResultEntry{cv::Mat(), "keep"}};
    QVERIFY(!m->fetchResults(&list));
    QCOMPARE(list.size(), 1);
    QVERIFY(m->setCameraCfg(sample("camera_cfg.json")));
    QVERIFY(!m->startTask()); // not initialised
    QVERIFY(m->initTask());
    QVERIFY(m->unloadTask());
    QVERIFY(!m->startTask()); // unloaded
    QVERIFY(m->spareTask());
    destroy(m);
}

void TstSimModule::cycleSequence()
{
    const QJsonObject doc = withSimulator(sample("camera_cfg.json"), {{"周期毫秒", "30"}, {"图像帧率", "0"}});
    base_Logic *m = make();
    Recorder rec(m);
    QVERIFY(m->setCameraCfg(doc));
    QVERIFY(m->initTask());
    QVERIFY(m->startTask());
    QTRY_VERIFY_WITH_TIMEOUT(rec.results() >= 4, 10000);
    QVERIFY(m->stopTask());
    const int stopped = rec.count();

    // Links come up first: the PLC, then every camera by its key.
    const QStringList links = rec.events();
    QCOMPARE(links.mid(0, 5), (QStringList{"PLC:1", "Cam01:1", "Cam02:1", "Cam03:1", "Cam04:1"}));

    const QHash<QString, int> shots{{"Cam01", 2}, {"Cam02", 1}, {"Cam03", 3}, {"Cam04", 2}};
    const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d#\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$");
    const QList<QList<Msg>> cycles = completeCycles(rec.messages());
    QVERIFY(cycles.size() >= 3);
    for (const QList<Msg> &cycle : cycles) {
        QCOMPARE(cycle.size(), 9);
        QHash<QString, int> seen;
        for (int i = 0; i < 8; ++i) {
            const Msg &s = cycle.at(i);
            QVERIFY(!s.data.contains('#'));
            const QString key = s.cameraName.section('_', 0, 0);
            const int shot = s.cameraName.section('_', 1).toInt();
            QVERIFY2(shot >= 0 && shot < shots.value(key, 0), qPrintable(s.cameraName));
            seen[s.cameraName] += 1;
            QCOMPARE(s.key, key == "Cam01" || key == "Cam02" ? QStringLiteral("盖板正反面检测")
                                                             : QStringLiteral("盖板侧面检测"));
            QVERIFY(s.data == "1" || s.data == "0" || s.data.split('*').size() == 6);
            QCOMPARE(s.snInfo, cycle.last().snInfo);
        }
        QCOMPARE(seen.size(), 8);
        QVERIFY(stamp.match(cycle.last().snInfo).hasMatch());
        const QByteArray r = cycle.last().data;
        QVERIFY(r.contains("9#") ? r.startsWith("9#") : !r.contains("9#"));
    }
    QTest::qWait(50);
    QCOMPARE(rec.count(), stopped); // nothing after stopTask returned
    destroy(m);
}

void TstSimModule::linkLossAndRecovery()
{
    const QJsonObject doc = withSimulator(sample("camera_cfg2.json"), {{"周期毫秒", "500"}, {"图像帧率", "0"},
                                                               {"PLC掉线间隔秒", "1"}, {"PLC掉线时长秒", "1"},
                                                               {"相机掉线间隔秒", "1"}, {"相机掉线时长秒", "1"}});
    base_Logic *m = make();
    Recorder rec(m);
    QVERIFY(m->setCameraCfg(doc));
    QVERIFY(m->initTask());
    QVERIFY(m->startTask());
    QTRY_VERIFY_WITH_TIMEOUT(rec.events().count("PLC:1") >= 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(rec.events().filter(QRegularExpression("^Tab[LR]:1$")).size() >= 3, 10000);
    QVERIFY(m->stopTask());
    const QStringList ev = rec.events();
    const QStringList plc = ev.filter(QRegularExpression("^PLC:"));
    for (int i = 0; i < plc.size(); ++i)
        QCOMPARE(plc.at(i), i % 2 == 0 ? QStringLiteral("PLC:1") : QStringLiteral("PLC:0"));
    // Every change after the first report also comes as a communication event, right after it.
    for (int i = 1; i < ev.size(); ++i)
        if (ev.at(i).startsWith("COMM"))
            QCOMPARE(ev.at(i), "COMM " + ev.at(i - 1));
    QCOMPARE(ev.filter("COMM").size(), plc.size() - 1);
    // Each lost camera comes back before another is lost.
    QString lost;
    for (const QString &e : ev.mid(3).filter(QRegularExpression("^Tab"))) {
        const QString name = e.section(':', 0, 0);
        if (e.endsWith(":0")) {
            QVERIFY(lost.isEmpty());
            lost = name;
        } else {
            QCOMPARE(name, lost);
            lost.clear();
        }
    }
    destroy(m);
}

void TstSimModule::imagesOfEveryType()
{
    const QJsonObject doc = withSimulator(sample("camera_cfg.json"), {{"周期毫秒", "1000"}, {"图像帧率", "200"},
                                                              {"图像宽度", "160"}, {"图像高度", "120"},
                                                              {"不支持类型间隔", "3"}, {"结果队列上限", "1000"}});
    base_Logic *m = make();
    QVERIFY(m->setCameraCfg(doc));
    QVERIFY(m->initTask());
    QVERIFY(m->startTask());
    const QStringList keys{"Cam01", "Cam02", "Cam03", "Cam04"};
    const int types[] = {CV_8UC1, CV_16UC1, CV_8UC3, CV_8UC4};
    QHash<QString, QList<ResultEntry>> byKey;
    auto enough = [&] {
        QList<ResultEntry> got;
        if (m->fetchResults(&got))
            for (const ResultEntry &e : got)
                byKey[e.name.section('_', 0, 0)].append(e);
        for (const QString &k : keys)
            if (byKey.value(k).size() < 12)
                return false;
        return true;
    };
    QTRY_VERIFY_WITH_TIMEOUT(enough(), 10000);
    QVERIFY(m->stopTask());
    QStringList seenKeys = byKey.keys();
    seenKeys.sort();
    QCOMPARE(seenKeys, keys);
    for (int c = 0; c < 4; ++c) {
        const QList<ResultEntry> &list = byKey[keys[c]];
        const uchar *firstData = nullptr;
        int odd = 0, shared = 0;
        for (const ResultEntry &e : list) {
            QVERIFY2(QRegularExpression("^Cam0\\d_\\d_\\d+$").match(e.name).hasMatch(), qPrintable(e.name));
            if (e.image.type() == CV_32FC1) {
                ++odd;
                continue;
            }
            QCOMPARE(e.image.type(), types[c]);
            QCOMPARE(e.image.cols, 160);
            QCOMPARE(e.image.rows, 120);
            if (!firstData)
                firstData = e.image.data;
            else if (e.image.data == firstData)
                ++shared;
        }
        QVERIFY(odd >= 3);
        QVERIFY(shared >= 1); // pre-rendered buffers come round again
    }
    destroy(m);
}

void TstSimModule::fetchWhileTaskOpsRun()
{
    const QJsonObject doc = withSimulator(sample("camera_cfg.json"), {{"周期毫秒", "15"}, {"图像帧率", "300"},
                                                              {"图像宽度", "64"}, {"图像高度", "48"}});
    base_Logic *m = make();
    QVERIFY(m->setCameraCfg(doc));
    std::atomic<bool> stop{false};
    std::atomic<int> fetched{0};
    std::thread pool([&] {
        while (!stop) {
            QList<ResultEntry> got;
            if (m->fetchResults(&got))
                fetched += got.size();
            std::this_thread::yield();
        }
    });
    Recorder rec(m);
    for (int round = 0; round < 15; ++round) {
        QVERIFY(m->initTask());
        QVERIFY(m->startTask());
        QString err;
        QVERIFY(m->checkCameraCfg(doc, err));
        QVERIFY(m->setCameraCfg(doc));
        QVERIFY(m->reLoadJsonSetParameter({"Cam02"}));
        m->sendPLCCommand("D200_1");
        const int seen = fetched;
        QTRY_VERIFY(fetched > seen);
        QVERIFY(round % 2 ? m->stopTask() : m->unloadTask());
    }
    stop = true;
    pool.join();
    QVERIFY(rec.count() > 0);
    destroy(m);
}

void TstSimModule::programNumberOnCommand()
{
    const QJsonObject doc = withSimulator(sample("camera_cfg2.json"), {{"周期毫秒", "5000"}, {"图像帧率", "0"}});
    base_Logic *m = make();
    Recorder rec(m, Qt::QueuedConnection);
    QVERIFY(m->setCameraCfg(doc));
    QVERIFY(m->initTask());
    QVERIFY(m->startTask());
    QTRY_VERIFY(rec.events().size() >= 3); // links up
    QVERIFY(m->sendPLCCommand("D200_1"));  // another signal: accepted, no message
    QVERIFY(!m->sendPLCCommand("D999_1"));  // no such address
    QVERIFY(m->sendPLCCommand("D100_2"));
    auto programs = [&] {
        QList<Msg> out;
        for (const Msg &msg : rec.messages())
            if (msg.key.contains("程序号"))
                out.append(msg);
        return out;
    };
    QTRY_COMPARE(programs().size(), 1);
    QCOMPARE(programs().first().data, QByteArray("2"));
    QVERIFY(m->sendPLCCommand("D100_1"));
    QTRY_COMPARE(programs().size(), 2);
    QCOMPARE(programs().last().data, QByteArray("1"));
    QVERIFY(m->stopTask());
    QVERIFY(!m->sendPLCCommand("D100_2"));
    QTest::qWait(30);
    QCOMPARE(programs().size(), 2);
    destroy(m);
}

void TstSimModule::destroyJoinsTheThread()
{
    for (int round = 0; round < 5; ++round) {
        base_Logic *m = make();
        auto *rec = new Recorder(m);
        QVERIFY(m->setCameraCfg(withSimulator(sample("camera_cfg.json"), {{"周期毫秒", "10"}, {"图像帧率", "100"},
                                                                    {"图像宽度", "64"}, {"图像高度", "48"}})));
        QVERIFY(m->initTask());
        QVERIFY(m->startTask());
        QTRY_VERIFY(rec->count() > 10);
        destroy(m); // running: the destructor stops and joins
        const int after = rec->count();
        QTest::qWait(30);
        QCOMPARE(rec->count(), after);
        delete rec;
    }
}

QTEST_GUILESS_MAIN(TstSimModule)
#include "tst_sim_module.moc"
