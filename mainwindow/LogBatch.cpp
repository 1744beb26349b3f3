#include "LogBatch.h"

#include "LogLine.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

LogBatch::LogBatch(QPlainTextEdit *view, int maxLines)
    : QObject(view), m_view(view), m_maxLines(maxLines > 0 ? maxLines : 1)
{
    m_lines.reserve(m_maxLines * 2);
    // The view follows the newest line until the user scrolls away from the end.
    QScrollBar *bar = view->verticalScrollBar();
    connect(bar, &QScrollBar::actionTriggered, this,
            [this, bar] { m_follow = bar->sliderPosition() >= bar->maximum(); });
}

void LogBatch::append(const QString &line, const QColor &colour)
{
    m_lines.append({logline::shown(line), colour});
    // Keep the newest maxLines; compact now and then rather than per line.
    if (m_lines.size() - m_first > m_maxLines)
        ++m_first;
    if (m_first >= m_maxLines) {
        m_lines.remove(0, m_first);
        m_first = 0;
    }
    if (!m_scheduled) {
        m_scheduled = true;
        QMetaObject::invokeMethod(this, &LogBatch::flush, Qt::QueuedConnection);
    }
}

void LogBatch::flush()
{
    m_scheduled = false;
    if (m_first >= m_lines.size()) {
        clear();
        return;
    }
    QTextDocument *doc = m_view->document();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    dropOldest(cursor, m_lines.size() - m_first);
    cursor.setPosition(doc->characterCount() - 1);
    bool first = doc->isEmpty();
    int i = m_first;
    while (i < m_lines.size()) {
        // One insertion per run of lines of one colour.
        const QColor colour = m_lines.at(i).colour;
        QString text;
        for (; i < m_lines.size() && m_lines.at(i).colour == colour; ++i) {
            if (!first)
                text += QLatin1Char('\n');
            first = false;
            text += m_lines.at(i).text;
        }
        QTextCharFormat format;
        format.setForeground(QBrush(colour));
        cursor.insertText(text, format);
    }
    cursor.endEditBlock();
    clear();
    if (m_follow) {
        // Lines wrap and are laid out lazily, so let the view find the last one.
        cursor.movePosition(QTextCursor::End);
        m_view->setTextCursor(cursor);
        m_view->ensureCursorVisible();
    }
}

void LogBatch::dropOldest(QTextCursor &cursor, int incoming)
{
    // The document's own trimming to its block limit walks a cursor over every block
    // it removes and lays each one out; removing them here first, by position, leaves
    // it nothing to do.
    QTextDocument *doc = cursor.document();
    const int limit = doc->maximumBlockCount();
    if (limit <= 0)
        return;
    const int blocks = doc->isEmpty() ? 0 : doc->blockCount();
    const int excess = blocks + incoming - limit;
    if (excess <= 0)
        return;
    cursor.setPosition(0);
    if (excess >= blocks) {
        cursor.setPosition(doc->characterCount() - 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        return;
    }
    const QTextBlock keep = doc->findBlockByNumber(excess);
    const QTextCharFormat format = keep.charFormat();
    cursor.setPosition(keep.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.setBlockCharFormat(format); // as the document's trimming keeps it
}

void LogBatch::clear()
{
    m_lines.resize(0); // keeps the capacity
    m_first = 0;
}
