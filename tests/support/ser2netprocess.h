#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's ser2net as a plant runs it, serving one serial device on a free
// loopback port with its own configuration: raw TCP or Telnet with the
// COM-PORT-OPTION, without Nagle's delay on its side either (nodelay), as
// the README's example sets it up; characters are not packed (chardelay off) unless asked
// for, as the benchmark does to show what packing costs. Stopped and reaped
// on destruction. Used by the end-to-end tests and the benchmarks.
class Ser2netProcess {
public:
    enum class Kind { RawTcp, Rfc2217 };

    Ser2netProcess(Kind kind, const QString& device, bool chardelay = false);
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    // The endpoint for --device once ser2net accepts connections; empty
    // when it did not start (why() says what went wrong).
    QString endpoint() const { return m_endpoint; }
    QString why() const { return m_why; }
    // SIGTERM: ser2net closes its connections and ends.
    void stop();

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_endpoint;
    QString m_why;
};
