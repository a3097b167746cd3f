#pragma once

struct CommandContext;

// File > "&Print Report...": the set-up report.
class ReportCommands {
public:
    explicit ReportCommands(CommandContext& context) : m_context(context) {}

    void PrintReport();

private:
    CommandContext& m_context;
};
