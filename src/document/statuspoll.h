#pragma once

#include <QString>

#include <array>

// The main window's background status poll, without the window: twice a
// second the poll reads the machine's alarm word and turns it into the
// status message shown on the main display and the text of status-bar
// panel 1. The board latches nothing itself, so the alarms are latched
// here: a positive alarm word only sets latches, and only a word of 0 (or
// less, or an unreadable reply) clears them.
class StatusPoll {
public:
    // The alarm word and the bits the poll watches in it.
    static inline const QString kAlarmWordAddress = QStringLiteral("B121");
    static constexpr int kInfeedTrackJamBit = 32;      // bit 5
    static constexpr int kTimingSignalFailureBit = 64; // bit 6

    // The alarm's name without the blanks the status text puts round it:
    // "Infeed Track Jam" (0), "Timing Signal Failure" (1).
    static QString alarmName(int alarm);
    const std::array<bool, 2>& latches() const { return m_latches; }

    // Tick while online. commError is the link's CommError after the read
    // attempt; alarmReply is the text RSRead returned. A latched link
    // failure leaves every text as it was.
    void updateOnline(bool commError, const QString& alarmReply);
    // Tick while offline.
    void updateOffline(bool commError);
    // The poll is held while a long command has the line: the texts say so
    // (notice, e.g. "Paused since 14:02:31 while the program is downloaded")
    // instead of an alarm state nobody is reading. The next tick ends it.
    void hold(const QString& notice);

    // The message for the main display page (CR LF line breaks).
    QString systemStatusText() const { return m_systemStatusText; }
    // Text for status-bar panel 1 ("STATUS").
    QString panelText() const { return m_panelText; }
    bool alarmLatched(int alarm) const { return m_latches.at(alarm); }
    // Some alarm is latched and the texts above carry it.
    bool alarmActive() const { return !m_held && (m_latches[0] || m_latches[1]); }

private:
    QString alarmMessage() const;

    std::array<bool, 2> m_latches{};
    bool m_held = false;
    QString m_systemStatusText;
    QString m_panelText = QStringLiteral("System Message:");
};
