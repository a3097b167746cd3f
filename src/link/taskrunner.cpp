#include "taskrunner.h"

#include "clock.h"
#include "rscomm.h"
#include "stepdriver.h"
#include "steptask.h"

#include <QEventLoop>

TaskRunner::TaskRunner(const RSComm& link, StepTask& task, QObject* parent)
    : QObject(parent), m_task(task), m_clock(link.clock()),
      m_driver(new StepDriver(
          link, [this] { runOneStep(); }, [this] { return pauseLeftMs(); }, this)) {}

int TaskRunner::pauseLeftMs() const {
    return static_cast<int>(qMax<qint64>(0, m_resumeAtMs - m_clock.monotonicMs()));
}

void TaskRunner::start() {
    if (m_running || m_finished)
        return;
    m_running = true;
    m_driver->start();
}

void TaskRunner::runOneStep() {
    // A timer may fire a little before its time; a pause the task asked for
    // (the board storing its program) ends by the clock, never early. The
    // driver then waits for what is left of it.
    if (pauseLeftMs() > 0)
        return;
    const bool more = m_task.step();
    m_resumeAtMs = m_clock.monotonicMs() + m_task.delayBeforeNextStepMs();
    emit progressed();
    if (more)
        return;
    m_driver->stop();
    m_running = false;
    m_finished = true;
    emit finished();
}

void TaskRunner::runToEnd() {
    if (m_finished)
        return;
    QEventLoop loop;
    connect(this, &TaskRunner::finished, &loop, &QEventLoop::quit);
    start();
    if (!m_finished)
        loop.exec();
}
