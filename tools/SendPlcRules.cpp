#include "SendPlcRules.h"

#include "StationDocument.h"

#include <algorithm>

namespace sendplc {

Grid buildGrid(const QJsonArray &signalEntries)
{
    Grid grid;
    int row = 0;
    int blockStart = 0;
    for (const station::PlcSignal &entry : station::plcSignalsOf(signalEntries)) {
        int col = blockStart;
        for (const station::PlcLabel &label : entry.labels) {
            const QString command = entry.address + QLatin1Char('_') + label.value;
            const int index = grid.commands.size();
            grid.commands.append(command);
            grid.cells.append({GridCell::CommandLabel, row, col++,
                               QStringLiteral("  指令: ") + command + QStringLiteral("  "), index});
            grid.cells.append({GridCell::Button, row, col++,
                               entry.name + QLatin1Char('_') + label.name, index});
            grid.maxCol = std::max(grid.maxCol, col);
            grid.maxRow = std::max(grid.maxRow, row);
        }
        if (++row == kRowsPerBlock) {
            row = 0;
            blockStart = grid.maxCol + 1;
            grid.cells.append({GridCell::Separator, 0, grid.maxCol, QStringLiteral("      "), -1});
        }
    }
    return grid;
}

QSize gridWindowSize(int maxRow, int maxCol)
{
    return QSize(maxCol * 140 + 20, maxRow * 45 + 230);
}

QPoint gridWindowPlace(int maxRow, int maxCol, const QSize &screen)
{
    if (maxRow > 5 || maxCol > 5)
        return QPoint(screen.width() / 5, screen.height() / 8);
    return QPoint(screen.width() / 4, screen.height() / 4);
}

QRect keepOnScreen(const QRect &window, const QRect &available)
{
    if (available.isEmpty())
        return window;
    QRect r(window.topLeft(), window.size().boundedTo(available.size()));
    if (r.right() > available.right())
        r.moveRight(available.right());
    if (r.bottom() > available.bottom())
        r.moveBottom(available.bottom());
    if (r.left() < available.left())
        r.moveLeft(available.left());
    if (r.top() < available.top())
        r.moveTop(available.top());
    return r;
}

TypedCheck checkTyped(const QString &text)
{
    if (text.contains(QStringLiteral("补全部信号")))
        return TypedCheck::SendAllForm;
    if (text.size() < 5 || !text.contains(QLatin1Char('_')))
        return TypedCheck::TooShortOrNoUnderscore;
    return TypedCheck::Ok;
}

QString sendAllCommand(const QStringList &commands)
{
    if (commands.isEmpty())
        return QString();
    return QStringLiteral("补全部信号#") + commands.join(QLatin1Char('#'));
}

} // namespace sendplc
