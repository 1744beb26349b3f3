// Widget-free arithmetic of the frameless windows: border hit test, resize step,
// cursor per region and the main window's restored geometry.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace frameless {

// Region under the cursor; the numbers are part of the contract.
enum Region {
    TopLeft = 0,
    Top = 1,
    TopRight = 2,
    Right = 3,
    BottomRight = 4,
    Bottom = 5,
    BottomLeft = 6,
    Left = 7,
    Middle = 8
};

// Region of point p in a window of size w x h with the given border margin.
// Comparisons are strict: points on the lines x = m, y = m, x = w - m, y = h - m are Middle.
int hitRegion(const QPoint &p, int w, int h, int margin);

// Cursor shape for a region; Middle and unknown values give the arrow.
Qt::CursorShape cursorForRegion(int region);

// Moves the edges of r that the region names by step. An edge moves while the extent on
// its axis is above the minimum, or when the step enlarges the window.
void resizeRegion(int region, QRect &r, const QPoint &step, int minWidth, int minHeight);

// Resize steps of 50 pixels or more sideways are dropped.
bool sidewaysStepAccepted(int dx);

// Main window geometry when not maximised: 3/4 of the screen at (W/8, H/6).
QRect restoredGeometry(const QSize &screen);

// Minimum size of the main window's right frame for a window width.
QSize frameRightMinimum(int windowWidth);

// Tool window geometry when not maximised: 2/3 of the screen at (W/5, H/5).
QRect toolGeometry(const QSize &screen);

// wanted, made no larger than area and moved into it (unchanged when it already fits).
QRect fitInside(const QRect &wanted, const QRect &area);

} // namespace frameless
