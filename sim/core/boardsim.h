#pragma once

#include "boardmemory.h"
#include "machinemodel.h"
#include "plsunit.h"

#include <QByteArray>

#include <array>
#include <cstdint>

class Clock;

// The K7600 board's side of the link as a pure state machine: bytes in,
// bytes out, no I/O. Time comes from the Clock (for the machine model and
// the board's inter-byte time-out); the host decides how replies reach the
// wire. sim/README.md lists every choice the board makes where the
// exchanges leave one open.
class BoardSim {
public:
    // Named faults, one per test. See setFault() for the count.
    enum class Fault {
        None,
        Silent,      // takes no notice of the byte and answers nothing
        WrongEcho,   // echoes an address/data byte with bit 0 flipped and drops the transaction
        ModeRefused, // answers 0xFF with 0x55 but a mode command byte with 0x00
        PlsBusy,     // a PLS ready poll answers busy (0x55) instead of ready
        BadChecksum, // a program-mode record reply is one more than the sum
        PlsRefused   // answers a PLS parameter byte with 0x00 and drops the transaction
    };

    // A transaction that stalls for longer than this between two bytes is
    // dropped, so that the master's 0xFF after its own time-out is taken as
    // attention rather than as a missing address or data byte.
    static constexpr qint64 kInterByteTimeoutMs = 500;

    explicit BoardSim(Clock& clock);

    // Feeds one byte from the master; returns the bytes the board answers
    // (empty when it answers nothing).
    QByteArray receive(std::uint8_t byte);

    // The fault strikes `count` times (each struck byte counts once) and
    // then clears itself; a count of 0 keeps it until setFault(Fault::None).
    // It is armed only once `afterBytes` more bytes have been received, so
    // that it can strike in the middle of a long command.
    void setFault(Fault fault, int count = 0, int afterBytes = 0);
    Fault fault() const { return m_fault; }

    // Board memory (64 KiB), as the memory read and write transactions see it.
    std::uint8_t memory(int address) const { return m_memory.byte(address); }
    void setMemory(int address, std::uint8_t value) { m_memory.setByte(address, value); }
    BoardMemory& memoryMap() { return m_memory; }
    const BoardMemory& memoryMap() const { return m_memory; }
    QByteArray memoryImage() const { return m_memory.image(); }
    // Adopts a saved image of exactly 64 KiB; false (memory untouched) otherwise.
    bool loadMemoryImage(const QByteArray& image) { return m_memory.loadImage(image); }

    // Only the bytes that program-mode records carried (zero elsewhere).
    // The same bytes also land in the board memory, where a program upload
    // reads them back with ordinary memory reads.
    const BoardMemory& programMemory() const { return m_program; }
    bool inProgramMode() const { return m_mode == Mode::Program; }

    PlsUnit& pls() { return m_pls; }
    MachineModel& machine() { return m_machine; }

    // The running-machine model: advances counters, speed and resolver
    // position to the clock's time. Called by receive() too. Stopped at start.
    void runMachine() { m_machine.run(); }
    void setMachineRunning(bool running) { m_machine.setRunning(running); }

    // Reads served since start: memory reads answered with their data byte,
    // and the polls that answer PLS and configuration values.
    quint64 readsServed() const { return m_readsServed; }

private:
    // The transaction mode that persists between transactions.
    enum class Mode { None, MemoryRead, MemoryWrite, Program };
    // Where the board is inside a transaction.
    enum class Step {
        Boundary,          // between transactions (in m_mode)
        ModeCommand,       // 0xFF answered; the mode command byte is next
        ReadAddressLow,    // memory read: address high echoed
        WriteAddressLow,   // memory write: address high echoed
        WriteData,         // memory write: address low echoed
        Parameters,        // PLS command: collecting parameter bytes
        ReadyQuery,        // PLS ready handshake: 0x38 expected
        ReadyPoll,         // PLS ready handshake: 0x55 poll expected
        ReadyFinal,        // ready reported; one closing 0x55 poll expected
        Polls,             // answering 0x55 polls from m_pollReplies
        RecordAddressHigh, // program mode: count received
        RecordAddressLow,
        RecordData
    };

    QByteArray answer(std::uint8_t byte);
    QByteArray atBoundary(std::uint8_t byte);
    QByteArray modeCommand(std::uint8_t byte);
    QByteArray readAddressLow(std::uint8_t byte);
    QByteArray writeStep(std::uint8_t byte);
    QByteArray parameter(std::uint8_t byte);
    QByteArray finishParameters();
    QByteArray readyStep(std::uint8_t byte);
    QByteArray poll(std::uint8_t byte);
    QByteArray recordStep(std::uint8_t byte);

    QByteArray attention();
    QByteArray echo(std::uint8_t byte);
    void endTransaction(Mode mode);
    void dropStalledTransaction();
    bool strikes(Fault fault);
    void startPolls(const QByteArray& replies);
    void startParameters(std::uint8_t command, int count);
    int parameterWord(int index) const;

    Clock& m_clock;
    BoardMemory m_memory;
    BoardMemory m_program;
    PlsUnit m_pls;
    MachineModel m_machine;

    Fault m_fault = Fault::None;
    int m_faultCount = 0;
    int m_faultDelay = 0; // bytes still to receive before the fault is armed

    Mode m_mode = Mode::None;
    Step m_step = Step::Boundary;
    qint64 m_lastByteMs = 0;
    int m_address = 0;
    std::uint8_t m_command = 0;
    std::array<std::uint8_t, 6> m_params{};
    int m_paramsWanted = 0;
    int m_paramsHave = 0;
    QByteArray m_pollReplies;
    int m_recordLeft = 0;
    int m_recordSum = 0;
    quint64 m_readsServed = 0;
};
