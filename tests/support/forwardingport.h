#pragma once

#include "serialport.h"

// A port that passes everything through to another one. Test and bench
// ports derive from it and override only what they watch or change: the
// time a byte costs, a reply the board sent, the reads on the line.
class ForwardingPort : public SerialPort {
public:
    explicit ForwardingPort(SerialPort& port) : m_port(port) {}

    void setPortNumber(int number) override { m_port.setPortNumber(number); }
    int portNumber() const override { return m_port.portNumber(); }
    void setSettings(const QString& settings) override { m_port.setSettings(settings); }
    QString settings() const override { return m_port.settings(); }
    QString deviceFor(int portNumber) const override { return m_port.deviceFor(portNumber); }
    bool open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    Failure failure() const override { return m_port.failure(); }
    bool write(const QByteArray& bytes) override { return m_port.write(bytes); }
    int bytesWaiting() override { return m_port.bytesWaiting(); }
    int readByte() override { return m_port.readByte(); }
    void discardInput() override { m_port.discardInput(); }
    WaitResult waitForBytes(int timeoutMs) override { return m_port.waitForBytes(timeoutMs); }

private:
    SerialPort& m_port;
};
