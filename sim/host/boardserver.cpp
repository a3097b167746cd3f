#include "boardserver.h"

#include "boardsim.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace {
// While no client holds the device, the master may report errors; wait
// this long before looking again instead of spinning.
constexpr int kDetachedRetryMs = 200;
} // namespace

BoardServer::BoardServer(BoardSim& board, int masterFd, int baud)
    : m_board(board), m_master(masterFd) {
    if (baud > 0) {
        m_byteTime =
            std::chrono::nanoseconds(10 * 1000000000LL / baud); // start + 8 data + stop bits
        // The default 50 us timer slack on every paced reply would add
        // 2.4% to each exchange at 9600 bit/s (2.08 ms).
        ::prctl(PR_SET_TIMERSLACK, 1UL);
    }
}

void BoardServer::run(const volatile std::sig_atomic_t& stop) {
    sigset_t waitMask;
    ::sigprocmask(SIG_SETMASK, nullptr, &waitMask);
    ::sigdelset(&waitMask, SIGINT);
    ::sigdelset(&waitMask, SIGTERM);

    while (!stop) {
        pollfd pfd{m_master, POLLIN, 0};
        const int ready = ::ppoll(&pfd, 1, nullptr, &waitMask);
        if (ready < 0)
            continue; // EINTR: a signal; the loop condition decides
        if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            const timespec pause{0, kDetachedRetryMs * 1000000L};
            ::ppoll(nullptr, 0, &pause, &waitMask);
            continue;
        }
        unsigned char buffer[256];
        const long count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0)
            serveBytes(buffer, count);
    }
}

void BoardServer::serveBytes(const unsigned char* bytes, long count) {
    for (long i = 0; i < count; ++i) {
        // The byte has arrived only after its ten bit times, and not before
        // the board finished its last answer; the reply takes ten more. Only
        // the reply waits for real, so each exchange pays one wake-up delay.
        advanceLine(m_inFreeAt);
        const QByteArray reply = m_board.receive(bytes[i]);
        for (const char c : reply)
            sendReply(static_cast<unsigned char>(c));
    }
    if (m_reportReads)
        reportReads();
}

void BoardServer::reportReads() {
    const quint64 reads = m_board.readsServed();
    const auto now = SteadyClock::now();
    if (reads == m_readsReported || now - m_readsReportedAt < std::chrono::seconds(1))
        return;
    m_readsReported = reads;
    m_readsReportedAt = now;
    std::printf("reads %llu\n", static_cast<unsigned long long>(reads));
    std::fflush(stdout);
}

void BoardServer::sendReply(unsigned char byte) {
    advanceLine(m_outFreeAt);
    if (m_byteTime.count() != 0)
        waitForLine(m_outFreeAt);
    if (::write(m_master, &byte, 1) != 1)
        std::fprintf(stderr, "vral-boardsim: reply byte dropped (client not reading)\n");
}

// One byte on the line, either way: it starts when the line is free both
// ways (or now, when it has been idle) and lasts ten bit times.
void BoardServer::advanceLine(SteadyClock::time_point& freeAt) {
    if (m_byteTime.count() == 0)
        return;
    freeAt = std::max({m_inFreeAt, m_outFreeAt, SteadyClock::now()}) + m_byteTime;
}

// A sleeping process wakes up late (50-150 us on a loaded machine), which on
// a 2 ms exchange would make the simulated line several per cent slower
// than a real one. The server learns how late it wakes and aims that much
// earlier, so replies leave on average when the line model says.
void BoardServer::waitForLine(SteadyClock::time_point due) {
    std::this_thread::sleep_until(due - m_wakeLead);
    const auto late = SteadyClock::now() - due;
    // Move the lead an eighth of the way towards what this wake-up needed.
    m_wakeLead += (late) / 8;
    m_wakeLead = std::clamp(m_wakeLead, std::chrono::nanoseconds(0), m_byteTime / 4);
}
