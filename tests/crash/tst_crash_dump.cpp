// The crash filter in a child process: dump file, standard output texts, debugger branch.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Outcome
{
    int status = 0;
    pid_t pid = 0;
    QByteArray out;
    QByteArray err;
    QDateTime before;
    QDateTime after;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the child in dir with stdout/stderr to files; when traced, this process is its
// debugger and passes every signal on.
Outcome runChild(QByteArray mode, const QString &dir, bool traced = false, QByteArray arg = QByteArray())
{
    QByteArray exe(CRASH_CHILD);
    const QByteArray folder = QFile::encodeName(dir);
    const QByteArray outPath = folder + "/stdout.txt";
    const QByteArray errPath = folder + "/stderr.txt";
    char *argv[] = {exe.data(), mode.data(), arg.isEmpty() ? nullptr : arg.data(), nullptr};

    Outcome o;
    o.before = QDateTime::currentDateTime();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.constData()) != 0)
            _exit(120);
        const int out = open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(121);
        if (traced && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            _exit(122);
        execv(exe.constData(), argv);
        _exit(123);
    }
    o.pid = pid;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, 0) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (WIFSTOPPED(status)) {
            const int sig = WSTOPSIG(status);
            ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void *>(static_cast<long>(sig == SIGTRAP ? 0 : sig)));
            continue;
        }
        o.status = status;
        break;
    }
    o.after = QDateTime::currentDateTime();
    o.out = readAll(dir + QStringLiteral("/stdout.txt"));
    o.err = readAll(dir + QStringLiteral("/stderr.txt"));
    return o;
}

const QRegularExpression kDumpName(QStringLiteral("^(\\d{8}-\\d{6})-(\\d+)-(\\d+)\\.dmp$"));

QStringList dumpFiles(const QString &dir)
{
    return QDir(dir + QStringLiteral("/Quenfold_DumpDir")).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestCrashDump : public QObject
{
    Q_OBJECT

private slots:
    void fatalSignal_writesDump_data();
    void fatalSignal_writesDump();
    void crashInThread_namesHandlingThread();
    void existingFolder_isReused_andProcessesGetOwnFiles();
    void debuggerAttached_printsTrackingAndWritesNothing();
    void tracerPid_readsTheTracer();
    void givenFile_isWrittenAndLeftOpen();
};

void TestCrashDump::fatalSignal_writesDump_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("name");
    QTest::newRow("segv") << QByteArray("segv") << int(SIGSEGV) << QStringLiteral("SIGSEGV");
    QTest::newRow("bus") << QByteArray("bus") << int(SIGBUS) << QStringLiteral("SIGBUS");
    QTest::newRow("ill") << QByteArray("ill") << int(SIGILL) << QStringLiteral("SIGILL");
    QTest::newRow("fpe") << QByteArray("fpe") << int(SIGFPE) << QStringLiteral("SIGFPE");
    QTest::newRow("uncaught exception") << QByteArray("abort") << int(SIGABRT) << QStringLiteral("SIGABRT");
}

void TestCrashDump::fatalSignal_writesDump()
{
    QFETCH(QByteArray, mode);
    QFETCH(int, signal);
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Outcome o = runChild(mode, dir.path());

    QVERIFY2(WIFSIGNALED(o.status), qPrintable(QStringLiteral("status %1, stderr %2").arg(o.status).arg(QString(o.err))));
    QCOMPARE(WTERMSIG(o.status), signal);
    QCOMPARE(o.out, QByteArray("get in GenerateMiniDump()---\n1\n"));

    const QStringList files = dumpFiles(dir.path());
    QCOMPARE(files.size(), 1);
    const QRegularExpressionMatch m = kDumpName.match(files[0]);
    QVERIFY2(m.hasMatch(), qPrintable(files[0]));
    QCOMPARE(m.captured(2).toLongLong(), qint64(o.pid));
    QCOMPARE(m.captured(3).toLongLong(), qint64(o.pid)); // the main thread crashed
    const QDateTime stamp = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
    QVERIFY(stamp.isValid());
    QVERIFY2(stamp >= o.before.addSecs(-1) && stamp <= o.after.addSecs(1), qPrintable(m.captured(1)));
    QVERIFY(o.err.contains("Quenfold_DumpDir/" + files[0].toLatin1()));

    const QByteArray dump = readAll(dir.path() + QStringLiteral("/Quenfold_DumpDir/") + files[0]);
    QVERIFY(dump.contains(QStringLiteral("signal: %1 (%2)\n").arg(signal).arg(name).toLatin1()));
    QVERIFY(dump.contains(QStringLiteral("pid: %1\n").arg(o.pid).toLatin1()));
    QVERIFY(dump.contains("\nregisters:\n"));
#if defined(__x86_64__)
    QVERIFY(dump.contains("  rip 0x"));
#endif
    QVERIFY(dump.contains("\nbacktrace:\n"));
    QVERIFY(dump.contains("crash_child("));
    QVERIFY(dump.contains("\nmemory map:\n"));
    QVERIFY(dump.contains("[stack]"));
    QVERIFY(dump.endsWith("end of dump\n"));
    if (mode == "segv") {
        QVERIFY(dump.contains("fault address: 0x0000000000000010\n"));
        QVERIFY(dump.contains("writeToBadAddress"));
    }
}

