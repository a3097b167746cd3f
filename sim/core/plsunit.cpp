#include "plsunit.h"

#include <cmath>

namespace {
struct DefaultSetpoint {
    int on;
    int off;
};

// The channel set-up a new board comes with (channels 9 to 15 cleared).
constexpr std::array<DefaultSetpoint, 9> kDefaultSetpoints{{{120, 160},
                                                            {275, 315},
                                                            {180, 0},
                                                            {120, 230},
                                                            {80, 220},
                                                            {155, 195},
                                                            {160, 200},
                                                            {0, 40},
                                                            {0, 180}}};

// Where the channel count sits in the configuration bytes written by blocks.
constexpr int kChannelCountByte = 18;

bool validChannel(int channel) {
    return channel >= 0 && channel < PlsUnit::kChannels;
}
} // namespace

PlsUnit::PlsUnit() {
    for (int c = 0; c < static_cast<int>(kDefaultSetpoints.size()); ++c)
        setSingle(c, kDefaultSetpoints[c].on, kDefaultSetpoints[c].off);
    m_config[kChannelCountByte] = kChannels;
}

void PlsUnit::setScale(int scale) {
    if (scale <= 0)
        return;
    m_scale = scale;
    m_angle = std::fmod(m_angle, m_scale);
    m_offset %= m_scale;
}

void PlsUnit::setOffset(int offset) {
    m_offset = offset % m_scale;
}

void PlsUnit::turnResolver(double counts) {
    m_angle = std::fmod(m_angle + counts, m_scale);
    if (m_angle < 0)
        m_angle += m_scale;
}

int PlsUnit::position() const {
    // Setting the offset aligns the position register with the machine:
    // register = angle - offset, so a new offset of (angle - wanted) makes
    // the register read the wanted position.
    const int angle = static_cast<int>(m_angle);
    return ((angle - m_offset) % m_scale + m_scale) % m_scale;
}

void PlsUnit::setSingle(int channel, int on, int off) {
    if (!validChannel(channel))
        return;
    Channel c;
    c.kind = Channel::Kind::Single;
    c.on = on;
    c.off = off;
    m_channels[channel] = c;
}

void PlsUnit::clear(int channel) {
    if (validChannel(channel))
        m_channels[channel] = Channel{};
}

void PlsUnit::setPulseTrain(int channel, int start, int onDiv, int offDiv) {
    if (!validChannel(channel))
        return;
    Channel c;
    c.kind = Channel::Kind::PulseTrain;
    c.start = start;
    c.onDiv = onDiv;
    c.offDiv = offDiv;
    m_channels[channel] = c;
}

PlsUnit::Recall PlsUnit::recall(int channel) {
    const Channel& c = m_channels.at(channel);
    Recall r;
    switch (c.kind) {
    case Channel::Kind::Cleared:
        r = {RecallCleared, 0};
        break;
    case Channel::Kind::PulseTrain:
        r = {RecallPulseTrain, c.start};
        break;
    case Channel::Kind::Single: {
        const bool answerOn = !(m_lastRecallChannel == channel && m_lastRecallWasOn);
        r = answerOn ? Recall{RecallOn, c.on} : Recall{RecallOff, c.off};
        break;
    }
    }
    m_lastRecallChannel = channel;
    m_lastRecallWasOn = r.state == RecallOn;
    return r;
}

void PlsUnit::setConfigBlock(int block, const std::array<std::uint8_t, 6>& values) {
    if (block < 0 || block > 3)
        return;
    for (int i = 0; i < 6; ++i)
        m_config[6 * block + i] = values[i];
}

std::array<std::uint8_t, PlsUnit::kConfigReadValues> PlsUnit::configReadValues() const {
    // The read lists the channel count first, then the program number and
    // the eight speed compensations (bytes 0-4 and 6-9 of the blocks), then
    // bytes 10-17, and last the spare byte 5.
    std::array<std::uint8_t, kConfigReadValues> v{};
    v[0] = m_config[kChannelCountByte];
    for (int i = 0; i <= 4; ++i)
        v[1 + i] = m_config[i];
    for (int i = 6; i <= 17; ++i)
        v[i] = m_config[i];
    v[18] = m_config[5];
    return v;
}

bool PlsUnit::isOn(const Channel& c, int position) const {
    switch (c.kind) {
    case Channel::Kind::Cleared:
        return false;
    case Channel::Kind::Single:
        if (c.on <= c.off)
            return position >= c.on && position < c.off;
        return position >= c.on || position < c.off; // window wraps past zero
    case Channel::Kind::PulseTrain: {
        const int period = c.onDiv + c.offDiv;
        if (period <= 0)
            return false;
        const int fromStart = ((position - c.start) % m_scale + m_scale) % m_scale;
        return fromStart % period < c.onDiv;
    }
    }
    return false;
}

int PlsUnit::outputs() const {
    const int p = position();
    int bits = 0;
    for (int c = 0; c < kChannels; ++c)
        if (isOn(m_channels[c], p))
            bits |= 1 << c;
    return bits;
}
