#include "linelistener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

LineListener::LineListener(const QString& devicePath, bool rfc2217)
    : m_devicePath(devicePath), m_rfc2217(rfc2217) {}

LineListener::~LineListener() {
    stop();
    detach();
    closeFd(m_listenFd);
}

bool LineListener::listen(const QString& address, QString& error) {
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    m_host = colon < 0 ? QStringLiteral("127.0.0.1") : address.left(colon);
    if (m_host.startsWith(QLatin1Char('[')) && m_host.endsWith(QLatin1Char(']')))
        m_host = m_host.mid(1, m_host.size() - 2);
    bool ok = false;
    const int port = address.mid(colon + 1).toInt(&ok);
    if (!ok || port < 0 || port > 65535) {
        error = QStringLiteral("--listen takes [HOST:]PORT, not %1").arg(address);
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int lookup = ::getaddrinfo(m_host.toUtf8().constData(),
                                     QByteArray::number(port).constData(), &hints, &found);
    if (lookup != 0) {
        error = QStringLiteral("cannot listen on %1: %2").arg(address, ::gai_strerror(lookup));
        return false;
    }
    m_listenFd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const bool bound = m_listenFd >= 0 &&
                       ::bind(m_listenFd, found->ai_addr, found->ai_addrlen) == 0 &&
                       ::listen(m_listenFd, 4) == 0;
    ::freeaddrinfo(found);
    sockaddr_storage local{};
    socklen_t length = sizeof local;
    if (!bound || ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        error = QStringLiteral("cannot listen on %1: %2")
                    .arg(address, QString::fromLocal8Bit(::strerror(errno)));
        closeFd(m_listenFd);
        return false;
    }
    m_port =
        ntohs(local.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6*>(&local)->sin6_port
                                          : reinterpret_cast<const sockaddr_in*>(&local)->sin_port);
    return true;
}

QString LineListener::endpoint() const {
    const QString host =
        m_host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(m_host) : m_host;
    return QStringLiteral("%1://%2:%3")
        .arg(m_rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp"), host)
        .arg(m_port);
}

void LineListener::start() {
    if (::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        return;
    m_thread = std::thread([this] { run(); });
}

void LineListener::stop() {
    if (!m_thread.joinable())
        return;
    const char wake = 0;
    if (::write(m_stopPipe[1], &wake, 1) == 1)
        m_thread.join();
    else
        m_thread.detach();
    closeFd(m_stopPipe[0]);
    closeFd(m_stopPipe[1]);
}

void LineListener::run() {
    for (;;) {
        pollfd fds[4] = {{m_stopPipe[0], POLLIN, 0},
                         {m_listenFd, POLLIN, 0},
                         {m_clientFd, POLLIN, 0},
                         {m_deviceFd, POLLIN, 0}};
        if (::poll(fds, 4, -1) < 0)
            continue; // EINTR
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN)
            accept();
        if ((fds[2].revents && !fromClient()) || (fds[3].revents && !fromBoard()))
            detach();
    }
}

// The client gets the pty's device opened for it, its input emptied of
// whatever an earlier client left unread.
void LineListener::accept() {
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    if (m_clientFd >= 0) {
        ::close(fd); // the line is taken
        return;
    }
    m_deviceFd = ::open(m_devicePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_deviceFd < 0) {
        ::close(fd);
        return;
    }
    ::tcflush(m_deviceFd, TCIOFLUSH);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_clientFd = fd;
    if (m_rfc2217) {
        m_telnet.emplace(TelnetComPort::Role::Server);
        writeAll(m_clientFd, m_telnet->opening());
    }
}

void LineListener::detach() {
    closeFd(m_clientFd);
    closeFd(m_deviceFd);
    m_telnet.reset();
}

bool LineListener::fromClient() {
    char buffer[512];
    const ssize_t n = ::read(m_clientFd, buffer, sizeof buffer);
    if (n <= 0)
        return n < 0 && errno == EINTR;
    QByteArray bytes(buffer, n);
    if (m_telnet) {
        bytes = m_telnet->decode(bytes);
        if (!writeAll(m_clientFd, m_telnet->takeReplies()))
            return false;
    }
    return writeAll(m_deviceFd, bytes);
}

bool LineListener::fromBoard() {
    char buffer[512];
    const ssize_t n = ::read(m_deviceFd, buffer, sizeof buffer);
    if (n <= 0)
        return n < 0 && errno == EINTR;
    const QByteArray bytes(buffer, n);
    return writeAll(m_clientFd, m_telnet ? TelnetComPort::encode(bytes) : bytes);
}
