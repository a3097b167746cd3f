#pragma once

#include <csignal>
#include <sys/resource.h>

// Makes every file write of this process beyond maxBytes fail with EFBIG, as
// a full disk would, for as long as the object lives. SIGXFSZ is ignored so
// the failure comes back as an error instead of ending the test. Both the
// limit and the signal handler are restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t maxBytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = maxBytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set; tests check it before relying on it.
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_active = false;
};
