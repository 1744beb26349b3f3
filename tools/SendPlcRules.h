// Widget-free rules of the manual PLC signal sender: the signal grid built from the
// "手动补信号" array, the window's size and place, the typed-command check, the send-all
// command and the click guard shared by the send buttons.
#pragma once

#include <QJsonArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace sendplc {

constexpr int kRowsPerBlock = 20;
constexpr qint64 kClickGuardMs = 100;

struct GridCell
{
    enum Kind { CommandLabel, Button, Separator };
    Kind kind = CommandLabel;
    int row = 0;
    int col = 0;
    QString text;
    int command = -1; // index into Grid::commands for labels and buttons
};

struct Grid
{
    QStringList commands;  // in build order; button k sends command k
    QList<GridCell> cells; // in build order
    int maxRow = 0;        // largest row holding a button
    int maxCol = 0;        // one past the largest column holding a button
};

// One row per signal entry, a label/button pair per value, a new block of rows to the right
// of everything placed so far after every 20 rows, behind a separator column.
Grid buildGrid(const QJsonArray &signalEntries);

// Window size the grid asks for.
QSize gridWindowSize(int maxRow, int maxCol);
// Top-left corner for a window of that grid on a screen of that size.
QPoint gridWindowPlace(int maxRow, int maxCol, const QSize &screen);
// Keeps a window inside the available screen area in both directions.
QRect keepOnScreen(const QRect &window, const QRect &available);

enum class TypedCheck {
    Ok,
    TooShortOrNoUnderscore, // fewer than 5 characters or no "_"
    SendAllForm             // holds "补全部信号": only the send-all button sends that
};
TypedCheck checkTyped(const QString &text);

// "补全部信号#" + command 0, then "#" + each further command; empty for no commands.
QString sendAllCommand(const QStringList &commands);

// Ignores clicks closer than 100 ms to the last accepted click or to the last build.
class ClickGuard
{
public:
    void reset(qint64 nowMs) { m_last = nowMs; }
    bool accept(qint64 nowMs)
    {
        if (nowMs - m_last < kClickGuardMs)
            return false;
        m_last = nowMs;
        return true;
    }

private:
    qint64 m_last = 0;
};

} // namespace sendplc
