#pragma once

#include "telnetcomport.h"

#include <QString>

#include <optional>
#include <thread>

// The simulated board's line served on TCP as well, as a device server
// serves a real board's RS-232 port: raw bytes, or Telnet with the
// COM-PORT-OPTION (--rfc2217). One client at a time, like the port itself;
// a second connection is closed at once. While a client is connected the
// listener holds the pty's device open and relays bytes both ways, so the
// board's pacing and faults reach the network client unchanged.
//
// Runs on a thread of its own, blocked in poll() while nothing moves. The
// stop signals must already be blocked when start() is called.
class LineListener {
public:
    LineListener(const QString& devicePath, bool rfc2217);
    ~LineListener();
    LineListener(const LineListener&) = delete;
    LineListener& operator=(const LineListener&) = delete;

    // Listens on "[HOST:]PORT" (HOST defaults to 127.0.0.1; port 0 takes a
    // free one); false with `error` filled in when the system refuses.
    bool listen(const QString& address, QString& error);
    // "tcp://HOST:PORT" or "rfc2217://HOST:PORT", as vral's --device takes it.
    QString endpoint() const;

    void start();
    void stop();

private:
    void run();
    void accept();
    void detach();
    bool fromClient();
    bool fromBoard();

    QString m_devicePath;
    bool m_rfc2217;
    QString m_host;
    int m_port = 0;
    int m_listenFd = -1;
    int m_clientFd = -1;
    int m_deviceFd = -1;
    int m_stopPipe[2] = {-1, -1};
    std::optional<TelnetComPort> m_telnet;
    std::thread m_thread;
};
