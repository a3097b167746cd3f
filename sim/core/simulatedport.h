#pragma once

#include "serialport.h"

#include <QByteArray>
#include <QVector>

class BoardSim;
class Clock;

// A serial port wired straight to an in-process simulated board. Used by the
// tests (with a ManualClock, so time-outs cost no real time) and by
// "vral --simulate". Every byte on the wire is recorded in order.
class SimulatedPort : public SerialPort {
public:
    struct WireByte {
        bool fromHost = false; // true: program to board; false: board to program
        quint8 byte = 0;
        qint64 atMs = 0; // the clock's monotonic time
    };

    SimulatedPort(BoardSim& board, Clock& clock);

    void setPortNumber(int number) override;
    int portNumber() const override;
    void setSettings(const QString& settings) override;
    QString settings() const override;
    bool open() override;
    void close() override;
    bool isOpen() const override;
    Failure failure() const override;
    bool write(const QByteArray& bytes) override;
    int bytesWaiting() override;
    int readByte() override;
    void discardInput() override;
    WaitResult waitForBytes(int timeoutMs) override;

    // Test controls.
    void setOpenFailure(const Failure& failure); // next open() fails like this
    void unplug();                               // the device vanishes: waits end as Lost
    const QVector<WireByte>& wire() const;
    QByteArray sentBytes() const;     // program to board, in order
    QByteArray receivedBytes() const; // board to program, in order
    void clearWire();
    // Events on the line besides bytes: input discards, in wire order.
    int discardCount() const;

private:
    BoardSim& m_board;
    Clock& m_clock;
};
