// Collects Qt log messages while alive (and still prints them).
#pragma once

#include <QList>
#include <mutex>
#include <QPair>
#include <QString>
#include <QtGlobal>

class LogCapture
{
public:
    LogCapture()
    {
        std::lock_guard<std::mutex> lock(mutex());
        current() = this;
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture()
    {
        std::lock_guard<std::mutex> lock(mutex());
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }

    QList<QPair<QtMsgType, QString>> messages() const
    {
        std::lock_guard<std::mutex> lock(mutex());
        return m_messages;
    }
    // Messages of the given type whose text contains every part.
    int count(QtMsgType type, const QStringList &parts) const
    {
        int n = 0;
        for (const auto &m : messages()) {
            if (m.first != type)
                continue;
            bool all = true;
            for (const QString &p : parts)
                all = all && m.second.contains(p);
            n += all ? 1 : 0;
        }
        return n;
    }
    int size() const { return messages().size(); }
    void clear()
    {
        std::lock_guard<std::mutex> lock(mutex());
        m_messages.clear();
    }

private:
    static std::mutex &mutex()
    {
        static std::mutex m;
        return m;
    }
    static LogCapture *&current()
    {
        static LogCapture *c = nullptr;
        return c;
    }
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        QtMessageHandler previous = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex());
            if (current()) {
                current()->m_messages.append(qMakePair(type, text));
                previous = current()->m_previous;
            }
        }
        if (previous)
            previous(type, context, text);
    }

    QtMessageHandler m_previous = nullptr;
    QList<QPair<QtMsgType, QString>> m_messages;
};
