#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

class Clock;

// The K7600 board's side of the link as a pure state machine: bytes in,
// bytes out, no I/O. Time comes from the Clock (for the machine model and
// pacing); the host decides how replies reach the wire.
class BoardSim {
public:
    // Named faults, one per test.
    enum class Fault {
        None,
        Silent,         // never answers
        WrongEcho,      // echoes address/data bytes with bit 0 flipped
        ModeRefused,    // answers 0xFF with 0x55 but refuses every mode command
        PlsBusy,        // PLS ready polls answer busy (count given by setFault)
        BadChecksum     // program-mode record replies are off by one
    };

    explicit BoardSim(Clock& clock);

    // Feeds one byte from the master; returns the bytes the board answers.
    QByteArray receive(std::uint8_t byte);

    void setFault(Fault fault, int count = 0);

    // Board memory (64 KiB).
    std::uint8_t memory(int address) const;
    void setMemory(int address, std::uint8_t value);
    const std::array<std::uint8_t, 65536>& memoryImage() const;
    void loadMemoryImage(const QByteArray& image);

    // The running-machine model: advances counters, speed and resolver
    // position to the clock's time. Called by receive() too.
    void runMachine();
    void setMachineRunning(bool running);
};
