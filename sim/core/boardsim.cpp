#include "boardsim.h"

#include "boarddefaults.h"
#include "clock.h"
#include "simlog.h"

namespace {
constexpr std::uint8_t kAttention = 0xFF;
constexpr std::uint8_t kAck = 0x55; // also the master's poll byte
constexpr std::uint8_t kReadyQuery = 0x38;
constexpr std::uint8_t kReady = 0x00;
constexpr std::uint8_t kRefused = 0x00;

// Mode command bytes.
constexpr std::uint8_t kMemoryRead = 0x01;
constexpr std::uint8_t kMemoryWrite = 0x02;
constexpr std::uint8_t kProgramMode = 0x03;
constexpr std::uint8_t kRecall = 0x09;
constexpr std::uint8_t kConfigRead = 0x0C;
constexpr std::uint8_t kReadScale = 0x18;
constexpr std::uint8_t kReadOffset = 0x28;
constexpr std::uint8_t kReadPosition = 0x48;
constexpr std::uint8_t kReadSpeed = 0x58;
constexpr std::uint8_t kWriteScale = 0x1A;
constexpr std::uint8_t kWriteOffset = 0x2A;
constexpr std::uint8_t kSingleSetpoint = 0x1B;
constexpr std::uint8_t kPulseTrain = 0x2B;
constexpr std::uint8_t kConfigBlock0 = 0x3B; // blocks 0..3: 0x3B, 0x4B, 0x5B, 0x6B

bool isConfigBlock(std::uint8_t command) {
    return command == 0x3B || command == 0x4B || command == 0x5B || command == 0x6B;
}

QByteArray one(std::uint8_t byte) {
    return QByteArray(1, static_cast<char>(byte));
}

QByteArray wordBytes(int value) {
    QByteArray bytes;
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
    return bytes;
}
} // namespace

BoardSim::BoardSim(Clock& clock) : m_clock(clock), m_machine(clock, m_memory, m_pls) {
    fillDefaultMemory(m_memory);
    m_lastByteMs = clock.monotonicMs();
}

void BoardSim::setFault(Fault fault, int count, int afterBytes) {
    m_fault = fault;
    m_faultCount = count;
    m_faultDelay = afterBytes;
}

bool BoardSim::strikes(Fault fault) {
    if (m_fault != fault || m_faultDelay > 0)
        return false;
    qCDebug(lcSim) << "fault strikes:" << static_cast<int>(fault);
    if (m_faultCount > 0 && --m_faultCount == 0)
        m_fault = Fault::None;
    return true;
}

QByteArray BoardSim::receive(std::uint8_t byte) {
    QByteArray reply = answer(byte);
    if (m_faultDelay > 0)
        --m_faultDelay;
    return reply;
}

QByteArray BoardSim::answer(std::uint8_t byte) {
    m_machine.run();
    if (strikes(Fault::Silent))
        return {};
    dropStalledTransaction();
    m_lastByteMs = m_clock.monotonicMs();

    switch (m_step) {
    case Step::Boundary:
        return atBoundary(byte);
    case Step::ModeCommand:
        return modeCommand(byte);
    case Step::ReadAddressLow:
        return readAddressLow(byte);
    case Step::WriteAddressLow:
    case Step::WriteData:
        return writeStep(byte);
    case Step::Parameters:
        return parameter(byte);
    case Step::ReadyQuery:
    case Step::ReadyPoll:
    case Step::ReadyFinal:
        return readyStep(byte);
    case Step::Polls:
        return poll(byte);
    case Step::RecordAddressHigh:
    case Step::RecordAddressLow:
    case Step::RecordData:
        return recordStep(byte);
    }
    return {};
}

void BoardSim::dropStalledTransaction() {
    if (m_step == Step::Boundary)
        return;
    if (m_clock.monotonicMs() - m_lastByteMs > kInterByteTimeoutMs)
        endTransaction(m_mode);
}

