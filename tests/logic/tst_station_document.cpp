// The station document model: what each typed view reads, and the read outcomes.
#include "LogCapture.h"
#include "StationDocument.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kDocument = R"({
  "任务名": "T1", "是否为标准通信流程": "false", "未知": {"x": 1},
  "工站列表": [
    {"工站名": "S1", "附加": 1,
     "相机模块列表": [
       {"相机key": "K1", "界面窗口名称": "W1", "单通道拍照数": "2", "模块名称": "Hik",
        "触发方式": "soft", "取图超时": "500", "相机参数": [
          {"参数名": "曝光", "相机参数值": ["100", 7, "200"]}]},
       {"相机key": 3, "相机参数": "none"}],
     "算法列表": [{"算法名称": "A", "算法初始化参数": [{"算法参数名": "th", "算法参数值": ["1"]}]}]},
    7,
    {"工站名": "S3", "算法列表": [{"算法名称": "A"}]}],
  "缺陷类别名称设置": [{"缺陷类别": "1", "缺陷名称": "划伤", "是否检测": "是"}, {"缺陷类别": 2}],
  "存图设置": [{"相机key": "K1", "界面窗口名称": "W1", "原图": "保存", "结果图": "不保存"}],
  "手动补信号": [{"信号名": "复位", "指令地址": "D100",
              "信号值": [{"标签名": "开", "标签值": "1"}, {"标签值": 2}]}, 5]
})";

} // namespace

class TestStationDocument : public QObject
{
    Q_OBJECT
private slots:
    void typedViews();
    void readOutcomes_data();
    void readOutcomes();
};

void TestStationDocument::typedViews()
{
    const station::Document doc(QJsonDocument::fromJson(kDocument).object());
    QVERIFY(doc.listsStations());
    QCOMPARE(doc.taskName(), QString("T1"));
    QCOMPARE(doc.standardFlow(), QString("false"));

    const QList<station::Station> stations = doc.stations();
    QCOMPARE(stations.size(), 3); // a station that is not an object reads as an empty one
    QCOMPARE(stations[1].cameras.size(), 0);
    const QList<station::Camera> cameras = doc.cameras();
    QCOMPARE(cameras.size(), 2);
    const station::Camera &k1 = cameras[0];
    QCOMPARE(k1.key, QString("K1"));
    QCOMPARE(k1.windowName, QString("W1"));
    QCOMPARE(k1.shotCount, QString("2"));
    QCOMPARE(k1.moduleName, QString("Hik"));
    QCOMPARE(k1.trigger, QString("soft"));
    QCOMPARE(k1.grabTimeout, QString("500"));
    QCOMPARE(k1.parameters.size(), 1);
    QCOMPARE(k1.parameters[0].name, QString("曝光"));
    QCOMPARE(k1.parameters[0].values, QStringList({"100", "", "200"}));
    // Non-texts read as empty texts and lists; the entry itself is kept as stored.
    QCOMPARE(cameras[1].key, QString());
    QVERIFY(cameras[1].parameters.isEmpty());
    QCOMPARE(cameras[1].index, 1);
    QCOMPARE(cameras[1].stored.toObject().value("相机key").toInt(), 3);

    QCOMPARE(doc.algorithmNames(), QStringList({"A", "A"}));
    const QList<station::Algorithm> algorithms = doc.algorithms();
    QCOMPARE(algorithms[1].station, 2);
    QCOMPARE(algorithms[0].parameters[0].values, QStringList({"1"}));

    const QList<station::DefectClass> defects = doc.defectClasses();
    QCOMPARE(defects.size(), 2);
    QCOMPARE(defects[0].name, QString("划伤"));
    QCOMPARE(defects[0].inspect, QString("是"));
    QCOMPARE(defects[1].classText, QString());

    const QList<station::SaveImageEntry> saves = doc.saveImageEntries();
    QCOMPARE(saves.size(), 1);
    QCOMPARE(saves[0].switches, QStringList({"保存", "", "", "不保存"}));
    QCOMPARE(doc.plcSignals().size(), 2);
    const QList<station::PlcSignal> plc = station::plcSignalsOf(doc.plcSignals());
    QCOMPARE(plc.size(), 2);
    QCOMPARE(plc[0].name, QString("复位"));
    QCOMPARE(plc[0].address, QString("D100"));
    QCOMPARE(plc[0].labels.size(), 2);
    QCOMPARE(plc[0].labels[0].name, QString("开"));
    QCOMPARE(plc[0].labels[0].value, QString("1"));
    QCOMPARE(plc[0].labels[1].value, QString());
    QVERIFY(plc[1].name.isEmpty() && plc[1].labels.isEmpty());

    // A single stored entry (as an editor rebuilds it) reads as the same view.
    const station::Camera single = station::cameraOf(k1.stored);
    QCOMPARE(single.key, k1.key);
    QCOMPARE(single.parameters[0].values, k1.parameters[0].values);
    QCOMPARE(station::algorithmOf(algorithms[0].stored).parameters[0].name, QString("th"));
    QVERIFY(doc.object().contains("未知")); // unknown keys stay in the object
}

void TestStationDocument::readOutcomes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("object") << kDocument << true << int(station::LoadStatus::Ok) << QStringList();
    QTest::newRow("missing") << QByteArray() << false << int(station::LoadStatus::NoContent)
                             << QStringList({" camera_cfg.json not isReadable!", " Content is empty"});
    QTest::newRow("empty") << QByteArray() << true << int(station::LoadStatus::NoContent)
                           << QStringList({" Content is empty"});
    QTest::newRow("not json") << QByteArray("{") << true << int(station::LoadStatus::NotJson)
                              << QStringList({" is error!"});
    QTest::newRow("array") << QByteArray("[]") << true << int(station::LoadStatus::NotObject)
                           << QStringList();
}

void TestStationDocument::readOutcomes()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("camera_cfg.json");
    if (exists) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    LogCapture log;
    // The probe reads alike and logs nothing.
    QCOMPARE(int(station::Document::probe(path).status()), status);
    QVERIFY(log.messages().isEmpty());
    const station::Document doc = station::Document::read(path, "Reader::load_camera_cfg");
    QCOMPARE(int(doc.status()), status);
    QCOMPARE(doc.object().isEmpty(), status != int(station::LoadStatus::Ok));
    const auto messages = log.messages();
    QCOMPARE(messages.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY(messages[i].second.startsWith("Reader::load_camera_cfg  line: "));
        QVERIFY2(messages[i].second.endsWith(lines[i]), qPrintable(messages[i].second));
    }
}

QTEST_GUILESS_MAIN(TestStationDocument)
#include "tst_station_document.moc"
