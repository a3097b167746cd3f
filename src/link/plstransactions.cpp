#include "plstransactions.h"

#include "byteexchange.h"
#include "clock.h"
#include "linkflags.h"
#include "linkmessages.h"
#include "plsregisters.h"
#include "prompts.h"
#include "retrywait.h"

namespace {
constexpr int kPoll = 0x55;
constexpr int kReady = 0x00;

constexpr int kChannelMode = 3;
constexpr int kWordReadMode = 4;
constexpr int kWordWriteMode = 5;
constexpr int kRecallMode = 6;
constexpr int kConfigBlockMode = 7;
constexpr int kConfigReadMode = 8;

constexpr int kReadyTimeoutMs = 3000;
constexpr int kReadyRetryMs = 2000;

// Positions beyond this high byte are not positions the resolver can have.
constexpr int kHighestPositionHigh = 16;
constexpr int kRecallInvalid = 2;

} // namespace

PlsTransactions::PlsTransactions(ByteExchange& exchange, LinkFlags& flags, Clock& clock,
                                 Prompts& prompts)
    : m_exchange(exchange), m_flags(flags), m_clock(clock), m_prompts(prompts) {}

bool PlsTransactions::begin(int mode, int command) {
    m_exchange.setLinkMode(0);
    return m_exchange.EnterMode(mode, command) && !m_flags.CommError;
}

int PlsTransactions::poll() {
    return m_exchange.exchange(kPoll, false, false);
}

template <typename Bytes> bool PlsTransactions::sendParameters(const Bytes& bytes) {
    for (const int byte : bytes) {
        if (m_exchange.exchange(byte & 0xFF, false, false) != ByteExchange::kAcknowledge ||
            m_flags.CommError)
            return false;
    }
    return true;
}

bool PlsTransactions::finishWrite() {
    if (m_flags.CommError) {
        m_exchange.setLinkMode(0);
        return false;
    }
    const bool ready = WaitPLSReady();
    m_exchange.setLinkMode(0);
    return ready;
}

int PlsTransactions::readWord(int command) {
    if (!begin(kWordReadMode, command))
        return kReadFailed;
    const int low = poll();
    if (low == ByteExchange::kFailed || m_flags.CommError)
        return kReadFailed;
    const int high = poll();
    if (high == ByteExchange::kFailed || m_flags.CommError)
        return kReadFailed;
    m_exchange.setLinkMode(0);
    return low + 256 * high;
}

bool PlsTransactions::writeWord(int command, int value) {
    if (!begin(kWordWriteMode, command))
        return false;
    const std::array<int, 2> bytes{lowByte(value), highByte(value)};
    if (!sendParameters(bytes))
        return false;
    return finishWrite();
}

bool PlsTransactions::channelCommand(int command, int chan, int first, int second, int kind) {
    return sendBlock(
        kChannelMode, command,
        {chan, lowByte(first), highByte(first), lowByte(second), highByte(second), kind});
}

bool PlsTransactions::configBlock(int command, const std::array<int, 6>& values) {
    return sendBlock(kConfigBlockMode, command, values);
}

bool PlsTransactions::sendBlock(int mode, int command, const std::array<int, 6>& bytes) {
    if (!begin(mode, command))
        return false;
    if (!sendParameters(bytes))
        return false;
    return finishWrite();
}

bool PlsTransactions::readConfig(int command) {
    if (!begin(kConfigReadMode, command))
        return false;
    for (int& element : m_config) {
        const int value = poll();
        if (m_flags.CommError)
            return false; // a failed poll has no value to keep
        element = value;
    }
    return true;
}

bool PlsTransactions::recallChannel(int chan) {
    m_exchange.setLinkMode(0);
    if (!m_exchange.EnterMode(kRecallMode, PlsRegister::kRecall))
        return false;
    if (m_exchange.exchange(chan & 0xFF, false, false) != ByteExchange::kAcknowledge)
        return false;
    const int state = poll();
    const int low = poll();
    const int high = poll();
    if (m_flags.CommError) {
        m_recallState = 0;
        m_recallPosition = 0;
        return false;
    }
    m_recallState = state;
    if (high > kHighestPositionHigh || low > 255) {
        m_recallState = kRecallInvalid;
        m_recallPosition = 0;
        return false;
    }
    m_recallPosition = low + 256 * high;
    m_exchange.setLinkMode(0);
    return true;
}

bool PlsTransactions::WaitPLSReady() {
    qint64 deadline = m_clock.monotonicMs() + kReadyTimeoutMs;
    RetryWait wait(m_clock, m_exchange.waitObserver());
    for (;;) {
        if (m_clock.monotonicMs() > deadline) {
            wait.end();
            const Prompts::Answer answer =
                m_prompts.message(LinkMessages::kCommErrorTitle, LinkMessages::kPlsNotReady,
                                  Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
            if (answer != Prompts::Answer::Retry) {
                m_flags.CommError = true;
                return false;
            }
            wait.restart();
            deadline = m_clock.monotonicMs() + kReadyRetryMs;
        }
        if (m_flags.CommError)
            return false;
        wait.betweenTries();
        if (m_exchange.exchange(PlsRegister::kReadyQuery, false, false) !=
            ByteExchange::kAcknowledge)
            continue;
        if (poll() == kReady) {
            poll(); // closes the ready handshake; its answer carries nothing
            return true;
        }
    }
}
