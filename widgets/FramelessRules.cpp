#include "FramelessRules.h"

namespace frameless {

int hitRegion(const QPoint &p, int w, int h, int m)
{
    const int x = p.x();
    const int y = p.y();
    if (x < m && y < m)
        return TopLeft;
    if (x > m && y < m && x < w - m)
        return Top;
    if (x > w - m && y < m)
        return TopRight;
    if (x > w - m && y > m && y < h - m)
        return Right;
    if (x > w - m && y > h - m)
        return BottomRight;
    if (x > m && x < w - m && y > h - m)
        return Bottom;
    if (x < m && y > h - m)
        return BottomLeft;
    if (x < m && y < h - m && y > m)
        return Left;
    return Middle;
}

Qt::CursorShape cursorForRegion(int region)
{
    switch (region) {
    case Top:
    case Bottom:
        return Qt::SizeVerCursor;
    case Right:
    case Left:
        return Qt::SizeHorCursor;
    case TopRight:
    case BottomLeft:
        return Qt::SizeBDiagCursor;
    case TopLeft:
    case BottomRight:
        return Qt::SizeFDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void resizeRegion(int region, QRect &r, const QPoint &step, int minWidth, int minHeight)
{
    const int dx = step.x();
    const int dy = step.y();
    const bool wide = r.width() > minWidth;
    const bool tall = r.height() > minHeight;
    // Component applied to a left/right/top/bottom edge (0 when the edge must stay).
    const int lx = (wide || dx < 0) ? dx : 0;
    const int rx = (wide || dx > 0) ? dx : 0;
    const int ty = (tall || dy < 0) ? dy : 0;
    const int by = (tall || dy > 0) ? dy : 0;

    switch (region) {
    case TopLeft:
        r.setTopLeft(r.topLeft() + QPoint(lx, ty));
        break;
    case Top:
        r.setTop(r.top() + ty);
        break;
    case TopRight:
        r.setTopRight(r.topRight() + QPoint(rx, ty));
        break;
    case Right:
        r.setRight(r.right() + rx);
        break;
    case BottomRight:
        r.setBottomRight(r.bottomRight() + QPoint(rx, by));
        break;
    case Bottom:
        r.setBottom(r.bottom() + by);
        break;
    case BottomLeft:
        r.setBottomLeft(r.bottomLeft() + QPoint(lx, by));
        break;
    case Left:
        r.setLeft(r.left() + lx);
        break;
    default:
        break;
    }
}

bool sidewaysStepAccepted(int dx)
{
    return dx >= -49 && dx <= 49;
}

QRect restoredGeometry(const QSize &screen)
{
    const int w = screen.width() / 4 * 3;
    const int h = screen.height() / 4 * 3;
    return QRect(screen.width() / 8, screen.height() / 6, w, h);
}

QSize frameRightMinimum(int windowWidth)
{
    return QSize(windowWidth / 5, 300);
}

QRect toolGeometry(const QSize &screen)
{
    return QRect(screen.width() / 5, screen.height() / 5, screen.width() / 3 * 2, screen.height() / 3 * 2);
}

QRect fitInside(const QRect &wanted, const QRect &area)
{
    if (!area.isValid())
        return wanted;
    QRect r(wanted.topLeft(), wanted.size().boundedTo(area.size()));
    r.moveLeft(qBound(area.left(), r.left(), area.right() + 1 - r.width()));
    r.moveTop(qBound(area.top(), r.top(), area.bottom() + 1 - r.height()));
    return r;
}

} // namespace frameless
