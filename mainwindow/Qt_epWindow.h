// The console's main window: owner of the run, the camera views and the tool strip.
#pragma once

#include "DisplayPixmaps.h"
#include "MainWindowRules.h"
#include "ProductionRules.h"
#include "RunController.h"
#include "StatisticsTypes.h"
#include "ui_Qt_epWindow.h"

#include <QByteArray>
#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QMainWindow>
#include <QMutex>
#include <QMessageBox>
#include <QPoint>
#include <QPointer>
#include <QQueue>
#include <QRect>
#include <QString>
#include <QStringList>

class QCloseEvent;
class QGraphicsItem;
class QGraphicsScene;
class QGraphicsView;
class QImage;
class QLabel;
class QMouseEvent;
class QPlainTextEdit;
class QTableWidget;
class QPushButton;
class QTimer;

class LogBatch;
class Logic_transfer;
class ContentMinimum;
class QtFramelessWindow;
class QtPassword;
class QtParameterSettings;
class QtCameraDebug;
class QtSendPLC;
class QtSaveImgSet;
class QtDefectSet;
class QtHistoryLogList;

class Qt_epWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit Qt_epWindow(QWidget *parent = nullptr);
    ~Qt_epWindow() override;

public slots:
    void getTransferData(QString key, QString cameraName, QString snInfo, QByteArray byte);
    void getLoginSuccess(QString authority_user);
    void sendPLCData(QString cmd);

public:
    // Run control.
    bool initLogic();
    bool startLogic();
    bool stopReceiving();
    bool reloadAndRun();
    void stopAndClear();
    bool reloadCameraCfg();

    // Camera views and the shot table.
    void adjustLayout(const station::Document &document);
    void initImageCountTable(const station::Document &document);
    void showImage(const QString &name, const QImage &image);
    void setLogColor(QPlainTextEdit *edit, const QColor &color);

    // Tool strip and buttons.
    void setTools();
    void pushButtonS();

    // Operation-log line: time stamp, blank, text.
    void appendOperationLog(const QString &text);

    // State for tests and tools.
    RunController &run() { return m_run; }
    Logic_transfer *bridge() const { return m_run.bridge(); }
    bool isInitialised() const { return m_run.isInitialised(); }
    bool isReceivingStopped() const { return m_run.isReceivingStopped(); }
    int programNumber() const { return m_run.programNumber(); }
    int communicationMode() const { return m_run.communicationMode(); }
    QString configFileName() const { return m_run.configFileName(); }
    QJsonObject cameraCfg() const { return m_run.document().object(); }
    const QList<MainWindowRules::ShotList> &shots() const { return m_shots; }
    const QList<int> &shotDefectCounts() const { return m_shotDefectCounts; }
    const QList<QGraphicsView *> &cameraViews() const { return m_cameras.views; }
    const QList<QGraphicsScene *> &cameraScenes() const { return m_cameras.scenes; }
    const QList<QGraphicsItem *> &cameraViewItems() const { return m_cameras.items; }
    const QStringList &cameraKeys() const { return m_cameras.keys; }
    QTimer *imageTimer() const { return m_run.imageTimer(); }
    QtPassword *loginWindow() const { return m_password; }
    QMessageBox *exitPrompt() { return &m_exit.box; }
    QTimer *exitTimer() const { return m_exit.timer; }
    QtFramelessWindow *frameless() const { return m_frameless; }
    bool isCameraDebugging() const { return m_run.isCameraDebugging(); }
    QtParameterSettings *parameterSettings() const { return m_parameterSettings; }
    QtCameraDebug *cameraDebug() const { return m_cameraDebug; }
    QtSendPLC *sendPLCWindow() const { return m_sendPLC; }
    QtSaveImgSet *saveImgSet() const { return m_saveImgSet; }
    QtDefectSet *defectSet() const { return m_defectSet; }
    QtHistoryLogList *historyLogList() const { return m_historyLogList; }
    const QQueue<QString> &runLines() const { return m_runLines; }
    const QQueue<QString> &resultLines() const { return m_resultLines; }
    // A close was accepted: the run ends with the window, no new start is made.
    bool exitRequested() const { return m_run.exitRequested(); }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Button handlers.
    void onStartClicked();
    void onStopPressed();
    void onReRunClicked();
    void handOffImages();
    void connectMessages();
    void rebuildViewsIfNeeded();
    void clearCameraViews();
    void setRunIcons(const QString &startIcon, const QString &stopIcon);
    void setLamps(bool green);
    void showState(RunState state, const QString &detail);
    void showRefusal(RunController::Refusal refusal, const QString &detail);
    void showOperationLine(const QString &line); // a whole operation-log line, stamp included
    void setFrameRightMinimum(const QSize &rule);

    // Exit prompt.
    void onClosePressed();
    void onExitCountdown();

    // Dialog openers and their return paths.
    void connectDialogButtons();
    void openParameterSettings();
    void openDefectSet();
    void openSaveImgSet();
    void openSendPLC();
    void openHistoryLogList();
    void openCameraDebug();
    void cameraDebugDone();
    void editorSaved(const QString &fileName, const QStringList &moduleKeyList, bool defects);
    void setRunButtonsEnabled(bool enabled);
    void closeAdministrationWindows();
    void releaseToolWindows();
    void deleteDialogs();

    // Tool strip.
    bool operatorRefused();
    void startExternalTool(const QString &debugText, const QString &toolFile);

