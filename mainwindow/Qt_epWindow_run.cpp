// Main window: run control (initialise, start, stop, re-run, tear down) and the image hand-off.
#include "Qt_epWindow.h"

#include "ImageEntry.h"
#include "Logic_transfer.h"
#include "MainWindowRules.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

const char *const kStartIdle = "4.1.项目运行.png";
const char *const kStartRunning = "4.6.项目运行.png";
const char *const kStopIdle = "6.1.项目停止.png";
const char *const kStopStopped = "6.5.项目停止.png";

void informationBox(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

bool questionConfirmed(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
           != QMessageBox::No;
}

const QString kInitTaskTitle = QStringLiteral("initTask错误");
const QString kInitTaskText = QStringLiteral("initTask失败,请阅读Log日志进行分析");
const QString kStartTaskTitle = QStringLiteral("startTask错误");
const QString kStartTaskText = QStringLiteral("startTask失败,请阅读Log日志进行分析");
const QString kStopTaskTitle = QStringLiteral("stopTask错误");
const QString kStopTaskText = QStringLiteral("stopTask失败,请阅读Log日志进行分析");

} // namespace

bool Qt_epWindow::loadCheckedDocument()
{
    // The window keeps its previous copy when the module refuses the new document.
    const QJsonObject document = m_logic->load_camera_cfg(m_cfgFileName);
    QString error;
    if (!m_logic->checkCameraCfg(document, error)) {
        informationBox(this, QStringLiteral("camera_cfg错误"), error);
        return false;
    }
    m_cameraCfg = document;
    m_logic->setCameraCfg(m_cameraCfg);
    return true;
}

bool Qt_epWindow::newBridgeInitTask()
{
    // The old bridge is gone before the new one loads the module.
    if (m_logic) {
        delete m_logic;
        m_logic = nullptr;
    }
    m_logic = new Logic_transfer();
    m_cfgFileName = MainWindowRules::configFileName(m_programNumber);
    if (!loadCheckedDocument())
        return false;
    if (!m_logic->initTask()) {
        informationBox(this, kInitTaskTitle, kInitTaskText);
        return false;
    }
    platform::sleepMs(50);
    return true;
}

void Qt_epWindow::rebuildViewsIfNeeded()
{
    if (m_rebuildViews) {
        adjustLayout(m_cameraCfg);
        initImageCountTable(m_cameraCfg);
        m_rebuildViews = false;
    }
}

bool Qt_epWindow::initLogic()
{
    if (!newBridgeInitTask())
        return false;
    rebuildViewsIfNeeded();
    m_communicationMode = MainWindowRules::communicationMode(
        m_cameraCfg.value(QStringLiteral("是否为标准通信流程")).toString(), m_communicationMode);
    ui.label_type->setText(m_cameraCfg.value(QStringLiteral("任务名")).toString());
    appendOperationLog(QStringLiteral("通用逻辑加载成功! 按下“开始按钮”后运行程序。"));
    return true;
}

void Qt_epWindow::startImageTimer()
{
    if (m_imageTimer) {
        m_imageTimer->stop();
        delete m_imageTimer;
    }
    m_imageTimer = new QTimer();
    m_imageTimer->setInterval(5);
    connect(m_imageTimer, &QTimer::timeout, this, &Qt_epWindow::handOffImages);
    m_imageTimer->start();
}

void Qt_epWindow::connectMessages()
{
    // Unique: a second Start must not deliver every message twice.
    connect(m_logic, SIGNAL(LogicTransfer_writeData(QString, QString, QString, QByteArray)), this,
            SLOT(getTransferData(QString, QString, QString, QByteArray)), Qt::UniqueConnection);
}

bool Qt_epWindow::startLogic()
{
    if (!m_initialised || !m_logic)
        return false;
    if (!m_logic->startTask()) {
        informationBox(this, kStartTaskTitle, kStartTaskText);
        return false;
    }
    startImageTimer();
    connectMessages();
    m_receivingStopped = false;
    appendOperationLog(QStringLiteral("程序自动运行。"));
    return true;
}

