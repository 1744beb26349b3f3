// Child process for the crash tests: installs the crash filter, then fails as asked.
#include "CrashDump.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

// Not static: the dump's backtrace should name it.
[[gnu::noinline]] void writeToBadAddress()
{
    volatile std::uintptr_t address = 16; // not known to the compiler
    volatile int *p = reinterpret_cast<volatile int *>(address);
    *p = 1;
}

namespace {

[[gnu::noinline]] void touchTruncatedMapping()
{
    char name[] = "/tmp/crash_child_XXXXXX";
    const int fd = mkstemp(name);
    unlink(name);
    void *map = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0); // empty file: no page behind it
    volatile const char *c = static_cast<const char *>(map);
    (void)*c;
}

} // namespace

int main(int argc, char *argv[])
{
    installTopLevelExceptionFilter();
    const char *mode = argc > 1 ? argv[1] : "";
    if (!std::strcmp(mode, "segv"))
        writeToBadAddress();
    else if (!std::strcmp(mode, "bus"))
        touchTruncatedMapping();
    else if (!std::strcmp(mode, "ill")) {
#if defined(__x86_64__) || defined(__i386__)
        asm volatile("ud2");
#else
        std::raise(SIGILL);
#endif
    } else if (!std::strcmp(mode, "fpe"))
        std::raise(SIGFPE);
    else if (!std::strcmp(mode, "abort"))
        throw std::runtime_error("nobody catches this");
    else if (!std::strcmp(mode, "thread")) {
        std::thread t(writeToBadAddress);
        t.join();
    } else if (!std::strcmp(mode, "direct") && argc > 2) {
        // The writer with a file of the caller's: written, left open.
        const int fd = open(argv[2], O_RDWR | O_CREAT | O_TRUNC, 0644);
        const int result = GenerateMiniDump(fd, nullptr, "Quenfold");
        const char after[] = "still open\n";
        const bool open = write(fd, after, sizeof after - 1) == static_cast<ssize_t>(sizeof after - 1);
        close(fd);
        return result == 1 && open ? 0 : 4;
    } else if (!std::strcmp(mode, "tracer")) {
        std::printf("%ld\n", crashTracerPid());
        return 0;
    }
    return 3;
}
