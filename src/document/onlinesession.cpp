#include "onlinesession.h"

#include "documentlog.h"
#include "rscomm.h"

OnlineSession::OnlineSession(RSComm& link, SerialPort& MSComm1, QObject* parent)
    : QObject(parent), m_link(link), m_MSComm1(MSComm1) {}

bool OnlineSession::linkUp() const {
    return m_link.linkUp();
}

void OnlineSession::goOnline() {
    m_link.OnlineMode = true;
    ApplyOnlineMode();
}

void OnlineSession::goOffline() {
    m_link.OnlineMode = false;
    ApplyOnlineMode();
}

void OnlineSession::goOnlineAfresh() {
    if (m_link.OnlineMode)
        return;
    m_link.CommError = false;
    goOnline();
}

void OnlineSession::takeOfflineAfterFailure() {
    if (!m_link.CommError) {
        m_failureTaken = false;
        return;
    }
    if (m_failureTaken && !m_link.OnlineMode)
        return;
    m_failureTaken = true;
    qCInfo(lcDocument) << "link failure: the application goes offline";
    goOffline();
}

void OnlineSession::ApplyOnlineMode() {
    if (m_link.OnlineMode)
        m_link.OpenRSComm(m_MSComm1);
    else
        m_link.CloseRSComm();
    if (m_link.CommError)
        m_link.OnlineMode = false;
    emit changed();
}
