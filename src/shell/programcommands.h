#pragma once

struct CommandContext;

// File > "Download &Program": a new control program into the board.
class ProgramCommands {
public:
    explicit ProgramCommands(CommandContext& context) : m_context(context) {}

    void DownloadProgram();

private:
    CommandContext& m_context;
};
