// Camera type table, camera list rows, module copies, commands, parameter rows, save names.
#include "CameraRules.h"
#include "CameraTestFolder.h"

#include <QtTest>

#include <opencv2/core.hpp>

using namespace camerarules;

class TestCameraRules : public QObject
{
    Q_OBJECT
private slots:
    void typeTable_everyRowInOrder();
    void typeCode_data();
    void typeCode();
    void typeText_connectOrder_data();
    void typeText_connectOrder();
    void rowTexts();
    void commands_cLocale();
    void paramRows();
    void saveNames();
    void moduleCopy_freshByteIdentical();
    void moduleCopy_folderWithHash();
    void moduleCopy_failsWithoutLibrary();
};

void TestCameraRules::typeTable_everyRowInOrder()
{
    const QVector<int> codes{0, 1, 2, 3, 6, 7, 4, 5, 11, 12, 14, 9, 10, 8, 16, 17, 18, 15, 1000};
    QVector<int> seen;
    for (const CameraType &t : cameraTypes())
        seen << t.code;
    QCOMPARE(seen, codes);
    // Every row is reachable from its own module name and trigger, and round-trips through
    // its type text and list box.
    for (const CameraType &t : cameraTypes()) {
        const QString trigger = t.trigger == Trigger::Soft ? "soft" : "hard";
        QCOMPARE(cameraTypeCode(QString::fromLatin1(t.moduleName) + "_x", trigger), t.code);
        QCOMPARE(typeForCode(t.code)->typeText, t.typeText);
    }
    QCOMPARE(typeForCode(15)->typeText, QStringLiteral("2.5D：基恩士"));
    QVERIFY(!typeForCode(13));
    QVERIFY(!typeForCode(-1));
}

void TestCameraRules::typeCode_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("code");
    QTest::newRow("HIK hard") << "HIK_2D" << "hard" << 0;
    QTest::newRow("HIK soft") << "HIK_2D" << "soft" << 1;
    QTest::newRow("DalsaDAQH soft") << "DalsaDAQH" << "soft" << 10;
    QTest::newRow("DalsaDAQH hard") << "DalsaDAQH" << "hard" << 9;
    QTest::newRow("DalsaDAQ hard") << "DalsaDAQ" << "hard" << 8;
    QTest::newRow("Dalsa any") << "Dalsa_net" << "" << 8;
    QTest::newRow("OPT hard") << "OPT" << "hard" << -1;
    QTest::newRow("OPT soft") << "OPT" << "soft" << 14;
    QTest::newRow("2.5D") << "Bx_25DCameraVJ_module" << "hard" << 15;
    QTest::newRow("read image") << "Bx_CameraModule_readImage" << "" << 1000;
    QTest::newRow("case sensitive") << "hik" << "hard" << -1;
    QTest::newRow("unknown") << "Sony" << "hard" << -1;
}

void TestCameraRules::typeCode()
{
    QFETCH(QString, module);
    QFETCH(QString, trigger);
    QFETCH(int, code);
    QCOMPARE(cameraTypeCode(module, trigger), code);
}

void TestCameraRules::typeText_connectOrder_data()
{
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<bool>("hard");
    QTest::addColumn<bool>("soft");
    QTest::addColumn<int>("code");
    QTest::newRow("HIK hard, trailing blank") << "2D：海康（面阵/线扫） " << true << false << 0;
    QTest::newRow("HIK soft") << "2D：海康（面阵/线扫）" << false << true << 1;
    QTest::newRow("HIK no box") << "2D：海康（面阵/线扫）" << false << false << -1;
    QTest::newRow("Dalsa network first") << "2D：Dalsa（网口线扫）" << false << true << 8;
    QTest::newRow("Dalsa card hard") << "2D：Dalsa（采集卡线扫）" << true << false << 9;
    QTest::newRow("Dalsa card soft") << "2D：Dalsa（采集卡线扫）" << false << true << 10;
    QTest::newRow("2.5D") << "2.5D：基恩士" << false << true << 15;
    QTest::newRow("no type") << "" << true << false << -1;
}

void TestCameraRules::typeText_connectOrder()
{
    QFETCH(QString, typeText);
    QFETCH(bool, hard);
    QFETCH(bool, soft);
    QFETCH(int, code);
    QCOMPARE(codeForTypeText(typeText, hard, soft), code);
}

