#include "speedtrend.h"

#include <iterator>

namespace {

constexpr qint64 kMinute = 60 * 1000;
constexpr SpeedTrend::Window kWindows[] = {
    {2 * kMinute, kMinute / 2},  {5 * kMinute, kMinute},      {10 * kMinute, 2 * kMinute},
    {15 * kMinute, 5 * kMinute}, {30 * kMinute, 5 * kMinute}, {60 * kMinute, 10 * kMinute},
};

} // namespace

bool SpeedTrend::add(qint64 atMs, qint32 cpm) {
    if (m_count > 0) {
        const Sample& last = at(m_count - 1);
        if (atMs < last.atMs) {
            m_first = 0;
            m_count = 0;
            m_interrupted = true;
        } else if (atMs - last.atMs < kMinimumSpacingMs) {
            return false;
        }
    }
    const bool startsRun = m_interrupted || m_count == 0 || atMs - at(m_count - 1).atMs > kGapMs;
    const Sample sample{atMs, cpm, startsRun};
    if (m_count < kCapacity) {
        m_ring[(m_first + m_count) % kCapacity] = sample;
        ++m_count;
    } else {
        m_ring[m_first] = sample;
        m_first = (m_first + 1) % kCapacity;
    }
    m_interrupted = false;
    return true;
}

QVector<QVector<SpeedTrend::Sample>> SpeedTrend::runs(qint64 nowMs) const {
    QVector<QVector<Sample>> result;
    for (int i = 0; i < m_count; ++i) {
        const Sample& sample = at(i);
        if (sample.atMs < nowMs - kSpanMs || sample.atMs > nowMs)
            continue;
        if (sample.startsRun || result.isEmpty())
            result.append(QVector<Sample>());
        result.last().append(sample);
    }
    return result;
}

std::optional<SpeedTrend::Sample> SpeedTrend::latest() const {
    if (m_count == 0)
        return std::nullopt;
    return at(m_count - 1);
}

SpeedTrend::Window SpeedTrend::window(qint64 nowMs) const {
    qint64 oldest = nowMs;
    for (int i = 0; i < m_count; ++i) {
        if (at(i).atMs >= nowMs - kSpanMs) {
            oldest = at(i).atMs;
            break;
        }
    }
    for (const Window& w : kWindows) {
        if (nowMs - oldest <= w.spanMs)
            return w;
    }
    return kWindows[std::size(kWindows) - 1];
}
