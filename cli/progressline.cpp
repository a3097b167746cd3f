#include "progressline.h"

#include "steptask.h"
#include "taskrunner.h"

#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {
// Back to the start of the line and clear it.
const char* const kRewind = "\r\x1b[K";
} // namespace

ProgressLine::ProgressLine(TaskRunner& runner) : QObject(&runner), m_runner(runner) {
    if (!wanted())
        return;
    connect(&runner, &TaskRunner::progressed, this, &ProgressLine::show);
    connect(&runner, &TaskRunner::finished, this, &ProgressLine::end);
}

bool ProgressLine::wanted() {
    return isatty(fileno(stderr)) == 1;
}

void ProgressLine::show() {
    const StepTask& task = m_runner.task();
    const QString line = QStringLiteral("%1 %2/%3")
                             .arg(task.statusText())
                             .arg(task.progress())
                             .arg(task.progressMaximum());
    if (line == m_last)
        return;
    m_last = line;
    QTextStream(stderr) << kRewind << line << Qt::flush;
}

void ProgressLine::end() {
    if (!m_last.isEmpty())
        QTextStream(stderr) << kRewind << Qt::flush;
}
