#pragma once

#include <array>
#include <cstdint>

// The board's programmable limit switch: scale factor, offset, the resolver
// it follows, sixteen timing channels and the configuration block. Pure
// state; the protocol (BoardSim) and the machine model drive it.
class PlsUnit {
public:
    static constexpr int kChannels = 16;
    static constexpr int kConfigBytes = 24; // four blocks of six
    static constexpr int kConfigReadValues = 19;

    // Recall states as the board reports them.
    enum RecallState : std::uint8_t {
        RecallOff = 0,       // position is the OFF setpoint
        RecallOn = 1,        // position is the ON setpoint
        RecallCleared = 2,   // channel not programmed; position 0
        RecallPulseTrain = 3 // position is the pulse train's start division
    };

    struct Channel {
        enum class Kind { Cleared, Single, PulseTrain };
        Kind kind = Kind::Cleared;
        int on = 0;     // single setpoint: ON position
        int off = 0;    // single setpoint: OFF position
        int start = 0;  // pulse train: start division
        int onDiv = 0;  // pulse train: ON division
        int offDiv = 0; // pulse train: OFF division
    };

    struct Recall {
        std::uint8_t state = RecallCleared;
        int position = 0;
    };

    PlsUnit();

    int scale() const { return m_scale; }
    // A scale of 0 is ignored: the board keeps the old one.
    void setScale(int scale);
    int offset() const { return m_offset; }
    void setOffset(int offset);
    int rpm() const { return m_rpm; }
    void setRpm(int rpm) { m_rpm = rpm; }

    // The resolver's own angle in counts, 0..scale-1 (fractions kept).
    void turnResolver(double counts);
    // The position register: resolver angle less the offset, 0..scale-1.
    int position() const;

    // Channel commands (out-of-range channels are ignored).
    void setSingle(int channel, int on, int off);
    void clear(int channel);
    void setPulseTrain(int channel, int start, int onDiv, int offDiv);
    const Channel& channel(int channel) const { return m_channels.at(channel); }

    // Recall alternates ON then OFF for a programmed channel: the first
    // recall of a channel answers its ON setpoint, the next one (of the same
    // channel) its OFF setpoint, and so on.
    Recall recall(int channel);

    // Configuration block write: block 0..3, six bytes.
    void setConfigBlock(int block, const std::array<std::uint8_t, 6>& values);
    std::uint8_t configByte(int index) const { return m_config.at(index); }
    // The 19 values of the configuration read, in wire order.
    std::array<std::uint8_t, kConfigReadValues> configReadValues() const;

    // Bit n set when channel n is on at the current position.
    int outputs() const;

private:
    bool isOn(const Channel& channel, int position) const;

    int m_scale = 360;
    int m_offset = 0;
    int m_rpm = 0;
    double m_angle = 0.0;
    std::array<Channel, kChannels> m_channels{};
    std::array<std::uint8_t, kConfigBytes> m_config{};
    int m_lastRecallChannel = -1;
    bool m_lastRecallWasOn = false;
};
