#pragma once

#include <QString>

class ByteExchange;
class Prompts;

// Memory reads and writes on the board (link modes 1 and 2). Every address
// byte is echoed by the board and compared; a read returns the data byte in
// place of the low address byte's echo.
class MemoryAccess {
public:
    MemoryAccess(ByteExchange& exchange, Prompts& prompts);

    // The location's value as decimal text; empty text when the read failed.
    // An address echo that differs fails silently, leaves CommError alone
    // and sets readMismatch(), so a caller that must not take a failed read
    // for a value (a data upload, a program upload) can tell and read again.
    QString readLocation(const QString& add);

    // Writes a value text. Bad texts and out-of-range values are refused
    // with an "ENTRY ALERT" box and nothing is sent. A bit location is read
    // whole first and written back with only that bit changed. An echo that
    // differs stops the write and sets writeMismatch().
    void WriteLocation(const QString& add, const QString& value);
    // WriteLocation, once more when an echo differed, as every write of the
    // program is made. True unless an echo still differed or the byte of a
    // bit location could not be read; a link failure shows in CommError.
    bool writeRepeated(const QString& add, const QString& value);

    bool writeMismatch() const { return m_writeMismatch; }
    // The last read met an address echo that differed.
    bool readMismatch() const { return m_readMismatch; }

private:
    enum class Echo { Matched, Mismatched, Failed };
    // Sends one byte of a write and compares its echo; a mismatch sets the flag.
    Echo sendChecked(quint8 byte);
    bool answeredLate(int mode);
    void entryAlert(const QString& sentence);

    ByteExchange& m_exchange;
    Prompts& m_prompts;
    bool m_writeMismatch = false;
    bool m_readMismatch = false;
};
