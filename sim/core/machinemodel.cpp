#include "machinemodel.h"

#include "boardmemory.h"
#include "clock.h"
#include "plsunit.h"

namespace {
// Counters (double words).
constexpr int kGoodCans = 1100;
constexpr int kBlowoffs = 1104;
constexpr int kBadCanBlowoffs = 1108;
constexpr int kQcBlowoffs = 1120;
constexpr qint64 kCounterWrap = 655360000; // a double word holds 0..655,359,999

// Live registers.
constexpr int kChannelOutputs = 170; // W170, bit n = channel n
constexpr int kResolverPosition = 180;
constexpr int kResolverRpm = 182;
constexpr int kResolverPeriod = 184; // ms per turn
constexpr int kScaleFactor = 186;
constexpr int kOffset = 188;
constexpr int kAlarmWord = 121;

// Flag bits: byte 32 + n / 8, bit n % 8.
struct Flag {
    int address;
    int bit;
};
constexpr Flag flag(int n) {
    return {32 + n / 8, n % 8};
}
constexpr Flag kMachineRunning = flag(16); // input IN0
constexpr Flag kQcRequest = flag(102);
constexpr Flag kQcArmed = flag(825);
constexpr Flag kBadCanTest = flag(830);
} // namespace

MachineModel::MachineModel(Clock& clock, BoardMemory& memory, PlsUnit& pls)
    : m_clock(clock), m_memory(memory), m_pls(pls), m_lastMs(clock.monotonicMs()) {}

void MachineModel::setRunning(bool running) {
    run();
    m_running = running;
    if (!running) {
        m_pls.setRpm(0);
        m_memory.setWord(kResolverRpm, 0);
        m_memory.setWord(kResolverPeriod, 0);
        m_memory.setBit(kMachineRunning.address, kMachineRunning.bit, false);
    }
}

void MachineModel::run() {
    const qint64 now = m_clock.monotonicMs();
    const qint64 elapsed = now - m_lastMs;
    m_lastMs = now;
    if (!m_running)
        return;
    const int rpm = m_cansPerMinute / 2;
    m_pls.setRpm(rpm);
    m_pls.turnResolver(static_cast<double>(elapsed) * rpm * m_pls.scale() / 60000.0);
    countCans(elapsed);
    serveTestRequests();
    publishRegisters();
}

void MachineModel::countCans(qint64 elapsedMs) {
    m_canTimeMs += elapsedMs * m_cansPerMinute;
    const qint64 cans = m_canTimeMs / 60000;
    m_canTimeMs %= 60000;
    const qint64 bad = (m_totalCans + cans) / kBadCanEvery - m_totalCans / kBadCanEvery;
    m_totalCans += cans;
    addToCounter(kGoodCans, cans - bad);
    addToCounter(kBlowoffs, bad);
    addToCounter(kBadCanBlowoffs, bad);
}

void MachineModel::serveTestRequests() {
    // The page sets a request flag; the machine blows one can off and
    // clears the flag, as the real program does on its next scan.
    if (m_memory.bit(kBadCanTest.address, kBadCanTest.bit)) {
        m_memory.setBit(kBadCanTest.address, kBadCanTest.bit, false);
        addToCounter(kBlowoffs, 1);
        addToCounter(kBadCanBlowoffs, 1);
    }
    if (m_memory.bit(kQcRequest.address, kQcRequest.bit)) {
        m_memory.setBit(kQcRequest.address, kQcRequest.bit, false);
        m_memory.setBit(kQcArmed.address, kQcArmed.bit, false);
        addToCounter(kBlowoffs, 1);
        addToCounter(kQcBlowoffs, 1);
    }
}

void MachineModel::publishRegisters() {
    const int rpm = m_pls.rpm();
    m_memory.setWord(kResolverPosition, m_pls.position());
    m_memory.setWord(kResolverRpm, rpm);
    m_memory.setWord(kResolverPeriod, rpm > 0 ? 60000 / rpm : 0);
    m_memory.setWord(kScaleFactor, m_pls.scale());
    m_memory.setWord(kOffset, m_pls.offset());
    m_memory.setWord(kChannelOutputs, m_pls.outputs());
    m_memory.setByte(kAlarmWord, static_cast<std::uint8_t>(alarmBits()));
    m_memory.setBit(kMachineRunning.address, kMachineRunning.bit, true);
}

int MachineModel::alarmBits() const {
    int bits = m_alarms;
    if (m_alarmCycling) {
        const qint64 t = m_clock.monotonicMs() % kAlarmCycleMs;
        if (t >= 30000 && t < 40000)
            bits |= kInfeedTrackJam;
        if (t >= 60000 && t < 65000)
            bits |= kTimingSignalFailure;
    }
    return bits;
}

void MachineModel::addToCounter(int address, qint64 count) {
    if (count > 0)
        m_memory.setDoubleWord(address, (m_memory.doubleWord(address) + count) % kCounterWrap);
}
