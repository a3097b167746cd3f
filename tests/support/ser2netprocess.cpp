#include "ser2netprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
constexpr int kStartMs = 10000;

quint16 freePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}
} // namespace

Ser2netProcess::Ser2netProcess(Kind kind, const QString& device, bool chardelay) {
    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (program.isEmpty()) {
        m_why = QStringLiteral("ser2net is not installed (scripts/deps.sh installs it)");
        return;
    }
    const quint16 port = freePort();
    const bool rfc2217 = kind == Kind::Rfc2217;
    const QString config = m_folder.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_why = file.errorString();
        return;
    }
    file.write(QStringLiteral("%YAML 1.1\n---\n"
                              "connection: &board\n"
                              "  accepter: %1tcp(nodelay),127.0.0.1,%2\n"
                              "  connector: serialdev,%3,9600n81,local\n"
                              "  options:\n"
                              "    kickolduser: true\n"
                              "    chardelay: %4\n")
                   .arg(rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString())
                   .arg(port)
                   .arg(device, chardelay ? QStringLiteral("true") : QStringLiteral("false"))
                   .toUtf8());
    file.close();
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start(program,
                    {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), config,
                     QStringLiteral("-P"), m_folder.filePath(QStringLiteral("ser2net.pid"))});
    if (!m_process.waitForStarted(kStartMs)) {
        m_why = m_process.errorString();
        return;
    }
    // Ready once its port takes a connection.
    const QDeadlineTimer deadline(kStartMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(200)) {
            probe.abort();
            m_endpoint = QStringLiteral("%1://127.0.0.1:%2")
                             .arg(rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp"))
                             .arg(port);
            return;
        }
        m_process.waitForFinished(50);
    }
    m_why = QStringLiteral("ser2net did not take connections on port %1").arg(port);
}

Ser2netProcess::~Ser2netProcess() {
    stop();
}

void Ser2netProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStartMs)) {
        m_process.kill();
        m_process.waitForFinished(kStartMs);
    }
}
