#include "ptyline.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {
QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

PtyLine::~PtyLine() {
    if (!m_linkPath.isEmpty())
        ::unlink(QFile::encodeName(m_linkPath).constData());
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyLine::open(QString& error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = systemError("grantpt/unlockpt");
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (!name) {
        error = systemError("ptsname");
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        error = systemError("open slave");
        return false;
    }
    // Binary line: no echo, no line editing, no character translation.
    // Clients set raw mode themselves as well; this covers simple ones.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    // A client that stops reading must never block the simulator.
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    return true;
}

bool PtyLine::makeLink(const QString& path, QString& error) {
    const QByteArray target = QFile::encodeName(m_devicePath);
    const QByteArray link = QFile::encodeName(path);
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        ::unlink(link.constData());
    } else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a symlink; not replacing it").arg(path);
        return false;
    }
    if (::symlink(target.constData(), link.constData()) != 0) {
        error = systemError("symlink");
        return false;
    }
    m_linkPath = path;
    return true;
}
