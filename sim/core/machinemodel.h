#pragma once

#include "boardclock.h"
#include "iopoints.h"
#include "shiftcounters.h"

#include <QtGlobal>

#include <random>

class BoardMemory;
class Clock;
class PlsUnit;

// A decorator running at a steady speed, as the board's memory shows it:
// speed and resolver registers, the good-can and blow-off counters, the
// channel outputs, the test blow-off requests and the alarm word; spindle
// trips now and then, the I/O points and analog values, and the DF1 bridge's
// transaction counters. Trips and wandering points come from a seeded
// generator and everything else from the clock, so a run repeats exactly.
// It only touches memory while running, so a stopped model leaves memory to
// the protocol alone (what the tests want); the board program's answer to
// the reset-trips and end-of-shift bits the link writes, the board's clock,
// and the limit switch's answer to a PLS command (publishPls) run either way.
class MachineModel {
public:
    // Alarm word bits (byte "B121").
    static constexpr int kInfeedTrackJam = 32;
    static constexpr int kTimingSignalFailure = 64;
    // One can in this many is blown off as bad.
    static constexpr int kBadCanEvery = 500;
    // With alarm cycling, the alarms come and go over this period.
    static constexpr qint64 kAlarmCycleMs = 90000;
    // A spindle trips once in this many cans, give or take (drawn evenly
    // from kTripEveryCans / 2 to 3 * kTripEveryCans / 2).
    static constexpr int kTripEveryCans = 300;
    // "B598" shows the tripped spindle for this long after its trip.
    static constexpr qint64 kTripShownMs = 3000;
    // A blow-off solenoid output stays on this long.
    static constexpr qint64 kSolenoidMs = 250;
    // With the DF1 driver on ("F152"), the bridge completes one transaction
    // each way this often ("W4016", "W4304").
    static constexpr qint64 kDf1TransactionMs = 1000;

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
    // failure for 5 s of every 90 s. The machine stands still while its
    // infeed is jammed (speed 0, no cans) and runs on when the jam clears.
    void setAlarmCycling(bool on) { m_alarmCycling = on; }
    // Writes the PLS's live words (channel outputs "W170", position, scale
    // and offset) from the PLS as it stands. The board's limit switch keeps
    // them current whether the machine turns or not, so this runs after
    // every PLS command too, not only while the machine runs.
    void publishPls();
    // Restarts the trips and the wandering I/O points from a seed (the
    // model starts with seed 1).
    void setSeed(quint32 seed);

private:
    void countCans(qint64 elapsedMs);
    void serveTestRequests();
    void publishRegisters();
    int alarmBits() const;
    // Cans per minute as the machine turns now.
    int speedNow() const;
    void addToCounter(int address, qint64 count);
    void countTrips(qint64 cans, qint64 nowMs);
    int drawTripInterval();
    void showTrippedSpindle(qint64 nowMs);
    void countDf1Transactions(qint64 nowMs);
    void publishIo(qint64 nowMs);

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

    ShiftCounters m_shift;
    IoPoints m_io;
    BoardClock m_boardClock;
    std::minstd_rand m_random;
    qint64 m_cansToNextTrip = 0;
    int m_trippedSpindle = 0; // 0: none shown
    qint64 m_trippedUntilMs = 0;
    qint64 m_badCanSolenoidUntilMs = 0;
    qint64 m_qcSolenoidUntilMs = 0;
    qint64 m_df1Step = -1;
};
