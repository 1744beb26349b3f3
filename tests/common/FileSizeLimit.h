// Caps the size of files this process writes for the life of the object (soft limit,
// restored afterwards); SIGXFSZ ignored so writes fail with EFBIG.
#pragma once

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lim = m_old;
        lim.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    bool m_active = false;
};
