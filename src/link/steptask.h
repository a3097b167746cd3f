#pragma once

#include <QString>

// A long command cut into steps (a data transfer, a program download or
// upload, the report): each step makes one board exchange or handles one
// record and returns. A TaskRunner runs the steps on the step driver; the
// GUI shows a progress window around it, vralctl a progress line.
class StepTask {
public:
    virtual ~StepTask() = default;

    // Does the next piece of work. False once the task has ended, whether it
    // finished, failed or was cancelled; it is not called again after that.
    virtual bool step() = 0;

    // Where the task stands, for a progress bar: 0..progressMaximum().
    virtual int progress() const = 0;
    virtual int progressMaximum() const = 0;
    // What the task is doing now, for a status label or progress line.
    virtual QString statusText() const = 0;

    // How long to wait before the next step: 0 normally; a task that has
    // to let the board settle (a pause after leaving program mode) says so
    // here instead of sleeping.
    virtual int delayBeforeNextStepMs() const { return 0; }
};
