// The console's main window: owner of the run, the camera views and the tool strip.
#pragma once

#include "DisplayPixmaps.h"
#include "MainWindowRules.h"
#include "StatisticsTypes.h"
#include "ui_Qt_epWindow.h"

#include <QByteArray>
#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QPoint>
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
class QMutex;
class QPlainTextEdit;
class QTimer;

class Logic_transfer;
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
    void getLoginSuccess(QString authority_user);

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
    const QList<MainWindowRules::ShotList> &shots() const { return m_shots; }
    const QList<int> &shotDefectCounts() const { return m_shotDefectCounts; }
    const QList<QGraphicsView *> &cameraViews() const { return m_views; }
    const QList<QGraphicsScene *> &cameraScenes() const { return m_scenes; }
    const QList<QGraphicsItem *> &cameraViewItems() const { return m_viewItems; }
    const QStringList &cameraKeys() const { return m_cameraKeys; }
    QTimer *imageTimer() const { return m_imageTimer; }
    QtPassword *loginWindow() const { return m_password; }
    QMessageBox *exitPrompt() { return &m_exitPrompt; }
    QTimer *exitTimer() const { return m_exitTimer; }
    QtFramelessWindow *frameless() const { return m_frameless; }

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
    void clearCameraViews();
    void setRunIcons(const QString &startIcon, const QString &stopIcon);
    void setLamps(bool green);
    void setStatus(const QString &text, const QString &style);

    // Exit prompt.
    void onClosePressed();
    void onExitCountdown();

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
    QMutex *m_windowMutex = nullptr;
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

    // Shots: one list per camera with at least one shot, in camera order
    // (entries key#window_i, shot names key_i, table texts window_i);
    // one defect count per shot table row.
    QList<MainWindowRules::ShotList> m_shots;
    QList<int> m_shotDefectCounts;

    QTimer *m_imageTimer = nullptr;
    QTimer *m_timer24H = nullptr;
    int m_hourStartAll = 0;
    int m_hourStartOK = 0;
    int m_hourCount = 0;
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

    QString m_roleText;
    int m_runLineCount = 0;
    int m_resultLineCount = 0;
    int m_communicationMode = 0;

    // Process-wide: the last accepted Stop press (ms since process start).
    static qint64 s_stopPressTime;

    bool m_toolsConnected = false;
    bool m_buttonsConnected = false;

    // ---- Statistics, message dispatch and hourly table ----
    PieChartData m_pieAll;
    PieChartData m_pieDay;
    PieChartData m_pieNight;
    BarChartData m_barDay;
    BarChartData m_barNight;
    bool m_nightShift = false;
    QList<DefectData> m_defects;

    // ---- Frameless behaviour (margin 3, active-window gate, right-frame follow-up) ----
    QtFramelessWindow *m_frameless = nullptr;
};
