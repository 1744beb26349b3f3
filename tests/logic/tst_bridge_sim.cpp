// The bridge over the simulated logic module in the test program folder: the library
// is loaded by its Windows name, every operation reaches it, its messages and images
// come through.
#include "Logic_transfer.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

struct Message
{
    QString key, cameraName, snInfo;
    QByteArray data;
};

QJsonObject fastStation(QJsonObject doc)
{
    QJsonObject sim = doc.value(QStringLiteral("模拟设置")).toObject();
    sim.insert(QStringLiteral("周期毫秒"), QStringLiteral("100"));
    sim.insert(QStringLiteral("图像宽度"), QStringLiteral("64"));
    sim.insert(QStringLiteral("图像高度"), QStringLiteral("48"));
    sim.insert(QStringLiteral("图像帧率"), QStringLiteral("20"));
    sim.insert(QStringLiteral("图像类型"),
               QJsonArray{QStringLiteral("8UC1"), QStringLiteral("16UC1"), QStringLiteral("8UC3"), QStringLiteral("8UC4")});
    sim.insert(QStringLiteral("不支持类型间隔"), QStringLiteral("4"));
    sim.insert(QStringLiteral("PLC掉线间隔秒"), QStringLiteral("1"));
    sim.insert(QStringLiteral("PLC掉线时长秒"), QStringLiteral("1"));
    sim.insert(QStringLiteral("相机掉线间隔秒"), QStringLiteral("1"));
    sim.insert(QStringLiteral("相机掉线时长秒"), QStringLiteral("1"));
    sim.insert(QStringLiteral("随机种子"), QStringLiteral("7"));
    doc.insert(QStringLiteral("模拟设置"), sim);
    return doc;
}

QStringList cameraKeys(const QJsonObject &doc)
{
    QStringList keys;
    for (const QJsonValue &station : doc.value(QStringLiteral("工站列表")).toArray())
        for (const QJsonValue &cam : station.toObject().value(QStringLiteral("相机模块列表")).toArray())
            keys << cam.toObject().value(QStringLiteral("相机key")).toString();
    return keys;
}

} // namespace

class TestBridgeSim : public QObject
{
    Q_OBJECT

private slots:
    void runsTheSimulatedStation();
    void failuresOfTheModuleReachTheCaller();
};

