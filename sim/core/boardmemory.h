#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

// The board's 64 KiB byte-addressed memory with the access widths the PLC
// uses: bytes, words (low byte first) and double words whose second word
// counts ten-thousands.
class BoardMemory {
public:
    static constexpr int kSize = 65536;

    std::uint8_t byte(int address) const;
    void setByte(int address, std::uint8_t value);

    int word(int address) const;
    void setWord(int address, int value);

    // Value = w0 + 10000 * w1, with w0 < 10000.
    qint64 doubleWord(int address) const;
    void setDoubleWord(int address, qint64 value);

    bool bit(int address, int bit) const;
    void setBit(int address, int bit, bool on);

    // The raw image: exactly kSize bytes.
    QByteArray image() const;
    // Adopts an image of exactly kSize bytes; false (memory untouched) otherwise.
    bool loadImage(const QByteArray& image);

private:
    std::array<std::uint8_t, kSize> m_bytes{};
};
