#include "timingcycle.h"

#include "appstate.h"
#include "plsmapping.h"
#include "prompts.h"
#include "rscomm.h"
#include "textnumber.h"

namespace {
// Above this speed the position changes too fast to be worth reading.
constexpr int kPositionRpmLimit = 50;
} // namespace

TimingCycle::TimingCycle(RSComm& link, AppState& state, Prompts& prompts)
    : m_link(link), m_state(state), m_prompts(prompts) {}

void TimingCycle::startOnline() {
    m_wasStopped = false;
    m_configPending = true;
    m_recallRow = -1;
    m_appearancePending = true;
    m_nextRead = StatusRead::Speed;
}

void TimingCycle::stop() {
    m_wasStopped = false;
    m_configPending = false;
    m_recallRow = -1;
    m_appearancePending = false;
}

TimingNews TimingCycle::step() {
    TimingNews news;
    if (m_configPending) {
        m_configPending = false;
        if (!readConfiguration())
            return news; // the next step takes the application offline
        news.part = TimingNews::Part::Configuration;
        if (m_appearancePending)
            startRecallAll(news);
        return news;
    }
    if (m_recallRow >= 0) {
        recallStep(news);
        return news;
    }
    if (m_state.ChannelsDownloaded) {
        // A timing-channel download changed the board: show what it holds now.
        m_state.ChannelsDownloaded = false;
        startRecallAll(news);
        return news;
    }
    m_nextRead = statusRead(m_nextRead, news);
    return news;
}

void TimingCycle::startRecallAll(TimingNews& news) {
    news.recallsStarted = true;
    m_recallRow = 0;
    m_recallSecond = false;
}

void TimingCycle::recallStep(TimingNews& news) {
    const int row = m_recallRow;
    const bool again = recall(row, false) && !m_recallSecond;
    news.part = TimingNews::Part::Recall;
    if (m_link.CommError) {
        m_recallRow = -1;
        return;
    }
    m_recallSecond = again;
    if (!again)
        m_recallRow = row + 1 < kRowCount ? row + 1 : -1;
    if (m_recallRow < 0 && m_appearancePending) {
        m_appearancePending = false;
        news.channelsShown = true;
    }
}

bool TimingCycle::readConfiguration() {
    const std::array<int, 19> values = m_link.PLSConfigUpload();
    if (m_link.CommError)
        return false;
    for (size_t i = 0; i < m_snapshot.configuration.size(); ++i)
        m_snapshot.configuration[i] = values[i];
    return true;
}

bool TimingCycle::recall(int row, bool store) {
    m_snapshot.recallRow = row;
    if (!m_link.OnlineMode || !m_link.RecallChannel(row)) {
        m_snapshot.recall = TimingSnapshot::Recall::Nothing;
        if (m_link.CommError)
            return false;
        m_prompts.message(QStringLiteral("Channel Recall"),
                          QStringLiteral("Unable to Recall Channel ch%1").arg(row),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
        m_snapshot.recall = TimingSnapshot::Recall::Failed;
        return false;
    }
    const PlsMapping::RecalledSetpoint recalled =
        PlsMapping::recalledSetpoint(m_link.ChannelRecallState(), m_link.ChannelRecallPos());
    if (store)
        PlsMapping::storeRecall(recalled, row, m_state.CurrentDocument);
    m_snapshot.recallPosition = recalled.position;
    switch (recalled.edge) {
    case PlsMapping::RecalledSetpoint::Edge::On:
        m_snapshot.recall = TimingSnapshot::Recall::On;
        return true;
    case PlsMapping::RecalledSetpoint::Edge::Off:
        m_snapshot.recall = TimingSnapshot::Recall::Off;
        return true;
    case PlsMapping::RecalledSetpoint::Edge::None:
        break;
    }
    // Not programmed as a single setpoint: nothing more to ask.
    m_snapshot.recall = TimingSnapshot::Recall::NotProgrammed;
    return false;
}

TimingCycle::StatusRead TimingCycle::statusRead(StatusRead read, TimingNews& news) {
    switch (read) {
    case StatusRead::Speed: {
        const QString rpm = m_link.PLSRpm();
        if (m_link.CommError)
            return StatusRead::Speed;
        m_snapshot.rpm = rpm;
        news.part = TimingNews::Part::Speed;
        machineSpeed(rpm, news);
        return StatusRead::SpeedForPosition;
    }
    case StatusRead::SpeedForPosition: {
        const int rpm = numericValue(m_link.PLSRpm());
        if (m_link.CommError)
            return StatusRead::Speed;
        if (rpm <= kPositionRpmLimit)
            return StatusRead::Position;
        m_snapshot.position = QStringLiteral("888");
        m_snapshot.chartPosition.reset();
        news.part = TimingNews::Part::Position;
        return StatusRead::Offset;
    }
    case StatusRead::Position: {
        const QString position = m_link.PLSPos();
        if (m_link.CommError)
            return StatusRead::Speed;
        m_snapshot.position = position;
        m_snapshot.chartPosition = numericValue(position);
        news.part = TimingNews::Part::Position;
        return StatusRead::Offset;
    }
    case StatusRead::Offset: {
        const QString offset = m_link.PLSOffset();
        if (m_link.CommError)
            return StatusRead::Speed;
        m_snapshot.offset = offset;
        news.part = TimingNews::Part::Offset;
        return StatusRead::Scale;
    }
    case StatusRead::Scale:
        break;
    }
    const QString scale = m_link.PLSScaleFactor();
    if (!m_link.CommError) {
        m_snapshot.scale = scale;
        news.part = TimingNews::Part::Scale;
    }
    return StatusRead::Speed;
}

void TimingCycle::machineSpeed(const QString& rpm, TimingNews& news) {
    // The resolver offset can only be set while the machine stands still.
    const bool stopped = numericValue(rpm) == 0;
    if (stopped != m_wasStopped)
        news.offsetSettable = stopped;
    m_wasStopped = stopped;
}
