#include "pausedpagecycles.h"

#include "clock.h"
#include "commandcontext.h"
#include "stepdriver.h"

#include <QWidget>

PausedPageCycles::PausedPageCycles(CommandContext& context, const QString& why, StatusPoll poll) {
    const QString notice = QStringLiteral("Paused since ") +
                           context.clock.now().time().toString(QStringLiteral("HH:mm:ss")) +
                           QLatin1Char(' ') + why;
    StepDriver* statusPoll = &context.statusPoll;
    QList<StepDriver*> cycles;
    if (poll == StatusPoll::Held)
        cycles.append(statusPoll);
    if (context.window)
        cycles.append(context.window->findChildren<StepDriver*>());
    // The status poll, held first, is no longer active when met again
    // among the window's children.
    for (StepDriver* cycle : std::as_const(cycles)) {
        if (!cycle->isActive() || (cycle == statusPoll && poll == StatusPoll::Runs))
            continue;
        cycle->hold(notice);
        m_held.append(cycle);
    }
}

PausedPageCycles::~PausedPageCycles() {
    for (const QPointer<StepDriver>& cycle : std::as_const(m_held)) {
        if (cycle)
            cycle->start();
    }
}
