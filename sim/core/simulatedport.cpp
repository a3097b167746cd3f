#include "simulatedport.h"

#include "boardsim.h"
#include "clock.h"

#include <algorithm>

namespace {
// What the Qt port reports when the device is gone (QSerialPort::DeviceNotFoundError).
SerialPort::Failure deviceNotFound() {
    return {8002, QStringLiteral("SimulatedPort"), QStringLiteral("The device is not connected.")};
}
} // namespace

SimulatedPort::SimulatedPort(BoardSim& board, Clock& clock) : m_board(board), m_clock(clock) {}

bool SimulatedPort::open() {
    if (m_failNextOpen) {
        m_failNextOpen = false;
        m_failure = m_nextOpenFailure;
        return false;
    }
    if (m_unplugged) {
        m_failure = deviceNotFound();
        return false;
    }
    m_failure = {};
    m_open = true;
    m_input.clear();
    return true;
}

void SimulatedPort::close() {
    m_open = false;
    m_input.clear();
}

bool SimulatedPort::write(const QByteArray& bytes) {
    if (!m_open || m_unplugged)
        return false;
    for (const char c : bytes) {
        const auto byte = static_cast<quint8>(c);
        record(WireEvent::Kind::Sent, byte);
        const QByteArray reply = m_board.receive(byte);
        if (m_paced)
            m_lineTimeOwedMs += byteTimeMs() * double(1 + reply.size());
        for (const char r : reply)
            record(WireEvent::Kind::Received, static_cast<quint8>(r));
        m_input.append(reply);
    }
    return true;
}

int SimulatedPort::bytesWaiting() {
    if (m_paced && m_lineTimeOwedMs >= 1.0)
        return 0;
    return m_input.size();
}

int SimulatedPort::readByte() {
    if (m_input.isEmpty())
        return -1;
    const int byte = static_cast<quint8>(m_input.at(0));
    m_input.remove(0, 1);
    return byte;
}

void SimulatedPort::discardInput() {
    record(WireEvent::Kind::Discard, static_cast<quint8>(std::min<qsizetype>(m_input.size(), 255)));
    m_input.clear();
}

SerialPort::WaitResult SimulatedPort::waitForBytes(int timeoutMs) {
    if (m_unplugged)
        return WaitResult::Lost;
    if (!m_input.isEmpty()) {
        settleLineTime();
        return WaitResult::Ready;
    }
    m_clock.sleepMs(timeoutMs);
    return WaitResult::TimedOut;
}

void SimulatedPort::setOpenFailure(const Failure& failure) {
    m_failNextOpen = true;
    m_nextOpenFailure = failure;
}

void SimulatedPort::unplug() {
    m_unplugged = true;
    m_input.clear();
}

void SimulatedPort::replug() {
    m_unplugged = false;
}

QByteArray SimulatedPort::sentBytes() const {
    return bytesOf(WireEvent::Kind::Sent);
}

QByteArray SimulatedPort::receivedBytes() const {
    return bytesOf(WireEvent::Kind::Received);
}

int SimulatedPort::discardCount() const {
    return static_cast<int>(std::count_if(m_wire.cbegin(), m_wire.cend(), [](const WireEvent& e) {
        return e.kind == WireEvent::Kind::Discard;
    }));
}

double SimulatedPort::byteTimeMs() const {
    const int bitsPerSecond = m_settings.section(QLatin1Char(','), 0, 0).toInt();
    return bitsPerSecond > 0 ? 10000.0 / bitsPerSecond : 0.0;
}

void SimulatedPort::settleLineTime() {
    const int whole = static_cast<int>(m_lineTimeOwedMs);
    if (whole > 0) {
        m_clock.sleepMs(whole);
        m_lineTimeOwedMs -= whole;
    }
}

void SimulatedPort::record(WireEvent::Kind kind, quint8 byte) {
    if (!m_recording)
        return;
    m_wire.append({kind, byte, m_clock.monotonicMs()});
}

QByteArray SimulatedPort::bytesOf(WireEvent::Kind kind) const {
    QByteArray bytes;
    for (const WireEvent& e : m_wire)
        if (e.kind == kind)
            bytes.append(static_cast<char>(e.byte));
    return bytes;
}