void BoardSim::endTransaction(Mode mode) {
    m_mode = mode;
    m_step = Step::Boundary;
}

QByteArray BoardSim::attention() {
    // In program mode the 0xFF at a record boundary also ends program mode.
    m_mode = Mode::None;
    m_step = Step::ModeCommand;
    return one(kAck);
}

QByteArray BoardSim::atBoundary(std::uint8_t byte) {
    if (byte == kAttention)
        return attention();
    switch (m_mode) {
    case Mode::None:
        return {}; // no transaction to start: stray bytes are ignored
    case Mode::MemoryRead:
        m_address = byte << 8;
        m_step = Step::ReadAddressLow;
        return echo(byte);
    case Mode::MemoryWrite:
        m_address = byte << 8;
        m_step = Step::WriteAddressLow;
        return echo(byte);
    case Mode::Program:
        m_recordLeft = byte;
        m_recordSum = byte;
        m_step = Step::RecordAddressHigh;
        return {};
    }
    return {};
}

QByteArray BoardSim::echo(std::uint8_t byte) {
    if (strikes(Fault::WrongEcho)) {
        // What a board does after a receive error: it echoes what it got
        // and drops the transaction, keeping its mode.
        endTransaction(m_mode);
        return one(byte ^ 0x01);
    }
    return one(byte);
}

QByteArray BoardSim::modeCommand(std::uint8_t byte) {
    if (byte == kAttention)
        return one(kAck);
    if (strikes(Fault::ModeRefused)) {
        endTransaction(Mode::None);
        return one(kRefused);
    }
    switch (byte) {
    case kMemoryRead:
        endTransaction(Mode::MemoryRead);
        break;
    case kMemoryWrite:
        endTransaction(Mode::MemoryWrite);
        break;
    case kProgramMode:
        m_program = BoardMemory();
        endTransaction(Mode::Program);
        break;
    case kReadScale:
        startPolls(wordBytes(m_pls.scale()));
        break;
    case kReadOffset:
        startPolls(wordBytes(m_pls.offset()));
        break;
    case kReadPosition:
        startPolls(wordBytes(m_pls.position()));
        break;
    case kReadSpeed:
        startPolls(wordBytes(m_pls.rpm()));
        break;
    case kConfigRead: {
        const auto values = m_pls.configReadValues();
        startPolls(QByteArray(reinterpret_cast<const char*>(values.data()),
                              static_cast<int>(values.size())));
        break;
    }
    case kWriteScale:
    case kWriteOffset:
        startParameters(byte, 2);
        break;
    case kRecall:
        startParameters(byte, 1);
        break;
    default:
        if (byte == kSingleSetpoint || byte == kPulseTrain || isConfigBlock(byte)) {
            startParameters(byte, 6);
            break;
        }
        endTransaction(Mode::None);
        return one(kRefused);
    }
    return one(kAck);
}

void BoardSim::startPolls(const QByteArray& replies) {
    m_mode = Mode::None;
    m_pollReplies = replies;
    m_step = Step::Polls;
}

void BoardSim::startParameters(std::uint8_t command, int count) {
    m_mode = Mode::None;
    m_command = command;
    m_paramsWanted = count;
    m_paramsHave = 0;
    m_step = Step::Parameters;
}

QByteArray BoardSim::readAddressLow(std::uint8_t byte) {
    m_address |= byte;
    endTransaction(Mode::MemoryRead);
    ++m_readsServed;
    return one(m_memory.byte(m_address));
}

QByteArray BoardSim::writeStep(std::uint8_t byte) {
    if (m_step == Step::WriteAddressLow) {
        m_address |= byte;
        m_step = Step::WriteData;
        return echo(byte);
    }
    QByteArray reply = echo(byte);
    if (m_step == Step::WriteData) { // the echo was good: store
        m_memory.setByte(m_address, byte);
        endTransaction(Mode::MemoryWrite);
    }
    return reply;
}

