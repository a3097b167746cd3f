#pragma once

#include "networkserialport.h"
#include "serialport.h"

#include <QSerialPort>

// The link's serial port on a real device, over QSerialPort. The port number
// picks the device (portDevicePath), or the network endpoint the port map
// gives it (portmap.h); a device override (from "--device PATH" or
// VRAL_DEVICE) makes every port number open that path or endpoint instead,
// for example the pseudo-terminal of the simulated board. An endpoint
// (tcp://, rfc2217://) opens a NetworkSerialPort, which then carries the line.
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(const QString& deviceOverride = QString());

    void setDeviceOverride(const QString& path) { m_deviceOverride = path; }
    // The port map file, read at every open and whenever deviceFor() asks.
    void setPortMapFile(const QString& path) { m_portMapFile = path; }
    // The device or endpoint the configured port number opens.
    QString devicePath() const;

    void setPortNumber(int number) override { m_portNumber = number; }
    int portNumber() const override { return m_portNumber; }
    void setSettings(const QString& settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    // With a refused port map: the map's complaint, naming its file and line.
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
    bool openDevice(const QString& device);
    void setLowLatency();

    QSerialPort m_port;
    NetworkSerialPort m_network;
    bool m_onNetwork = false; // the open line is m_network
    QString m_deviceOverride;
    QString m_portMapFile;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    Failure m_failure;
};
