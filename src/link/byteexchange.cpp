#include "byteexchange.h"

#include "bytetrace.h"
#include "clock.h"
#include "linkflags.h"
#include "linklog.h"
#include "linkmessages.h"
#include "prompts.h"
#include "replywait.h"
#include "retrywait.h"
#include "serialport.h"

#include <algorithm>

namespace {

constexpr int kReplyTimeoutMs = 1000;
constexpr int kResyncTimeoutMs = 2000;
// The third time-out in a row asks the user; the two before resynchronise.
constexpr int kTimeoutsBeforeAsking = 3;
constexpr int kModeTimeoutMs = 2000;
// A quiet line for this long after a late reply: the board has nothing more
// to send (at 9600 bit/s a byte takes about 1 ms).
constexpr int kLateReplyQuietMs = 50;

} // namespace

ByteExchange::ByteExchange(LinkFlags& flags, Clock& clock, Prompts& prompts)
    : m_flags(flags), m_clock(clock), m_prompts(prompts) {}

int ByteExchange::exchange(int value, bool noReply, bool flushFirst) {
    if (m_flags.CommError)
        return kFailed;
    if (flushFirst && m_port)
        m_port->discardInput();
    if (!m_port || !m_port->isOpen()) {
        m_linkMode = 0;
        m_flags.CommError = true;
        return kFailed;
    }
    if (!send(static_cast<quint8>(value & 0xFF)))
        return portLost();
    m_flags.CommErrorAlert = false;
    if (noReply)
        return 0;
    return awaitReply();
}

