#pragma once

#include "steptask.h"

#include <QString>

class Prompts;
class RSComm;
struct AppState;

// One data transfer between the current set-up document and the board, as
// a step task: every step makes one board exchange (a memory read or write,
// or one PLS command), so the progress window, the status poll and Cancel
// stay live between them. The menu commands and vralctl run the same task.
//
// Kinds: 0 set-up parameters (element 0, then 161-178), 1 timing channels,
// 2 shift data (1-160), 4 all (0-178, then the timing channels); a download
// is 10 + the upload's kind. Memory values travel with RSRead/RSWrite at the
// document's own addresses; timing channels with the PLS commands.
//
// A transfer that stops early keeps what it has done: values already read
// stay in the document, values already written stay on the board. Its box
// says so and names the last thing done: an element with its address, the
// PLS configuration or a timing channel.
class DataTransfer : public StepTask {
public:
    enum class Outcome {
        Running,
        Completed,
        Cancelled,        // by cancel(); a box says how far it got
        LinkFailed,       // CommError, or a value the link could not be sure of; box shown
        PlsCommandFailed, // a PLS command refused or failed; the loop ended; box shown
    };

    // kind must be one of the eight transfer kinds (see isTransferKind).
    DataTransfer(AppState& state, RSComm& link, Prompts& prompts, int kind);

    static bool isTransferKind(int kind);

    bool step() override;
    int progress() const override { return m_progress; }
    int progressMaximum() const override { return m_maximum; }
    QString statusText() const override { return m_status; }

    // Asks the transfer to stop before its next value, before its timing
    // channels and between two channels. A channel being programmed is
    // finished first: its clear and its setpoints are one command.
    void cancel() { m_cancel = true; }

    int kind() const { return m_kind; }
    bool isDownload() const { return m_kind >= 10; }
    Outcome outcome() const { return m_outcome; }

private:
    enum class Phase {
        LeadingElement, // set-up kinds: element 0 before the range
        Values,
        TimingStart,
        ConfigUpload,
        ScaleUpload,
        OffsetUpload,
        ConfigDownload,
        Channels,
        Report,
        Done,
    };
    enum class ValueResult { Done, Repeat, Failed };

    // Runs the phase's next piece of work; true when it made a board exchange.
    bool advance();
    bool leadingElement();
    bool nextValue();
    bool timingStart();
    bool configUpload();
    // The scale or offset register read into its document slot.
    bool registerUpload(QString (RSComm::*read)(), qint16& slot, Phase next);
    bool configDownload();
    bool nextChannel();
    bool uploadChannel();
    bool downloadChannel();
    void report();

    ValueResult transferValue(int index);
    // One step's work on the value at index: true once it is done (the
    // transfer moves on), false while it is repeated or when it failed.
    bool valueDone(int index);
    ValueResult readValue(int index);
    ValueResult writeValue(int index);
    void afterValues();
    void finish(Outcome outcome);
    // "Last Written: Element 57 (B1057)", "Last Read: Timing Channel CH10",
    // "Nothing was Written", ...
    QString progressText() const;
    bool hasTiming() const;

    AppState& m_state;
    RSComm& m_link;
    Prompts& m_prompts;
    int m_kind;
    int m_first = 0;
    int m_last = -1;
    int m_maximum = 0;
    QString m_status;

    Phase m_phase = Phase::Values;
    int m_index = 0;
    int m_channel = 0;
    int m_recalls = 0;        // recalls made of the current channel (0..2)
    bool m_repeating = false; // the current value is being read or written again
    int m_progress = 0;
    bool m_cancel = false;
    bool m_abort = false;     // a PLS command reported failure
    bool m_uncertain = false; // a value could not be read or written for sure
    // How far the transfer got: the last element whose exchange succeeded,
    // the PLS configuration (with scale and offset on an upload), the last
    // whole timing channel.
    int m_lastElement = -1;
    bool m_configDone = false;
    int m_lastChannel = -1;
    Outcome m_outcome = Outcome::Running;
};
