#pragma once

#include "serialport.h"

// Passes everything through to a real port and counts the memory byte reads
// the program sends: after the handshake 0xFF, 0x01 every address high/low
// pair is one byte read. Counting on the line needs no hook in the pages.
// Also counts the bytes each way, for the time they take on the wire.
class ReadCountingPort : public SerialPort {
public:
    explicit ReadCountingPort(SerialPort& port) : m_port(port) {}

    // Byte reads whose address went out completely.
    long byteReads() const { return m_byteReads; }
    // Every byte the program sent.
    long bytesSent() const { return m_bytesSent; }
    // Every byte the board answered.
    long bytesRead() const { return m_bytesRead; }

    void setPortNumber(int number) override { m_port.setPortNumber(number); }
    int portNumber() const override { return m_port.portNumber(); }
    void setSettings(const QString& settings) override { m_port.setSettings(settings); }
    QString settings() const override { return m_port.settings(); }
    QString deviceFor(int portNumber) const override { return m_port.deviceFor(portNumber); }
    bool open() override;
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    Failure failure() const override { return m_port.failure(); }
    bool write(const QByteArray& bytes) override;
    int bytesWaiting() override { return m_port.bytesWaiting(); }
    int readByte() override;
    void discardInput() override { m_port.discardInput(); }
    WaitResult waitForBytes(int timeoutMs) override { return m_port.waitForBytes(timeoutMs); }

private:
    enum class Expect { Idle, Command, AddressHigh, AddressLow };
    void follow(quint8 byte);

    SerialPort& m_port;
    Expect m_expect = Expect::Idle;
    long m_byteReads = 0;
    long m_bytesSent = 0;
    long m_bytesRead = 0;
};
