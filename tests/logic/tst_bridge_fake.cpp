// The bridge over a recording stand-in module placed in the test's program folder.
#include "FakeModule.h"
#include "LogCapture.h"
#include "Logic_transfer.h"
#include "Platform.h"

#include <QLibrary>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <thread>

class TestBridgeFake : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void forwardsEveryOperation();
    void forwardsFailures();
    void relaysLinkAndCameraStates();
    void relaysModuleMessagesUnchanged();
    void relaysMessagesFromModuleThread();
    void unloadTask_dropsOnlyOwnConnections();
    void worker_deliversImagesInModuleOrder();
    void worker_survivesExceptions_data();
    void worker_survivesExceptions();
    void destructor_waitsForWorkerBeforeDestroy();
    void twoBridges_deletingOneKeepsOtherWorking();

private:
    FakeState *state = nullptr;
    static QList<ImageEntry> collect(Logic_transfer &bridge, int count);
};

void TestBridgeFake::initTestCase()
{
    QLibrary lib(platform::libraryPath(QStringLiteral("Bx_LogicDll_module.dll")));
    auto f = reinterpret_cast<FakeStateFunc>(lib.resolve("fake_state"));
    QVERIFY2(f, qPrintable(lib.errorString()));
    state = f();
}

void TestBridgeFake::init()
{
    std::lock_guard<std::mutex> lock(state->mutex);
    state->calls.clear();
    state->events.clear();
    state->result = true;
    state->checkError.clear();
    state->pending.clear();
    state->throwOnFetch = 0;
    state->fetchDelayMs = 0;
}

// Collects until count entries have arrived (or five seconds passed).
QList<ImageEntry> TestBridgeFake::collect(Logic_transfer &bridge, int count)
{
    QList<ImageEntry> images;
    (void)QTest::qWaitFor([&] {
        bridge.takeImages(&images);
        return images.size() >= count;
    }, 5000);
    return images;
}

void TestBridgeFake::forwardsEveryOperation()
{
    const int createdBefore = state->createCalls;
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    QCOMPARE(state->createCalls, createdBefore + 1);
    QVERIFY(state->lastCreated);

    const QJsonObject doc{{QStringLiteral("任务名"), QStringLiteral("站A")}};
    QString error;
    QVERIFY(bridge->checkCameraCfg(doc, error));
    QVERIFY(bridge->setCameraCfg(doc));
    QVERIFY(bridge->initTask());
    QVERIFY(bridge->startTask());
    QVERIFY(bridge->sendPLCCommand(QStringLiteral("D100_1")));
    QVERIFY(bridge->reLoadJsonSetParameter({QStringLiteral("cam1"), QStringLiteral("alg1")}));
    QVERIFY(bridge->stopTask());
    QVERIFY(bridge->spareTask());
    QVERIFY(bridge->unloadTask());

    std::lock_guard<std::mutex> lock(state->mutex);
    QCOMPARE(state->calls,
             QStringList({QStringLiteral("checkCameraCfg:站A"), QStringLiteral("setCameraCfg:站A"),
                          QStringLiteral("initTask"), QStringLiteral("startTask"),
                          QStringLiteral("sendPLCCommand:D100_1"), QStringLiteral("reLoadJsonSetParameter:cam1,alg1"),
                          QStringLiteral("stopTask"), QStringLiteral("spareTask"), QStringLiteral("unloadTask")}));
}

void TestBridgeFake::forwardsFailures()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->result = false;
        state->checkError = QStringLiteral("相机key重复");
    }
    QString error = QStringLiteral("old");
    QCOMPARE(bridge->checkCameraCfg(QJsonObject(), error), false);
    QCOMPARE(error, QStringLiteral("相机key重复"));
    QCOMPARE(bridge->setCameraCfg(QJsonObject()), false);
    QCOMPARE(bridge->initTask(), false);
    QCOMPARE(bridge->startTask(), false);
    QCOMPARE(bridge->stopTask(), false);
    QCOMPARE(bridge->sendPLCCommand(QStringLiteral("x_1")), false);
    QCOMPARE(bridge->reLoadJsonSetParameter({}), false);
    QCOMPARE(bridge->unloadTask(), false);
}

void TestBridgeFake::relaysLinkAndCameraStates()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    base_Logic *module = state->lastCreated;
    QSignalSpy spy(bridge.get(), &Logic_transfer::LogicTransfer_writeData);

    emit module->Logic_sendTcpStatus(true);
    emit module->Logic_sendTcpStatus(false);
    emit module->Logic_cameraDisconnect(QStringLiteral("相机1"), true);
    emit module->Logic_cameraDisconnect(QStringLiteral("相机2"), false);
    emit module->Logic_CommunicationDisconnect(QStringLiteral("plc"), false); // ignored

    QCOMPARE(spy.count(), 4);
    const QByteArray tcp("TCP");
    const QList<QVariantList> expected{
        {QStringLiteral("sendTcpStatus_true"), QStringLiteral("TCP"), QStringLiteral("TCP"), tcp},
        {QStringLiteral("sendTcpStatus_false"), QStringLiteral("TCP"), QStringLiteral("TCP"), tcp},
        {QStringLiteral("cameraDisconnect_true"), QStringLiteral("相机1"), QStringLiteral("TCP"), tcp},
        {QStringLiteral("cameraDisconnect_false"), QStringLiteral("相机2"), QStringLiteral("TCP"), tcp},
    };
    for (int i = 0; i < 4; ++i)
        QCOMPARE(spy.at(i), expected.at(i));
}

