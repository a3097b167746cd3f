#pragma once

#include <QObject>

class Clock;
class RSComm;
class StepDriver;
class StepTask;

// Runs a StepTask to its end, one step per tick of a step driver (so never
// inside another link transaction), and tells how it goes. A pause the task
// asks for lasts at least its time on the link's clock, however early the
// timer fires.
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
    // What is left of the pause the last step asked for; 0 when none.
    int pauseLeftMs() const;

    StepTask& m_task;
    const Clock& m_clock;
    qint64 m_resumeAtMs = 0;
    StepDriver* m_driver;
    bool m_running = false;
    bool m_finished = false;
};
