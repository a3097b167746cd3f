#pragma once

#include <signal.h>

#include <functional>

class TaskRunner;

// Catches Ctrl+C (SIGINT) and SIGTERM while a long command runs, so that it
// can end at a clean point with the link taken down instead of dying in
// the middle of an exchange; gives the old handling back afterwards.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    bool stopRequested() const;

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

// Runs a long command's task to its end; Ctrl+C or SIGTERM meanwhile calls
// cancel, which the task takes before its next step, as the progress
// window's Cancel.
void runToEndStoppable(TaskRunner& runner, const std::function<void()>& cancel);
