#include "clisession.h"

#include "bytetrace.h"
#include "portmap.h"

#include <QCoreApplication>
#include <QTextStream>

CliSession::CliSession(const Options& options)
    : prompts(options.retries),
      folder(AppFolder::locate(options.home, QCoreApplication::applicationDirPath())),
      port(options.device), link(clock, prompts, folder), m_tracePath(options.trace) {
    port.setPortMapFile(PortMap::pathIn(folder));
}

CliSession::~CliSession() {
    link.setTrace(nullptr);
}

bool CliSession::startTrace() {
    if (m_tracePath.isEmpty())
        return true;
    QString error;
    m_trace = ByteTrace::toFile(m_tracePath, clock, &error);
    if (!m_trace) {
        complain(m_tracePath + QStringLiteral(": ") + error);
        return false;
    }
    link.setTrace(m_trace.get());
    return true;
}

bool CliSession::goOnline() {
    link.OpenRSComm(port);
    return link.linkUp();
}

int CliSession::finish(int status) {
    link.CloseRSComm();
    return status;
}

void complain(const QString& message) {
    QTextStream(stderr) << "vralctl: " << message << Qt::endl;
}
