#include "pausedpagecycles.h"

#include "stepdriver.h"

#include <QWidget>

PausedPageCycles::PausedPageCycles(QWidget* window, const StepDriver* keep) {
    if (!window)
        return;
    for (StepDriver* cycle : window->findChildren<StepDriver*>()) {
        if (cycle == keep || !cycle->isActive())
            continue;
        cycle->stop();
        m_paused.append(cycle);
    }
}

PausedPageCycles::~PausedPageCycles() {
    for (const QPointer<StepDriver>& cycle : m_paused) {
        if (cycle)
            cycle->start();
    }
}
