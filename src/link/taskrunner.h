#pragma once

#include <QObject>

class RSComm;
class StepDriver;
class StepTask;

// Runs a StepTask to its end, one step per tick of a step driver (so never
// inside another link transaction), and tells how it goes.
class TaskRunner : public QObject {
    Q_OBJECT

public:
    TaskRunner(const RSComm& link, StepTask& task, QObject* parent = nullptr);

    StepTask& task() const { return m_task; }
    StepDriver& driver() const { return *m_driver; }

    // The first step runs on the next turn of the event loop.
    void start();
    bool isRunning() const { return m_running; }
    bool hasFinished() const { return m_finished; }

    // Starts the task and runs the event loop until it has ended; for
    // vralctl, which has no other loop running.
    void runToEnd();

signals:
    // After every step.
    void progressed();
    // Once, after the last step.
    void finished();

private:
    void runOneStep();

    StepTask& m_task;
    StepDriver* m_driver;
    bool m_running = false;
    bool m_finished = false;
};
