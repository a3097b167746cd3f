#pragma once

#include "appstate.h"
#include "datatransfer.h"
#include "steptask.h"

// The board read into a scratch document for a comparison, by the "&All"
// upload's own exchanges (the data transfer engine: the same order, the
// same reads at the document's addresses, the same mends of a wrong echo
// or a recall without setpoints). The scratch starts as a copy of the
// document it is to be compared with, so an element whose address names no
// board location keeps that document's value and shows no difference.
// Nothing is written to the board and the document passed in is not touched.
class BoardReadback : public StepTask {
public:
    BoardReadback(const SetupDocument& base, RSComm& link, Prompts& prompts);

    bool step() override { return m_transfer.step(); }
    int progress() const override { return m_transfer.progress(); }
    int progressMaximum() const override { return m_transfer.progressMaximum(); }
    QString statusText() const override { return m_transfer.statusText(); }

    // As the progress window's Cancel: before the next value or channel.
    void cancel() { m_transfer.cancel(); }
    // Only a complete read is a board to compare with; a cancelled or
    // failed one has said so in its box.
    bool completed() const { return m_transfer.outcome() == DataTransfer::Outcome::Completed; }
    const SetupDocument& document() const { return m_scratch.CurrentDocument; }

private:
    AppState m_scratch;
    DataTransfer m_transfer;
};
