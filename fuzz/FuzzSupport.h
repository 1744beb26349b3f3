// Shared by the fuzz targets: one quiet core application per process, and the input
// laid down as a file in the program folder's config/.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzzsupport {

inline void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// The application the units ask for their program folder; logs are dropped.
inline QCoreApplication &app()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *instance = [] {
        qInstallMessageHandler(quiet);
        return new QCoreApplication(argc, argv);
    }();
    return *instance;
}

inline QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

// Writes the input to <program folder>/config/<name>; returns the path.
inline QString placeInput(const QString &name, const uint8_t *data, size_t size)
{
    const QString folder = programFolder() + QStringLiteral("/config");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}

} // namespace fuzzsupport
