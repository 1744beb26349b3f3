#include "RunController.h"

#include "Logic_transfer.h"
#include "MainWindowRules.h"
#include "Platform.h"

#include <QDebug>
#include <QTimer>

StatusLook statusLook(RunState state, const QString &detail)
{
    using styles::Colour;
    switch (state) {
    case RunState::Initialising:
        return {QStringLiteral("初始化中.."), Colour::Red};
    case RunState::Ready:
        return {QStringLiteral("初始化成功\r\n待运行"), Colour::Yellow};
    case RunState::Running:
        return {QStringLiteral("程序运行"), Colour::Green};
    case RunState::Failed:
        return {QStringLiteral("初始化失败"), Colour::Red};
    case RunState::Stopped:
        return {QStringLiteral("程序停止.."), Colour::Red};
    case RunState::ReRunning:
        return {QStringLiteral("重新运行..."), Colour::Yellow};
    case RunState::SwitchingProgram:
        return {QStringLiteral("切换程序号\r\n") + detail, Colour::Red};
    case RunState::CameraDebugging:
        return {QStringLiteral("相机调试.."), Colour::Red};
    }
    return {QString(), Colour::Red};
}

RunController::RunController(QObject *parent)
    : QObject(parent)
    , m_lastStopPress(platform::clockMs())
{
}

RunController::~RunController() = default;

void RunController::setState(RunState state, const QString &detail)
{
    m_state = state;
    emit stateChanged(state, detail);
}

QString RunController::chooseConfigFileName()
{
    m_fileName = MainWindowRules::configFileName(m_programNumber);
    return m_fileName;
}

bool RunController::loadCheckedDocument()
{
    // The previous copy stays when the module refuses the new document.
    const station::Document document(m_bridge->load_camera_cfg(m_fileName));
    QString error;
    if (!m_bridge->checkCameraCfg(document.object(), error)) {
        emit refused(Refusal::Document, error);
        return false;
    }
    m_document = document;
    m_bridge->setCameraCfg(m_document.object());
    return true;
}

bool RunController::newBridgeInitTask()
{
    // The old bridge ends its worker and releases its module object before the new one loads.
    m_bridge.reset();
    m_bridge = std::make_unique<Logic_transfer>();
    chooseConfigFileName();
    if (!loadCheckedDocument())
        return false;
    if (!m_bridge->initTask()) {
        emit refused(Refusal::InitTask, QString());
        return false;
    }
    platform::sleepMs(50);
    return true;
}

void RunController::updateCommunicationMode()
{
    m_communicationMode = MainWindowRules::communicationMode(m_document.standardFlow(), m_communicationMode);
}

bool RunController::initialise()
{
    const bool ok = newBridgeInitTask();
    if (ok)
        updateCommunicationMode();
    m_initialised = ok;
    return ok;
}

void RunController::startImageTimer()
{
    if (!m_imageTimer) {
        m_imageTimer = new QTimer(this);
        m_imageTimer->setInterval(5);
        connect(m_imageTimer, &QTimer::timeout, this, &RunController::imagesDue);
    }
    m_imageTimer->start();
}

bool RunController::start()
{
    if (!m_initialised || !m_bridge)
        return false;
    if (!m_bridge->startTask()) {
        emit refused(Refusal::StartTask, QString());
        return false;
    }
    startImageTimer();
    m_receivingStopped = false;
    return true;
}

bool RunController::stopTask()
{
    if (m_bridge && m_bridge->stopTask())
        return true;
    // The module still runs: its messages and images keep coming.
    emit refused(Refusal::StopTask, QString());
    return false;
}

bool RunController::stopReceiving()
{
    if (!m_initialised)
        return false;
    m_receivingStopped = true;
    return true;
}

void RunController::unloadForReRun()
{
    if (m_bridge) {
        m_bridge->disconnect();
        m_bridge->unloadTask();
    }
    m_receivingStopped = false;
    if (m_imageTimer)
        m_imageTimer->stop();
    m_bridge.reset();
}

bool RunController::reRun()
{
    m_viewsStale = true;
    if (!newBridgeInitTask())
        return false;
    if (!m_bridge->startTask()) {
        emit refused(Refusal::StartTask, QString());
        return false;
    }
    platform::sleepMs(50);
    startImageTimer();
    updateCommunicationMode();
    // The task runs: Stop and Start must work on it.
    m_initialised = true;
    return true;
}

bool RunController::tearDown()
{
    if (!m_bridge)
        return false;
    if (m_imageTimer)
        m_imageTimer->stop();
    platform::sleepMs(50);
    if (m_cameraDebugging)
        qDebug() << "Qt_epWindow::stopAndClear" << " line:" << __LINE__
                 << "task unloaded for camera debugging: stop skipped";
    else
        m_bridge->stopTask();
    platform::sleepMs(50);
    m_bridge.reset();
    platform::sleepMs(100);
    return true;
}

bool RunController::reloadDocument()
{
    return m_bridge && loadCheckedDocument();
}

void RunController::handOverCameras()
{
    if (m_bridge)
        m_bridge->unloadTask();
    // Until the tool closes no call reaches the module and no run can take the cameras.
    m_cameraDebugging = true;
}

void RunController::takeCamerasBack()
{
    m_cameraDebugging = false;
    // The old bridge ends its worker and releases its module object before the new one.
    m_bridge.reset();
}

bool RunController::stopPressAccepted()
{
    const qint64 now = platform::clockMs();
    if (!MainWindowRules::stopPressAccepted(now, m_lastStopPress))
        return false;
    m_lastStopPress = now;
    return true;
}

bool RunController::takeViewsStale()
{
    const bool stale = m_viewsStale;
    m_viewsStale = false;
    return stale;
}
