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
constexpr int kTrippedSpindle = 598; // B598: 1..24, 0 when none

// DF1 bridge.
constexpr int kDf1Transaction = 4016;         // W4016
constexpr int kDf1TransactionReceived = 4304; // W4304

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
constexpr Flag kDf1DriverOn = flag(152);
} // namespace

MachineModel::MachineModel(Clock& clock, BoardMemory& memory, PlsUnit& pls)
    : m_clock(clock), m_memory(memory), m_pls(pls), m_lastMs(clock.monotonicMs()), m_shift(memory),
      m_io(memory), m_boardClock(memory) {
    m_boardClock.advance(m_lastMs); // the clock runs from power-up
    setSeed(1);
}

void MachineModel::setSeed(quint32 seed) {
    m_random.seed(seed == 0 ? 1 : seed);
    m_io.setSeed(seed);
    m_cansToNextTrip = drawTripInterval();
}

int MachineModel::drawTripInterval() {
    return kTripEveryCans / 2 + int(m_random() % kTripEveryCans);
}

void MachineModel::setRunning(bool running) {
    run();
    m_running = running;
    if (!running) {
        m_pls.setRpm(0);
        m_memory.setWord(kResolverRpm, 0);
        m_memory.setWord(kResolverPeriod, 0);
        m_memory.setBit(kMachineRunning.address, kMachineRunning.bit, false);
        publishIo(m_lastMs);
    }
}

void MachineModel::run() {
    const qint64 now = m_clock.monotonicMs();
    const qint64 elapsed = now - m_lastMs;
    m_lastMs = now;
    m_shift.scan();
    m_boardClock.advance(now);
    if (!m_running)
        return;
    const int rpm = speedNow() / 2;
    m_pls.setRpm(rpm);
    m_pls.turnResolver(static_cast<double>(elapsed) * rpm * m_pls.scale() / 60000.0);
    countCans(elapsed);
    serveTestRequests();
    showTrippedSpindle(now);
    countDf1Transactions(now);
    publishRegisters();
    publishIo(now);
}

void MachineModel::countCans(qint64 elapsedMs) {
    m_canTimeMs += elapsedMs * speedNow();
    const qint64 cans = m_canTimeMs / 60000;
    m_canTimeMs %= 60000;
    const qint64 bad = (m_totalCans + cans) / kBadCanEvery - m_totalCans / kBadCanEvery;
    m_totalCans += cans;
    addToCounter(kGoodCans, cans - bad);
    addToCounter(kBlowoffs, bad);
    addToCounter(kBadCanBlowoffs, bad);
    if (bad > 0)
        m_badCanSolenoidUntilMs = m_lastMs + kSolenoidMs;
    countTrips(cans, m_lastMs);
}

void MachineModel::countTrips(qint64 cans, qint64 nowMs) {
    m_cansToNextTrip -= cans;
    while (m_cansToNextTrip <= 0) {
        const int spindle = 1 + int(m_random() % ShiftCounters::kSpindles);
        const auto side = m_random() % 2 ? ShiftCounters::Side::Off : ShiftCounters::Side::Drive;
        m_shift.countTrip(spindle, side);
        m_trippedSpindle = spindle;
        m_trippedUntilMs = nowMs + kTripShownMs;
        m_memory.setByte(kTrippedSpindle, static_cast<std::uint8_t>(spindle));
        m_cansToNextTrip += drawTripInterval();
    }
}

void MachineModel::showTrippedSpindle(qint64 nowMs) {
    if (m_trippedSpindle != 0 && nowMs >= m_trippedUntilMs) {
        m_trippedSpindle = 0;
        m_memory.setByte(kTrippedSpindle, 0);
    }
}

void MachineModel::countDf1Transactions(qint64 nowMs) {
    const qint64 step = nowMs / kDf1TransactionMs;
    if (m_df1Step < 0 || !m_memory.bit(kDf1DriverOn.address, kDf1DriverOn.bit)) {
        m_df1Step = step;
        return;
    }
    const int done = int(step - m_df1Step);
    m_df1Step = step;
    if (done <= 0)
        return;
    m_memory.setWord(kDf1Transaction, (m_memory.word(kDf1Transaction) + done) & 0xFFFF);
    m_memory.setWord(kDf1TransactionReceived,
                     (m_memory.word(kDf1TransactionReceived) + done) & 0xFFFF);
}

void MachineModel::publishIo(qint64 nowMs) {
    IoPoints::Machine machine;
    machine.running = m_running;
    machine.cansPerMinute = m_cansPerMinute;
    machine.position = m_pls.position();
    machine.scale = m_pls.scale();
    machine.tripped = m_running && m_trippedSpindle != 0;
    machine.badCanBlowoff = m_running && nowMs < m_badCanSolenoidUntilMs;
    machine.qcBlowoff = m_running && nowMs < m_qcSolenoidUntilMs;
    machine.timeMs = nowMs;
    m_io.publish(machine);
}

void MachineModel::serveTestRequests() {
    // The page sets a request flag; the machine blows one can off and
    // clears the flag, as the real program does on its next scan.
    if (m_memory.bit(kBadCanTest.address, kBadCanTest.bit)) {
        m_memory.setBit(kBadCanTest.address, kBadCanTest.bit, false);
        addToCounter(kBlowoffs, 1);
        addToCounter(kBadCanBlowoffs, 1);
        m_badCanSolenoidUntilMs = m_lastMs + kSolenoidMs;
    }
    if (m_memory.bit(kQcRequest.address, kQcRequest.bit)) {
        m_memory.setBit(kQcRequest.address, kQcRequest.bit, false);
        m_memory.setBit(kQcArmed.address, kQcArmed.bit, false);
        addToCounter(kBlowoffs, 1);
        addToCounter(kQcBlowoffs, 1);
        m_qcSolenoidUntilMs = m_lastMs + kSolenoidMs;
    }
}

void MachineModel::publishPls() {
    m_memory.setWord(kResolverPosition, m_pls.position());
    m_memory.setWord(kScaleFactor, m_pls.scale());
    m_memory.setWord(kOffset, m_pls.offset());
    m_memory.setWord(kChannelOutputs, m_pls.outputs());
}

void MachineModel::publishRegisters() {
    const int rpm = m_pls.rpm();
    publishPls();
    m_memory.setWord(kResolverRpm, rpm);
    m_memory.setWord(kResolverPeriod, rpm > 0 ? 60000 / rpm : 0);
    m_memory.setByte(kAlarmWord, static_cast<std::uint8_t>(alarmBits()));
    m_memory.setBit(kMachineRunning.address, kMachineRunning.bit, true);
}

int MachineModel::speedNow() const {
    // A jammed infeed feeds no cans: the machine stands until it is cleared.
    return m_alarmCycling && (alarmBits() & kInfeedTrackJam) ? 0 : m_cansPerMinute;
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
