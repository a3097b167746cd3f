#pragma once

#include <QtGlobal>

#include <random>

class BoardMemory;

// The inputs and outputs the board's I/O page shows: the processor's second
// input (IN1), its analog inputs and outputs, and the sixteen points of each
// of the three I/O slots ("W100", "W110" and the low byte of "W120"; the high
// byte of W120 is the alarm word, which the machine model keeps). Points tied
// to the machine follow it; the rest are plant signals that wander, one point
// changing every kWanderMs, from a seeded generator so a run repeats.
class IoPoints {
public:
    static constexpr qint64 kWanderMs = 1500;

    // What the machine is doing, as the points see it.
    struct Machine {
        bool running = false;
        int cansPerMinute = 0;
        int position = 0; // resolver position register
        int scale = 360;  // counts per resolver turn (two cans)
        bool tripped = false;
        bool badCanBlowoff = false; // the bad-can solenoid is energised
        bool qcBlowoff = false;     // the Q.C. solenoid is energised
        qint64 timeMs = 0;
    };

    explicit IoPoints(BoardMemory& memory);

    // Restarts the wandering points from a seed (all off).
    void setSeed(quint32 seed);

    // Writes every point and analog value for the machine's state.
    void publish(const Machine& machine);

private:
    void wander(qint64 timeMs);

    BoardMemory& m_memory;
    std::minstd_rand m_random;
    quint32 m_wandering = 0; // 24 points: slot 0-0 bits 8-15, 0-1 bits 8-15, 0-2 bits 0-7
    qint64 m_wanderStep = -1;
};
