// Main window: tool strip, button styles and wiring, operator gate, external tools.
#include "Qt_epWindow.h"

#include "MainWindowRules.h"
#include "Platform.h"
#include "QtPassword.h"
#include "Styles.h"

#include <QDebug>
#include <QMessageBox>

void Qt_epWindow::setTools()
{
    ui.pushButton_LogTool->setStyleSheet(styles::iconButton(QStringLiteral("4.Log分析.png")));
    ui.pushButton_cfgTool->setStyleSheet(styles::iconButton(QStringLiteral("5.配置文件.png")));
    ui.pushButton_sendPLCTool->setStyleSheet(styles::iconButton(QStringLiteral("6.手动补信号.png")));
    ui.pushButton_historyList->setStyleSheet(styles::iconButton(QStringLiteral("7.历史统计分析.png")));
    ui.pushButton_resultImgTool->setStyleSheet(styles::iconButton(QStringLiteral("23.1.查看图片.png")));

    // The program switch runs this again: connect only once.
    if (m_toolsConnected)
        return;
    m_toolsConnected = true;
    connect(ui.pushButton_LogTool, &QPushButton::clicked, this,
            [this] { startExternalTool(QStringLiteral("打开:工具-Log分析"), QStringLiteral("工具-Log分析.exe")); });
    connect(ui.pushButton_cfgTool, &QPushButton::clicked, this,
            [this] { startExternalTool(QStringLiteral("打开:工具-配置文件"), QStringLiteral("工具-配置文件.exe")); });
    connect(ui.pushButton_resultImgTool, &QPushButton::clicked, this, [this] {
        startExternalTool(QStringLiteral("打开:工具-查看结果图"), QStringLiteral("工具-查看结果图.exe"));
    });
}

void Qt_epWindow::pushButtonS()
{
    ui.pushButton_CameraStatus->setStyleSheet(styles::lampAtSetUp());
    ui.pushButton_PLCstatus->setStyleSheet(styles::lampAtSetUp());
    ui.pushButton_start->setStyleSheet(styles::iconButton(QStringLiteral("4.1.项目运行.png")));
    ui.pushButton_stop->setStyleSheet(styles::iconButton(QStringLiteral("6.1.项目停止.png")));
    ui.pushButton_reStart->setStyleSheet(styles::iconButton(QStringLiteral("3.重新运行.png")));
    ui.pushButton_set->setStyleSheet(styles::iconButton(QStringLiteral("9.参数设置.png")));
    ui.pushButton_DefectName->setStyleSheet(styles::iconButton(QStringLiteral("9.参数设置.png")));
    ui.pushButton_SaveImgSet->setStyleSheet(styles::iconButton(QStringLiteral("22.阴影校正小.png")));
    ui.pushButton_operator->setStyleSheet(styles::iconButton(QStringLiteral("10.切换权限.png")));
    ui.pushButton_cameraDebug->setStyleSheet(styles::iconButton(QStringLiteral("0.相机模块.png")));
    ui.pushButton_clearData->setStyleSheet(styles::clearDataButton());

    if (m_buttonsConnected)
        return;
    m_buttonsConnected = true;
    connect(ui.pushButton_start, &QPushButton::clicked, this, &Qt_epWindow::onStartClicked);
    connect(ui.pushButton_stop, &QPushButton::pressed, this, &Qt_epWindow::onStopPressed);
    connect(ui.pushButton_reStart, &QPushButton::clicked, this, &Qt_epWindow::onReRunClicked);

    connectDialogButtons();
}

bool Qt_epWindow::operatorRefused()
{
    if (!MainWindowRules::isOperator(ui.label_operator->text()))
        return false;
    QMessageBox::information(this, QStringLiteral("无权限"), QStringLiteral("当前为操作员，请切换为管理员进行操作。"),
                             QMessageBox::Ok);
    return true;
}

void Qt_epWindow::startExternalTool(const QString &debugText, const QString &toolFile)
{
    qDebug() << debugText;
    appendOperationLog(QStringLiteral("打开工具:") + toolFile);
    QString error;
    if (!platform::startTool(toolFile, &error))
        appendOperationLog(QStringLiteral("打开工具失败:") + toolFile + QStringLiteral("，") + error);
}
