#pragma once

#include <QProcess>
#include <QStringList>

// The simulated board (vral-boardsim) as a child process, serving its pty,
// for the end-to-end tests and the benchmarks. Terminated and reaped on
// destruction.
class BoardProcess {
public:
    explicit BoardProcess(const QStringList& arguments);
    ~BoardProcess();
    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

    // The pty slave path the simulator printed; empty when it did not start.
    QString device() const { return m_device; }
    // With --listen: the endpoint it serves the line on, as it printed it.
    QString endpoint() const { return m_endpoint; }
    // SIGTERM: the simulator saves its memory image (--memory) and ends.
    void stop();
    // SIGKILL: the board vanishes mid-conversation, as a pulled cable or a
    // dead USB adapter does. Returns once the process has been reaped.
    void kill();
    // SIGSTOP: the board stops answering with the line still there, as a
    // board that has hung does; thaw() (SIGCONT) lets it go on. stop()
    // thaws a frozen board so that it can end.
    void freeze();
    void thaw();
    // The simulator process, for a caller that reads what it prints after
    // the device path (--reads).
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QString m_device;
    QString m_endpoint;
};