QByteArray BoardSim::parameter(std::uint8_t byte) {
    if (strikes(Fault::PlsRefused)) {
        endTransaction(Mode::None); // nothing of the command takes effect
        return one(kRefused);
    }
    m_params[m_paramsHave++] = byte;
    if (m_paramsHave < m_paramsWanted)
        return one(kAck);
    return finishParameters();
}

int BoardSim::parameterWord(int index) const {
    return m_params[index] + 256 * m_params[index + 1];
}

QByteArray BoardSim::finishParameters() {
    if (m_command == kRecall) {
        const int channel = m_params[0];
        if (channel >= PlsUnit::kChannels) {
            endTransaction(Mode::None);
            return one(kRefused);
        }
        const PlsUnit::Recall r = m_pls.recall(channel);
        startPolls(one(r.state) + wordBytes(r.position));
        return one(kAck);
    }

    switch (m_command) {
    case kWriteScale:
        m_pls.setScale(parameterWord(0));
        break;
    case kWriteOffset:
        m_pls.setOffset(parameterWord(0));
        break;
    case kSingleSetpoint:
        if (m_params[5] == 1)
            m_pls.setSingle(m_params[0], parameterWord(1), parameterWord(3));
        else
            m_pls.clear(m_params[0]);
        break;
    case kPulseTrain:
        // Bytes 4 and 5 are the ON and OFF divisions.
        m_pls.setPulseTrain(m_params[0], parameterWord(1), m_params[3], m_params[4]);
        break;
    default: // configuration block
        m_pls.setConfigBlock(
            (m_command - kConfigBlock0) >> 4,
            {m_params[0], m_params[1], m_params[2], m_params[3], m_params[4], m_params[5]});
        break;
    }
    m_machine.publishPls();
    m_step = Step::ReadyQuery;
    return one(kAck);
}

QByteArray BoardSim::readyStep(std::uint8_t byte) {
    if (byte == kAttention)
        return attention();
    const std::uint8_t expected = m_step == Step::ReadyQuery ? kReadyQuery : kAck;
    if (byte != expected) {
        endTransaction(Mode::None); // out of step: drop the transaction, say nothing
        return {};
    }
    switch (m_step) {
    case Step::ReadyQuery:
        m_step = Step::ReadyPoll;
        return one(kAck);
    case Step::ReadyPoll:
        if (strikes(Fault::PlsBusy)) {
            m_step = Step::ReadyQuery;
            return one(kAck); // busy
        }
        m_step = Step::ReadyFinal;
        return one(kReady);
    default: // ReadyFinal: the closing poll is acknowledged
        endTransaction(Mode::None);
        return one(kAck);
    }
}

QByteArray BoardSim::poll(std::uint8_t byte) {
    if (byte == kAttention)
        return attention();
    if (byte != kAck) {
        endTransaction(Mode::None);
        return {};
    }
    const auto reply = static_cast<std::uint8_t>(m_pollReplies.at(0));
    m_pollReplies.remove(0, 1);
    ++m_readsServed;
    if (m_pollReplies.isEmpty())
        endTransaction(Mode::None);
    return one(reply);
}

QByteArray BoardSim::recordStep(std::uint8_t byte) {
    m_recordSum += byte;
    switch (m_step) {
    case Step::RecordAddressHigh:
        m_address = byte << 8;
        m_step = Step::RecordAddressLow;
        return {};
    case Step::RecordAddressLow:
        m_address |= byte;
        m_step = Step::RecordData;
        break;
    default: // RecordData
        m_program.setByte(m_address, byte);
        m_memory.setByte(m_address, byte);
        ++m_address;
        --m_recordLeft;
        break;
    }
    if (m_recordLeft > 0)
        return {};
    endTransaction(Mode::Program);
    const int extra = strikes(Fault::BadChecksum) ? 1 : 0;
    return one(static_cast<std::uint8_t>((m_recordSum + extra) & 0xFF));
}
