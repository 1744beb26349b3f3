// The run of the station's task: the bridge, the program's document, the task's life
// cycle (initialise, start, stop, re-run, program switch, camera-debug hand-over) and
// the state the status label shows. No widgets: the window shows boxes and labels.
#pragma once

#include "StationDocument.h"
#include "Styles.h"

#include <QObject>
#include <QString>

#include <memory>

class Logic_transfer;
class QTimer;

enum class RunState {
    Initialising,
    Ready, // initialised, not started
    Running,
    Failed,
    Stopped,
    ReRunning,
    SwitchingProgram,
    CameraDebugging
};

struct StatusLook
{
    QString text;
    styles::Colour colour;
};

// The status label in a state; detail is the new program number of a switch.
StatusLook statusLook(RunState state, const QString &detail = QString());

class RunController : public QObject
{
    Q_OBJECT

public:
    // What the module or the document refused; the window shows the box.
    enum class Refusal { Document, InitTask, StartTask, StopTask };

    explicit RunController(QObject *parent = nullptr);
    ~RunController() override;

    // A new bridge (the old one gone first), the program's document read, checked and
    // applied, the task initialised. Sets the initialised flag.
    bool initialise();
    // Starts the initialised task and the image timer.
    bool start();
    // Stops the module's task; false (and a refusal) when it does not stop.
    bool stopTask();
    // Messages and images are no longer taken; false before an initialisation.
    bool stopReceiving();
    // Re-run: the task unloaded, the bridge and its timer gone.
    void unloadForReRun();
    // A new bridge, initialised and started; the initialised flag set on success.
    bool reRun();
    // Tears the run down (stopping the task unless it is unloaded for camera debugging).
    // False when there was no bridge.
    bool tearDown();
    // The document read again, checked and applied; false without a bridge or on refusal.
    bool reloadDocument();
    // Camera debugging: the task is unloaded and the tool holds the cameras until
    // takeCamerasBack, which drops the bridge.
    void handOverCameras();
    void takeCamerasBack();

    // Stop presses closer together than the debounce are ignored.
    bool stopPressAccepted();

    void setState(RunState state, const QString &detail = QString());
    RunState state() const { return m_state; }

    Logic_transfer *bridge() const { return m_bridge.get(); }
    QTimer *imageTimer() const { return m_imageTimer; }
    const station::Document &document() const { return m_document; }
    QString configFileName() const { return m_fileName; }
    // The document file of the current program, chosen afresh.
    QString chooseConfigFileName();
    int programNumber() const { return m_programNumber; }
    void setProgramNumber(int number) { m_programNumber = number; }
    int communicationMode() const { return m_communicationMode; }
    bool isInitialised() const { return m_initialised; }
    bool isReceivingStopped() const { return m_receivingStopped; }
    void resumeReceiving() { m_receivingStopped = false; }
    bool isCameraDebugging() const { return m_cameraDebugging; }
    bool exitRequested() const { return m_exitRequested; }
    void requestExit() { m_exitRequested = true; }
    // The camera views follow the document: stale until rebuilt after a new bridge.
    void markViewsStale() { m_viewsStale = true; }
    bool takeViewsStale();

signals:
    void stateChanged(RunState state, const QString &detail);
    void refused(RunController::Refusal refusal, const QString &detail);
    void imagesDue();

private:
    bool newBridgeInitTask();
    bool loadCheckedDocument();
    void startImageTimer();
    void updateCommunicationMode();

    std::unique_ptr<Logic_transfer> m_bridge;
    station::Document m_document;
    QString m_fileName;
    QTimer *m_imageTimer = nullptr; // child, made on the first start
    RunState m_state = RunState::Initialising;
    int m_programNumber = 1;
    int m_communicationMode = 0;
    qint64 m_lastStopPress = 0;
    bool m_initialised = false;
    bool m_receivingStopped = false;
    bool m_cameraDebugging = false; // task unloaded, the tool holds the cameras
    bool m_exitRequested = false;   // closed: nothing new is started
    bool m_viewsStale = true;
};
