#include "iopoints.h"

#include "boardmemory.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSlot00 = 100; // W100: inputs
constexpr int kSlot01 = 110; // W110: outputs
constexpr int kSlot02 = 120; // B120: inputs (B121 is the alarm word)
constexpr int kAnalogInput0 = 162;
constexpr int kAnalogInput1 = 164;
constexpr int kAnalogOutput0 = 166;
constexpr int kAnalogOutput1 = 167;
constexpr int kIn1Byte = 32 + 17 / 8; // F17
constexpr int kIn1Bit = 17 % 8;

// Slot 0-0 inputs.
constexpr int kRunningInput = 1 << 0;
constexpr int kCanAtInfeed = 1 << 1;
constexpr int kTimingReference = 1 << 2; // first half of the resolver turn
constexpr int kTripInput = 1 << 3;
// Slot 0-1 outputs.
constexpr int kBadCanSolenoid = 1 << 0;
constexpr int kQcSolenoid = 1 << 1;
constexpr int kPrintTripRetract = 1 << 2;
constexpr int kRunLamp = 1 << 3;

constexpr int kWanderingPoints = 24;
constexpr int kAnalogFullScale = 4095; // 12-bit converters
constexpr int kTopSpeedCpm = 1200;     // analog speed signals read full scale here
constexpr double kTemperaturePeriodMs = 60000.0;
constexpr double kPi = 3.14159265358979323846;
} // namespace

IoPoints::IoPoints(BoardMemory& memory) : m_memory(memory) {
    setSeed(1);
}

void IoPoints::setSeed(quint32 seed) {
    m_random.seed(seed == 0 ? 1 : seed);
    m_wandering = 0;
    m_wanderStep = -1;
}

void IoPoints::wander(qint64 timeMs) {
    const qint64 step = timeMs / kWanderMs;
    if (m_wanderStep < 0)
        m_wanderStep = step;
    for (; m_wanderStep < step; ++m_wanderStep)
        m_wandering ^= 1u << (m_random() % kWanderingPoints);
}

void IoPoints::publish(const Machine& m) {
    wander(m.timeMs);
    const int pitch = std::max(2, m.scale / 2); // counts per can
    int inputs = int(m_wandering & 0xFF) << 8;
    int outputs = int((m_wandering >> 8) & 0xFF) << 8;
    if (m.running) {
        inputs |= kRunningInput;
        outputs |= kRunLamp;
        if (m.position % pitch < pitch / 2)
            inputs |= kCanAtInfeed;
        if (m.position < m.scale / 2)
            inputs |= kTimingReference;
    }
    if (m.tripped) {
        inputs |= kTripInput;
        outputs |= kPrintTripRetract;
    }
    if (m.badCanBlowoff)
        outputs |= kBadCanSolenoid;
    if (m.qcBlowoff)
        outputs |= kQcSolenoid;
    m_memory.setWord(kSlot00, inputs);
    m_memory.setWord(kSlot01, outputs);
    m_memory.setByte(kSlot02, static_cast<std::uint8_t>(m_wandering >> 16));
    m_memory.setBit(kIn1Byte, kIn1Bit, m.tripped);

    // Analog input 0: the ink temperature, drifting slowly about mid-scale;
    // analog input 1 and output 0: speed signals; output 1 the heater drive.
    const double phase =
        2 * kPi * double(m.timeMs % qint64(kTemperaturePeriodMs)) / kTemperaturePeriodMs;
    const int temperature = 2048 + int(std::lround(600 * std::sin(phase)));
    const int speed = std::clamp(m.running ? m.cansPerMinute : 0, 0, kTopSpeedCpm);
    m_memory.setWord(kAnalogInput0, temperature);
    m_memory.setWord(kAnalogInput1, speed * kAnalogFullScale / kTopSpeedCpm);
    m_memory.setByte(kAnalogOutput0, static_cast<std::uint8_t>(speed * 255 / kTopSpeedCpm));
    m_memory.setByte(kAnalogOutput1,
                     static_cast<std::uint8_t>((kAnalogFullScale - temperature) / 16));
}
