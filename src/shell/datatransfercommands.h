#pragma once

#include <QObject>

#include <memory>

class DataTransfer;
class frmProcessing;
struct CommandContext;
template <class Task> struct ProcessingRun;

// File > "&Upload (save) Data" and "&Download Data": the set-up document
// to and from the board, by the entry's kind (0 set-up parameters, 1 timing
// channels, 2 shift data, 4 all); a download is transfer kind 10 + kind.
// Each asks first; the transfer then runs step by step in its progress
// window while the menu command has already returned.
class DataTransferCommands {
public:
    explicit DataTransferCommands(CommandContext& context);
    ~DataTransferCommands();

    void upload(int kind);
    void download(int kind);
    // Offline question, then the transfer of kind in frmProcessing.
    void RunDataTransfer(int kind);

    // The transfer running now and its window; nullptr when none runs.
    DataTransfer* runningTransfer() const;
    frmProcessing* processingWindow() const;

private:
    CommandContext& m_context;
    std::unique_ptr<ProcessingRun<DataTransfer>> m_running;
    // Lifetime guard of the clean-up queued when a transfer ends.
    QObject m_anchor;
};
