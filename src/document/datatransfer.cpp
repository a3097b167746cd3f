#include "datatransfer.h"

#include "address.h"
#include "appstate.h"
#include "plsmapping.h"
#include "prompts.h"
#include "rscomm.h"
#include "textnumber.h"

#include <QtGlobal>

namespace {

constexpr int kDownload = 10;
constexpr int kSetupKind = 0;
constexpr int kTimingKind = 1;
constexpr int kShiftKind = 2;
constexpr int kAllKind = 4;

constexpr int kChannels = 16;
// Progress of the timing channels: two steps per channel, one to start.
constexpr int kTimingProgress = 2 * kChannels + 1;

const QString kStandby = QStringLiteral(", Please Standby...");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

QString statusFor(bool download, const QString& what) {
    return (download ? QStringLiteral("Downloading ") : QStringLiteral("Uploading ")) + what +
           kStandby;
}

qint16 toInt16(const QString& text) {
    return static_cast<qint16>(qBound<qint32>(-32768, numericValue(text), 32767));
}

} // namespace

DataTransfer::DataTransfer(AppState& state, RSComm& link, Prompts& prompts, int kind)
    : m_state(state), m_link(link), m_prompts(prompts), m_kind(kind) {
    Q_ASSERT(isTransferKind(kind));
    switch (kind % kDownload) {
    case kSetupKind:
        m_first = 161;
        m_last = SetupDocument::ParameterCount;
        m_maximum = 20;
        m_status = statusFor(isDownload(), QStringLiteral("Set-up Parameters"));
        m_phase = Phase::LeadingElement;
        break;
    case kTimingKind:
        m_maximum = kTimingProgress;
        m_status = statusFor(isDownload(), QStringLiteral("Timing Channels"));
        m_phase = Phase::TimingStart;
        break;
    case kShiftKind:
        m_first = 1;
        m_last = 160;
        m_maximum = 161;
        m_status = statusFor(isDownload(), QStringLiteral("Shift Data"));
        break;
    default:
        m_first = 0;
        m_last = SetupDocument::ParameterCount;
        m_maximum = SetupDocument::ParameterCount + kTimingProgress;
        m_status = statusFor(isDownload(), QStringLiteral("Data"));
        break;
    }
    m_index = m_first;
}

bool DataTransfer::isTransferKind(int kind) {
    const int entry = kind % kDownload;
    return kind >= 0 && kind < 2 * kDownload && entry != 3 && entry <= kAllKind;
}

bool DataTransfer::hasTiming() const {
    const int entry = m_kind % kDownload;
    return entry == kTimingKind || entry == kAllKind;
}

bool DataTransfer::step() {
    // A step ends after its one exchange; the work between exchanges (the
    // end of a loop, a status text) is done in the same step.
    while (m_phase != Phase::Done) {
        if (advance())
            return true;
    }
    return false;
}

bool DataTransfer::advance() {
    switch (m_phase) {
    case Phase::LeadingElement:
        return leadingElement();
    case Phase::Values:
        return nextValue();
    case Phase::TimingStart:
        return timingStart();
    case Phase::ConfigUpload:
        return configUpload();
    case Phase::ScaleUpload:
        return registerUpload(&RSComm::PLSScaleFactor, m_state.CurrentDocument.PLSScale,
                              Phase::OffsetUpload);
    case Phase::OffsetUpload:
        return registerUpload(&RSComm::PLSOffset, m_state.CurrentDocument.ResolverOffset,
                              Phase::Channels);
    case Phase::ConfigDownload:
        return configDownload();
    case Phase::Channels:
        return nextChannel();
    case Phase::Report:
        report();
        return false;
    case Phase::Done:
        break;
    }
    return false;
}

bool DataTransfer::leadingElement() {
    // Offline (the port could not be opened) there is no line to use.
    if (!m_link.linkUp()) {
        m_phase = Phase::Values;
        return false;
    }
    if (valueDone(0)) {
        ++m_progress;
        m_phase = Phase::Values;
    }
    return true;
}

