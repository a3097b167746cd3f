#pragma once

#include <QtGlobal>

class ByteTrace;
class Clock;
class LinkWaitObserver;
class Prompts;
class SerialPort;
struct LinkFlags;

// A 16-bit value (an address or a PLS word) goes on the wire as two bytes.
inline quint8 lowByte(int value) {
    return static_cast<quint8>(value & 0xFF);
}
inline quint8 highByte(int value) {
    return static_cast<quint8>((value >> 8) & 0xFF);
}

// The byte level of the link: one byte out, at most one byte back, the
// time-outs with their automatic resynchronisation, and the mode handshake.
// Failures latch CommError in the link flags; while it is set every exchange
// fails at once without touching the port.
class ByteExchange {
public:
    // What an exchange returns when it failed.
    static constexpr int kFailed = 9999;
    // The attention byte that opens every handshake (and resynchronises a
    // board stuck inside a transaction), and the board's acknowledgement.
    static constexpr quint8 kAttention = 0xFF;
    static constexpr quint8 kAcknowledge = 0x55;

    ByteExchange(LinkFlags& flags, Clock& clock, Prompts& prompts);

    void setPort(SerialPort* port) { m_port = port; }
    SerialPort* port() const { return m_port; }
    void setTrace(ByteTrace* trace) { m_trace = trace; }
    // Told of every wait for the board that lasts (see ReplyWait); not owned.
    void setWaitObserver(LinkWaitObserver* observer) { m_waitObserver = observer; }
    LinkWaitObserver* waitObserver() const { return m_waitObserver; }

    // The mode the board was last put into; 0 forces a new handshake.
    int linkMode() const { return m_linkMode; }
    void setLinkMode(int mode) { m_linkMode = mode; }

    // Sends one byte (0..255). Without noReply it waits for the reply byte:
    // 1 s, then twice an input discard and a resynchronising 0xFF with 2 s
    // of waiting each, then the Retry/Cancel box (about 5 s after the byte
    // went out); a wait that lasts is reported to the wait observer (see
    // ReplyWait). Returns the reply (0..255), 0 when no reply was awaited,
    // kFailed on failure.
    int exchange(int value, bool noReply, bool flushFirst);

    // Waits up to timeoutMs for a byte the board sends unasked and takes it:
    // 0..255, or -1 when none came (CommError untouched). kFailed when the
    // link had failed already or the device was lost.
    int awaitByte(int timeoutMs);

    // A board that answered only after a resynchronising 0xFF may still be
    // inside the transaction the link gave up on, and inside a write it
    // takes every byte, 0xFF included, as an address or data byte: the
    // link's next byte would be written somewhere. Keeps the line quiet for
    // the 1 s reply time, longer than the board's stalled-transaction time,
    // throwing away the late replies, so that the next 0xFF is attention.
    // False when the device was lost meanwhile.
    bool letStalledTransactionLapse();

    // Puts the board into a transaction mode: 0xFF answered 0x55, then the
    // command byte answered 0x55; other answers are retried for 2 s, then the
    // Retry/Cancel box. Cancel takes the link down. True at once when the
    // board is already in that mode. Retries that go on are reported to the
    // wait observer (see RetryWait).
    bool EnterMode(int mode, int commandByte);

    // Takes the link down: a last 0xFF (unless CommError) and the port
    // closed; link mode 0, OnlineMode false.
    void closeLink();

private:
    bool send(quint8 byte);
    // The byte the board sent, recorded in the trace; -1 when none is waiting.
    int takeByte();
    int awaitReply();
    bool discardLateReplies();
    int portLost();

    LinkFlags& m_flags;
    Clock& m_clock;
    Prompts& m_prompts;
    SerialPort* m_port = nullptr;
    ByteTrace* m_trace = nullptr;
    LinkWaitObserver* m_waitObserver = nullptr;
    int m_linkMode = 0;
    // How long the board kept the last late reply waiting.
    qint64 m_lateReplyWaitedMs = 0;
};
