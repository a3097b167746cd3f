#pragma once

#include "serialport.h"

#include <QByteArray>
#include <QVector>

class BoardSim;
class Clock;

// A serial port wired straight to an in-process simulated board. Used by the
// tests (with a ManualClock, so time-outs cost no real time) and by
// "vral --simulate". Bytes take no time on this line: the board's replies
// are queued the moment a byte is written.
//
// Every event on the line is recorded in order. A received byte is recorded
// when the board answers (when it is queued), not when the program reads it,
// so the record shows each reply right after the byte that caused it, and a
// Discard event shows which queued replies an input discard threw away.
class SimulatedPort : public SerialPort {
public:
    struct WireEvent {
        enum class Kind {
            Sent,     // program to board
            Received, // board to program
            Discard   // the program discarded its input; `byte` is how many bytes went (0..255,
                      // capped)
        };
        Kind kind = Kind::Sent;
        quint8 byte = 0;
        qint64 atMs = 0; // the clock's monotonic time
        // Compares what happened, not when.
        bool operator==(const WireEvent& other) const {
            return kind == other.kind && byte == other.byte;
        }
    };

    SimulatedPort(BoardSim& board, Clock& clock);

    void setPortNumber(int number) override { m_portNumber = number; }
    int portNumber() const override { return m_portNumber; }
    void setSettings(const QString& settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    Failure failure() const override { return m_failure; }
    // Fails (false) when the port is closed or the device was unplugged.
    bool write(const QByteArray& bytes) override;
    int bytesWaiting() override { return m_input.size(); }
    int readByte() override;
    void discardInput() override;
    // Ready at once when a reply is queued; otherwise sleeps the whole
    // time-out on the clock and reports TimedOut (Lost at once once unplugged).
    WaitResult waitForBytes(int timeoutMs) override;

    // Test controls.
    void setOpenFailure(const Failure& failure); // the next open() fails like this
    // The device vanishes: waits end as Lost, writes fail. isOpen() stays
    // true until close(), as a QSerialPort does; open() fails until replug().
    void unplug();
    void replug();

    const QVector<WireEvent>& wire() const { return m_wire; }
    QByteArray sentBytes() const;     // program to board, in order
    QByteArray receivedBytes() const; // board to program, in order (discarded ones included)
    void clearWire() { m_wire.clear(); }
    int discardCount() const;

private:
    void record(WireEvent::Kind kind, quint8 byte);
    QByteArray bytesOf(WireEvent::Kind kind) const;

    BoardSim& m_board;
    Clock& m_clock;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_open = false;
    bool m_unplugged = false;
    bool m_failNextOpen = false;
    Failure m_failure;
    Failure m_nextOpenFailure;
    QByteArray m_input;
    QVector<WireEvent> m_wire;
};
