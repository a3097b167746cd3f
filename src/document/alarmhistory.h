#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>

// What the status poll saw happen, one line of the alarm record each: an
// alarm latched ("raised") or released ("cleared"), or the link to the board
// failing ("link lost") and coming back ("link restored").
struct AlarmEvent {
    enum class Kind { Raised, Cleared, LinkLost, LinkRestored };
    QDateTime at;
    Kind kind = Kind::Raised;
    QString alarm; // the alarm's name for raised and cleared, else empty

    bool operator==(const AlarmEvent& other) const {
        return at == other.at && kind == other.kind && alarm == other.alarm;
    }
};

// The word of each kind as the record and vralctl write it.
QString alarmEventWord(AlarmEvent::Kind kind);

// One row of the history: an alarm, or a spell without the link, from the
// time it began to the time it ended.
struct AlarmEpisode {
    QString text; // "Infeed Track Jam", "Link lost"
    QDateTime raised;
    QDateTime cleared; // invalid while running, or when its end was never seen
    bool running = false;
    bool operator==(const AlarmEpisode& other) const {
        return text == other.text && raised == other.raised && cleared == other.cleared &&
               running == other.running;
    }
};

// Turns the status poll's ticks into alarm events, and the events into the
// history's rows. It reads nothing itself: each tick hands it what the poll
// already has (the link state and the two alarm latches).
//
// Alarms are followed only while the link is up; while it is down an alarm
// already raised stays open, and the first tick with the link back raises or
// clears what changed meanwhile. "Link lost" is a link failure (CommError),
// not the user going offline.
class AlarmHistory {
public:
    static constexpr int kAlarms = 2;
    static inline const QString kLinkLost = QStringLiteral("Link lost");
    // Rows kept in memory; the oldest go first. Weeks of a machine that
    // alarms every few minutes, and what a 2 MB record holds.
    static constexpr int kMaxEpisodes = 20000;

    // One poll tick at time at. linkUp: online without a link failure, the
    // alarm word read; commError: a link failure is latched. Returns the
    // events of the tick, already taken into the rows.
    QVector<AlarmEvent> observe(const QDateTime& at, bool linkUp, bool commError,
                                const std::array<bool, kAlarms>& latches);

    // Rows from a record read back at start: what was still open when the
    // program last ended is closed with no end time, since nobody saw it end.
    void restore(const QVector<AlarmEvent>& events);
    void clear();

    // Oldest first.
    const QVector<AlarmEpisode>& episodes() const { return m_episodes; }

    // The rows as a CSV table, newest first as the list shows them:
    // "Raised,Cleared,Alarm,Duration (s)" then one line per row, local times
    // ("2026-12-09 04:12:30"), "running" or "unknown" where the end is not known.
    QByteArray toCsv() const;

private:
    void apply(const AlarmEvent& event);

    QVector<AlarmEpisode> m_episodes;
    std::array<bool, kAlarms> m_raised{};
    bool m_linkLost = false;
};

// h:mm:ss of the time between two moments.
QString durationText(const QDateTime& from, const QDateTime& to);
