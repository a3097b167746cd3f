#include "memoryaccess.h"

#include "address.h"
#include "byteexchange.h"
#include "linkmessages.h"
#include "memoryvalue.h"
#include "prompts.h"

#include <array>

namespace {
constexpr int kReadMode = 1;
constexpr int kReadCommand = 0x01;
constexpr int kWriteMode = 2;
constexpr int kWriteCommand = 0x02;
} // namespace

MemoryAccess::MemoryAccess(ByteExchange& exchange, Prompts& prompts)
    : m_exchange(exchange), m_prompts(prompts) {}

QString MemoryAccess::readLocation(const QString& add) {
    m_readMismatch = false;
    if (m_exchange.linkMode() != kReadMode && !m_exchange.EnterMode(kReadMode, kReadCommand))
        return QString();
    const ParsedAddress parsed = ParseAddress(add);
    if (!parsed.onBoard()) {
        m_exchange.setLinkMode(0);
        return QString();
    }
    std::array<quint8, 4> data{};
    for (int k = 0; k < parsed.width(); ++k) {
        const int address = parsed.byteAddress + k;
        const int echo = m_exchange.exchange(highByte(address), false, false);
        if (echo == ByteExchange::kFailed)
            return QString();
        if (answeredLate(kReadMode))
            return QString();
        if (echo != highByte(address)) {
            m_readMismatch = true;
            m_exchange.setLinkMode(0);
            return QString();
        }
        const int byte = m_exchange.exchange(lowByte(address), false, false);
        if (byte == ByteExchange::kFailed || answeredLate(kReadMode))
            return QString();
        data[static_cast<size_t>(k)] = static_cast<quint8>(byte);
    }
    if (parsed.bitFlag)
        return QString::number((data[0] & parsed.bitMask) != 0 ? 1 : 0);
    return QString::number(MemoryValue::decode(parsed.access, data));
}

void MemoryAccess::WriteLocation(const QString& add, const QString& value) {
    m_writeMismatch = false;
    const std::optional<qint64> reduced = MemoryValue::reduceText(value);
    if (!reduced) {
        entryAlert(QStringLiteral("Only Numerical Data Allowed."));
        return;
    }
    const ParsedAddress parsed = ParseAddress(add);
    if (!parsed.onBoard())
        return;
    qint64 number = *reduced;
    if (parsed.bitFlag) {
        if (number != 0 && number != 1) {
            entryAlert(QStringLiteral("Enter 0 or 1 Only."));
            return;
        }
        // The other seven bits of the byte belong to someone else: if the
        // byte cannot be read, writing a guess would corrupt them.
        const QString whole = readLocation(QStringLiteral("B%1").arg(parsed.byteAddress));
        if (whole.isEmpty())
            return;
        const qint64 current = whole.toLongLong();
        number = number == 1 ? (current | parsed.bitMask) : (current & ~qint64(parsed.bitMask));
    }
    const MemoryValue::Encoded encoded = MemoryValue::encode(parsed.access, number);
    if (!encoded.error.isEmpty()) {
        entryAlert(encoded.error);
        return;
    }
    if (encoded.bytes.isEmpty())
        return;
    if (m_exchange.linkMode() != kWriteMode && !m_exchange.EnterMode(kWriteMode, kWriteCommand))
        return;
    for (int k = 0; k < encoded.bytes.size(); ++k) {
        if (m_writeMismatch) {
            m_exchange.setLinkMode(0);
            return;
        }
        const int address = parsed.byteAddress + k;
        const quint8 sequence[] = {highByte(address), lowByte(address),
                                   static_cast<quint8>(encoded.bytes.at(k))};
        for (const quint8 byte : sequence) {
            const Echo echo = sendChecked(byte);
            if (echo == Echo::Failed)
                return;
            if (answeredLate(kWriteMode))
                return;
            if (echo == Echo::Mismatched)
                break; // the rest of this byte is skipped
        }
    }
    if (m_writeMismatch)
        m_exchange.setLinkMode(0);
}

bool MemoryAccess::writeRepeated(const QString& add, const QString& value) {
    m_readMismatch = false;
    WriteLocation(add, value);
    if (m_writeMismatch)
        WriteLocation(add, value);
    return !m_writeMismatch && !m_readMismatch;
}

// The reply came only after a time-out and a resynchronising 0xFF (the link
// mode fell to 0 meanwhile): it may be the answer to another byte, and the
// board may still be inside the transaction, taking the next byte as an
// address or data byte. The transaction is void, as after a wrong echo, and
// the line is kept quiet until the board has dropped it.
bool MemoryAccess::answeredLate(int mode) {
    if (m_exchange.linkMode() == mode)
        return false;
    (mode == kReadMode ? m_readMismatch : m_writeMismatch) = true;
    m_exchange.letStalledTransactionLapse();
    return true;
}

MemoryAccess::Echo MemoryAccess::sendChecked(quint8 byte) {
    const int echo = m_exchange.exchange(byte, false, false);
    if (echo == ByteExchange::kFailed)
        return Echo::Failed;
    if (echo != byte) {
        m_writeMismatch = true;
        return Echo::Mismatched;
    }
    return Echo::Matched;
}

void MemoryAccess::entryAlert(const QString& sentence) {
    m_prompts.message(LinkMessages::kEntryAlertTitle, QStringLiteral("Error:\r") + sentence,
                      Prompts::Icon::Critical, Prompts::Buttons::Ok);
}
