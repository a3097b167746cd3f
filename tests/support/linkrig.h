#pragma once

#include "boardrig.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The simulated line as a real one behaves in time: every byte sent costs
// a millisecond of line time (ten bits at 9600 bit/s). Needed where the link
// waits on the clock while the board keeps answering at once. Can also make
// every wait for input end as if the device had vanished.
class PacedPort : public SerialPort {
public:
    PacedPort(SimulatedPort& line, ManualClock& clock) : m_line(line), m_clock(clock) {}

    bool loseWaits = false;

    void setPortNumber(int number) override { m_line.setPortNumber(number); }
    int portNumber() const override { return m_line.portNumber(); }
    void setSettings(const QString& settings) override { m_line.setSettings(settings); }
    QString settings() const override { return m_line.settings(); }
    bool open() override { return m_line.open(); }
    void close() override { m_line.close(); }
    bool isOpen() const override { return m_line.isOpen(); }
    Failure failure() const override { return m_line.failure(); }
    bool write(const QByteArray& bytes) override {
        m_clock.advance(bytes.size());
        return m_line.write(bytes);
    }
    int bytesWaiting() override { return m_line.bytesWaiting(); }
    int readByte() override { return m_line.readByte(); }
    void discardInput() override { m_line.discardInput(); }
    WaitResult waitForBytes(int timeoutMs) override {
        return loseWaits ? WaitResult::Lost : m_line.waitForBytes(timeoutMs);
    }

private:
    SimulatedPort& m_line;
    ManualClock& m_clock;
};

// The board rig with a paced view of the line.
struct LinkRig : BoardRig {
    PacedPort paced{port, clock};

    // Opens the link and forgets the opening bytes.
    bool goOnline() { return goOnline(port); }
    bool goOnline(SerialPort& through) {
        link.OpenRSComm(through);
        port.clearWire();
        return link.OnlineMode && !link.CommError;
    }

    // Times at which the program sent a byte, in order.
    QList<qint64> sendTimes() const {
        QList<qint64> times;
        for (const auto& event : port.wire())
            if (event.kind == SimulatedPort::WireEvent::Kind::Sent)
                times.append(event.atMs);
        return times;
    }
};

inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (const int value : values)
        result.append(static_cast<char>(value));
    return result;
}

inline void setMemoryBytes(BoardSim& board, int address, std::initializer_list<int> values) {
    for (const int value : values)
        board.setMemory(address++, static_cast<std::uint8_t>(value));
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}