void TestBridgeFake::relaysModuleMessagesUnchanged()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    QSignalSpy spy(bridge.get(), &Logic_transfer::LogicTransfer_writeData);
    const QByteArray raw("1*0*\x00\xff\xfe#9", 9); // not text: must arrive byte for byte
    emit state->lastCreated->Logic_writeData(QStringLiteral("cam1#shot"), QStringLiteral("相机1"),
                                             QStringLiteral("SN001#2024-03-05#14:07:09.042"), raw);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("cam1#shot"));
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("相机1"));
    QCOMPARE(spy.at(0).at(2).toString(), QStringLiteral("SN001#2024-03-05#14:07:09.042"));
    QCOMPARE(spy.at(0).at(3).toByteArray(), raw);
}

void TestBridgeFake::relaysMessagesFromModuleThread()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    base_Logic *module = state->lastCreated;
    QThread *guiThread = QThread::currentThread();
    QThread *seenOn = nullptr;
    connect(bridge.get(), &Logic_transfer::LogicTransfer_writeData, this,
            [&](QString, QString, QString, QByteArray) { seenOn = QThread::currentThread(); });
    std::thread t([module] { emit module->Logic_sendTcpStatus(true); });
    t.join();
    QTRY_VERIFY(seenOn != nullptr);
    QCOMPARE(seenOn, guiThread);
}

void TestBridgeFake::unloadTask_dropsOnlyOwnConnections()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    base_Logic *module = state->lastCreated;
    QSignalSpy relayed(bridge.get(), &Logic_transfer::LogicTransfer_writeData);
    QSignalSpy other(module, &base_Logic::Logic_writeData); // someone else listening to the module

    // Emitted by the module's own thread just before the unload, still waiting for delivery.
    std::thread t([module] { emit module->Logic_sendTcpStatus(false); });
    t.join();
    QVERIFY(bridge->unloadTask());
    emit module->Logic_writeData(QStringLiteral("k"), QStringLiteral("c"), QStringLiteral("s"), QByteArray("d"));
    emit module->Logic_sendTcpStatus(true);
    emit module->Logic_cameraDisconnect(QStringLiteral("cam"), false);
    QCoreApplication::processEvents();
    QCOMPARE(relayed.count(), 0);
    QCOMPARE(other.count(), 1);
}

void TestBridgeFake::worker_deliversImagesInModuleOrder()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->pending = {ResultEntry{cv::Mat(4, 4, CV_8UC1, cv::Scalar(1)), QStringLiteral("cam1_a")},
                          ResultEntry{cv::Mat(4, 4, CV_32FC1, cv::Scalar(1)), QStringLiteral("cam2_b")},
                          ResultEntry{cv::Mat(4, 4, CV_8UC3, cv::Scalar(1, 2, 3)), QStringLiteral("cam3_c")}};
    }
    const QList<ImageEntry> images = collect(*bridge, 3);
    QCOMPARE(images.size(), 3);
    QCOMPARE(images[0].name, QStringLiteral("cam1_a"));
    QCOMPARE(images[1].name, QStringLiteral("cam2_b"));
    QCOMPARE(images[2].name, QStringLiteral("cam3_c"));
    QVERIFY(!images[0].image.isNull() && !images[2].image.isNull());
    QVERIFY(images[1].image.isNull());
    QCOMPARE(images[2].image.pixel(0, 0), qRgb(3, 2, 1));
}

void TestBridgeFake::worker_survivesExceptions_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("std::exception") << 1 << QStringLiteral("camera buffer lost");
    QTest::newRow("other") << 2 << QStringLiteral("unknown exception");
    QTest::newRow("QString") << 3 << QStringLiteral("text failure");
}

void TestBridgeFake::worker_survivesExceptions()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    LogCapture log;
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->throwOnFetch = kind;
    }
    QTRY_COMPARE_WITH_TIMEOUT(log.count(QtCriticalMsg, {QStringLiteral("Logic_transfer::resultLoop"),
                                                        QStringLiteral(" line:"), QStringLiteral(" ev:"), text}),
                              1, 5000);
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->pending = {ResultEntry{cv::Mat(2, 2, CV_8UC1, cv::Scalar(5)), QStringLiteral("cam1_after")}};
    }
    const QList<ImageEntry> images = collect(*bridge, 1);
    QCOMPARE(images.size(), 1);
    QCOMPARE(images[0].name, QStringLiteral("cam1_after"));
}

void TestBridgeFake::destructor_waitsForWorkerBeforeDestroy()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    const int destroyedBefore = state->destroyCalls;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->fetchDelayMs = 400; // longer than the destructor's pause
    }
    QTRY_VERIFY(state->fetchActive.load());
    bridge.reset();
    QCOMPARE(state->destroyCalls, destroyedBefore + 1);
    std::lock_guard<std::mutex> lock(state->mutex);
    const int destroyAt = state->events.lastIndexOf(QStringLiteral("destroy"));
    QVERIFY(destroyAt > 0);
    QCOMPARE(state->events.at(destroyAt - 1), QStringLiteral("fetch end"));
    QCOMPARE(state->events.count(QStringLiteral("fetch begin")), state->events.count(QStringLiteral("fetch end")));
}

void TestBridgeFake::twoBridges_deletingOneKeepsOtherWorking()
{
    std::unique_ptr<Logic_transfer> first(new Logic_transfer);
    std::unique_ptr<Logic_transfer> second(new Logic_transfer);
    first.reset();
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->pending = {ResultEntry{cv::Mat(2, 2, CV_8UC1, cv::Scalar(9)), QStringLiteral("cam1_still")}};
    }
    const QList<ImageEntry> images = collect(*second, 1);
    QCOMPARE(images.size(), 1);
    QCOMPARE(images[0].name, QStringLiteral("cam1_still"));
}

QTEST_GUILESS_MAIN(TestBridgeFake)
#include "tst_bridge_fake.moc"
