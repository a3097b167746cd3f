#pragma once

#include <QObject>

#include <functional>
#include <memory>

class StepTask;
class frmDownloadProg;
struct CommandContext;

// File > "Download Pro&gram" replaces the board's control program with the
// image of a program file set; File > "Up&load Program..." reads the
// board's program back into the set of an existing program file (a backup
// before a new program goes in). Each asks for the program file and for
// confirmation, stops the status poll, and runs the transfer step by step
// in frmDownloadProg while the menu command has already returned. When the
// transfer has ended the status poll starts again and the port, status bar
// and menus follow the OnlineMode the transfer left behind.
class ProgramCommands {
public:
    explicit ProgramCommands(CommandContext& context);
    ~ProgramCommands();

    void downloadProgram();
    void UploadProgram();

    // The transfer running now and its window; nullptr when none runs.
    StepTask* runningTask() const;
    frmDownloadProg* progressWindow() const;

private:
    struct Running;

    void run(std::unique_ptr<StepTask> task, int mode, std::function<void()> cancel);
    void transferEnded();

    CommandContext& m_context;
    std::unique_ptr<Running> m_running;
    // Lifetime guard of the clean-up queued when a transfer ends.
    QObject m_anchor;
};
