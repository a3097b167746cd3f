#pragma once

#include <array>

class ByteExchange;
class Clock;
class Prompts;
struct LinkFlags;

// The transactions of the board's programmable limit switch (link modes 3
// to 8). Each one handshakes afresh. Parameter bytes are answered 0x55; a
// PLS reply byte is fetched with a 0x55 poll. After every write the PLS is
// asked whether it has taken the command (0x38, then a poll answered 0x00
// when ready, 0x55 while busy).
class PlsTransactions {
public:
    static constexpr int kReadFailed = -9999;

    PlsTransactions(ByteExchange& exchange, LinkFlags& flags, Clock& clock, Prompts& prompts);

    // A 16-bit register (low byte first), or kReadFailed.
    int readWord(int command);
    bool writeWord(int command, int value);
    // Six bytes: chan, first (low, high), second (low, high), kind.
    bool channelCommand(int command, int chan, int first, int second, int kind);
    bool configBlock(int command, const std::array<int, 6>& values);
    // Fills config() with the 19 configuration values.
    bool readConfig(int command);
    // Fills recallState() and recallPosition().
    bool recallChannel(int chan);
    // Polls the PLS until it reports ready: 3 s, then a Retry/Cancel box
    // (Retry waits 2 s more, Cancel latches CommError).
    bool WaitPLSReady();

    const std::array<int, 19>& config() const { return m_config; }
    int recallState() const { return m_recallState; }
    int recallPosition() const { return m_recallPosition; }

private:
    // Handshake into a PLS mode; false also when CommError is set.
    bool begin(int mode, int command);
    // Sends parameter bytes, each of which the PLS must acknowledge.
    template <typename Bytes> bool sendParameters(const Bytes& bytes);
    // A six-byte PLS write (channel command or configuration block).
    bool sendBlock(int mode, int command, const std::array<int, 6>& bytes);
    // The write's parameters went out: wait until the PLS took them.
    bool finishWrite();
    int poll();

    ByteExchange& m_exchange;
    LinkFlags& m_flags;
    Clock& m_clock;
    Prompts& m_prompts;
    std::array<int, 19> m_config{};
    int m_recallState = 0;
    int m_recallPosition = 0;
};
