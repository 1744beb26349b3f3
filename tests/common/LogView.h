// Readers of the window's log views; lines still waiting in a view's batch are written first.
#pragma once

#include "LogBatch.h"

#include <QColor>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>

inline void flushLog(QPlainTextEdit *edit)
{
    if (auto *batch = edit->findChild<LogBatch *>())
        batch->flush();
}

// Every block of the view, the empty last one included.
inline QStringList lines(QPlainTextEdit *edit)
{
    flushLog(edit);
    return edit->toPlainText().split(QLatin1Char('\n'));
}

// The view's lines, empty ones left out.
inline QStringList logLines(QPlainTextEdit *edit)
{
    flushLog(edit);
    return edit->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Log lines without their time stamp ("yyyy-MM-dd hh:mm:ss:zzz ").
inline QStringList logTexts(QPlainTextEdit *edit)
{
    QStringList texts;
    for (const QString &line : logLines(edit))
        texts << line.mid(24);
    return texts;
}

inline QString lastLine(QPlainTextEdit *edit)
{
    flushLog(edit);
    return edit->document()->lastBlock().text();
}

// Foreground colour of the last line of a log view.
inline QColor lastLineColour(QPlainTextEdit *edit)
{
    flushLog(edit);
    QTextCursor c(edit->document()->lastBlock());
    c.movePosition(QTextCursor::EndOfBlock);
    return c.charFormat().foreground().color();
}
