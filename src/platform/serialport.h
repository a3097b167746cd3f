#pragma once

#include "portpath.h"

#include <QByteArray>
#include <QString>

// The serial line as the link sees it: one byte stream in binary mode.
// The protocol code talks only to this interface; the QSerialPort
// implementation and the in-memory simulated board sit behind it.
class SerialPort {
public:
    // Why an open failed, in the form the "Comm Port Error" box shows it.
    struct Failure {
        int number = 0;
        QString source;
        QString description;
    };

    // How a blocking wait for input ended.
    enum class WaitResult {
        Ready,    // at least one byte is waiting
        TimedOut, // the time-out ran out with nothing received
        Lost      // the device went away or failed; the wait ended early without data
    };

    virtual ~SerialPort() = default;

    // Port number 1..99 as the user sees it (COMn on Windows; see portpath.h on Linux).
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // Settings text such as "9600,n,8,1".
    virtual void setSettings(const QString& settings) = 0;
    virtual QString settings() const = 0;
    // The device a port number opens, as the comm port dialog shows it.
    virtual QString deviceFor(int portNumber) const { return portDevicePath(portNumber); }

    // Opens the configured port; false with failure() filled in when it cannot.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual Failure failure() const = 0;

    // Writes the bytes and waits until they have left the driver.
    // Returns false when the port is not open or the write failed.
    virtual bool write(const QByteArray& bytes) = 0;
    // Number of received bytes waiting to be read.
    virtual int bytesWaiting() = 0;
    // Takes one waiting byte (0..255), or -1 when none is waiting.
    virtual int readByte() = 0;
    // Discards every byte waiting in the input buffer.
    virtual void discardInput() = 0;
    // Blocks (without spinning) until a byte is waiting or timeoutMs has passed.
    virtual WaitResult waitForBytes(int timeoutMs) = 0;
};
