#pragma once

struct CommandContext;

// View > "&Target Board Interface": the modal target board page.
class TargetBoardCommand {
public:
    explicit TargetBoardCommand(CommandContext& context) : m_context(context) {}

    void Show();

private:
    CommandContext& m_context;
};