bool DataTransfer::nextValue() {
    // A link failure outweighs a Cancel that came with it: its box is owed.
    if (!m_link.linkUp()) {
        finish(Outcome::LinkFailed);
        return false;
    }
    if (m_index > m_last) {
        afterValues();
        return false;
    }
    if (m_cancel) {
        // The timing channels are not started after a cancelled value loop.
        finish(Outcome::Cancelled);
        return false;
    }
    if (valueDone(m_index)) {
        ++m_index;
        ++m_progress;
    }
    return true;
}

bool DataTransfer::valueDone(int index) {
    switch (transferValue(index)) {
    case ValueResult::Repeat:
        return false;
    case ValueResult::Failed:
        finish(Outcome::LinkFailed);
        return false;
    case ValueResult::Done:
        return true;
    }
    return false;
}

void DataTransfer::afterValues() {
    if (hasTiming())
        m_phase = Phase::TimingStart;
    else
        finish(Outcome::Completed);
}

DataTransfer::ValueResult DataTransfer::transferValue(int index) {
    // An address that names no board location (an empty one from a file of
    // another release) has nothing to read, and must not be written.
    if (!isBoardLocation(m_state.CurrentDocument.Addresses.value(index)))
        return ValueResult::Done;
    const ValueResult result = isDownload() ? writeValue(index) : readValue(index);
    m_repeating = result == ValueResult::Repeat;
    if (result == ValueResult::Done && !m_link.CommError)
        m_lastElement = index;
    return result;
}

DataTransfer::ValueResult DataTransfer::readValue(int index) {
    SetupDocument& document = m_state.CurrentDocument;
    const QString reply = m_link.RSRead(document.Addresses.value(index));
    // A failed read answers "0" like a real 0: the element keeps its value.
    if (m_link.CommError)
        return ValueResult::Done;
    if (m_link.readMismatch()) {
        // The board echoed another address than the one asked for, so the
        // reply is no value of this element. Asked once more, as a write is;
        // twice wrong and the element keeps its value and the transfer stops.
        if (m_repeating) {
            m_uncertain = true;
            return ValueResult::Failed;
        }
        return ValueResult::Repeat;
    }
    if (index < document.Values.size())
        document.Values[index] = numericValue(reply);
    return ValueResult::Done;
}

DataTransfer::ValueResult DataTransfer::writeValue(int index) {
    const SetupDocument& document = m_state.CurrentDocument;
    m_link.RSWrite(document.Addresses.value(index), QString::number(document.Values.value(index)));
    // RSWrite has already written again after a wrong echo; a second wrong
    // echo means the board may not hold the value.
    if (!m_link.CommError && m_link.writeMismatch()) {
        m_uncertain = true;
        return ValueResult::Failed;
    }
    return ValueResult::Done;
}

bool DataTransfer::timingStart() {
    if (!m_link.linkUp()) {
        finish(Outcome::LinkFailed);
        return false;
    }
    if (m_cancel) {
        finish(Outcome::Cancelled);
        return false;
    }
    m_status = statusFor(isDownload(), QStringLiteral("Timing Channels"));
    m_channel = 0;
    m_recalls = 0;
    m_phase = isDownload() ? Phase::ConfigDownload : Phase::ConfigUpload;
    return false;
}

bool DataTransfer::configUpload() {
    const std::array<int, 19> cfg = m_link.PLSConfigUpload();
    if (!m_link.CommError)
        PlsMapping::storeConfiguration(cfg, m_state.CurrentDocument);
    m_phase = m_link.CommError ? Phase::Report : Phase::ScaleUpload;
    return true;
}

bool DataTransfer::registerUpload(QString (RSComm::*read)(), qint16& slot, Phase next) {
    const QString value = (m_link.*read)();
    if (!m_link.CommError)
        slot = toInt16(value);
    m_phase = m_link.CommError ? Phase::Report : next;
    // The offset is the last of the configuration's three reads.
    m_configDone = next == Phase::Channels && !m_link.CommError;
    return true;
}

bool DataTransfer::configDownload() {
    const SetupDocument& document = m_state.CurrentDocument;
    if (m_link.PLSConfigDownload(PlsMapping::configurationBlock(document), document.PLSScale))
        m_configDone = true;
    else
        m_abort = true;
    m_phase = Phase::Channels;
    return true;
}

