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

void startTaskBox(QWidget *parent)
{
    informationBox(parent, QStringLiteral("startTask错误"), QStringLiteral("startTask失败,请阅读Log日志进行分析"));
}

} // namespace

void Qt_epWindow::showRefusal(RunController::Refusal refusal, const QString &detail)
{
    switch (refusal) {
    case RunController::Refusal::Document:
        informationBox(this, QStringLiteral("camera_cfg错误"), detail);
        break;
    case RunController::Refusal::InitTask:
        informationBox(this, QStringLiteral("initTask错误"), QStringLiteral("initTask失败,请阅读Log日志进行分析"));
        break;
    case RunController::Refusal::StartTask:
        startTaskBox(this);
        break;
    case RunController::Refusal::StopTask:
        informationBox(this, QStringLiteral("stopTask错误"), QStringLiteral("stopTask失败,请阅读Log日志进行分析"));
        break;
    }
}

void Qt_epWindow::rebuildViewsIfNeeded()
{
    if (m_run.takeViewsStale()) {
        adjustLayout(m_run.document());
        initImageCountTable(m_run.document());
    }
}

bool Qt_epWindow::initLogic()
{
    if (!m_run.initialise())
        return false;
    rebuildViewsIfNeeded();
    ui.label_type->setText(m_run.document().taskName());
    appendOperationLog(QStringLiteral("通用逻辑加载成功! 按下“开始按钮”后运行程序。"));
    return true;
}

void Qt_epWindow::connectMessages()
{
    // Unique: a second Start must not deliver every message twice.
    connect(m_run.bridge(), SIGNAL(LogicTransfer_writeData(QString, QString, QString, QByteArray)), this,
            SLOT(getTransferData(QString, QString, QString, QByteArray)), Qt::UniqueConnection);
}

bool Qt_epWindow::startLogic()
{
    if (!m_run.start())
        return false;
    connectMessages();
    appendOperationLog(QStringLiteral("程序自动运行。"));
    return true;
}

void Qt_epWindow::setRunIcons(const QString &startIcon, const QString &stopIcon)
{
    if (!startIcon.isEmpty())
        ui.pushButton_start->setStyleSheet(styles::iconButton(startIcon));
    if (!stopIcon.isEmpty())
        ui.pushButton_stop->setStyleSheet(styles::iconButton(stopIcon));
}

void Qt_epWindow::setLamps(bool green)
{
    const QString style = styles::lamp(green);
    ui.pushButton_PLCstatus->setStyleSheet(style);
    ui.pushButton_CameraStatus->setStyleSheet(style);
}

void Qt_epWindow::onStartClicked()
{
    appendOperationLog(QStringLiteral("开始按钮按下，加载通用逻辑并运行"));
    QCoreApplication::processEvents();
    if (m_run.exitRequested())
        return;
    if (startLogic()) {
        setLamps(true);
        m_run.setState(RunState::Running);
        setRunIcons(QString::fromUtf8(kStartRunning), QString::fromUtf8(kStopIdle));
    } else {
        startTaskBox(this);
        m_run.setState(RunState::Failed);
    }
}

bool Qt_epWindow::stopReceiving()
{
    if (!m_run.stopReceiving())
        return false;
    if (m_run.bridge())
        disconnect(m_run.bridge(), SIGNAL(LogicTransfer_writeData(QString, QString, QString, QByteArray)), nullptr,
                   nullptr);
    return true;
}

void Qt_epWindow::onStopPressed()
{
    if (!m_run.stopPressAccepted())
        return;

    if (!questionConfirmed(this, QStringLiteral("确认停止？"), QStringLiteral("确认停止：清除所有容器数据？"))) {
        qDebug() << "停止，取消";
        appendOperationLog(QStringLiteral("停止，取消"));
        return;
    }
    appendOperationLog(QStringLiteral("停止按钮按下，清除所有容器数据"));
    QCoreApplication::processEvents();

    if (!m_run.stopTask())
        return;
    stopReceiving();
    if (MainWindowRules::isAdministrator(m_roleText))
        ui.pushButton_set->show();
    ui.pushButton_operator->show();
    m_run.setState(RunState::Stopped);
    setRunIcons(QString::fromUtf8(kStartIdle), QString::fromUtf8(kStopStopped));
}

bool Qt_epWindow::reloadAndRun()
{
    if (!m_run.reRun())
        return false;
    connectMessages();
    rebuildViewsIfNeeded();
    ui.label_type->setText(m_run.document().taskName());
    appendOperationLog(QStringLiteral("通用逻辑加载成功，程序自动运行"));
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
    m_run.setState(RunState::ReRunning);
    setRunIcons(QString::fromUtf8(kStartIdle), QString());
    qDebug() << "重新运行，卸载任务并重新加载通用逻辑后运行";
    appendOperationLog(QStringLiteral("重新运行按钮按下，卸载任务并重新加载通用逻辑后运行"));
    QCoreApplication::processEvents();
    if (m_run.exitRequested())
        return;

    m_run.unloadForReRun();
    m_shotDefectCounts.clear();
    clearCameraViews();

    if (reloadAndRun()) {
        m_run.setState(RunState::Running);
        setLamps(true);
        setRunIcons(QString::fromUtf8(kStartIdle), QString::fromUtf8(kStopIdle));
    } else {
        startTaskBox(this);
        m_run.setState(RunState::Failed);
    }
}

void Qt_epWindow::stopAndClear()
{
    m_pieAll.allNum = 0;
    m_pieAll.OKNum = 0;
    m_pieAll.NGNum = 0;
    if (m_run.bridge() && m_timer24H)
        m_timer24H->stop();
    if (m_run.tearDown())
        clearCameraViews();
}

void Qt_epWindow::clearCameraViews()
{
    ui.tableWidget_defectList->setRowCount(0);
    ui.tableWidget_defectList->clear();

    for (QGraphicsView *view : qAsConst(m_cameras.views))
        ui.gridLayout->removeWidget(view);
    for (QLabel *label : qAsConst(m_cameras.labels)) {
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

    qDeleteAll(m_cameras.views);
    qDeleteAll(m_cameras.labels);
    qDeleteAll(m_cameras.scenes); // each scene deletes the item it shows

    m_cameras.views.clear();
    m_cameras.labels.clear();
    m_cameras.keys.clear();
    m_cameras.items.clear();
    m_cameras.scenes.clear();
    m_shots.clear();
}

bool Qt_epWindow::reloadCameraCfg()
{
    return m_run.reloadDocument();
}

void Qt_epWindow::handOffImages()
{
    Logic_transfer *bridge = m_run.bridge();
    if (!bridge)
        return;
    QList<ImageEntry> images;
    if (!bridge->takeImages(&images))
        return;
    if (m_cameras.views.isEmpty())
        return;
    m_cameras.viewWidth = m_cameras.views.first()->width();
    m_cameras.viewHeight = m_cameras.views.first()->height();
    platform::sleepMs(1);
    if (m_run.isReceivingStopped())
        return;
    for (const ImageEntry &entry : qAsConst(images))
        if (!entry.image.isNull())
            showImage(entry.name, entry.image);
}
