// The console's main window: owner of the run, the camera views and the tool strip.
#pragma once

#include "DisplayPixmaps.h"
#include "MainWindowRules.h"
#include "ProductionModel.h"
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
    const QList<MainWindowRules::ShotList> &shots() const { return m_production.shots(); }
    const QList<int> &shotDefectCounts() const { return m_production.shotCounts(); }
    const production::ProductionModel &production() const { return m_production; }
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
    const QQueue<QString> &runLines() const { return m_logs.runLines; }
    const QQueue<QString> &resultLines() const { return m_logs.resultLines; }
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
    // Run and result lines: the queues, their numbers and the log views they go to.
    struct MessageLogs
    {
        QQueue<QString> runLines;
        QQueue<QString> resultLines;
        int runCount = 0;
        int resultCount = 0;
        LogBatch *run = nullptr;     // run lines on their way to the run log
        LogBatch *history = nullptr; // result lines on their way to the result log
        QColor runColour{QStringLiteral("white")}; // colour last set on the run log
    };
    MessageLogs m_logs;

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

    bool m_toolsConnected = false;
    bool m_buttonsConnected = false;

    // ---- Statistics, message dispatch and hourly table ----
    // Counters, shifts, hourly totals, defect counts and lamps; the views paint from it.
    production::ProductionModel m_production;
    StatisticsChartSet m_charts;

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
    QString resultMessage(const QString &data, const QString &snInfo, const QString &nowTime);
    // The views of the production model.
    void connectProduction();
    void showLamp(production::Link link, bool green);
    void showCounters(production::Scope scope, const production::Counters &c);
    void showDefectCount(int row, bool night, int count);
    // The shift bars take the records' counts (those not shown yet).
    void showDefectBars();
    bool programSwitchMessage(const QString &myByte, const QString &tmpDate);
    void runProgramSwitch();
    void connectStatisticsButtons();
    QList<QPushButton *> pageButtons() const;
    void applyHourCells(const QVector<production::CellText> &cells);

    QList<ModuleMessage> m_pendingMessages; // arrived while a message or a switch was pending
    bool m_switchPending = false;
    bool m_switchScheduled = false;
    QString m_switchStamp;
    bool m_statisticsButtonsConnected = false;

    // ---- Frameless behaviour (margin 3, active-window gate, right-frame follow-up) ----
    QtFramelessWindow *m_frameless = nullptr;
    ContentMinimum *m_rightMinimum = nullptr; // keeps "frame_right" at its contents' width
};