// Waits for the reply to the byte just sent. The waits block on the port,
// so a silent board costs no CPU; one that lasts is reported to the wait
// observer, which keeps the window painting meanwhile.
int ByteExchange::awaitReply() {
    ReplyWait wait(*m_port, m_clock, m_waitObserver);
    qint64 deadline = wait.startMs() + kReplyTimeoutMs;
    int timeouts = 0;
    for (;;) {
        if (const int reply = takeByte(); reply >= 0) {
            m_flags.CommErrorAlert = false;
            // A board that answers after a Retry has recovered: the error
            // the time-out set must not fail the transaction after all.
            m_flags.CommError = false;
            if (timeouts > 0) {
                m_lateReplyWaitedMs = m_clock.monotonicMs() - wait.startMs();
                if (!discardLateReplies())
                    return portLost();
            }
            return reply;
        }
        if (m_clock.monotonicMs() < deadline) {
            if (wait.until(deadline) == SerialPort::WaitResult::Lost)
                return portLost();
            continue;
        }
        m_linkMode = 0;
        m_flags.CommError = true;
        m_flags.CommErrorAlert = true;
        deadline = m_clock.monotonicMs() + kResyncTimeoutMs;
        ++timeouts;
        qCDebug(lcLink) << "no reply, time-out" << timeouts << "in mode" << m_linkMode;
        if (timeouts < kTimeoutsBeforeAsking) {
            // The board may be stuck inside a transaction: a fresh attention
            // byte on an empty input brings it back to a known state.
            m_flags.CommError = false;
            m_port->discardInput();
            if (!send(kAttention)) {
                wait.end();
                return portLost();
            }
            continue;
        }
        wait.end();
        const Prompts::Answer answer =
            m_prompts.message(LinkMessages::kCommErrorTitle, LinkMessages::kNoAnswer,
                              Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
        if (answer != Prompts::Answer::Retry) {
            m_flags.CommError = true;
            return kFailed;
        }
        timeouts = 0;
        wait.restart();
    }
}

// A board that was stalled (not deaf) answers, once it wakes, both the byte
// that timed out and each resynchronising 0xFF. The first reply is the one
// taken; the others would put every later reply one byte behind the bytes
// sent, and the link would then take an echo for another byte's echo.
bool ByteExchange::discardLateReplies() {
    for (;;) {
        const SerialPort::WaitResult waited = m_port->waitForBytes(kLateReplyQuietMs);
        if (waited == SerialPort::WaitResult::Lost)
            return false;
        if (waited == SerialPort::WaitResult::TimedOut)
            return true;
        m_port->discardInput();
    }
}

bool ByteExchange::letStalledTransactionLapse() {
    if (!m_port || !m_port->isOpen())
        return false;
    qCDebug(lcLink) << "late reply inside a transaction: line kept quiet";
    // It goes on from the wait for the late reply (a second or more), and
    // so does the window's count of the seconds.
    ReplyWait wait(*m_port, m_clock, m_waitObserver,
                   std::max<qint64>(m_lateReplyWaitedMs, ReplyWait::kLongWaitMs));
    const qint64 deadline = m_clock.monotonicMs() + kReplyTimeoutMs;
    for (;;) {
        m_port->discardInput();
        if (m_clock.monotonicMs() >= deadline)
            return true;
        if (wait.until(deadline) == SerialPort::WaitResult::Lost) {
            portLost();
            return false;
        }
    }
}

int ByteExchange::awaitByte(int timeoutMs) {
    if (m_flags.CommError)
        return kFailed;
    if (!m_port || !m_port->isOpen()) {
        m_linkMode = 0;
        m_flags.CommError = true;
        return kFailed;
    }
    ReplyWait wait(*m_port, m_clock, m_waitObserver);
    const qint64 deadline = wait.startMs() + timeoutMs;
    for (;;) {
        if (const int reply = takeByte(); reply >= 0)
            return reply;
        if (m_clock.monotonicMs() >= deadline)
            return -1;
        if (wait.until(deadline) == SerialPort::WaitResult::Lost)
            return portLost();
    }
}

int ByteExchange::takeByte() {
    if (m_port->bytesWaiting() <= 0)
        return -1;
    const int byte = m_port->readByte();
    if (byte >= 0 && m_trace)
        m_trace->record(ByteTrace::Direction::In, static_cast<quint8>(byte), m_linkMode);
    return byte;
}

bool ByteExchange::send(quint8 byte) {
    if (m_trace)
        m_trace->record(ByteTrace::Direction::Out, byte, m_linkMode);
    return m_port->write(QByteArray(1, static_cast<char>(byte)));
}

// The device went away (a USB adapter pulled out) or a write failed. Waiting
// and resynchronising cannot help, so the link gives up at once: the port is
// closed and CommError latched. The user is still told once, with the usual
// box; it has only OK, as there is nothing to retry on a vanished device.
int ByteExchange::portLost() {
    qCInfo(lcLink) << "serial device lost on port" << m_port->portNumber();
    m_port->close();
    m_linkMode = 0;
    m_flags.CommError = true;
    m_prompts.message(LinkMessages::kCommErrorTitle, LinkMessages::kNoAnswer,
                      Prompts::Icon::Critical, Prompts::Buttons::Ok);
    return kFailed;
}

bool ByteExchange::EnterMode(int mode, int commandByte) {
    qint64 deadline = m_clock.monotonicMs() + kModeTimeoutMs;
    RetryWait wait(m_clock, m_waitObserver);
    while (m_linkMode != mode) {
        if (m_clock.monotonicMs() > deadline) {
            qCDebug(lcLink) << "board did not take mode" << mode;
            wait.end();
            const Prompts::Answer answer =
                m_prompts.message(LinkMessages::kCommErrorTitle, LinkMessages::kModeFailed,
                                  Prompts::Icon::Critical, Prompts::Buttons::RetryCancel);
            if (answer != Prompts::Answer::Retry) {
                m_flags.CommError = true;
                m_flags.OnlineMode = false;
                closeLink();
                return false;
            }
            wait.restart();
            deadline = m_clock.monotonicMs() + kModeTimeoutMs;
        }
        wait.betweenTries();
        const int attention = exchange(kAttention, false, true);
        if (attention == kFailed)
            return false;
        if (attention != kAcknowledge)
            continue;
        const int command = exchange(commandByte, false, false);
        if (command == kFailed)
            return false;
        m_linkMode = command == kAcknowledge ? mode : 0;
    }
    return true;
}

void ByteExchange::closeLink() {
    if (m_port && m_port->isOpen()) {
        if (!m_flags.CommError)
            exchange(kAttention, false, false);
        m_port->close();
    }
    m_linkMode = 0;
    m_flags.OnlineMode = false;
}
