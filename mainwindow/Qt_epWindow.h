// The console's main window: owner of the run, the camera views and the tool strip.
#pragma once

#include "DisplayPixmaps.h"
#include "MainWindowRules.h"
#include "ProductionModel.h"
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
    void adjustLayout(QJsonObject document);
    void initImageCountTable(QJsonObject document);
    void showImage(QString name, QImage *image);
    void setLogColor(QPlainTextEdit *edit, const QColor &color);

    // Tool strip and buttons.
    void setTools();
    void pushButtonS();

    // Operation-log line: time stamp, blank, text.
    void appendOperationLog(const QString &text);

    // State for tests and tools.
    Logic_transfer *bridge() const { return m_logic; }
    bool isInitialised() const { return m_initialised; }
    bool isReceivingStopped() const { return m_receivingStopped; }
    int programNumber() const { return m_programNumber; }
    int communicationMode() const { return m_communicationMode; }
    QString configFileName() const { return m_cfgFileName; }
    QJsonObject cameraCfg() const { return m_cameraCfg; }
    const QList<MainWindowRules::ShotList> &shots() const { return m_production.shots(); }
    const QList<int> &shotDefectCounts() const { return m_production.shotCounts(); }
    const production::ProductionModel &production() const { return m_production; }
    const QList<QGraphicsView *> &cameraViews() const { return m_views; }
    const QList<QGraphicsScene *> &cameraScenes() const { return m_scenes; }
    const QList<QGraphicsItem *> &cameraViewItems() const { return m_viewItems; }
    const QStringList &cameraKeys() const { return m_cameraKeys; }
    QTimer *imageTimer() const { return m_imageTimer; }
    QtPassword *loginWindow() const { return m_password; }
    QMessageBox *exitPrompt() { return &m_exitPrompt; }
    QTimer *exitTimer() const { return m_exitTimer; }
    QtFramelessWindow *frameless() const { return m_frameless; }
    bool isCameraDebugging() const { return m_cameraDebugging; }
    QtParameterSettings *parameterSettings() const { return m_parameterSettings; }
    QtCameraDebug *cameraDebug() const { return m_cameraDebug; }
    QtSendPLC *sendPLCWindow() const { return m_sendPLC; }
    QtSaveImgSet *saveImgSet() const { return m_saveImgSet; }
    QtDefectSet *defectSet() const { return m_defectSet; }
    QtHistoryLogList *historyLogList() const { return m_historyLogList; }
    const QQueue<QString> &runLines() const { return m_runLines; }
    const QQueue<QString> &resultLines() const { return m_resultLines; }
    // A close was accepted: the run ends with the window, no new start is made.
    bool exitRequested() const { return m_exitRequested; }

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
    void startImageTimer();
    void connectMessages();
    bool loadCheckedDocument(); // load, check (keeping the old copy on refusal), apply
    bool newBridgeInitTask();   // replace the bridge, apply the document, initialise the task
    void rebuildViewsIfNeeded();
    void clearCameraViews();
    void setRunIcons(const QString &startIcon, const QString &stopIcon);
    void setLamps(bool green);
    void setStatus(const QString &text, const QString &style);
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
    bool m_rebuildViews = true;
    bool m_initialised = false;
    bool m_receivingStopped = false;
    QtPassword *m_password = nullptr;
    Logic_transfer *m_logic = nullptr;
    bool m_firstLogin = true;
    QMutex m_windowMutex; // the window's one guard, for its whole life
    QQueue<QString> m_runLines;
    QQueue<QString> m_resultLines;

    // Camera views: element c belongs to camera c.
    QList<QGraphicsView *> m_views;
    QList<QLabel *> m_viewLabels;
    QStringList m_cameraKeys;
    QStringList m_windowNames;
    QList<QGraphicsItem *> m_viewItems; // owned by the scenes
    QList<QGraphicsScene *> m_scenes;
    int m_viewWidth = 0;
    int m_viewHeight = 0;
    DisplayPixmaps m_displayPixmaps;

    QTimer *m_imageTimer = nullptr;
    int m_programNumber = 1;
    QMessageBox m_exitPrompt;
    QTimer *m_exitTimer = nullptr;
    int m_exitCountdown = 15;
    QString m_cfgFileName;
    QJsonObject m_cameraCfg;

    // Tool windows, made on first use.
    QtParameterSettings *m_parameterSettings = nullptr;
    QtCameraDebug *m_cameraDebug = nullptr;
    QtSendPLC *m_sendPLC = nullptr;
    QtSaveImgSet *m_saveImgSet = nullptr;
    QtDefectSet *m_defectSet = nullptr;
    QtHistoryLogList *m_historyLogList = nullptr;
    QList<QPointer<QWidget>> m_closingTools; // released at close, deleted later
    bool m_cameraDebugging = false;           // task unloaded, the tool holds the cameras
    bool m_exitRequested = false;             // closed: nothing new is started

    QString m_roleText;
    int m_runLineCount = 0;
    int m_resultLineCount = 0;
    int m_communicationMode = 0;

    // Process-wide: the last accepted Stop press (ms since process start).
    static qint64 s_stopPressTime;

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
    LogBatch *m_runLog = nullptr;     // run lines on their way to the run log
    LogBatch *m_historyLog = nullptr; // result lines on their way to the result log
    QColor m_runColour{QStringLiteral("white")}; // colour last set on the run log

    // ---- Frameless behaviour (margin 3, active-window gate, right-frame follow-up) ----
    QtFramelessWindow *m_frameless = nullptr;
    ContentMinimum *m_rightMinimum = nullptr; // keeps "frame_right" at its contents' width
};
