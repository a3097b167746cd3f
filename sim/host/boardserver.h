#pragma once

#include <QtGlobal>

#include <chrono>
#include <csignal>

class BoardSim;

// Serves a BoardSim on a pty master: every byte read from the line goes to
// the board, every reply is written back. Blocks in ppoll() while the line
// is idle, so an idle simulator costs no CPU.
class BoardServer {
public:
    // baud 9600 or 19200 paces the line (each byte, either way, takes ten
    // bit times); 0 leaves it unpaced.
    BoardServer(BoardSim& board, int masterFd, int baud);

    // Prints "reads N" (the reads served so far) on standard output after a
    // read, at most once a second: a watcher sees from the lines when the
    // board last answered a read.
    void setReportReads(bool on) { m_reportReads = on; }

    // Serves until `stop` becomes non-zero. SIGINT and SIGTERM must be
    // blocked by the caller: they are let through only while waiting, so a
    // stop request always ends the wait at once.
    void run(const volatile std::sig_atomic_t& stop);

private:
    using SteadyClock = std::chrono::steady_clock;

    void serveBytes(const unsigned char* bytes, long count);
    void sendReply(unsigned char byte);
    void advanceLine(SteadyClock::time_point& freeAt);
    void waitForLine(SteadyClock::time_point due);
    void reportReads();

    BoardSim& m_board;
    int m_master;
    std::chrono::nanoseconds m_byteTime{0};
    SteadyClock::time_point m_inFreeAt{};
    SteadyClock::time_point m_outFreeAt{};
    std::chrono::nanoseconds m_wakeLead{0}; // how much earlier than due to wake up
    bool m_reportReads = false;
    quint64 m_readsReported = 0;
    SteadyClock::time_point m_readsReportedAt{};
};
