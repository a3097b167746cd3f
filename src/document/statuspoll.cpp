#include "statuspoll.h"

#include "textnumber.h"

namespace {

const std::array<QString, 2> kAlarmNames = {QStringLiteral(" Infeed Track Jam "),
                                            QStringLiteral(" Timing Signal Failure ")};
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString StatusPoll::alarmName(int alarm) {
    return kAlarmNames.at(alarm).trimmed();
}

void StatusPoll::updateOnline(bool commError, const QString& alarmReply) {
    if (commError)
        return;
    m_held = false;

    const qint32 word = numericValue(alarmReply);
    if (word > 0) {
        if (word & kInfeedTrackJamBit)
            m_latches[0] = true;
        if (word & kTimingSignalFailureBit)
            m_latches[1] = true;
    } else {
        m_latches = {};
    }

    if (m_latches[0] || m_latches[1]) {
        m_systemStatusText = alarmMessage();
        m_panelText = QStringLiteral("System Message:  Faults Active in PLC");
    } else {
        m_systemStatusText = QStringLiteral("-- System Normal --") + kCrLf +
                             QStringLiteral("Set-up Program is Currently ONLINE");
        m_panelText = QStringLiteral("System Message:  All Faults Normal");
    }
}

void StatusPoll::updateOffline(bool commError) {
    m_held = false;
    m_systemStatusText = QStringLiteral("Set-up Program is Currently OFFLINE");
    m_panelText = commError ? QStringLiteral("System Message:  Comm Fault with K7600")
                            : QStringLiteral("System Message:  Program is Currently OFFLINE");
}

void StatusPoll::hold(const QString& notice) {
    m_held = true;
    m_systemStatusText = notice;
    m_panelText = QStringLiteral("System Message:  ") + notice;
}

QString StatusPoll::alarmMessage() const {
    QString message;
    for (std::size_t i = 0; i < m_latches.size(); ++i) {
        if (m_latches[i])
            message +=
                QStringLiteral("***** SYSTEM ALARM *****") + kCrLf + kAlarmNames[i] + kCrLf + kCrLf;
    }
    return message;
}
