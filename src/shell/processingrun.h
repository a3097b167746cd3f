#pragma once

#include "commandcontext.h"
#include "frmprocessing.h"
#include "pausedpagecycles.h"
#include "rscomm.h"
#include "taskrunner.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

// A long board command in the progress window ("Uploading Data, Please
// Standby..."): the page cycles behind it held paused (the status poll goes
// on), the task on its runner (one board exchange per step), and the modal
// window whose Cancel cancels the task; all of it for as long as it runs.
template <class Task> struct ProcessingRun {
    template <class... TaskArgs>
    ProcessingRun(CommandContext& context, const QString& pausedWhy, TaskArgs&&... taskArgs)
        : paused(std::make_unique<PausedPageCycles>(context, pausedWhy,
                                                    PausedPageCycles::StatusPoll::Runs)),
          task(std::forward<TaskArgs>(taskArgs)...), runner(context.link, task),
          window(
              runner, [this] { task.cancel(); }, context.window) {}

    std::unique_ptr<PausedPageCycles> paused;
    Task task;
    TaskRunner runner;
    frmProcessing window;
};

// Shows the run's window. When the task has finished the page cycles go on,
// `ended` is called, and the run is dropped on the next turn (the runner is
// still inside its own signal then). The holder belongs to `anchor`'s owner.
template <class Task>
void startProcessingRun(std::unique_ptr<ProcessingRun<Task>>& holder, QObject* anchor,
                        std::function<void()> ended = {}) {
    QObject::connect(&holder->runner, &TaskRunner::finished, anchor,
                     [&holder, anchor, ended = std::move(ended)] {
                         holder->paused.reset();
                         if (ended)
                             ended();
                         QTimer::singleShot(0, anchor, [&holder] { holder.reset(); });
                     });
    holder->window.show();
}
