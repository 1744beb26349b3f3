// Shared move/resize behaviour of the console's frameless windows.
//
// A window creates one QtFramelessWindow with itself as the window, hands it its title bar
// (and title buttons, if any) with setTitle(), and forwards its mouse handlers:
//
//   m_frameless = QtFramelessWindow::dialog(this, 2);          // or mainWindow(this) / moveOnly(this)
//   m_frameless->setTitle(ui.title, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
//   void X::mousePressEvent(QMouseEvent *e)   { m_frameless->mousePressEvent(e); }
//   void X::mouseMoveEvent(QMouseEvent *e)    { m_frameless->mouseMoveEvent(e); }
//   void X::mouseReleaseEvent(QMouseEvent *e) { m_frameless->mouseReleaseEvent(e); }
//
// The handlers mark the events ignored. Full windows need mouse tracking on the widgets that
// cover them (the helper switches it on for the window, its central widget and the title).
// The main window also connects its minimise/maximise buttons to minimizeWindow() and
// toggleMaximized(), and frameRightMinimumChanged() to its right frame's setMinimumSize.
// The border arithmetic lives in FramelessRules.h.
#pragma once

#include "FramelessRules.h"

#include <QObject>

#include <functional>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QMouseEvent;
class QWidget;

class QLabel;
class QPushButton;

class QtFramelessWindow : public QObject
{
    Q_OBJECT
public:
    enum Mode {
        Full,    // hover cursors, border resize, title move, restore on title drag
        MoveOnly // title drag only
    };
    enum Feature {
        NoFeature = 0x0,
        ActiveWindowGate = 0x1,   // handle hover/drag only while the window is the active one
        FrameRightFollowUp = 0x2  // announce the right frame's minimum size after resizes
    };
    Q_DECLARE_FLAGS(Features, Feature)

    QtFramelessWindow(QWidget *window, Mode mode, int margin, Features features = NoFeature);

    // The three configurations the console uses.
    static QtFramelessWindow *mainWindow(QWidget *window);
    static QtFramelessWindow *dialog(QWidget *window, int margin);
    static QtFramelessWindow *moveOnly(QWidget *window);

    // Title bar and its buttons; a drag that starts on a button does not move the window.
    void setTitle(QWidget *title, QWidget *minButton = nullptr, QWidget *maxButton = nullptr,
                  QWidget *closeButton = nullptr);

    Mode mode() const { return m_mode; }
    int margin() const { return m_margin; }
    Features features() const { return m_features; }
    int currentRegion() const { return m_region; }
    QPoint lastGlobalPos() const { return m_lastGlobal; }

    // Region of a point in window coordinates.
    int hitRegion(const QPoint &pos) const;
    // Cursor of the window for a region.
    void setCursorType(int region);
    static void resizeRegion(int region, QRect &r, const QPoint &step, int minWidth, int minHeight)
    {
        frameless::resizeRegion(region, r, step, minWidth, minHeight);
    }

    // Forwarded from the window's overrides.
    void mousePressEvent(QMouseEvent *event);
    void mouseMoveEvent(QMouseEvent *event);
    void mouseReleaseEvent(QMouseEvent *event);

    // Primary screen size, read once per process.
    static QSize screenSize();
    // The main window when not maximised: 3/4 of the screen at (W/8, H/6), kept inside the
    // primary screen's available area.
    static QRect normalGeometry();
    // The logo and the three icon-only title buttons every window shows.
    static void styleTitle(QLabel *icon, QPushButton *min, QPushButton *max, QPushButton *close);
    // A tool window's maximise button: maximised when *maximizeNext, else shown normal and
    // placed by restore; the flag flips either way.
    static void toggleToolMaximized(QWidget *window, bool *maximizeNext,
                                    const std::function<void()> &restore);
    // A tool window at its normal place: 2/3 of the screen at one fifth of it, inside the
    // available area.
    static void placeTool(QWidget *window);
    // True when the next toggleMaximized() maximises (process-wide, true at start).
    static bool maximizeNext();

public slots:
    // Title buttons of the main window.
    void minimizeWindow();
    void closeWindow();
    void toggleMaximized();

signals:
    // Only with FrameRightFollowUp: minimum size for the main window's "frame_right".
    void frameRightMinimumChanged(const QSize &size);

private:
    bool inside(const QWidget *widget, const QPoint &globalPos) const;
    bool inTitleArea(const QPoint &globalPos) const;
    void followUp(int windowWidth);
    void moveOnlyEvent(QMouseEvent *event, bool moveWindow);

    QWidget *m_window;
    Mode m_mode;
    int m_margin;
    Features m_features;
    int m_region = frameless::Middle;
    QPoint m_lastGlobal;
    QPointer<QWidget> m_title;
    QPointer<QWidget> m_min;
    QPointer<QWidget> m_max;
    QPointer<QWidget> m_close;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(QtFramelessWindow::Features)
