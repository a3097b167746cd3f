#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

struct SetupDocument;

// The board's limit switch (PLS) and the set-up document, both ways: the
// configuration block the board is programmed with, the configuration values
// it reports, and a channel recall as one of the channel's setpoints.
namespace PlsMapping {

// The block PLSConfigDownload sends (24 values): the program in value 0, the
// speed compensation of CH00..CH03 in values 1..4 and of CH04..CH07 in 6..9,
// the channel count in value 18, every other value 0.
std::vector<int> configurationBlock(const SetupDocument& document);

// The values PLSConfigUpload reports start with the channel count, the
// program and the eight speed compensations; they go into the document.
void storeConfiguration(const std::array<int, 19>& values, SetupDocument& document);

// A recall's answer: the edge of the channel it reports and where, or no
// edge when the channel holds no single setpoint (cleared, or a pulse train).
struct RecalledSetpoint {
    enum class Edge { On, Off, None };
    Edge edge = Edge::None;
    qint16 position = 0;
};

// ChannelRecallState() 1 is the ON edge, 0 the OFF edge, anything else none.
RecalledSetpoint recalledSetpoint(int recallState, int recallPosition);

// Puts a recall into the channel's setpoints; with no edge both become 0.
void storeRecall(const RecalledSetpoint& recall, int channel, SetupDocument& document);

} // namespace PlsMapping
