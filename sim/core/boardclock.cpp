#include "boardclock.h"

#include "boardmemory.h"

#include <QDateTime>

namespace {
constexpr int kSecond = 43008;
constexpr int kMinute = 43010;
constexpr int kHour = 43012;
constexpr int kDay = 43015;
constexpr int kMonth = 43016;
constexpr int kYear = 43017;
constexpr int kCentury = 2000;
} // namespace

void BoardClock::advance(qint64 nowMs) {
    const qint64 second = nowMs / 1000;
    const qint64 ticks = m_second < 0 ? 0 : second - m_second;
    m_second = second;
    if (ticks <= 0)
        return;
    const QDate date(kCentury + m_memory.byte(kYear), m_memory.byte(kMonth), m_memory.byte(kDay));
    const QTime time(m_memory.byte(kHour), m_memory.byte(kMinute), m_memory.byte(kSecond));
    if (!date.isValid() || !time.isValid())
        return;
    const QDateTime next = QDateTime(date, time, Qt::UTC).addSecs(ticks);
    // Year 99 rolls over to 00, as two digits do.
    const int year = (next.date().year() - kCentury) % 100;
    m_memory.setByte(kSecond, static_cast<std::uint8_t>(next.time().second()));
    m_memory.setByte(kMinute, static_cast<std::uint8_t>(next.time().minute()));
    m_memory.setByte(kHour, static_cast<std::uint8_t>(next.time().hour()));
    m_memory.setByte(kDay, static_cast<std::uint8_t>(next.date().day()));
    m_memory.setByte(kMonth, static_cast<std::uint8_t>(next.date().month()));
    m_memory.setByte(kYear, static_cast<std::uint8_t>(year));
}
