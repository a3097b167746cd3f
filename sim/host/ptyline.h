#pragma once

#include <QString>

// A Linux pseudo-terminal standing in for the board's serial port. The
// client opens the slave side (the device path); the simulator serves the
// master side. The simulator keeps a slave descriptor of its own open, so
// clients may close and reopen the device without the master seeing a
// hang-up (and without the serve loop spinning on EIO while nobody is
// attached).
class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Creates the pty in raw mode with a non-blocking master; false with
    // `error` filled in when the system refuses.
    bool open(QString& error);
    // Makes `path` a symlink to the device (replacing an older symlink,
    // never a real file); removed again when the line is destroyed.
    bool makeLink(const QString& path, QString& error);

    int masterFd() const { return m_master; }
    QString devicePath() const { return m_devicePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QString m_linkPath;
};
