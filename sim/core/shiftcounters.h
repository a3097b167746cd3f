#pragma once

class BoardMemory;

// The board program's production records: trips per spindle (drive side and
// off side) since the last trip reset, the current shift's block (counters,
// trip totals and trips per spindle) and the last shift's block, and the two
// commands the set-up utility gives by pulsing a bit: "B1016.0" (reset trips)
// and "F133" (end of shift). The program acts when a command bit falls from
// 1 to 0, as the board's scan sees it.
class ShiftCounters {
public:
    static constexpr int kSpindles = 24;
    enum class Side { Drive, Off };

    explicit ShiftCounters(BoardMemory& memory);

    // Counts one trip of a spindle (1..24) in every record that keeps it.
    void countTrip(int spindle, Side side);

    // One scan of the command bits: end of shift moves the current shift's
    // block to the last shift's and clears it; reset trips clears the trips
    // per spindle and the tripped spindle.
    void scan();

private:
    BoardMemory& m_memory;
    bool m_resetTripsWas = false;
    bool m_endOfShiftWas = false;
};
