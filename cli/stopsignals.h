#pragma once

#include <signal.h>

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