void Qt_epWindow::setRunIcons(const QString &startIcon, const QString &stopIcon)
{
    if (!startIcon.isEmpty())
        ui.pushButton_start->setStyleSheet(MainWindowRules::iconStyle(startIcon));
    if (!stopIcon.isEmpty())
        ui.pushButton_stop->setStyleSheet(MainWindowRules::iconStyle(stopIcon));
}

void Qt_epWindow::setLamps(bool green)
{
    m_production.setLamps(green);
}

void Qt_epWindow::onStartClicked()
{
    appendOperationLog(QStringLiteral("开始按钮按下，加载通用逻辑并运行"));
    QCoreApplication::processEvents();
    if (m_exitRequested)
        return;
    if (startLogic()) {
        setLamps(true);
        setStatus(QStringLiteral("程序运行"), QStringLiteral("color: green;"));
        setRunIcons(QString::fromUtf8(kStartRunning), QString::fromUtf8(kStopIdle));
    } else {
        informationBox(this, kStartTaskTitle, kStartTaskText);
        setStatus(QStringLiteral("初始化失败"), QStringLiteral("color: red;"));
    }
}

bool Qt_epWindow::stopReceiving()
{
    if (!m_initialised)
        return false;
    m_receivingStopped = true;
    if (m_logic)
        disconnect(m_logic, SIGNAL(LogicTransfer_writeData(QString, QString, QString, QByteArray)), nullptr,
                   nullptr);
    return true;
}

void Qt_epWindow::onStopPressed()
{
    const qint64 now = platform::clockMs();
    if (!MainWindowRules::stopPressAccepted(now, s_stopPressTime))
        return;
    s_stopPressTime = now;

    if (!questionConfirmed(this, QStringLiteral("确认停止？"), QStringLiteral("确认停止：清除所有容器数据？"))) {
        qDebug() << "停止，取消";
        appendOperationLog(QStringLiteral("停止，取消"));
        return;
    }
    appendOperationLog(QStringLiteral("停止按钮按下，清除所有容器数据"));
    QCoreApplication::processEvents();

    const bool ok = m_logic && m_logic->stopTask();
    if (!ok) {
        // The module still runs: keep receiving its messages and images.
        informationBox(this, kStopTaskTitle, kStopTaskText);
        return;
    }
    stopReceiving();
    if (MainWindowRules::isAdministrator(m_roleText))
        ui.pushButton_set->show();
    ui.pushButton_operator->show();
    setStatus(QStringLiteral("程序停止.."), QStringLiteral("color: red;"));
    setRunIcons(QString::fromUtf8(kStartIdle), QString::fromUtf8(kStopStopped));
}

bool Qt_epWindow::reloadAndRun()
{
    m_rebuildViews = true;
    if (!newBridgeInitTask())
        return false;
    if (!m_logic->startTask()) {
        informationBox(this, kStartTaskTitle, kStartTaskText);
        return false;
    }
    platform::sleepMs(50);
    startImageTimer();
    connectMessages();
    rebuildViewsIfNeeded();
    ui.label_type->setText(m_cameraCfg.value(QStringLiteral("任务名")).toString());
    appendOperationLog(QStringLiteral("通用逻辑加载成功，程序自动运行"));
    m_communicationMode = MainWindowRules::communicationMode(
        m_cameraCfg.value(QStringLiteral("是否为标准通信流程")).toString(), m_communicationMode);
    // The task runs: Stop and Start must work on it.
    m_initialised = true;
    return true;
}

