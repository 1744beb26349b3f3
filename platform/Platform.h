// Small stand-ins for the host services the console was written against
// (millisecond clock, pauses, local time, library names, detached tool programs).
#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace platform {

// Wall-clock milliseconds since process start (64 bits).
qint64 clockMs();
// Local date and time now.
QDateTime localNow();
// Pause the calling thread.
void sleepMs(int ms);

// Test seams: replace the clock / local time; pass an empty function to restore.
void setClockForTest(std::function<qint64()> clock);
void setLocalNowForTest(std::function<QDateTime()> now);

// The program folder (folder of the executable).
QString programFolder();

// Maps a Windows library name ("Bx_LogicDll_module.dll") to a loadable file:
// the shared library of that base name in the program folder if present,
// else the bare base name for the system's own search.
QString libraryPath(const QString &windowsName);

// Starts a tool program ("工具-Log分析.exe") detached, looked up in the program folder
// with and without ".exe". Returns false with the reason, in the console's words, when it
// is not there, is there but not executable, or cannot be started.
bool startTool(const QString &windowsName, QString *error = nullptr);

} // namespace platform
