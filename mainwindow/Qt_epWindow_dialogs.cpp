// Main window: the dialog openers, the paths by which the dialogs' results come back,
// and the camera-debug hand-over of the cameras between the logic and the tool.
#include "Qt_epWindow.h"

#include "Logic_transfer.h"
#include "MainWindowRules.h"
#include "QtCameraDebug.h"
#include "QtDefectSet.h"
#include "QtHistoryLogList.h"
#include "QtParameterSettings.h"
#include "QtPassword.h"
#include "QtSaveImgSet.h"
#include "QtSendPLC.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMessageBox>

void Qt_epWindow::connectDialogButtons()
{
    connect(ui.pushButton_set, &QPushButton::clicked, this, &Qt_epWindow::openParameterSettings);
    connect(ui.pushButton_DefectName, &QPushButton::clicked, this, &Qt_epWindow::openDefectSet);
    connect(ui.pushButton_SaveImgSet, &QPushButton::clicked, this, &Qt_epWindow::openSaveImgSet);
    connect(ui.pushButton_cameraDebug, &QPushButton::clicked, this, &Qt_epWindow::openCameraDebug);
    connect(ui.pushButton_sendPLCTool, &QPushButton::clicked, this, &Qt_epWindow::openSendPLC);
    connect(ui.pushButton_historyList, &QPushButton::clicked, this, &Qt_epWindow::openHistoryLogList);
    connect(ui.pushButton_operator, &QPushButton::clicked, this, [this] {
        qDebug() << "打开:密码登录界面";
        appendOperationLog(QStringLiteral("打开工具:密码登录界面"));
        m_password->setWindowFlags(Qt::FramelessWindowHint);
        m_password->show();
    });
}

void Qt_epWindow::openParameterSettings()
{
    if (operatorRefused())
        return;
    qDebug() << "打开:工具-参数设置";
    appendOperationLog(QStringLiteral("打开工具:工具-参数设置"));
    if (!m_parameterSettings) {
        m_parameterSettings = new QtParameterSettings(nullptr);
        connect(m_parameterSettings, &QtParameterSettings::reLoadJsonSetParameter, this,
                [this](QStringList keys) {
                    editorSaved(m_parameterSettings->document().fileName(), keys, false);
                });
    }
    m_parameterSettings->initTabs(m_parameterSettings->load_camera_cfg(m_run.chooseConfigFileName()));
    m_parameterSettings->setWindowFlags(Qt::FramelessWindowHint);
    m_parameterSettings->show();
}

void Qt_epWindow::openDefectSet()
{
    if (operatorRefused())
        return;
    qDebug() << "打开:缺陷名称设置";
    appendOperationLog(QStringLiteral("打开:缺陷名称设置"));
    if (!m_defectSet) {
        m_defectSet = new QtDefectSet(nullptr);
        connect(m_defectSet, &QtDefectSet::reLoadJsonSetParameter, this, [this](QStringList keys) {
            editorSaved(m_defectSet->document().fileName(), keys, true);
        });
    }
    m_defectSet->setData(m_run.configFileName());
    m_defectSet->show();
}

void Qt_epWindow::openSaveImgSet()
{
    if (operatorRefused())
        return;
    qDebug() << "打开:存图设置";
    appendOperationLog(QStringLiteral("打开工具:工具-存图设置，子窗口"));
    if (!m_saveImgSet) {
        m_saveImgSet = new QtSaveImgSet(nullptr);
        connect(m_saveImgSet, &QtSaveImgSet::reLoadJsonSetParameter, this, [this](QStringList keys) {
            editorSaved(m_saveImgSet->document().fileName(), keys, false);
        });
    }
    m_saveImgSet->initTable(m_run.configFileName());
    m_saveImgSet->show();
}

void Qt_epWindow::openSendPLC()
{
    qDebug() << "打开:手动补信号";
    appendOperationLog(QStringLiteral("打开工具:工具-手动补信号，子窗口"));
    if (!m_sendPLC) {
        m_sendPLC = new QtSendPLC(nullptr);
        connect(m_sendPLC, &QtSendPLC::sendPLC, this, &Qt_epWindow::sendPLCData);
    }
    m_sendPLC->setCommandList(m_run.document().plcSignals());
    m_sendPLC->show();
}

void Qt_epWindow::openHistoryLogList()
{
    qDebug() << "打开:工具-历史统计分析";
    appendOperationLog(QStringLiteral("打开:工具-历史统计分析"));
    if (!m_historyLogList)
        m_historyLogList = new QtHistoryLogList(nullptr);
    m_historyLogList->setData(m_resultLines);
    m_historyLogList->setWindowFlags(Qt::FramelessWindowHint);
    m_historyLogList->show();
}

