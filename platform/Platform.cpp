#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <mutex>

namespace platform {
namespace {

QElapsedTimer &startTimer()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer;
}

std::mutex seamMutex;
std::function<qint64()> clockSeam;
std::function<QDateTime()> nowSeam;

// Started with the process, so the count is "since process start".
[[maybe_unused]] const bool clockStarted = (startTimer(), true);

} // namespace

qint64 clockMs()
{
    {
        std::lock_guard<std::mutex> lock(seamMutex);
        if (clockSeam)
            return clockSeam();
    }
    return startTimer().elapsed();
}

QDateTime localNow()
{
    {
        std::lock_guard<std::mutex> lock(seamMutex);
        if (nowSeam)
            return nowSeam();
    }
    return QDateTime::currentDateTime();
}

void sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

void setClockForTest(std::function<qint64()> clock)
{
    std::lock_guard<std::mutex> lock(seamMutex);
    clockSeam = std::move(clock);
}

void setLocalNowForTest(std::function<QDateTime()> now)
{
    std::lock_guard<std::mutex> lock(seamMutex);
    nowSeam = std::move(now);
}

QString programFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).path();
}

static QString baseName(const QString &windowsName)
{
    QString name = windowsName;
    if (name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive)
        || name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QString libraryPath(const QString &windowsName)
{
    const QString base = baseName(windowsName);
    const QString local = programFolder() + QLatin1String("/lib") + base + QLatin1String(".so");
    if (QFileInfo::exists(local))
        return local;
    const QString plain = programFolder() + QLatin1Char('/') + base + QLatin1String(".so");
    if (QFileInfo::exists(plain))
        return plain;
    return base; // QLibrary adds lib/.so and searches the system paths
}

bool startTool(const QString &windowsName, QString *error)
{
    const QString folder = programFolder();
    const QStringList candidates{folder + QLatin1Char('/') + windowsName,
                                 folder + QLatin1Char('/') + baseName(windowsName)};
    QString reason = QStringLiteral("程序目录中未找到该工具：") + candidates.first();
    for (const QString &path : candidates) {
        const QFileInfo info(path);
        if (!info.isFile())
            continue;
        // The execute bits too: a check for this user alone lets root pass any file.
        const QFileDevice::Permissions exe = QFileDevice::ExeOwner | QFileDevice::ExeGroup
                                             | QFileDevice::ExeOther;
        if (!(info.permissions() & exe) || !info.isExecutable()) {
            reason = QStringLiteral("工具文件不可执行：") + path;
            continue;
        }
        if (QProcess::startDetached(path, QStringList(), folder))
            return true;
        reason = QStringLiteral("工具无法启动：") + path;
        break;
    }
    if (error)
        *error = reason;
    return false;
}

} // namespace platform