bool DataTransfer::nextChannel() {
    // Between two channels: a channel in hand is finished first (both of
    // its recalls, or its clear-and-set), then Cancel, a link failure or a
    // failed PLS command ends the loop.
    if (m_link.CommError)
        m_recalls = 0; // the channel's second recall is not tried
    if (m_recalls == 0) {
        const bool ended = m_channel >= kChannels || m_cancel || m_abort || m_link.CommError;
        if (ended) {
            if (isDownload())
                m_state.ChannelsDownloaded = true;
            if (m_channel < kChannels && m_cancel && !m_abort && !m_link.CommError)
                finish(Outcome::Cancelled);
            else
                m_phase = Phase::Report;
            return false;
        }
    }
    return isDownload() ? downloadChannel() : uploadChannel();
}

bool DataTransfer::uploadChannel() {
    ++m_progress;
    if (!m_link.RecallChannel(m_channel)) {
        m_abort = true;
        m_recalls = 0;
        return true;
    }
    const PlsMapping::RecalledSetpoint recall =
        PlsMapping::recalledSetpoint(m_link.ChannelRecallState(), m_link.ChannelRecallPos());
    PlsMapping::storeRecall(recall, m_channel, m_state.CurrentDocument);
    bool channelDone = ++m_recalls == 2;
    if (recall.edge == PlsMapping::RecalledSetpoint::Edge::None) {
        // Cleared, or a pulse train: no single setpoints to keep.
        if (!channelDone)
            ++m_progress;
        channelDone = true;
    }
    if (channelDone) {
        m_recalls = 0;
        m_lastChannel = m_channel++;
    }
    return true;
}

bool DataTransfer::downloadChannel() {
    const SetupDocument& document = m_state.CurrentDocument;
    const size_t c = size_t(m_channel);
    const int on = document.OnSetpoints[c];
    const int off = document.OffSetpoints[c];
    // A channel whose setpoints are both 0 is not in use: it is cleared.
    const bool done = on != 0 || off != 0 ? m_link.SingleSetpoint(m_channel, on, off, true)
                                          : m_link.ClearPLSChan(m_channel);
    if (!done) {
        m_abort = true;
        return true;
    }
    m_progress += 2;
    m_lastChannel = m_channel++;
    return true;
}

void DataTransfer::report() {
    if (!m_link.linkUp() || m_uncertain) {
        finish(Outcome::LinkFailed);
        return;
    }
    finish(m_abort ? Outcome::PlsCommandFailed : Outcome::Completed);
}

void DataTransfer::finish(Outcome outcome) {
    // A refused PLS command ends the transfer as a link failure does: the
    // board holds (or the document took) only part of what was asked for.
    if (outcome == Outcome::LinkFailed || outcome == Outcome::PlsCommandFailed)
        m_prompts.message(QStringLiteral("VRAL"),
                          QStringLiteral("Error Processing Request") + kCrLf2 +
                              QStringLiteral("Process Not Complete") + kCrLf2 + progressText(),
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    else if (outcome == Outcome::Cancelled)
        m_prompts.message(isDownload() ? QStringLiteral("Data Download")
                                       : QStringLiteral("Data Upload"),
                          QStringLiteral("Process Cancelled") + kCrLf2 + progressText(),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
    m_outcome = outcome;
    m_phase = Phase::Done;
}

QString DataTransfer::progressText() const {
    const QString last =
        isDownload() ? QStringLiteral("Last Written: ") : QStringLiteral("Last Read: ");
    if (m_lastChannel >= 0)
        return last + QStringLiteral("Timing Channel ") + plsChannelName(m_lastChannel);
    if (m_configDone)
        return last + QStringLiteral("PLS Configuration");
    if (m_lastElement >= 0)
        return last + QStringLiteral("Element %1 (%2)")
                          .arg(m_lastElement)
                          .arg(m_state.CurrentDocument.Addresses.value(m_lastElement));
    return isDownload() ? QStringLiteral("Nothing was Written")
                        : QStringLiteral("Nothing was Read");
}
