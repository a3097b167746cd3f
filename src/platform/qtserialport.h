#pragma once

#include "serialport.h"

#include <QSerialPort>

// The link's serial port on a real device, over QSerialPort. The port number
// picks the device (portDevicePath); a device override (from "--device PATH"
// or VRAL_DEVICE) makes every port number open that path instead, for
// example the pseudo-terminal of the simulated board.
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(const QString& deviceOverride = QString());

    void setDeviceOverride(const QString& path) { m_deviceOverride = path; }
    // The device the configured port number opens.
    QString devicePath() const;

    void setPortNumber(int number) override { m_portNumber = number; }
    int portNumber() const override { return m_portNumber; }
    void setSettings(const QString& settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    QString deviceFor(int portNumber) const override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    Failure failure() const override { return m_failure; }

    bool write(const QByteArray& bytes) override;
    int bytesWaiting() override;
    int readByte() override;
    void discardInput() override;
    WaitResult waitForBytes(int timeoutMs) override;

private:
    void setLowLatency();

    QSerialPort m_port;
    QString m_deviceOverride;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    Failure m_failure;
};