void TestCrashDump::crashInThread_namesHandlingThread()
{
    QTemporaryDir dir;
    const Outcome o = runChild("thread", dir.path());
    QVERIFY(WIFSIGNALED(o.status));
    QCOMPARE(WTERMSIG(o.status), int(SIGSEGV));
    const QStringList files = dumpFiles(dir.path());
    QCOMPARE(files.size(), 1);
    const QRegularExpressionMatch m = kDumpName.match(files[0]);
    QVERIFY(m.hasMatch());
    QCOMPARE(m.captured(2).toLongLong(), qint64(o.pid));
    QVERIFY(m.captured(3).toLongLong() != qint64(o.pid));
    QCOMPARE(o.out, QByteArray("get in GenerateMiniDump()---\n1\n"));
}

void TestCrashDump::existingFolder_isReused_andProcessesGetOwnFiles()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Quenfold_DumpDir")));
    QFile old(dir.path() + QStringLiteral("/Quenfold_DumpDir/old.dmp"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();
    const Outcome first = runChild("segv", dir.path());
    const Outcome second = runChild("segv", dir.path());
    QVERIFY(WIFSIGNALED(first.status) && WIFSIGNALED(second.status));
    const QStringList files = dumpFiles(dir.path());
    QCOMPARE(files.size(), 3);
    QVERIFY(files.contains(QStringLiteral("old.dmp")));
    int matched = 0;
    for (const QString &f : files) {
        const QRegularExpressionMatch m = kDumpName.match(f);
        if (m.hasMatch())
            matched |= m.captured(2).toLongLong() == first.pid ? 1 : (m.captured(2).toLongLong() == second.pid ? 2 : 0);
    }
    QCOMPARE(matched, 3);
}

void TestCrashDump::debuggerAttached_printsTrackingAndWritesNothing()
{
    QTemporaryDir dir;
    const Outcome o = runChild("segv", dir.path(), true);
    if (WIFEXITED(o.status) && WEXITSTATUS(o.status) == 122)
        QSKIP("this machine does not allow tracing a child");
    QVERIFY2(WIFSIGNALED(o.status), qPrintable(QString::number(o.status)));
    QCOMPARE(WTERMSIG(o.status), int(SIGSEGV)); // handed on to the debugger, then the default
    QCOMPARE(o.out, QByteArray("Tracking location---\n"));
    QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/Quenfold_DumpDir")));
}

void TestCrashDump::tracerPid_readsTheTracer()
{
    QTemporaryDir dir;
    const Outcome plain = runChild("tracer", dir.path());
    QVERIFY(WIFEXITED(plain.status));
    QCOMPARE(plain.out, QByteArray("0\n"));
    const Outcome traced = runChild("tracer", dir.path(), true);
    QVERIFY(WIFEXITED(traced.status));
    if (WEXITSTATUS(traced.status) == 122)
        QSKIP("this machine does not allow tracing a child");
    QCOMPARE(traced.out, QByteArray::number(qint64(getpid())) + '\n');
}

void TestCrashDump::givenFile_isWrittenAndLeftOpen()
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/given.dmp");
    const Outcome o = runChild("direct", dir.path(), false, QFile::encodeName(file));
    QVERIFY(WIFEXITED(o.status));
    QCOMPARE(WEXITSTATUS(o.status), 0); // returned 1 and the file was still open
    QCOMPARE(o.out, QByteArray("get in GenerateMiniDump()---\n1\n"));
    QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/Quenfold_DumpDir")));
    const QByteArray dump = readAll(file);
    QVERIFY(dump.contains("signal: none\n"));
    QVERIFY(dump.contains("\nmemory map:\n"));
    QVERIFY(dump.endsWith("end of dump\nstill open\n"));
}

QTEST_GUILESS_MAIN(TestCrashDump)
#include "tst_crash_dump.moc"
