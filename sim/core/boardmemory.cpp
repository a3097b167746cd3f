#include "boardmemory.h"

#include <cstring>

namespace {
// Addresses wrap like the board's 16-bit address register.
int wrap(int address) {
    return address & (BoardMemory::kSize - 1);
}
} // namespace

std::uint8_t BoardMemory::byte(int address) const {
    return m_bytes[wrap(address)];
}

void BoardMemory::setByte(int address, std::uint8_t value) {
    m_bytes[wrap(address)] = value;
}

int BoardMemory::word(int address) const {
    return byte(address) + 256 * byte(address + 1);
}

void BoardMemory::setWord(int address, int value) {
    setByte(address, static_cast<std::uint8_t>(value & 0xFF));
    setByte(address + 1, static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

qint64 BoardMemory::doubleWord(int address) const {
    return word(address) + 10000LL * word(address + 2);
}

void BoardMemory::setDoubleWord(int address, qint64 value) {
    setWord(address, static_cast<int>(value % 10000));
    setWord(address + 2, static_cast<int>((value / 10000) % 65536));
}

bool BoardMemory::bit(int address, int bit) const {
    return (byte(address) >> bit) & 1;
}

void BoardMemory::setBit(int address, int bit, bool on) {
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    setByte(address,
            static_cast<std::uint8_t>(on ? (byte(address) | mask) : (byte(address) & ~mask)));
}

QByteArray BoardMemory::image() const {
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), kSize);
}

bool BoardMemory::loadImage(const QByteArray& image) {
    if (image.size() != kSize)
        return false;
    std::memcpy(m_bytes.data(), image.constData(), kSize);
    return true;
}
