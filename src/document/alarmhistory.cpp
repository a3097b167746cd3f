#include "alarmhistory.h"

#include "statuspoll.h"

#include <algorithm>

namespace {

// Local time, as the operator saw it on the status bar's clock.
QString localTime(const QDateTime& at) {
    return at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString alarmEventWord(AlarmEvent::Kind kind) {
    switch (kind) {
    case AlarmEvent::Kind::Raised:
        return QStringLiteral("raised");
    case AlarmEvent::Kind::Cleared:
        return QStringLiteral("cleared");
    case AlarmEvent::Kind::LinkLost:
        return QStringLiteral("link lost");
    case AlarmEvent::Kind::LinkRestored:
        return QStringLiteral("link restored");
    }
    return {};
}

QVector<AlarmEvent> AlarmHistory::observe(const QDateTime& at, bool linkUp, bool commError,
                                          const std::array<bool, kAlarms>& latches) {
    QVector<AlarmEvent> events;
    if (commError && !m_linkLost)
        events.append({at, AlarmEvent::Kind::LinkLost, {}});
    if (linkUp && m_linkLost)
        events.append({at, AlarmEvent::Kind::LinkRestored, {}});
    if (linkUp) {
        for (int i = 0; i < kAlarms; ++i) {
            if (latches[i] != m_raised[i])
                events.append({at,
                               latches[i] ? AlarmEvent::Kind::Raised : AlarmEvent::Kind::Cleared,
                               StatusPoll::alarmName(i)});
        }
    }
    for (const AlarmEvent& event : events)
        apply(event);
    return events;
}

void AlarmHistory::apply(const AlarmEvent& event) {
    auto close = [this, &event](const QString& text) {
        for (auto it = m_episodes.rbegin(); it != m_episodes.rend(); ++it) {
            if (it->running && it->text == text) {
                it->running = false;
                it->cleared = event.at;
                return;
            }
        }
    };
    const int alarm = event.alarm == StatusPoll::alarmName(0)   ? 0
                      : event.alarm == StatusPoll::alarmName(1) ? 1
                                                                : -1;
    switch (event.kind) {
    case AlarmEvent::Kind::Raised:
        if (alarm >= 0)
            m_raised[alarm] = true;
        m_episodes.append({event.alarm, event.at, {}, true});
        break;
    case AlarmEvent::Kind::Cleared:
        if (alarm >= 0)
            m_raised[alarm] = false;
        close(event.alarm);
        break;
    case AlarmEvent::Kind::LinkLost:
        m_linkLost = true;
        m_episodes.append({kLinkLost, event.at, {}, true});
        break;
    case AlarmEvent::Kind::LinkRestored:
        m_linkLost = false;
        close(kLinkLost);
        break;
    }
    if (m_episodes.size() > kMaxEpisodes)
        m_episodes.remove(0, m_episodes.size() - kMaxEpisodes);
}

void AlarmHistory::restore(const QVector<AlarmEvent>& events) {
    clear();
    for (const AlarmEvent& event : events)
        apply(event);
    for (AlarmEpisode& episode : m_episodes)
        episode.running = false;
    m_raised = {};
    m_linkLost = false;
}

void AlarmHistory::clear() {
    m_episodes.clear();
}

QByteArray AlarmHistory::toCsv() const {
    QByteArray csv = "Raised,Cleared,Alarm,Duration (s)\r\n";
    for (auto it = m_episodes.crbegin(); it != m_episodes.crend(); ++it) {
        const bool ended = it->cleared.isValid();
        const QString cleared = ended         ? localTime(it->cleared)
                                : it->running ? QStringLiteral("running")
                                              : QStringLiteral("unknown");
        const QString duration =
            ended ? QString::number(it->raised.secsTo(it->cleared)) : QString();
        csv += QStringLiteral("%1,%2,%3,%4\r\n")
                   .arg(localTime(it->raised), cleared, it->text, duration)
                   .toUtf8();
    }
    return csv;
}

QString durationText(const QDateTime& from, const QDateTime& to) {
    const qint64 seconds = std::max<qint64>(0, from.secsTo(to));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
