// Main window: construction, login hand-off, destruction.
#include "Qt_epWindow.h"

#include "ContentMinimum.h"
#include "LogLine.h"
#include "Logic_transfer.h"
#include "MainWindowRules.h"
#include "Platform.h"
#include "QtFramelessWindow.h"
#include "QtPassword.h"
#include "ScrollBars.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGraphicsScene>
#include <QPlainTextEdit>
#include <QTimer>

Qt_epWindow::Qt_epWindow(QWidget *parent)
    : QMainWindow(parent)
{
    ui.setupUi(this);

    // The frameless behaviour needs mouse moves without a pressed button.
    setMouseTracking(true);
    for (QWidget *w : {ui.centralWidget, ui.widget, static_cast<QWidget *>(ui.frame_tab),
                       static_cast<QWidget *>(ui.tabWidget), static_cast<QWidget *>(ui.frameA),
                       ui.widget_image, static_cast<QWidget *>(ui.title), static_cast<QWidget *>(ui.scrollArea),
                       ui.scrollArea->viewport(), ui.scrollAreaWidgetContents})
        w->setMouseTracking(true);
    m_rightMinimum = new ContentMinimum(ui.frame_right);
    styleScrollBars(ui.scrollArea); // shown on small screens only

    QtFramelessWindow::styleTitle(ui.label_icon, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);

    m_frameless = QtFramelessWindow::mainWindow(this);
    m_frameless->setTitle(ui.title, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
    connect(m_frameless, &QtFramelessWindow::frameRightMinimumChanged, this,
            &Qt_epWindow::setFrameRightMinimum);

    connect(ui.pushButton_min, &QPushButton::pressed, m_frameless, &QtFramelessWindow::minimizeWindow);
    connect(ui.pushButton_close, &QPushButton::clicked, this, &Qt_epWindow::onClosePressed);

    const QSize screen = QtFramelessWindow::screenSize(); // read once per process
    qDebug() << "Screen resolution: " << screen.width() << "x" << screen.height();

    connect(ui.pushButton_max, &QPushButton::pressed, m_frameless, &QtFramelessWindow::toggleMaximized);

    setWindowFlags(Qt::FramelessWindowHint);
    const QRect normal = QtFramelessWindow::normalGeometry();
    resize(normal.size());
    setFrameRightMinimum(frameless::frameRightMinimum(normal.width()));
    move(normal.topLeft());

    m_password = new QtPassword(nullptr);
    connect(m_password, SIGNAL(LoginSuccess(QString)), this, SLOT(getLoginSuccess(QString)));

    connect(&m_run, &RunController::stateChanged, this, &Qt_epWindow::showState);
    connect(&m_run, &RunController::refused, this, &Qt_epWindow::showRefusal);
    connect(&m_run, &RunController::imagesDue, this, &Qt_epWindow::handOffImages);

    m_run.setState(RunState::Initialising);
    ui.label_SN->clear();

    show();
    getLoginSuccess(QStringLiteral("管理员：超级用户"));
}

void Qt_epWindow::setFrameRightMinimum(const QSize &rule)
{
    // The right column never gets narrower than its counters need; where the window is
    // smaller than that, the work area scrolls.
    m_rightMinimum->setFloor(rule);
}

Qt_epWindow::~Qt_epWindow()
{
    stopAndClear();
    qDeleteAll(m_cameras.scenes); // views built without a bridge after a teardown
    m_cameras.scenes.clear();
    deleteDialogs();
}

void Qt_epWindow::getLoginSuccess(QString authority_user)
{
    if (m_run.exitRequested())
        return;
    show();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Closed while it painted (also during start-up): no set-up, no start.
    if (m_run.exitRequested())
        return;

    if (m_firstLogin) {
        m_run.setState(RunState::Initialising);
        initStatisticsPages();
        setTools();
        pushButtonS();
        if (initLogic()) {
            m_run.setState(RunState::Ready);
            ui.pushButton_start->click();
        } else {
            m_run.setState(RunState::Failed);
        }
    }
    ui.label_operator->setText(authority_user);
    if (MainWindowRules::isOperator(authority_user))
        closeAdministrationWindows();
    m_firstLogin = false;
    m_roleText = authority_user;
}

void Qt_epWindow::appendOperationLog(const QString &text)
{
    showOperationLine(MainWindowRules::logLine(platform::localNow(), text));
}

void Qt_epWindow::showOperationLine(const QString &line)
{
    ui.plainTextEdit_operat->appendPlainText(logline::shown(line));
}

void Qt_epWindow::showState(RunState state, const QString &detail)
{
    const StatusLook look = statusLook(state, detail);
    ui.label_15->setText(look.text);
    ui.label_15->setStyleSheet(styles::textColour(look.colour));
}
