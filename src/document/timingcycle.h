#pragma once

#include <QString>

#include <array>
#include <optional>

struct AppState;
class Prompts;
class RSComm;

// What the timing page shows of the board, as its board cycle last read it.
struct TimingSnapshot {
    // What a recall shows in a row's fields: the ON or the OFF edge at
    // recallPosition, "not programmed" in both, "failed" in both, or nothing
    // (the link failed and takes the application offline).
    enum class Recall { On, Off, NotProgrammed, Failed, Nothing };

    // Channel count, program, then the speed compensation of CH00..CH07.
    std::array<int, 10> configuration{};
    int recallRow = 0;
    Recall recall = Recall::Nothing;
    int recallPosition = 0;
    // The status texts as the board sent them; the position reads "888"
    // while the machine turns too fast to read it.
    QString rpm;
    QString position;
    QString offset;
    QString scale;
    std::optional<int> chartPosition;
};

// What one step of the cycle brought: the part of the snapshot to show anew.
struct TimingNews {
    enum class Part { Nothing, Configuration, Recall, Speed, Position, Offset, Scale };
    Part part = Part::Nothing;
    // A recall of all channels starts with the next step.
    bool recallsStarted = false;
    // The online appearance's recall of all channels has ended.
    bool channelsShown = false;
    // The machine has just stopped (true: the resolver offset may be set)
    // or just started (false).
    std::optional<bool> offsetSettable;
};

// The timing page's board cycle, without the page: going online it reads the
// PLS configuration, then recalls the nine channels one recall per step (two
// for a channel with both edges), then runs the status pass round and round,
// one register read per step: RPM, RPM again to decide whether the position
// is worth reading, the position, the offset and the scale factor. Every step
// is one board exchange. After a timing-channel download the channels are
// recalled again.
class TimingCycle {
public:
    static constexpr int kRowCount = 9;

    TimingCycle(RSComm& link, AppState& state, Prompts& prompts);

    // The page went online: the configuration read and the recalls follow.
    void startOnline();
    // The page went offline: nothing is pending, the machine counts as moving.
    void stop();
    TimingNews step();

    // Reads the configuration into the snapshot (one exchange); false when
    // the link failed.
    bool readConfiguration();
    // One recall of a row (one exchange) into the snapshot; with store, into
    // the document too. True when the row wants another recall for its
    // other edge.
    bool recall(int row, bool store);

    const TimingSnapshot& snapshot() const { return m_snapshot; }

private:
    enum class StatusRead { Speed, SpeedForPosition, Position, Offset, Scale };
    void startRecallAll(TimingNews& news);
    void recallStep(TimingNews& news);
    // Makes one read and returns the read that follows it.
    StatusRead statusRead(StatusRead read, TimingNews& news);
    void machineSpeed(const QString& rpm, TimingNews& news);

    RSComm& m_link;
    AppState& m_state;
    Prompts& m_prompts;
    TimingSnapshot m_snapshot;

    bool m_configPending = false;
    int m_recallRow = -1;             // row of a recall of all channels; -1: none
    bool m_recallSecond = false;      // the row's second recall comes next
    bool m_appearancePending = false; // the online appearance waits for the recall
    StatusRead m_nextRead = StatusRead::Speed;
    bool m_wasStopped = false;
};
