// Lines for a log view that go in together: while messages stream in, the lines queue
// up and reach the view in one insertion at the next turn of the event loop, so only
// the lines on screen are laid out. At most maxLines wait (the view keeps no more); an
// overlong line is shown cut (LogLine.h).
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVector>

class QPlainTextEdit;
class QTextCursor;

class LogBatch : public QObject
{
    Q_OBJECT

public:
    // Becomes a child of the view.
    LogBatch(QPlainTextEdit *view, int maxLines);

    void append(const QString &line, const QColor &colour);
    // Writes the waiting lines now.
    void flush();
    // Drops the waiting lines.
    void clear();
    int pending() const { return m_lines.size() - m_first; }

private:
    // Removes the oldest blocks that incoming lines would push past the block limit.
    void dropOldest(QTextCursor &cursor, int incoming);

    struct Line
    {
        QString text;
        QColor colour;
    };
    QPlainTextEdit *m_view;
    int m_maxLines;
    QVector<Line> m_lines;
    int m_first = 0; // lines before this index were dropped
    bool m_scheduled = false;
    bool m_follow = true; // keep the newest line in view
};
