#include "QtSendPLC.h"

#include "Platform.h"
#include "QtFramelessWindow.h"
#include "Styles.h"
#include "ToolWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {


QRect availableScreenArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void dropWidget(QWidget *widget)
{
    widget->disconnect();
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater(); // a button may be inside its own click
}

} // namespace

QtSendPLC::QtSendPLC(QWidget *parent) : QMainWindow(parent)
{
    ui.setupUi(this);
    m_frameless = QtFramelessWindow::dialog(this, 2);
    m_frameless->setTitle(ui.title, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);

    QtFramelessWindow::styleTitle(ui.label_icon, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
    connect(ui.pushButton_min, &QPushButton::pressed, m_frameless, &QtFramelessWindow::minimizeWindow);
    connect(ui.pushButton_max, &QPushButton::pressed, this, &QtSendPLC::toggleMaximized);
    connect(ui.pushButton_close, &QPushButton::clicked, m_frameless, &QtFramelessWindow::closeWindow);

    const QSize screen = toolwindow::loggedScreenSize();
    setWindowFlags(Qt::FramelessWindowHint);
    resize(screen.width() / 4, screen.height() / 4);
    move(screen.width() / 4, screen.height() / 4);

    ui.lineEdit->setMinimumSize(80, 30);
    ui.pushButton_send->setMinimumSize(80, 30);
    ui.pushButton_sendALL->setMinimumSize(80, 30);
    ui.pushButton_send->setStyleSheet(styles::darkButton());
    ui.pushButton_sendALL->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_send, &QPushButton::clicked, this, &QtSendPLC::sendTyped);
    connect(ui.pushButton_sendALL, &QPushButton::clicked, this, &QtSendPLC::sendAll);
}

QtSendPLC::~QtSendPLC() = default;

void QtSendPLC::clearGrid()
{
    for (QPushButton *button : qAsConst(m_buttonList))
        dropWidget(button);
    m_buttonList.clear();
    for (QWidget *widget : qAsConst(m_gridWidgets))
        dropWidget(widget);
    m_gridWidgets.clear();
    m_commandList.clear();
}

void QtSendPLC::setCommandList(const QJsonArray &sendPLCArray)
{
    setWindowFlags(Qt::FramelessWindowHint);
    QGridLayout *grid = ui.gridLayout;
    grid->setSpacing(20);
    grid->setVerticalSpacing(10);
    grid->setHorizontalSpacing(10);
    grid->setContentsMargins(10, 10, 10, 10);

    clearGrid();
    ++m_build;
    const sendplc::Grid built = sendplc::buildGrid(sendPLCArray);
    m_commandList = built.commands;
    m_maxRow = built.maxRow;
    m_maxCol = built.maxCol;
    for (const sendplc::GridCell &cell : built.cells) {
        QWidget *widget = nullptr;
        if (cell.kind == sendplc::GridCell::Button) {
            auto *button = new QPushButton(cell.text, ui.scrollAreaWidgetContents);
            button->setStyleSheet(styles::darkButton());
            const int index = cell.command;
            connect(button, &QPushButton::clicked, this, [this, index] { sendCommand(index); });
            m_buttonList.append(button);
            widget = button;
        } else {
            auto *label = new QLabel(cell.text, ui.scrollAreaWidgetContents);
            m_gridWidgets.append(label);
            widget = label;
            if (cell.kind == sendplc::GridCell::CommandLabel)
                label->setStyleSheet(QStringLiteral(
                    "background-color:rgb(229, 229, 229);color:rgb(0, 0, 0); border-radius: 0px;"));
        }
        if (cell.kind != sendplc::GridCell::Separator) {
            widget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            widget->setMinimumSize(80, 30);
        }
        grid->addWidget(widget, cell.row, cell.col);
    }

    setMinimumSize(300, 200); // before sizing: the layout's own minimum may be wider
    fitToGrid(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size()
                                               : QtFramelessWindow::screenSize());
    grid->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_clickGuard.reset(platform::clockMs());
}

void QtSendPLC::fitToGrid(const QSize &screen)
{
    const QRect wanted(sendplc::gridWindowPlace(m_maxRow, m_maxCol, screen),
                       sendplc::gridWindowSize(m_maxRow, m_maxCol).expandedTo(QSize(300, 200)));
    const QRect placed = sendplc::keepOnScreen(wanted, availableScreenArea());
    resize(placed.size());
    move(placed.topLeft());
}

bool QtSendPLC::confirm(const QString &title, const QString &text)
{
    return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

void QtSendPLC::refuse(const QString &title, const QString &text)
{
    QMessageBox::information(this, title, text, QMessageBox::Ok);
}

void QtSendPLC::sendTyped()
{
    if (!m_clickGuard.accept(platform::clockMs()))
        return;
    const QString text = ui.lineEdit->text();
    switch (sendplc::checkTyped(text)) {
    case sendplc::TypedCheck::SendAllForm:
        refuse(QStringLiteral("指令可能错误"),
               QStringLiteral("补全部信号请使用“补全部信号”按钮，不能手动输入，指令：") + text);
        return;
    case sendplc::TypedCheck::TooShortOrNoUnderscore:
        refuse(QStringLiteral("指令可能错误"),
               QStringLiteral("长度小于5，或者未包含_，指令：") + text);
        return;
    case sendplc::TypedCheck::Ok:
        break;
    }
    if (confirm(QStringLiteral("确认发送此指令,指令错误可能导致程序崩溃？"), text))
        emit sendPLC(text);
}

void QtSendPLC::sendCommand(int index)
{
    if (!m_clickGuard.accept(platform::clockMs()))
        return;
    const int build = m_build;
    const QString command = m_commandList.value(index);
    if (confirm(QStringLiteral("确认发送此指令,指令错误可能导致程序崩溃!"), command)
        && build == m_build)
        emit sendPLC(command);
}

void QtSendPLC::sendAll()
{
    if (!m_clickGuard.accept(platform::clockMs()))
        return;
    if (m_commandList.isEmpty()) {
        refuse(QStringLiteral("失败"), QStringLiteral("无指令"));
        return;
    }
    const int build = m_build;
    if (confirm(QStringLiteral("确认补全部信号？"), QStringLiteral("补全部信号，可能导致通信流程变更！"))
        && build == m_build)
        emit sendPLC(sendplc::sendAllCommand(m_commandList));
}

void QtSendPLC::toggleMaximized()
{
    QtFramelessWindow::toggleToolMaximized(this, &m_maximizeNext,
                                           [this] { fitToGrid(QtFramelessWindow::screenSize()); });
}

void QtSendPLC::mousePressEvent(QMouseEvent *event)
{
    m_frameless->mousePressEvent(event);
}

void QtSendPLC::mouseMoveEvent(QMouseEvent *event)
{
    m_frameless->mouseMoveEvent(event);
}

void QtSendPLC::mouseReleaseEvent(QMouseEvent *event)
{
    m_frameless->mouseReleaseEvent(event);
}