void Qt_epWindow::openCameraDebug()
{
    if (operatorRefused())
        return;
    // Already debugging: the task is unloaded and the tool holds the cameras.
    if (m_run.isCameraDebugging() && m_cameraDebug) {
        m_cameraDebug->show();
        m_cameraDebug->raise();
        m_cameraDebug->activateWindow();
        return;
    }
    const auto answer = QMessageBox::question(this, QStringLiteral("开始相机调试？"),
                                              QStringLiteral("开始相机调试：断开通信、卸载任务并开始相机调试？"),
                                              QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::No) {
        qDebug() << "开始相机调试，取消";
        appendOperationLog(QStringLiteral("开始相机调试，取消"));
        return;
    }
    m_run.setState(RunState::CameraDebugging);
    selectPage(4);
    setLogColor(ui.plainTextEdit_operat, QColor(QStringLiteral("red")));
    qDebug() << "开始相机调试：断开通信、卸载任务并开始相机调试。";
    appendOperationLog(QStringLiteral("开始相机调试：断开通信、卸载任务并开始相机调试。"));
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (m_run.exitRequested())
        return;

    m_run.handOverCameras();
    setRunButtonsEnabled(false);
    if (!m_cameraDebug) {
        m_cameraDebug = new QtCameraDebug(nullptr);
        connect(m_cameraDebug, &QtCameraDebug::QtCameraDebug_done, this, &Qt_epWindow::cameraDebugDone);
    }
    m_cameraDebug->setWindowFlags(Qt::FramelessWindowHint);
    m_cameraDebug->show();
}

void Qt_epWindow::cameraDebugDone()
{
    qDebug() << "相机调试完成：连接通信、加载任务并运行。";
    appendOperationLog(QStringLiteral("相机调试完成：连接通信、加载任务。"));
    m_run.takeCamerasBack();
    setRunButtonsEnabled(true);
    m_run.setState(initLogic() ? RunState::Ready : RunState::Failed);
    setLogColor(ui.plainTextEdit_operat, QColor(QStringLiteral("white")));
    selectPage(0);
}

void Qt_epWindow::editorSaved(const QString &fileName, const QStringList &moduleKeyList, bool defects)
{
    if (moduleKeyList.isEmpty() || !m_run.bridge())
        return;
    // A save to the other program's document leaves the running one alone.
    if (fileName != m_run.configFileName()) {
        appendOperationLog(QStringLiteral("参数已保存到") + fileName + QStringLiteral("，当前程序使用")
                           + m_run.configFileName() + QStringLiteral("，不重新加载"));
        return;
    }
    if (m_run.isCameraDebugging()) {
        appendOperationLog(QStringLiteral("相机调试中，参数未下发到通用逻辑（调试结束后重新加载）：")
                           + moduleKeyList.join(QLatin1Char(',')));
        return;
    }
    reloadCameraCfg();
    m_run.bridge()->reLoadJsonSetParameter(moduleKeyList);
    if (defects)
        loadDefectTable();
}

void Qt_epWindow::setRunButtonsEnabled(bool enabled)
{
    for (QPushButton *button : {ui.pushButton_start, ui.pushButton_stop, ui.pushButton_reStart})
        button->setEnabled(enabled);
}

void Qt_epWindow::closeAdministrationWindows()
{
    // An operator keeps no administration window opened before the switch.
    for (QWidget *window : std::initializer_list<QWidget *>{m_parameterSettings, m_defectSet,
                                                            m_saveImgSet, m_cameraDebug})
        if (window && window->isVisible())
            window->close();
}

void Qt_epWindow::releaseToolWindows()
{
    // Deleted later, never inside a handler that may be running one of them; the camera
    // debug tool's end no longer hands the cameras back to a logic being torn down (its
    // destructor still releases every camera it holds).
    if (m_cameraDebug)
        disconnect(m_cameraDebug, nullptr, this, nullptr);
    for (QWidget *tool : std::initializer_list<QWidget *>{m_parameterSettings, m_cameraDebug,
                                                          m_sendPLC, m_historyLogList}) {
        if (!tool)
            continue;
        tool->hide();
        tool->deleteLater();
        m_closingTools.append(tool);
    }
    m_parameterSettings = nullptr;
    m_cameraDebug = nullptr;
    m_sendPLC = nullptr;
    m_historyLogList = nullptr;
}

void Qt_epWindow::deleteDialogs()
{
    // Tool windows released at close whose deferred deletion has not run, and the
    // dialogs the window keeps for its whole life.
    releaseToolWindows();
    for (const QPointer<QWidget> &tool : qAsConst(m_closingTools))
        delete tool.data();
    m_closingTools.clear();
    delete m_defectSet;
    m_defectSet = nullptr;
    delete m_saveImgSet;
    m_saveImgSet = nullptr;
    delete m_password;
    m_password = nullptr;
}
