// The main window's dialog openers, their return paths, the camera-debug hand-over and
// the window's close, with the real windows against the simulated modules.
#include "Qt_epWindow.h"

#include "ConsoleRun.h"
#include "LogicProbe.h"
#include "Logic_transfer.h"
#include "Platform.h"
#include "QtCameraDebug.h"
#include "QtDefectSet.h"
#include "QtHistoryLogList.h"
#include "QtParameterSettings.h"
#include "QtSaveImgSet.h"
#include "QtSendPLC.h"
#include "WindowTestSupport.h"

#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

QPushButton *button(QWidget *w, const char *name)
{
    auto *b = w->findChild<QPushButton *>(QString::fromLatin1(name));
    if (!b)
        qFatal("no button %s", name);
    return b;
}

// Runs body, which may enter the event loop, with a fallback that ends the loop after
// 20 s; false when the fallback had to.
bool loopEndsByItself(const std::function<void()> &body)
{
    bool fellBack = false;
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, [&] {
        fellBack = true;
        QCoreApplication::quit();
    });
    fallback.start(20000);
    body();
    return !fellBack;
}

} // namespace

class TestMainWindowDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openersHandOverFreshData();
    void editorSavesReachTheRunningModule();
    void cameraDebugHandOverAndBack();
    void exitPromptOneAtATime();
    void confirmedExitEndsTheApplication();
    void closeEventWithEditorsOpenEndsTheApplication();
    void exitConfirmedDuringStartUp_data();
    void exitConfirmedDuringStartUp();

private:
    // The module's link lines arrive on their own: look for a line, not at the last one.
    bool logged(const QString &text) const { return logTexts(log()).contains(text); }
    QPlainTextEdit *log() const { return w->findChild<QPlainTextEdit *>(QStringLiteral("plainTextEdit_operat")); }
    QString status() const { return w->findChild<QLabel *>(QStringLiteral("label_15"))->text(); }
    void result(const char *data)
    {
        w->getTransferData(QStringLiteral("算法"), QStringLiteral("Cam01_0"), QStringLiteral("SN"), QByteArray(data));
    }

    std::unique_ptr<BoxAnswerer> boxes;
    std::unique_ptr<Qt_epWindow> w;
    LogicProbe probe;
    qint64 clock = 0;
};

void TestMainWindowDialogs::initTestCase()
{
    QVERIFY2(probe.live && probe.take, "the simulated module exports its probes");
}

void TestMainWindowDialogs::init()
{
    boxes = std::make_unique<BoxAnswerer>();
    boxes->answer = QMessageBox::Yes;
    clock = 1000000;
    platform::setClockForTest([this] { return clock; });
    QJsonObject doc = stationDocument(2);
    doc.insert(QStringLiteral("手动补信号"),
               QJsonArray{QJsonObject{{"信号名", "复位"}, {"指令地址", "D1"},
                                      {"信号值", QJsonArray{QJsonObject{{"标签名", "开"}, {"标签值", "1"}}}}}});
    writeDocument(doc);
    writeDocument(stationDocument(1), QStringLiteral("camera_cfg2.json"));
    writeDocument(QJsonObject{{"上次打开", "camera_cfg.json"}}, QStringLiteral("cameraDebug_lastCfg.json"));
    w = std::make_unique<Qt_epWindow>();
    QCOMPARE(status(), QStringLiteral("程序运行"));
    probe.calls();
}

void TestMainWindowDialogs::cleanup()
{
    w.reset();
    QCOMPARE(probe.live(), 0);
    platform::setClockForTest({});
    boxes.reset();
}

