// Loading a camera configuration document and writing parameter values back.
#include "CameraConfig.h"
#include "CameraTestFolder.h"
#include "ReadOnlyFolder.h"

#include <QtTest>

using namespace camtest;

class TestCameraConfig : public QObject
{
    Q_OBJECT
private slots:
    void load_cameraMaps();
    void load_failuresGiveEmpty();
    void save_changesOnlyEditedValues();
    void save_keepsOtherWritersAndUnknownKeys();
    void save_noValueLeavesElement();
    void save_valueChangedOnDiskRefusesAll();
    void save_failureReported();

private:
    static QJsonObject twoCameras()
    {
        return document({camera("Cam01", "HIK_2D", "hard", {param("列表", {"a,b"})}),
                         camera("Cam02", "Basler", "soft", {}, false)});
    }
};

void TestCameraConfig::load_cameraMaps()
{
    Folder folder;
    folder.writeDocument("camera_cfg.json", twoCameras());
    CameraConfig config;
    QVERIFY(!config.load(folder.path(), "camera_cfg.json").isEmpty());
    QCOMPARE(config.path(), folder.config("camera_cfg.json"));
    QCOMPARE(config.cameras().size(), 2);
    const CameraEntry &first = config.cameras().at(0);
    QCOMPARE(first.typeCode, 0);
    QCOMPARE(first.params, (CameraParams{{"type", "0"}, {"相机key", "Cam01"}, {"取图超时", "1000"},
                                         {"ROI", "0,0,64,48"}, {"曝光时间", "5000"}, {"增益", "1.0"},
                                         {"列表", "a,b"}}));
    QCOMPARE(config.cameras().at(1).typeCode, 3);
    QCOMPARE(config.cameras().at(1).params.value("取图超时", "absent"), QString());
    QVERIFY(CameraConfig::isCameraDocumentFile(folder.config("camera_cfg.json")));
}

void TestCameraConfig::load_failuresGiveEmpty()
{
    Folder folder;
    folder.write("bad.json", "{ not json");
    folder.write("array.json", "[1]");
    folder.write("empty.json", "");
    folder.writeDocument("password.json", QJsonObject{{"管理员", QJsonObject()}});
    for (const char *name : {"missing.json", "bad.json", "array.json", "empty.json"}) {
        CameraConfig config;
        QVERIFY(config.load(folder.path(), name).isEmpty());
        QVERIFY(config.cameras().isEmpty());
        QCOMPARE(config.path(), folder.config(name));
    }
    QVERIFY(!CameraConfig::isCameraDocumentFile(folder.config("password.json")));
    QVERIFY(!CameraConfig::isCameraDocumentFile(folder.config("bad.json")));
}

void TestCameraConfig::save_changesOnlyEditedValues()
{
    Folder folder;
    folder.writeDocument("camera_cfg.json", twoCameras());
    CameraConfig config;
    config.load(folder.path(), "camera_cfg.json");
    QList<CameraParams> maps{config.cameras().at(0).params, config.cameras().at(1).params};
    maps[0]["曝光时间"] = "1,,2";
    QString error;
    QCOMPARE(config.save(maps, &error), CameraConfig::SaveResult::Written);
    const QJsonObject doc = folder.readDocument("camera_cfg.json");
    QCOMPARE(storedValues(doc, 0, "曝光时间"), QStringList({"1", "", "2"}));
    // An untouched value holding a comma inside one element is not re-split.
    QCOMPARE(storedValues(doc, 0, "列表"), QStringList({"a,b"}));
    QCOMPARE(storedValues(doc, 1, "增益"), QStringList({"1.0"}));
    // A second save of the same values has nothing to write.
    QCOMPARE(config.save(maps, &error), CameraConfig::SaveResult::Unchanged);
}

void TestCameraConfig::save_keepsOtherWritersAndUnknownKeys()
{
    Folder folder;
    folder.writeDocument("camera_cfg.json", twoCameras());
    CameraConfig config;
    config.load(folder.path(), "camera_cfg.json");

    // Another editor changes camera 2's gain and adds a key after the tool loaded.
    QJsonObject other = folder.readDocument("camera_cfg.json");
    other.insert("存图设置", QJsonArray{QJsonObject{{"相机key", "Cam01"}, {"原图", "保存"}}});
    other = withValue(other, 1, "增益", {"7.5"});
    folder.writeDocument("camera_cfg.json", other);

    QList<CameraParams> maps{config.cameras().at(0).params, config.cameras().at(1).params};
    maps[0]["增益"] = "3.0";
    QString error;
    QCOMPARE(config.save(maps, &error), CameraConfig::SaveResult::Written);
    const QJsonObject doc = folder.readDocument("camera_cfg.json");
    QCOMPARE(storedValues(doc, 0, "增益"), QStringList({"3.0"}));
    QCOMPARE(storedValues(doc, 1, "增益"), QStringList({"7.5"}));
    QCOMPARE(doc.value("存图设置").toArray().size(), 1);
    QCOMPARE(doc.value("未知键").toArray(), QJsonArray({"a", "b"}));
    const QJsonObject entry = doc.value("工站列表").toArray().at(0).toObject()
                                  .value("相机模块列表").toArray().at(0).toObject();
    QCOMPARE(entry.value("界面窗口名称").toString(), QStringLiteral("Cam01窗"));
    QCOMPARE(entry.value("相机参数").toArray().at(2).toObject().value("备注").toString(),
             QStringLiteral("kept"));
}