void Qt_epWindow::onReRunClicked()
{
    if (!questionConfirmed(this, QStringLiteral("确认重新运行？"),
                           QStringLiteral("确认重新运行：卸载任务并重新加载通用逻辑后运行？"))) {
        qDebug() << "重新运行，取消";
        appendOperationLog(QStringLiteral("重新运行，取消"));
        return;
    }
    setLamps(false);
    setStatus(QStringLiteral("重新运行..."), QStringLiteral("color: yellow;"));
    setRunIcons(QString::fromUtf8(kStartIdle), QString());
    qDebug() << "重新运行，卸载任务并重新加载通用逻辑后运行";
    appendOperationLog(QStringLiteral("重新运行按钮按下，卸载任务并重新加载通用逻辑后运行"));
    QCoreApplication::processEvents();
    if (m_exitRequested)
        return;

    if (m_logic) {
        m_logic->disconnect();
        m_logic->unloadTask();
    }
    m_receivingStopped = false;
    if (m_imageTimer) {
        m_imageTimer->stop();
        delete m_imageTimer;
        m_imageTimer = nullptr;
    }
    delete m_logic;
    m_logic = nullptr;
    m_production.clearShotCounts();
    clearCameraViews();

    if (reloadAndRun()) {
        setStatus(QStringLiteral("程序运行"), QStringLiteral("color: green;"));
        setLamps(true);
        setRunIcons(QString::fromUtf8(kStartIdle), QString::fromUtf8(kStopIdle));
    } else {
        informationBox(this, kStartTaskTitle, kStartTaskText);
        setStatus(QStringLiteral("初始化失败"), QStringLiteral("color: red;"));
    }
}

void Qt_epWindow::stopAndClear()
{
    m_production.resetOverall();
    if (!m_logic)
        return;
    if (m_imageTimer)
        m_imageTimer->stop();
    m_production.stopHourly();
    platform::sleepMs(50);
    if (m_cameraDebugging)
        qDebug() << "Qt_epWindow::stopAndClear" << " line:" << __LINE__
                 << "task unloaded for camera debugging: stop skipped";
    else
        m_logic->stopTask();
    platform::sleepMs(50);
    delete m_logic;
    m_logic = nullptr;
    platform::sleepMs(100);
    clearCameraViews();
}

void Qt_epWindow::clearCameraViews()
{
    ui.tableWidget_defectList->setRowCount(0);
    ui.tableWidget_defectList->clear();

    for (QGraphicsView *view : qAsConst(m_views))
        ui.gridLayout->removeWidget(view);
    for (QLabel *label : qAsConst(m_viewLabels)) {
        label->setText(QString());
        ui.gridLayout->removeWidget(label);
    }

    // A fresh grid; the form's pointer follows it.
    delete ui.gridLayout;
    ui.gridLayout = new QGridLayout(ui.widget_image);
    ui.gridLayout->setSpacing(6);
    ui.gridLayout->setContentsMargins(11, 11, 11, 11);
    ui.gridLayout->setObjectName(QStringLiteral("gridLayout"));
    ui.widget_image->clearMask();
    ui.widget_image->repaint();

    qDeleteAll(m_views);
    qDeleteAll(m_viewLabels);
    qDeleteAll(m_scenes); // each scene deletes the item it shows

    m_views.clear();
    m_viewLabels.clear();
    m_cameraKeys.clear();
    m_windowNames.clear();
    m_viewItems.clear();
    m_scenes.clear();
    m_production.clearShots();
}

bool Qt_epWindow::reloadCameraCfg()
{
    if (!m_logic)
        return false;
    return loadCheckedDocument();
}

void Qt_epWindow::handOffImages()
{
    if (!m_logic)
        return;
    QList<ImageEntry> images;
    if (!m_logic->takeImages(&images))
        return;
    if (m_views.isEmpty()) {
        for (const ImageEntry &entry : qAsConst(images))
            delete entry.image;
        return;
    }
    m_viewWidth = m_views.first()->width();
    m_viewHeight = m_views.first()->height();
    platform::sleepMs(1);
    for (const ImageEntry &entry : qAsConst(images)) {
        if (!entry.image)
            continue;
        if (m_receivingStopped)
            delete entry.image;
        else
            showImage(entry.name, entry.image);
    }
}
