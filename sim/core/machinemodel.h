#pragma once

#include <QtGlobal>

class BoardMemory;
class Clock;
class PlsUnit;

// A decorator running at a steady speed, as the board's memory shows it:
// speed and resolver registers, the good-can and blow-off counters, the
// channel outputs, the test blow-off requests and the alarm word. It only
// touches memory while running, so a stopped model leaves memory to the
// protocol alone (what the tests want).
class MachineModel {
public:
    // Alarm word bits (byte "B121").
    static constexpr int kInfeedTrackJam = 32;
    static constexpr int kTimingSignalFailure = 64;
    // One can in this many is blown off as bad.
    static constexpr int kBadCanEvery = 500;
    // With alarm cycling, the alarms come and go over this period.
    static constexpr qint64 kAlarmCycleMs = 90000;

    MachineModel(Clock& clock, BoardMemory& memory, PlsUnit& pls);

    // Advances the machine to the clock's time.
    void run();

    bool isRunning() const { return m_running; }
    // Starting counts from now; stopping writes speed 0 to the registers.
    void setRunning(bool running);
    // The display shows cans per minute; the board's speed word "W182"
    // holds the resolver's RPM, one turn per two cans.
    void setCansPerMinute(int cpm) { m_cansPerMinute = cpm; }
    int cansPerMinute() const { return m_cansPerMinute; }
    // Alarm bits held on until changed (kInfeedTrackJam, kTimingSignalFailure).
    void setAlarms(int bits) { m_alarms = bits; }
    // Makes both alarms come and go: the jam for 10 s and the timing signal
    // failure for 5 s of every 90 s.
    void setAlarmCycling(bool on) { m_alarmCycling = on; }

private:
    void countCans(qint64 elapsedMs);
    void serveTestRequests();
    void publishRegisters();
    int alarmBits() const;
    void addToCounter(int address, qint64 count);

    Clock& m_clock;
    BoardMemory& m_memory;
    PlsUnit& m_pls;
    bool m_running = false;
    int m_cansPerMinute = 600;
    int m_alarms = 0;
    bool m_alarmCycling = false;
    qint64 m_lastMs = 0;
    qint64 m_canTimeMs = 0; // can time not yet counted, in ms x cans/min
    qint64 m_totalCans = 0;
};
