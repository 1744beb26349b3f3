// Memory figures of the running benchmark, read from /proc/self/status.
#pragma once

#include <QByteArray>
#include <QFile>

// Kilobytes of a status field such as "VmRSS" (resident now) or "VmHWM" (peak); -1 if unknown.
inline long procStatusKb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}
