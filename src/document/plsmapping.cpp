#include "plsmapping.h"

#include "setupdocument.h"

namespace {
constexpr int kConfigBlockSize = 24;
constexpr int kBlockChannelCount = 18;
constexpr int kRecallOff = 0;
constexpr int kRecallOn = 1;
} // namespace

namespace PlsMapping {

std::vector<int> configurationBlock(const SetupDocument& document) {
    std::vector<int> block(kConfigBlockSize, 0);
    block[0] = document.PLSProgram;
    for (size_t i = 0; i < 4; ++i) {
        block[1 + i] = document.SpeedCompensation[i];
        block[6 + i] = document.SpeedCompensation[4 + i];
    }
    block[kBlockChannelCount] = document.PLSChannelCount;
    return block;
}

void storeConfiguration(const std::array<int, 19>& values, SetupDocument& document) {
    document.PLSChannelCount = static_cast<qint16>(values[0]);
    document.PLSProgram = static_cast<qint16>(values[1]);
    for (size_t i = 0; i < document.SpeedCompensation.size(); ++i)
        document.SpeedCompensation[i] = static_cast<qint16>(values[2 + i]);
}

RecalledSetpoint recalledSetpoint(int recallState, int recallPosition) {
    RecalledSetpoint recall;
    recall.position = static_cast<qint16>(recallPosition);
    if (recallState == kRecallOn)
        recall.edge = RecalledSetpoint::Edge::On;
    else if (recallState == kRecallOff)
        recall.edge = RecalledSetpoint::Edge::Off;
    return recall;
}

void storeRecall(const RecalledSetpoint& recall, int channel, SetupDocument& document) {
    const size_t c = size_t(channel);
    switch (recall.edge) {
    case RecalledSetpoint::Edge::On:
        document.OnSetpoints[c] = recall.position;
        return;
    case RecalledSetpoint::Edge::Off:
        document.OffSetpoints[c] = recall.position;
        return;
    case RecalledSetpoint::Edge::None:
        break;
    }
    document.OnSetpoints[c] = 0;
    document.OffSetpoints[c] = 0;
}

} // namespace PlsMapping
