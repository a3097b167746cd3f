#include "taskrunner.h"

#include "stepdriver.h"
#include "steptask.h"

#include <QEventLoop>

TaskRunner::TaskRunner(const RSComm& link, StepTask& task, QObject* parent)
    : QObject(parent), m_task(task), m_driver(new StepDriver(
                                         link, [this] { runOneStep(); },
                                         [this] { return m_task.delayBeforeNextStepMs(); }, this)) {
}

void TaskRunner::start() {
    if (m_running || m_finished)
        return;
    m_running = true;
    m_driver->start();
}

void TaskRunner::runOneStep() {
    const bool more = m_task.step();
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
