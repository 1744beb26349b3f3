// Crash filter: fatal signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT) end in a dump
// file under "<dump name>_DumpDir" in the working directory, unless a debugger is attached.
// Everything on the crash path uses async-signal-safe calls only.
#pragma once

#include <csignal>

// What the filter is handed: the signal and its context.
struct ExceptionPointers
{
    int signal = 0;
    siginfo_t *info = nullptr;
    void *context = nullptr; // ucontext_t *
};

// Installs TopLevelExceptionFilter for the fatal signals, on an alternate stack.
void installTopLevelExceptionFilter();

// 0: a debugger is attached, no dump (it gets the signal); 1: dump written.
long TopLevelExceptionFilter(ExceptionPointers *exceptionPointers);

// Writes a dump into fd, or into its own new file when fd < 0; always returns 1.
// A given fd stays open.
int GenerateMiniDump(int fd, ExceptionPointers *exceptionPointers, const char *dumpName);

// The tracer's process id from /proc/self/status, 0 when not traced.
long crashTracerPid();
