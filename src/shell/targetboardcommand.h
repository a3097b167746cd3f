#pragma once

#include <QString>

#include <functional>

struct CommandContext;

// View > "&Target Board Interface": asks for a program file, checks its set
// as a download would (a set that cannot be downloaded opens no page) and
// opens the modal target board page for it. A cancelled dialog opens the
// page for the program chosen before. The page lives above the shell; the
// application hands in how to open it before the menu can be used.
class TargetBoardCommand {
public:
    using PageOpener = std::function<void(const QString& programPath)>;

    explicit TargetBoardCommand(CommandContext& context) : m_context(context) {}

    void setPageOpener(PageOpener opener) { m_open = std::move(opener); }
    void show();

private:
    CommandContext& m_context;
    PageOpener m_open;
};