void TestMainWindowDialogs::openersHandOverFreshData()
{
    // Operators open the PLC sender and the log history; the editors are gated.
    w->getLoginSuccess(QStringLiteral("操作员:\r\nbob"));
    result("9#1");
    button(w.get(), "pushButton_historyList")->click();
    QVERIFY(logged(QStringLiteral("打开:工具-历史统计分析")));
    QtHistoryLogList *history = w->historyLogList();
    QVERIFY(history && history->isVisible());
    QCOMPARE(history->logLines().size(), 1);
    result("1#2"); // not seen until the next press
    QCOMPARE(history->logLines().size(), 1);
    button(w.get(), "pushButton_historyList")->click();
    QCOMPARE(w->historyLogList(), history);
    QCOMPARE(history->logLines().size(), 2);
    QVERIFY(history->windowFlags() & Qt::FramelessWindowHint);

    button(w.get(), "pushButton_sendPLCTool")->click();
    QVERIFY(logged(QStringLiteral("打开工具:工具-手动补信号，子窗口")));
    QtSendPLC *plc = w->sendPLCWindow();
    QVERIFY(plc && plc->isVisible());
    QCOMPARE(plc->commandList(), QStringList{"D1_1"});
    // Its sends reach the module through the window.
    emit plc->sendPLC(QStringLiteral("D1_1"));
    QCOMPARE(probe.calls(), QStringList{"sendPLCCommand D1_1"});

    button(w.get(), "pushButton_set")->click();
    QCOMPARE(boxes->titles(), QStringList{"无权限"});
    QVERIFY(!w->parameterSettings());

    // Administrators: each editor reads the document in use at every opening.
    w->getLoginSuccess(QStringLiteral("管理员:\r\nann"));
    boxes->clear();
    button(w.get(), "pushButton_set")->click();
    QVERIFY(logged(QStringLiteral("打开工具:工具-参数设置")));
    QtParameterSettings *params = w->parameterSettings();
    QVERIFY(params && params->isVisible());
    QCOMPARE(params->document().fileName(), QStringLiteral("camera_cfg.json"));
    QCOMPARE(params->cameraBoxes().size(), 2);
    button(w.get(), "pushButton_DefectName")->click();
    QVERIFY(logged(QStringLiteral("打开:缺陷名称设置")));
    QCOMPARE(w->defectSet()->document().fileName(), QStringLiteral("camera_cfg.json"));
    button(w.get(), "pushButton_SaveImgSet")->click();
    QVERIFY(logged(QStringLiteral("打开工具:工具-存图设置，子窗口")));
    QVERIFY(w->saveImgSet()->isVisible());

    // A changed document is read again at the next press, into the same editor.
    writeDocument(stationDocument(3));
    button(w.get(), "pushButton_set")->click();
    QCOMPARE(w->parameterSettings(), params);
    QCOMPARE(params->cameraBoxes().size(), 3);
    QVERIFY(boxes->boxes.isEmpty());
    QVERIFY(probe.calls().isEmpty()); // opening calls nothing in the module
}

void TestMainWindowDialogs::editorSavesReachTheRunningModule()
{
    button(w.get(), "pushButton_set")->click();
    button(w.get(), "pushButton_DefectName")->click();
    QtParameterSettings *params = w->parameterSettings();

    emit params->reLoadJsonSetParameter({});
    QVERIFY(probe.calls().isEmpty());
    emit params->reLoadJsonSetParameter({"Cam01", "算法A"});
    QCOMPARE(probe.calls(), QStringList({"checkCameraCfg", "setCameraCfg", "reLoadJsonSetParameter Cam01,算法A"}));
    emit w->defectSet()->reLoadJsonSetParameter({"算法A"});
    QCOMPARE(probe.calls(), QStringList({"checkCameraCfg", "setCameraCfg", "reLoadJsonSetParameter 算法A"}));

    // An editor left on the other program's document does not reload the running one.
    params->initTabs(params->load_camera_cfg(QStringLiteral("camera_cfg2.json")));
    emit params->reLoadJsonSetParameter({"Cam01"});
    QVERIFY(probe.calls().isEmpty());
    QVERIFY(!logTexts(log()).filter(QStringLiteral("camera_cfg2.json")).isEmpty());
}