void TestCameraConfig::save_noValueLeavesElement()
{
    Folder folder;
    folder.writeDocument("camera_cfg.json", twoCameras());
    CameraConfig config;
    config.load(folder.path(), "camera_cfg.json");
    // Renamed parameter and changed key: the stored values stay; a missing record too.
    CameraParams renamed = config.cameras().at(0).params;
    renamed.remove("曝光时间");
    renamed.insert("曝光", "9");
    renamed.insert("相机key", "CamX");
    renamed.insert("增益", "2.0");
    QString error;
    QCOMPARE(config.save({renamed}, &error), CameraConfig::SaveResult::Written);
    const QJsonObject doc = folder.readDocument("camera_cfg.json");
    QCOMPARE(storedValues(doc, 0, "曝光时间"), QStringList({"5000"}));
    QCOMPARE(storedValues(doc, 0, "增益"), QStringList({"2.0"}));
    QCOMPARE(storedValues(doc, 1, "增益"), QStringList({"1.0"}));
    QCOMPARE(storedValues(doc, 1, "ROI"), QStringList({"0", "0", "64", "48"}));
}

void TestCameraConfig::save_valueChangedOnDiskRefusesAll()
{
    Folder folder;
    folder.writeDocument("camera_cfg.json", twoCameras());
    CameraConfig config;
    config.load(folder.path(), "camera_cfg.json");
    QJsonObject other = withValue(folder.readDocument("camera_cfg.json"), 0, "增益", {"222"});
    other = withValue(other, 0, "ROI", {"1", "2", "3", "4"});
    folder.writeDocument("camera_cfg.json", other);
    const QByteArray before = QJsonDocument(folder.readDocument("camera_cfg.json")).toJson();

    QList<CameraParams> maps{config.cameras().at(0).params, config.cameras().at(1).params};
    maps[0]["增益"] = "111";
    maps[0]["曝光时间"] = "9";
    QString error;
    QCOMPARE(config.save(maps, &error), CameraConfig::SaveResult::Conflict);
    QCOMPARE(error, QStringLiteral("Cam01 增益"));
    QCOMPARE(QJsonDocument(folder.readDocument("camera_cfg.json")).toJson(), before);

    // The same value on both sides is no conflict; what only the other writer changed stays.
    maps[0]["增益"] = "222";
    QCOMPARE(config.save(maps, &error), CameraConfig::SaveResult::Written);
    const QJsonObject doc = folder.readDocument("camera_cfg.json");
    QCOMPARE(storedValues(doc, 0, "曝光时间"), QStringList({"9"}));
    QCOMPARE(storedValues(doc, 0, "增益"), QStringList({"222"}));
    QCOMPARE(storedValues(doc, 0, "ROI"), QStringList({"1", "2", "3", "4"}));
}

void TestCameraConfig::save_failureReported()
{
    Folder folder;
    folder.writeDocument("camera_cfg.json", twoCameras());
    CameraConfig config;
    config.load(folder.path(), "camera_cfg.json");
    CameraParams changed = config.cameras().at(0).params;
    changed["增益"] = "4.0";
    QString error;
    {
        ReadOnlyFolder readOnly(folder.path() + "/config");
        if (!readOnly.isActive())
            QSKIP("cannot make the folder read-only here");
        QCOMPARE(config.save({changed}, &error), CameraConfig::SaveResult::Failed);
        QVERIFY(!error.isEmpty());
    }
    QCOMPARE(storedValues(folder.readDocument("camera_cfg.json"), 0, "增益"), QStringList({"1.0"}));
    // The edit is still pending and lands once writing works again.
    QCOMPARE(config.save({changed}, &error), CameraConfig::SaveResult::Written);
    // A document that vanished is reported, not recreated from the tool's copy.
    QFile::remove(folder.config("camera_cfg.json"));
    changed["增益"] = "5.0";
    QCOMPARE(config.save({changed}, &error), CameraConfig::SaveResult::Failed);
    QVERIFY(!QFile::exists(folder.config("camera_cfg.json")));
}

QTEST_GUILESS_MAIN(TestCameraConfig)
#include "tst_camera_config.moc"
