// The run controller on its own: the status table and one live module object through
// every re-run, camera-debug hand-over and program switch.
#include "RunController.h"

#include "LogicProbe.h"
#include "Logic_transfer.h"
#include "WindowTestSupport.h"

#include <QTest>

Q_DECLARE_METATYPE(RunState)

class TestRunController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void statusLooks_data();
    void statusLooks();
    void oneModuleObjectThroughEveryCycle();
    void refusedDocumentKeepsTheOldCopy();

private:
    LogicProbe m_probe;
};

void TestRunController::init()
{
    writeDocument(stationDocument(2));
    QJsonObject two = stationDocument(3);
    two.insert(QStringLiteral("任务名"), QStringLiteral("程序2"));
    writeDocument(two, QStringLiteral("camera_cfg2.json"));
}

void TestRunController::statusLooks_data()
{
    QTest::addColumn<RunState>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("style");
    const QString red = QStringLiteral("color: red;");
    const QString yellow = QStringLiteral("color: yellow;");
    QTest::newRow("initialising") << RunState::Initialising << "初始化中.." << red;
    QTest::newRow("ready") << RunState::Ready << "初始化成功\r\n待运行" << yellow;
    QTest::newRow("running") << RunState::Running << "程序运行" << "color: green;";
    QTest::newRow("failed") << RunState::Failed << "初始化失败" << red;
    QTest::newRow("stopped") << RunState::Stopped << "程序停止.." << red;
    QTest::newRow("re-running") << RunState::ReRunning << "重新运行..." << yellow;
    QTest::newRow("switching") << RunState::SwitchingProgram << "切换程序号\r\n7" << red;
    QTest::newRow("camera debugging") << RunState::CameraDebugging << "相机调试.." << red;
}

void TestRunController::statusLooks()
{
    QFETCH(RunState, state);
    QFETCH(QString, text);
    QFETCH(QString, style);
    const StatusLook look = statusLook(state, QStringLiteral("7"));
    QCOMPARE(look.text, text);
    QCOMPARE(styles::textColour(look.colour), style);
}

void TestRunController::oneModuleObjectThroughEveryCycle()
{
    QVERIFY(m_probe.live);
    {
        RunController run;
        QVERIFY(run.initialise());
        QCOMPARE(m_probe.live(), 1);
        QVERIFY(run.start());
        QVERIFY(run.imageTimer()->isActive());

        for (int cycle = 0; cycle < 3; ++cycle) {
            run.unloadForReRun();
            QCOMPARE(m_probe.live(), 0);
            QVERIFY(!run.imageTimer()->isActive());
            QVERIFY(run.reRun());
            QCOMPARE(m_probe.live(), 1);
            QVERIFY(run.imageTimer()->isActive());

            run.handOverCameras();
            QVERIFY(run.isCameraDebugging());
            QVERIFY(run.tearDown()); // no stop call reaches the unloaded task
            QVERIFY(!run.bridge());
            QCOMPARE(m_probe.live(), 0);
            run.takeCamerasBack();
            QVERIFY(run.initialise());
            QCOMPARE(m_probe.live(), 1);

            // Program switch: torn down, the other program's document, started again.
            run.setProgramNumber(cycle % 2 ? 1 : 2);
            QVERIFY(run.tearDown());
            QCOMPARE(m_probe.live(), 0);
            QVERIFY(!run.tearDown());
            QVERIFY(run.reRun());
            QCOMPARE(m_probe.live(), 1);
            QCOMPARE(run.configFileName(),
                     cycle % 2 ? QStringLiteral("camera_cfg.json") : QStringLiteral("camera_cfg2.json"));
            QCOMPARE(run.document().cameras().size(), cycle % 2 ? 2 : 3);
        }
    }
    QCOMPARE(m_probe.live(), 0);
}

void TestRunController::refusedDocumentKeepsTheOldCopy()
{
    RunController run;
    QList<RunController::Refusal> refusals;
    connect(&run, &RunController::refused, this,
            [&](RunController::Refusal r, const QString &) { refusals << r; });
    QVERIFY(run.initialise());
    writeDocument(stationDocument(1, QJsonObject{{"检查拒绝原因", "坏"}}));
    QVERIFY(!run.reloadDocument());
    QCOMPARE(refusals, QList<RunController::Refusal>{RunController::Refusal::Document});
    QCOMPARE(run.document().cameras().size(), 2);
    QVERIFY(run.isInitialised()); // the running task is left alone

    QVERIFY(!run.initialise()); // a new bridge refused the document
    QVERIFY(!run.isInitialised());
    QCOMPARE(m_probe.live(), 1);
}

QTEST_MAIN(TestRunController)
#include "tst_RunController.moc"
