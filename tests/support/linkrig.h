#pragma once

#include "boardrig.h"
#include "forwardingport.h"

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
class PacedPort : public ForwardingPort {
public:
    PacedPort(SimulatedPort& line, ManualClock& clock) : ForwardingPort(line), m_clock(clock) {}

    bool loseWaits = false;

    bool write(const QByteArray& bytes) override {
        m_clock.advance(bytes.size());
        return ForwardingPort::write(bytes);
    }
    WaitResult waitForBytes(int timeoutMs) override {
        return loseWaits ? WaitResult::Lost : ForwardingPort::waitForBytes(timeoutMs);
    }

private:
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
        return link.linkUp();
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
