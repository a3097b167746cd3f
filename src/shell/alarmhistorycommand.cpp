#include "alarmhistorycommand.h"

#include "clock.h"
#include "rscomm.h"
#include "shelllog.h"
#include "statuspoll.h"

#include <QAction>
#include <QMenu>

AlarmHistoryCommand::AlarmHistoryCommand(const RSComm& link, Prompts& prompts, Clock& clock,
                                         QMenu* view, QWidget* window, const QString& recordPath)
    : QObject(window), m_link(link), m_prompts(prompts), m_clock(clock), m_mainWindow(window),
      m_record(recordPath) {
    m_history.restore(m_record.read());
    auto* action = new QAction(QStringLiteral("Alarm &History"), view);
    action->setObjectName(QStringLiteral("mnuViewAlarmHistory"));
    // Beside the other window of the View menu, before the online commands.
    const QList<QAction*> entries = view->actions();
    view->insertAction(entries.size() > 1 ? entries.at(1) : nullptr, action);
    connect(action, &QAction::triggered, this, &AlarmHistoryCommand::show);
}

void AlarmHistoryCommand::observe(const StatusPoll& poll) {
    const bool linkUp = m_link.OnlineMode && !m_link.CommError;
    const QVector<AlarmEvent> events =
        m_history.observe(m_clock.now(), linkUp, m_link.CommError, poll.latches());
    for (const AlarmEvent& event : events) {
        if (!m_record.append(event))
            qCWarning(lcShell) << "cannot write the alarm record" << m_record.path();
    }
    if (!events.isEmpty() && m_window)
        m_window->refresh();
}

void AlarmHistoryCommand::show() {
    if (!m_window) {
        m_window = new AlarmHistoryWindow(
            m_history, m_prompts, m_clock,
            [this] {
                m_history.clear();
                m_record.clear();
            },
            m_mainWindow);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