void TestMainWindowDialogs::cameraDebugHandOverAndBack()
{
    // No: only the line; nothing else changes.
    boxes->answer = QMessageBox::No;
    button(w.get(), "pushButton_cameraDebug")->click();
    QCOMPARE(boxes->titles(), QStringList{"开始相机调试？"});
    QVERIFY(logged(QStringLiteral("开始相机调试，取消")));
    QCOMPARE(status(), QStringLiteral("程序运行"));
    QVERIFY(!w->cameraDebug());

    boxes->answer = QMessageBox::Yes;
    boxes->clear();
    button(w.get(), "pushButton_cameraDebug")->click();
    QCOMPARE(probe.calls(), QStringList{"unloadTask"});
    QCOMPARE(status(), QStringLiteral("相机调试.."));
    QtCameraDebug *tool = w->cameraDebug();
    QVERIFY(tool && tool->isVisible());
    QVERIFY(w->isCameraDebugging());
    for (const char *name : {"pushButton_start", "pushButton_stop", "pushButton_reStart"})
        QVERIFY(!button(w.get(), name)->isEnabled());

    // Pressed again: the tool is raised, nothing asked, nothing unloaded again.
    boxes->clear();
    button(w.get(), "pushButton_cameraDebug")->click();
    QVERIFY(boxes->boxes.isEmpty());
    QCOMPARE(w->cameraDebug(), tool);

    // While the tool holds the cameras no call reaches the module.
    w->sendPLCData(QStringLiteral("D1_1"));
    button(w.get(), "pushButton_set")->click();
    emit w->parameterSettings()->reLoadJsonSetParameter({"Cam01"});
    QVERIFY(probe.calls().isEmpty());

    // Connect a camera in the tool, then close it: the cameras go back to a new logic.
    auto *cameras = tool->findChild<QTableWidget *>(QStringLiteral("tableWidget_2"));
    QVERIFY(cameras && cameras->rowCount() == 2);
    cameras->selectRow(0);
    button(tool, "pushButton_initModel")->click();
    QVERIFY(tool->cameraRecords().at(0).module);
    tool->close();
    QVERIFY(tool->cameraRecords().at(0).module == nullptr);
    const QStringList back = probe.calls();
    QCOMPARE(back.mid(0, 2), QStringList({"destory", "create"}));
    QVERIFY(back.contains("initTask"));
    QVERIFY(!back.contains("startTask")); // ready, not running
    QCOMPARE(probe.live(), 1);
    QCOMPARE(status(), QStringLiteral("初始化成功\r\n待运行"));
    QVERIFY(logged(QStringLiteral("相机调试完成：连接通信、加载任务。")));
    QVERIFY(!w->isCameraDebugging());
    QVERIFY(button(w.get(), "pushButton_start")->isEnabled());

    // A second cycle still leaves one module object.
    button(w.get(), "pushButton_cameraDebug")->click();
    tool->close();
    QCOMPARE(probe.live(), 1);
}

void TestMainWindowDialogs::exitPromptOneAtATime()
{
    QStringList texts;
    int pressesWhileOpen = 0;
    boxes->hook = [&](QMessageBox *box) {
        if (box != w->exitPrompt())
            return false;
        texts << box->text();
        if (pressesWhileOpen < 2) { // a press queued while the prompt is open
            ++pressesWhileOpen;
            button(w.get(), "pushButton_close")->click();
        }
        QMetaObject::invokeMethod(w->exitTimer(), "timeout");
        return true;
    };
    button(w.get(), "pushButton_close")->click();
    // One countdown of fifteen ticks from the first press, then the prompt withdraws.
    QCOMPARE(texts.size(), 15);
    QCOMPARE(texts.first(), QStringLiteral("确认退出程序？15秒后自动取消此操作。"));
    QCOMPARE(w->exitPrompt()->text(), QStringLiteral("确认退出程序？0秒后自动取消此操作。"));
    QVERIFY(!w->exitTimer()->isActive());
    QVERIFY(w->isVisible());
}

