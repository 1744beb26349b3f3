#include "QtFramelessWindow.h"

#include "Styles.h"

#include <QLabel>
#include <QPushButton>

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {
bool g_maximizeNext = true;
} // namespace

QtFramelessWindow::QtFramelessWindow(QWidget *window, Mode mode, int margin, Features features)
    : QObject(window), m_window(window), m_mode(mode), m_margin(margin), m_features(features)
{
    if (m_mode == Full) {
        m_window->setMouseTracking(true);
        if (auto *mw = qobject_cast<QMainWindow *>(m_window); mw && mw->centralWidget())
            mw->centralWidget()->setMouseTracking(true);
    }
}

QtFramelessWindow *QtFramelessWindow::mainWindow(QWidget *window)
{
    return new QtFramelessWindow(window, Full, 3, ActiveWindowGate | FrameRightFollowUp);
}

QtFramelessWindow *QtFramelessWindow::dialog(QWidget *window, int margin)
{
    return new QtFramelessWindow(window, Full, margin);
}

QtFramelessWindow *QtFramelessWindow::moveOnly(QWidget *window)
{
    return new QtFramelessWindow(window, MoveOnly, 0);
}

void QtFramelessWindow::setTitle(QWidget *title, QWidget *minButton, QWidget *maxButton,
                                 QWidget *closeButton)
{
    m_title = title;
    m_min = minButton;
    m_max = maxButton;
    m_close = closeButton;
    if (m_mode == Full && title)
        title->setMouseTracking(true);
}

int QtFramelessWindow::hitRegion(const QPoint &pos) const
{
    return frameless::hitRegion(pos, m_window->width(), m_window->height(), m_margin);
}

void QtFramelessWindow::setCursorType(int region)
{
    m_window->setCursor(frameless::cursorForRegion(region));
}

bool QtFramelessWindow::inside(const QWidget *widget, const QPoint &globalPos) const
{
    return widget && widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(globalPos));
}

bool QtFramelessWindow::inTitleArea(const QPoint &globalPos) const
{
    return inside(m_title, globalPos) && !inside(m_max, globalPos) && !inside(m_min, globalPos)
        && !inside(m_close, globalPos);
}

void QtFramelessWindow::followUp(int windowWidth)
{
    if (m_features & FrameRightFollowUp)
        emit frameRightMinimumChanged(frameless::frameRightMinimum(windowWidth));
}

void QtFramelessWindow::moveOnlyEvent(QMouseEvent *event, bool moveWindow)
{
    const QPoint global = event->globalPos();
    if (inside(m_title, global)) {
        if (moveWindow)
            m_window->move(m_window->pos() + (global - m_lastGlobal));
        m_lastGlobal = global;
    }
    event->ignore();
}

void QtFramelessWindow::mousePressEvent(QMouseEvent *event)
{
    if (m_mode == MoveOnly) {
        moveOnlyEvent(event, false);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_lastGlobal = event->globalPos();
        event->ignore();
    }
}

void QtFramelessWindow::mouseMoveEvent(QMouseEvent *event)
{
    event->ignore();
    if (m_mode == MoveOnly) {
        moveOnlyEvent(event, true);
        return;
    }
    if (m_features & ActiveWindowGate) {
        if (QApplication::activeWindow() != m_window || !m_window->isWindow()) {
            if (m_region != frameless::Middle) {
                m_region = frameless::Middle;
                m_window->setCursor(Qt::ArrowCursor);
                std::fputs("setCursorType Middle\n", stdout);
                std::fflush(stdout);
            }
            return;
        }
    }

    const QPoint global = event->globalPos();
    const bool leftOnly = event->buttons() == Qt::LeftButton;
    if (m_window->isMaximized() && inside(m_title, global) && leftOnly && global != m_lastGlobal)
        m_window->showNormal();

    const int region = hitRegion(event->pos());
    if (event->buttons() == Qt::NoButton) {
        setCursorType(region);
        m_region = region;
    }

    if (!leftOnly)
        return;
    const QPoint step = global - m_lastGlobal;
    if (m_region == frameless::Middle && inTitleArea(global)) {
        m_window->move(m_window->pos() + step);
    } else {
        QRect r = m_window->geometry();
        if (frameless::sidewaysStepAccepted(step.x())) {
            frameless::resizeRegion(m_region, r, step, m_window->minimumWidth(),
                                    m_window->minimumHeight());
            m_window->setGeometry(r);
        }
        followUp(r.width());
    }
    m_lastGlobal = global;
}

void QtFramelessWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_mode == MoveOnly) {
        moveOnlyEvent(event, false);
        return;
    }
    const QPoint global = event->globalPos();
    if (event->button() == Qt::LeftButton && inTitleArea(global))
        m_window->move(m_window->pos() + (global - m_lastGlobal));
    QGuiApplication::restoreOverrideCursor();
    event->ignore();
}

QSize QtFramelessWindow::screenSize()
{
    static const QSize size = [] {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize();
    }();
    return size;
}

bool QtFramelessWindow::maximizeNext()
{
    return g_maximizeNext;
}

void QtFramelessWindow::toggleToolMaximized(QWidget *window, bool *maximizeNext,
                                            const std::function<void()> &restore)
{
    window->setWindowFlags(Qt::FramelessWindowHint);
    if (*maximizeNext) {
        window->showMaximized();
    } else {
        window->showNormal();
        restore();
    }
    *maximizeNext = !*maximizeNext;
    QCoreApplication::processEvents();
}

namespace {
QRect availableArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
} // namespace

QRect QtFramelessWindow::normalGeometry()
{
    return frameless::fitInside(frameless::restoredGeometry(screenSize()), availableArea());
}

void QtFramelessWindow::placeTool(QWidget *window)
{
    const QRect r = frameless::fitInside(frameless::toolGeometry(screenSize()), availableArea());
    window->resize(r.size());
    window->move(r.topLeft());
}

void QtFramelessWindow::styleTitle(QLabel *icon, QPushButton *min, QPushButton *max, QPushButton *close)
{
    icon->setStyleSheet(styles::titleLogo());
    min->setText(QString());
    max->setText(QString());
    close->setText(QString());
    min->setStyleSheet(styles::titleButton(QStringLiteral("min_n.png")));
    max->setStyleSheet(styles::titleButton(QStringLiteral("Max_n.png")));
    close->setStyleSheet(styles::titleButton(QStringLiteral("close_n.png")));
}

void QtFramelessWindow::closeWindow()
{
    m_window->close();
    QCoreApplication::processEvents();
}

void QtFramelessWindow::minimizeWindow()
{
    m_window->showMinimized();
    QCoreApplication::processEvents();
}

void QtFramelessWindow::toggleMaximized()
{
    const QSize screen = screenSize();
    m_window->setWindowFlags(Qt::FramelessWindowHint);
    if (g_maximizeNext) {
        m_window->showMaximized();
        followUp(screen.width());
        m_window->move(0, 0);
        g_maximizeNext = false;
    } else {
        m_window->showNormal();
        // The minimums the maximised contents set are lowered first, so the size is not
        // clamped by them.
        const QRect restored = normalGeometry();
        followUp(restored.width());
        m_window->resize(restored.size());
        m_window->move(restored.topLeft());
        g_maximizeNext = true;
    }
    QCoreApplication::processEvents();
}
