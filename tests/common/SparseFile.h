// A file of the given size that takes no disk space (a hole), for size-limit tests.
#pragma once

#include <QFile>
#include <QString>

inline bool sparseFile(const QString &path, qint64 size)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.resize(size);
}