void TestBridgeSim::runsTheSimulatedStation()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    QList<Message> messages;
    connect(bridge.get(), &Logic_transfer::LogicTransfer_writeData, this,
            [&](QString key, QString cameraName, QString snInfo, QByteArray data) {
                messages.append(Message{key, cameraName, snInfo, data});
            });
    auto has = [&](auto predicate) {
        for (const Message &m : messages)
            if (predicate(m))
                return true;
        return false;
    };

    const QJsonObject loaded = bridge->load_camera_cfg(QStringLiteral("camera_cfg.json"));
    QVERIFY(!loaded.isEmpty());
    const QJsonObject doc = fastStation(loaded);
    const QStringList keys = cameraKeys(doc);
    QVERIFY(!keys.isEmpty());

    QString error;
    QVERIFY2(bridge->checkCameraCfg(doc, error), qPrintable(error));
    QVERIFY(bridge->setCameraCfg(doc));
    QVERIFY(bridge->initTask());
    QVERIFY(bridge->startTask());

    // The four keys the bridge makes itself, plus shot messages and final results.
    const QByteArray tcp("TCP");
    for (const QString &key : {QStringLiteral("sendTcpStatus_true"), QStringLiteral("sendTcpStatus_false"),
                               QStringLiteral("cameraDisconnect_true"), QStringLiteral("cameraDisconnect_false")}) {
        QTRY_VERIFY2_WITH_TIMEOUT(has([&](const Message &m) { return m.key == key; }), qPrintable(key), 20000);
    }
    for (const Message &m : messages) {
        if (m.key.startsWith(QLatin1String("sendTcpStatus_"))) {
            QCOMPARE(m.cameraName, QStringLiteral("TCP"));
            QCOMPARE(m.snInfo, QStringLiteral("TCP"));
            QCOMPARE(m.data, tcp);
        } else if (m.key.startsWith(QLatin1String("cameraDisconnect_"))) {
            QVERIFY2(keys.contains(m.cameraName), qPrintable(m.cameraName));
            QCOMPARE(m.data, tcp);
        }
    }
    QTRY_VERIFY_WITH_TIMEOUT(has([](const Message &m) { return m.data.contains('#'); }), 10000);

    // A program-number request comes back as a module message (accepted while the PLC link is up).
    QTRY_VERIFY_WITH_TIMEOUT(bridge->sendPLCCommand(QStringLiteral("D100_2")), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(has([](const Message &m) { return m.key == QStringLiteral("程序号") && m.data == "2"; }),
                             10000);
    QVERIFY(bridge->reLoadJsonSetParameter({keys.first()}));

    // Images of every type the station makes, named by camera key.
    QList<ImageEntry> images;
    QSet<int> formats;
    bool unsupportedSeen = false;
    QTRY_VERIFY_WITH_TIMEOUT((bridge->takeImages(&images), [&] {
                                 for (const ImageEntry &e : images) {
                                     if (!e.image.isNull())
                                         formats.insert(e.image.format());
                                     else
                                         unsupportedSeen = true;
                                 }
                                 return formats.size() == 3 && unsupportedSeen;
                             }()),
                             20000);
    QVERIFY(formats.contains(QImage::Format_Grayscale8));
    QVERIFY(formats.contains(QImage::Format_RGB888));
    QVERIFY(formats.contains(QImage::Format_ARGB32));
    for (const ImageEntry &e : images) {
        QVERIFY2(keys.contains(e.name.section(QLatin1Char('_'), 0, 0)), qPrintable(e.name));
        if (!e.image.isNull())
            QCOMPARE(e.image.size(), QSize(64, 48));
    }
    images.clear();

    QVERIFY(bridge->stopTask());
    QVERIFY(bridge->unloadTask());
    // The module runs again, its images still arrive, but its messages no longer reach us.
    messages.clear();
    QVERIFY(bridge->initTask());
    QVERIFY(bridge->startTask());
    QTRY_VERIFY_WITH_TIMEOUT((bridge->takeImages(&images), images.size() >= 8), 20000);
    QCOMPARE(messages.size(), 0);
    QVERIFY(bridge->stopTask());
}

void TestBridgeSim::failuresOfTheModuleReachTheCaller()
{
    std::unique_ptr<Logic_transfer> bridge(new Logic_transfer);
    QJsonObject doc = bridge->load_camera_cfg(QStringLiteral("camera_cfg2.json"));
    QVERIFY(!doc.isEmpty());
    QJsonObject sim = doc.value(QStringLiteral("模拟设置")).toObject();
    sim.insert(QStringLiteral("检查拒绝原因"), QStringLiteral("相机Cam01离线"));
    doc.insert(QStringLiteral("模拟设置"), sim);
    QString error;
    QCOMPARE(bridge->checkCameraCfg(doc, error), false);
    QCOMPARE(error, QStringLiteral("相机Cam01离线"));

    sim.remove(QStringLiteral("检查拒绝原因"));
    sim.insert(QStringLiteral("initTask失败"), QStringLiteral("true"));
    doc.insert(QStringLiteral("模拟设置"), sim);
    error.clear();
    QVERIFY2(bridge->checkCameraCfg(doc, error), qPrintable(error));
    QVERIFY(bridge->setCameraCfg(doc));
    QCOMPARE(bridge->initTask(), false);
    QCOMPARE(bridge->startTask(), false);
}

QTEST_GUILESS_MAIN(TestBridgeSim)
#include "tst_bridge_sim.moc"
