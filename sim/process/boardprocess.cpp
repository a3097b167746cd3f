#include "boardprocess.h"

#include <csignal>

namespace {
constexpr int kStartMs = 10000;
} // namespace

BoardProcess::BoardProcess(const QStringList& arguments) {
    m_process.setProgram(QStringLiteral(VRAL_BOARDSIM_PATH));
    m_process.setArguments(arguments + QStringList{QStringLiteral("--quiet")});
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(kStartMs))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(kStartMs)) {
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (!arguments.contains(QStringLiteral("--listen")))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(kStartMs)) {
    }
    m_endpoint = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

BoardProcess::~BoardProcess() {
    stop();
}

void BoardProcess::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    thaw(); // a frozen board would never see the SIGTERM
    m_process.terminate();
    if (!m_process.waitForFinished(kStartMs))
        kill();
}

void BoardProcess::kill() {
    m_process.kill();
    m_process.waitForFinished(kStartMs);
}

void BoardProcess::freeze() {
    if (m_process.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(m_process.processId()), SIGSTOP);
}

void BoardProcess::thaw() {
    if (m_process.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(m_process.processId()), SIGCONT);
}
