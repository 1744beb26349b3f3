// Main window: frameless mouse handling and the exit prompt.
#include "Qt_epWindow.h"

#include "QtFramelessWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>

void Qt_epWindow::mousePressEvent(QMouseEvent *event)
{
    m_frameless->mousePressEvent(event);
}

void Qt_epWindow::mouseMoveEvent(QMouseEvent *event)
{
    m_frameless->mouseMoveEvent(event);
}

void Qt_epWindow::mouseReleaseEvent(QMouseEvent *event)
{
    m_frameless->mouseReleaseEvent(event);
}

void Qt_epWindow::onClosePressed()
{
    // One prompt at a time: a press while it is open keeps its countdown running.
    if (m_exit.box.isVisible()) {
        m_exit.box.raise();
        return;
    }
    if (!m_exit.timer) {
        m_exit.timer = new QTimer(this);
        connect(m_exit.timer, &QTimer::timeout, this, &Qt_epWindow::onExitCountdown);
    }
    m_exit.countdown = 15;
    m_exit.timer->start(1000);
    QCoreApplication::processEvents();

    m_exit.box.setWindowTitle(QStringLiteral("确认退出程序？"));
    m_exit.box.setText(QStringLiteral("确认退出程序？15秒后自动取消此操作。"));
    m_exit.box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    const int answer = m_exit.box.exec();

    m_exit.timer->stop();
    m_exit.countdown = 15;
    if (answer == QMessageBox::Yes) {
        qDebug() << "确认关闭程序";
        close();
    } else {
        qDebug() << "用户点击了取消或未选择任何操作";
    }
    QCoreApplication::processEvents();
}

void Qt_epWindow::onExitCountdown()
{
    --m_exit.countdown;
    m_exit.box.setText(QStringLiteral("确认退出程序？") + QString::number(m_exit.countdown)
                         + QStringLiteral("秒后自动取消此操作。"));
    if (m_exit.countdown == 0)
        m_exit.box.close(); // answers No
}

void Qt_epWindow::closeEvent(QCloseEvent *event)
{
    releaseToolWindows();
    QMainWindow::closeEvent(event);
    // Every close ends the application, whatever windows stay open: the event loop ends
    // (or, during start-up, is never entered) and the run is torn down when the window
    // is destroyed after it.
    m_run.requestExit();
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::quit();
}
