#pragma once

#include "serialport.h"

#include <QByteArray>
#include <QVector>

class BoardSim;
class Clock;

// A serial port wired straight to an in-process simulated board. Used by the
// tests (with a ManualClock, so time-outs cost no real time) and by
// "vral --simulate". Unpaced, bytes take no time on this line: the board's
// replies are queued the moment a byte is written. Paced, every byte costs
// its time on the wire at the speed the link set (ten bits per byte, "9600"
// or "19200" from the settings text), and the link waits for replies as it
// does on a real port: sleeping on the clock, costing no CPU. A program that
// polls the simulated board then runs at the pace of a real line.
//
// With recording on (the default, for tests), every event on the line is
// recorded in order; "vral --simulate" switches it off, as the record would
// otherwise grow for as long as the program runs. A received byte is recorded
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
    // Paced, a reply still on the wire is not waiting yet.
    int bytesWaiting() override;
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

    void setPaced(bool paced) { m_paced = paced; }
    void setRecording(bool recording) { m_recording = recording; }

    const QVector<WireEvent>& wire() const { return m_wire; }
    QByteArray sentBytes() const;     // program to board, in order
    QByteArray receivedBytes() const; // board to program, in order (discarded ones included)
    void clearWire() { m_wire.clear(); }
    int discardCount() const;

private:
    void record(WireEvent::Kind kind, quint8 byte);
    QByteArray bytesOf(WireEvent::Kind kind) const;
    // Milliseconds one byte takes on the wire at the configured speed.
    double byteTimeMs() const;
    // Sleeps off the line time owed for bytes sent and received so far, in
    // whole milliseconds (the rest is carried to the next byte).
    void settleLineTime();

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
    bool m_paced = false;
    bool m_recording = true;
    double m_lineTimeOwedMs = 0.0;
};