private:
    Ui::Qt_epWindowClass ui;
    RunController m_run;
    QtPassword *m_password = nullptr;
    bool m_firstLogin = true;
    QMutex m_windowMutex; // the window's one guard, for its whole life
    QQueue<QString> m_runLines;
    QQueue<QString> m_resultLines;

    // Camera views: element c belongs to camera c.
    struct CameraViews
    {
        QList<QGraphicsView *> views;
        QList<QLabel *> labels;
        QStringList keys;
        QList<QGraphicsItem *> items; // owned by the scenes
        QList<QGraphicsScene *> scenes;
        int viewWidth = 0;
        int viewHeight = 0;
        DisplayPixmaps pixmaps;
    };
    CameraViews m_cameras;

    // Shots: one list per camera with at least one shot, in camera order
    // (entries key#window_i, shot names key_i, table texts window_i);
    // one defect count per shot table row.
    QList<MainWindowRules::ShotList> m_shots;
    QList<int> m_shotDefectCounts;

    QTimer *m_timer24H = nullptr;
    struct ExitPrompt
    {
        QMessageBox box;
        QTimer *timer = nullptr; // child of the window, made on the first close press
        int countdown = 15;
    };
    ExitPrompt m_exit;

    // Tool windows, made on first use.
    QtParameterSettings *m_parameterSettings = nullptr;
    QtCameraDebug *m_cameraDebug = nullptr;
    QtSendPLC *m_sendPLC = nullptr;
    QtSaveImgSet *m_saveImgSet = nullptr;
    QtDefectSet *m_defectSet = nullptr;
    QtHistoryLogList *m_historyLogList = nullptr;
    QList<QPointer<QWidget>> m_closingTools; // released at close, deleted later

    QString m_roleText;
    int m_runLineCount = 0;
    int m_resultLineCount = 0;

    bool m_toolsConnected = false;
    bool m_buttonsConnected = false;

    // ---- Statistics, message dispatch and hourly table ----
    PieChartData m_pieAll;
    PieChartData m_pieDay;
    PieChartData m_pieNight;
    BarChartData m_barDay;
    BarChartData m_barNight;
    QList<DefectData> m_defects;

public:
    // Statistics pages, charts, defect records and the hourly table.
    void initStatisticsPages();
    void selectPage(int index);
    void initPieChart(PieChartData &h);
    void initDefectBarChart(BarChartData &h, int value);
    void rebuildDefectBarChart(bool night, int value);
    void countDefect(int row, bool night);
    void loadDefectTable();
    void setTableStyle(QTableWidget *table);
    void clearData();
    void initWidegt24H();
    void updateHourTable();
    void updateRunTime();

private:
    struct ModuleMessage
    {
        QString key;
        QString cameraName;
        QString snInfo;
        QByteArray byte;
    };
    void dispatchMessage(const ModuleMessage &m);
    void dispatchPending(bool deferSwitch);
    void countShots(const QString &cameraName, bool onePerCamera);
    QString resultMessage(const QString &data, const QString &snInfo, const QString &nowTime,
                          bool night);
    void showShiftCounters(bool night);
    void startShift(bool night);
    // The shift bars take the records' counts (those not shown yet).
    void showDefectBars();
    bool programSwitchMessage(const QString &myByte, const QString &tmpDate);
    void runProgramSwitch();
    void connectStatisticsButtons();
    QList<QPushButton *> pageButtons() const;
    void applyHourCells(const QVector<production::CellText> &cells);
    void startRunTimeClock();

    QList<ModuleMessage> m_pendingMessages; // arrived while a message or a switch was pending
    production::ShiftTracker m_shift;
    production::HourlyStatistics m_hourly;
    qint64 m_lastResultMs = 0; // clock of the previous result (cycle time)
    bool m_switchPending = false;
    bool m_switchScheduled = false;
    QString m_switchStamp;
    bool m_statisticsButtonsConnected = false;
    bool m_runTimeConnected = false;
    bool m_barsScheduled = false; // bars wait for the next turn of the event loop
    LogBatch *m_runLog = nullptr;     // run lines on their way to the run log
    LogBatch *m_historyLog = nullptr; // result lines on their way to the result log
    QColor m_runColour{QStringLiteral("white")}; // colour last set on the run log

    // ---- Frameless behaviour (margin 3, active-window gate, right-frame follow-up) ----
    QtFramelessWindow *m_frameless = nullptr;
    ContentMinimum *m_rightMinimum = nullptr; // keeps "frame_right" at its contents' width
};