void TestMainWindowDialogs::confirmedExitEndsTheApplication()
{
    // Every dialog open, the camera debug tool holding a camera.
    for (const char *name : {"pushButton_set", "pushButton_DefectName", "pushButton_SaveImgSet",
                             "pushButton_sendPLCTool", "pushButton_historyList", "pushButton_cameraDebug"})
        button(w.get(), name)->click();
    QtCameraDebug *tool = w->cameraDebug();
    tool->findChild<QTableWidget *>(QStringLiteral("tableWidget_2"))->selectRow(0);
    button(tool, "pushButton_initModel")->click();
    QVERIFY(tool->cameraRecords().at(0).module);
    QPointer<QtCameraDebug> toolAlive(tool);
    probe.calls();

    bool fellBack = false;
    QTimer::singleShot(0, this, [&] { button(w.get(), "pushButton_close")->click(); });
    QTimer::singleShot(20000, this, [&] { fellBack = true; QCoreApplication::quit(); });
    QCoreApplication::exec();
    QVERIFY(!fellBack); // the confirmed exit ended the event loop
    QVERIFY(!w->isVisible());
    QVERIFY(!w->cameraDebug() && !w->parameterSettings() && !w->sendPLCWindow() && !w->historyLogList());
    // The tool went without handing the cameras back to a logic being torn down.
    QVERIFY(!probe.calls().contains("create"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!toolAlive);
    w.reset();
    QCOMPARE(probe.live(), 0);
}

void TestMainWindowDialogs::closeEventWithEditorsOpenEndsTheApplication()
{
    // Closed by the window system (a plain close, no prompt) while the two editors the
    // close leaves alone are open.
    button(w.get(), "pushButton_DefectName")->click();
    button(w.get(), "pushButton_SaveImgSet")->click();
    QVERIFY(w->defectSet()->isVisible() && w->saveImgSet()->isVisible());
    QVERIFY(loopEndsByItself([&] {
        QTimer::singleShot(0, w.get(), [&] { w->close(); });
        QCoreApplication::exec();
    }));
    QVERIFY(boxes->boxes.isEmpty());
    w.reset();
    QCOMPARE(probe.live(), 0);
    QVERIFY(probe.calls().contains("stopTask"));
}

void TestMainWindowDialogs::exitConfirmedDuringStartUp_data()
{
    // The operation-log line after which the close button is pressed; empty: at the
    // start-up's first turn of events, before any set-up.
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("before the set-up") << QString() << QStringList();
    QTest::newRow("before the start") << QStringLiteral("开始按钮按下，加载通用逻辑并运行")
                                      << QStringList({"create", "checkCameraCfg", "setCameraCfg",
                                                      "initTask", "stopTask", "destory"});
}

void TestMainWindowDialogs::exitConfirmedDuringStartUp()
{
    QFETCH(QString, after);
    QFETCH(QStringList, calls);
    w.reset();
    probe.calls();
    // The window being built is reached through the events it runs while it sets up.
    auto pressClose = [] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<Qt_epWindow *>(top))
                button(window, "pushButton_close")->click();
    };
    QMetaObject::Connection watch;
    QTimer::singleShot(0, [&] {
        if (after.isEmpty()) {
            pressClose();
            return;
        }
        QPlainTextEdit *log = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (qobject_cast<Qt_epWindow *>(top))
                log = top->findChild<QPlainTextEdit *>(QStringLiteral("plainTextEdit_operat"));
        watch = connect(log, &QPlainTextEdit::textChanged, [&, log] {
            if (!log->toPlainText().contains(after))
                return;
            disconnect(watch);
            QTimer::singleShot(0, pressClose);
        });
    });
    QVERIFY(loopEndsByItself([] { runConsole(); }));
    QCOMPARE(boxes->titles(), QStringList{"确认退出程序？"});
    QCOMPARE(probe.calls(), calls); // never started, the module object released
    QCOMPARE(probe.live(), 0);
}

QTEST_MAIN(TestMainWindowDialogs)
#include "tst_MainWindowDialogs.moc"
