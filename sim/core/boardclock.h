#pragma once

#include <QtGlobal>

class BoardMemory;

// The board's real-time clock as its memory shows it: seconds "B43008",
// minutes "B43010", hours "B43012", day "B43015", month "B43016" and year
// "B43017" (two digits, 2000 onwards), plain binary. It ticks once a second
// whether the machine runs or not, carrying into the next field as a
// calendar does. The fields are read back from memory at each tick, so a
// time or date the link writes goes on from where it was set. A field out
// of its range (a month of 13, a 31st of April) stops the clock until a
// valid date and time are written, as a battery clock with a corrupt
// register stands still.
class BoardClock {
public:
    explicit BoardClock(BoardMemory& memory) : m_memory(memory) {}

    // Ticks for every whole second since the last call (none at the first).
    void advance(qint64 nowMs);

private:
    BoardMemory& m_memory;
    qint64 m_second = -1;
};