void TestCameraRules::rowTexts()
{
    const QString row = cameraRowText(2, QStringLiteral("2D：海康（面阵/线扫）"), true, false);
    QCOMPARE(row, QStringLiteral("相机2: 2D：海康（面阵/线扫） 硬触发"));
    QCOMPARE(cameraNumber(row), 2);
    QCOMPARE(rowTypeText(row), QStringLiteral("2D：海康（面阵/线扫） "));
    QCOMPARE(rowTrigger(row), Trigger::Hard);
    const QString soft = cameraRowText(12, QStringLiteral("3D：LMI"), false, true);
    QCOMPARE(soft, QStringLiteral("相机12: 3D：LMI 软触发"));
    QCOMPARE(cameraNumber(soft), 12);
    QCOMPARE(rowTrigger(soft), Trigger::Soft);
    const QString none = cameraRowText(3, QString(), false, false);
    QCOMPARE(none, QStringLiteral("相机3: "));
    QCOMPARE(rowTypeText(none), QString());
    QCOMPARE(rowTrigger(none), Trigger::Any);
    QCOMPARE(cameraNumber(QStringLiteral("相机x: y")), 0);
}

void TestCameraRules::commands_cLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(exposureGainCommands(5000, 2.5, 2),
             QStringList({"SetExposureTime_5000#", "SetGain_2.50"}));
    QCOMPARE(exposureGainCommands(1000000, 99.99, 2),
             QStringList({"SetExposureTime_1000000#", "SetGain_99.99"}));
    QLocale::setDefault(QLocale::c());
}

void TestCameraRules::paramRows()
{
    QMap<QString, QString> map{{"old", "x"}};
    QCOMPARE(parseParamRows({{"相机key", "Cam01"}, {"增益", "1"}, {"增益", "2"}}, &map), ParamCheck::Ok);
    QCOMPARE(map, (QMap<QString, QString>{{"相机key", "Cam01"}, {"增益", "2"}}));
    map = {{"kept", "y"}};
    QCOMPARE(parseParamRows({{"相机key", "Cam01"}, {"取图超时", ""}}, &map), ParamCheck::EmptyCell);
    QCOMPARE(parseParamRows({{"", "1"}}, &map), ParamCheck::EmptyCell);
    QCOMPARE(parseParamRows({{"相机key", "输入SN"}}, &map), ParamCheck::NoSerial);
    QCOMPARE(map, (QMap<QString, QString>{{"kept", "y"}}));
}

void TestCameraRules::saveNames()
{
    SaveNamer namer;
    const QDateTime t(QDate(2026, 12, 9), QTime(10, 5, 7, 42));
    QCOMPARE(namer.next("/f", t, CV_8UC1), QStringLiteral("/f/2026-12-09-10-05-07-042.bmp"));
    QCOMPARE(namer.next("/f", t, CV_8UC3), QStringLiteral("/f/2026-12-09-10-05-07-042_1.bmp"));
    QCOMPARE(namer.next("/f", t, CV_16UC1), QStringLiteral("/f/2026-12-09-10-05-07-042_2.png"));
    QCOMPARE(namer.next("/f", t.addMSecs(1), CV_8UC4), QStringLiteral("/f/2026-12-09-10-05-07-043.png"));
    QCOMPARE(namer.next("/f", t.addMSecs(1), CV_8UC1), QStringLiteral("/f/2026-12-09-10-05-07-043_1.bmp"));
}

void TestCameraRules::moduleCopy_freshByteIdentical()
{
    camtest::Folder folder;
    QFile library(moduleLibraryPath(folder.path()));
    QVERIFY(library.open(QIODevice::ReadOnly));
    const QByteArray bytes = library.readAll();
    for (int camera : {0, 12}) {
        // A stale file in the way is replaced, never written into.
        QFile stale(moduleCopyPath(folder.path(), camera));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("stale");
        stale.close();
        QString path, error;
        QVERIFY2(prepareModuleCopy(folder.path(), camera, &path, &error), qPrintable(error));
        QCOMPARE(path, folder.path() + "/Bx_CameraModule_All#" + QString::number(camera) + ".so");
        QFile copy(path);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), bytes);
        QVERIFY(!QFileInfo(path).isSymLink());
    }
}

void TestCameraRules::moduleCopy_folderWithHash()
{
    QTemporaryDir root;
    const QString folder = root.path() + "/line#2";
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/Bx_CameraModule_All.so",
                        moduleLibraryPath(folder)));
    QString path, error;
    QVERIFY2(prepareModuleCopy(folder, 3, &path, &error), qPrintable(error));
    QCOMPARE(path, folder + "/Bx_CameraModule_All#3.so");
    QCOMPARE(QFileInfo(path).size(), QFileInfo(moduleLibraryPath(folder)).size());
}

void TestCameraRules::moduleCopy_failsWithoutLibrary()
{
    QTemporaryDir empty;
    QString path, error;
    QVERIFY(!prepareModuleCopy(empty.path(), 0, &path, &error));
    QVERIFY(error.contains("Bx_CameraModule_All.so"));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestCameraRules)
#include "tst_camera_rules.moc"
