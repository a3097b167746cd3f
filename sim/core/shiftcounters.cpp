#include "shiftcounters.h"

#include "boardmemory.h"

namespace {
// Trips per spindle since the last reset: words, spindle 1 first.
constexpr int kDriveSideTrips = 1700;
constexpr int kOffSideTrips = 1748;
constexpr int kTripsEnd = 1796;
constexpr int kTrippedSpindle = 598;

// The current shift's block runs from D1100 to W1222; the last shift's is
// the same layout 200 bytes higher.
constexpr int kCurrentShift = 1100;
constexpr int kCurrentShiftEnd = 1224;
constexpr int kLastShift = 1300;
constexpr int kShiftDriveSideTrips = 1124; // totals
constexpr int kShiftOffSideTrips = 1126;
constexpr int kShiftDriveSideSpindles = 1128;
constexpr int kShiftOffSideSpindles = 1176;

// Command bits.
constexpr int kResetTripsByte = 1016; // B1016.0
constexpr int kResetTripsBit = 0;
constexpr int kEndOfShiftByte = 32 + 133 / 8; // F133
constexpr int kEndOfShiftBit = 133 % 8;

void increment(BoardMemory& memory, int address) {
    memory.setWord(address, (memory.word(address) + 1) & 0xFFFF);
}
} // namespace

ShiftCounters::ShiftCounters(BoardMemory& memory) : m_memory(memory) {}

void ShiftCounters::countTrip(int spindle, Side side) {
    if (spindle < 1 || spindle > kSpindles)
        return;
    const int offset = 2 * (spindle - 1);
    const bool drive = side == Side::Drive;
    increment(m_memory, (drive ? kDriveSideTrips : kOffSideTrips) + offset);
    increment(m_memory, (drive ? kShiftDriveSideSpindles : kShiftOffSideSpindles) + offset);
    increment(m_memory, drive ? kShiftDriveSideTrips : kShiftOffSideTrips);
}

void ShiftCounters::scan() {
    const bool resetTrips = m_memory.bit(kResetTripsByte, kResetTripsBit);
    if (m_resetTripsWas && !resetTrips) {
        for (int a = kDriveSideTrips; a < kTripsEnd; ++a)
            m_memory.setByte(a, 0);
        m_memory.setByte(kTrippedSpindle, 0);
    }
    m_resetTripsWas = resetTrips;

    const bool endOfShift = m_memory.bit(kEndOfShiftByte, kEndOfShiftBit);
    if (m_endOfShiftWas && !endOfShift) {
        for (int a = kCurrentShift; a < kCurrentShiftEnd; ++a) {
            m_memory.setByte(kLastShift + (a - kCurrentShift), m_memory.byte(a));
            m_memory.setByte(a, 0);
        }
    }
    m_endOfShiftWas = endOfShift;
}
