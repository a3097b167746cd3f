#include "readcountingport.h"

namespace {
constexpr quint8 kAttention = 0xFF;
constexpr quint8 kReadCommand = 0x01;
} // namespace

bool ReadCountingPort::open() {
    m_expect = Expect::Idle;
    return ForwardingPort::open();
}

bool ReadCountingPort::write(const QByteArray& bytes) {
    m_bytesSent += bytes.size();
    for (const char byte : bytes)
        follow(static_cast<quint8>(byte));
    return ForwardingPort::write(bytes);
}

int ReadCountingPort::readByte() {
    const int byte = ForwardingPort::readByte();
    if (byte >= 0)
        ++m_bytesRead;
    return byte;
}

// 0xFF at a transaction boundary is always attention (an address high byte
// of 0xFF cannot occur), so the read mode is followed from the bytes alone.
void ReadCountingPort::follow(quint8 byte) {
    if (byte == kAttention && m_expect != Expect::AddressLow) {
        m_expect = Expect::Command; // repeated attention keeps the board waiting for a command
        return;
    }
    switch (m_expect) {
    case Expect::Command:
        m_expect = byte == kReadCommand ? Expect::AddressHigh : Expect::Idle;
        break;
    case Expect::AddressHigh:
        m_expect = Expect::AddressLow;
        break;
    case Expect::AddressLow:
        ++m_byteReads;
        m_expect = Expect::AddressHigh;
        break;
    case Expect::Idle:
        break;
    }
}
