#include "qtserialport.h"

#include "networkendpoint.h"
#include "portmap.h"
#include "portpath.h"

#include <QElapsedTimer>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace {

constexpr int kWriteTimeoutMs = 1000;
// A wait that ends this much earlier than asked, without data and without a
// time-out, did not time out: the device failed.
constexpr int kEarlySlackMs = 20;
constexpr int kInvalidPort = 8002;

int failureNumber(QSerialPort::SerialPortError error) {
    // The numbers the comm port errors have always carried in this program's boxes.
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return kInvalidPort;
    case QSerialPort::PermissionError:
        return 8005; // port already open (or not ours to open)
    default:
        return 8000 + static_cast<int>(error);
    }
}

} // namespace

QtSerialPort::QtSerialPort(const QString& deviceOverride) : m_deviceOverride(deviceOverride) {}

QString QtSerialPort::deviceFor(int portNumber) const {
    if (!m_deviceOverride.isEmpty())
        return m_deviceOverride;
    const PortMap::ReadResult map = PortMap::read(m_portMapFile);
    if (!map.ok())
        return map.error;
    const QString endpoint = map.map.endpointFor(portNumber);
    return endpoint.isEmpty() ? portDevicePath(portNumber) : endpoint;
}

QString QtSerialPort::devicePath() const {
    return deviceFor(m_portNumber);
}

bool QtSerialPort::open() {
    m_failure = Failure();
    close();
    if (m_deviceOverride.isEmpty()) {
        const PortMap::ReadResult map = PortMap::read(m_portMapFile);
        if (!map.ok()) {
            m_failure = {kInvalidPort, m_portMapFile, map.error};
            return false;
        }
    }
    const QString device = devicePath();
    if (device.isEmpty()) {
        m_failure = {kInvalidPort, QStringLiteral("QtSerialPort"),
                     QStringLiteral("Invalid port number %1").arg(m_portNumber)};
        return false;
    }
    if (!NetworkEndpoint::isEndpointText(device))
        return openDevice(device);
    m_network.setEndpoint(device);
    m_network.setPortNumber(m_portNumber);
    m_network.setSettings(m_settings);
    if (!m_network.open()) {
        m_failure = m_network.failure();
        return false;
    }
    m_onNetwork = true;
    return true;
}

bool QtSerialPort::openDevice(const QString& device) {
    m_port.setPortName(device);
    m_port.setBaudRate(m_settings.section(QLatin1Char(','), 0, 0).toInt());
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_failure = {failureNumber(m_port.error()), device, m_port.errorString()};
        return false;
    }
    setLowLatency();
    return true;
}

// USB serial adapters hold received bytes back for up to 16 ms, which every
// echoed byte of the protocol would wait for. Drivers that cannot do low
// latency (and pseudo-terminals) refuse the request; that is fine.
void QtSerialPort::setLowLatency() {
#ifdef Q_OS_LINUX
    const int fd = static_cast<int>(m_port.handle());
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }
#endif
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
    m_network.close();
    m_onNetwork = false;
}

bool QtSerialPort::isOpen() const {
    return m_onNetwork ? m_network.isOpen() : m_port.isOpen();
}

bool QtSerialPort::write(const QByteArray& bytes) {
    if (m_onNetwork)
        return m_network.write(bytes);
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size())
        return false;
    return m_port.waitForBytesWritten(kWriteTimeoutMs) || m_port.bytesToWrite() == 0;
}

int QtSerialPort::bytesWaiting() {
    if (m_onNetwork)
        return m_network.bytesWaiting();
    return m_port.isOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

int QtSerialPort::readByte() {
    if (m_onNetwork)
        return m_network.readByte();
    char byte = 0;
    if (!m_port.isOpen() || !m_port.getChar(&byte))
        return -1;
    return static_cast<quint8>(byte);
}

void QtSerialPort::discardInput() {
    if (m_onNetwork)
        return m_network.discardInput();
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

// Qt 6.4 on a vanished device: waitForReadyRead returns false at once with a
// stale ReadError while isOpen() stays true. Treating every false as a
// time-out would spin, so an early return without a time-out is a lost port.
SerialPort::WaitResult QtSerialPort::waitForBytes(int timeoutMs) {
    if (m_onNetwork)
        return m_network.waitForBytes(timeoutMs);
    if (!m_port.isOpen())
        return WaitResult::Lost;
    if (m_port.bytesAvailable() > 0)
        return WaitResult::Ready;
    m_port.clearError();
    QElapsedTimer timer;
    timer.start();
    if (m_port.waitForReadyRead(timeoutMs))
        return WaitResult::Ready;
    const QSerialPort::SerialPortError error = m_port.error();
    const bool fullTime = timer.elapsed() >= timeoutMs - kEarlySlackMs;
    if (error == QSerialPort::TimeoutError || (error == QSerialPort::NoError && fullTime))
        return WaitResult::TimedOut;
    return WaitResult::Lost;
}
