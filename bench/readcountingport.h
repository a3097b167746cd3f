#pragma once

#include "forwardingport.h"

// Passes everything through to a real port and counts the memory byte reads
// the program sends: after the handshake 0xFF, 0x01 every address high/low
// pair is one byte read. Counting on the line needs no hook in the pages.
// Also counts the bytes each way, for the time they take on the wire.
class ReadCountingPort : public ForwardingPort {
public:
    using ForwardingPort::ForwardingPort;

    // Byte reads whose address went out completely.
    long byteReads() const { return m_byteReads; }
    // Every byte the program sent.
    long bytesSent() const { return m_bytesSent; }
    // Every byte the board answered.
    long bytesRead() const { return m_bytesRead; }

    bool open() override;
    bool write(const QByteArray& bytes) override;
    int readByte() override;

private:
    enum class Expect { Idle, Command, AddressHigh, AddressLow };
    void follow(quint8 byte);

    Expect m_expect = Expect::Idle;
    long m_byteReads = 0;
    long m_bytesSent = 0;
    long m_bytesRead = 0;
};
