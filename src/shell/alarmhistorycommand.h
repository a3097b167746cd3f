#pragma once

#include "alarmhistory.h"
#include "alarmhistorywindow.h"
#include "alarmlogfile.h"

#include <QObject>
#include <QPointer>

class Clock;
class Prompts;
class QMenu;
class QWidget;
class RSComm;
class StatusPoll;

// The alarm history of the main window: each status poll tick hands it what
// the poll saw (no read of its own); every change goes into the history and
// onto the end of the record on disk, which is read back at start. Adds
// "Alarm &History" to the View menu, which opens the history's window.
class AlarmHistoryCommand : public QObject {
    Q_OBJECT

public:
    AlarmHistoryCommand(const RSComm& link, Prompts& prompts, Clock& clock, QMenu* view,
                        QWidget* window, const QString& recordPath = defaultAlarmLogPath());

    // After every status poll tick.
    void observe(const StatusPoll& poll);
    void show();

    const AlarmHistory& history() const { return m_history; }
    AlarmHistoryWindow* window() const { return m_window; }

private:
    const RSComm& m_link;
    Prompts& m_prompts;
    Clock& m_clock;
    QWidget* m_mainWindow;
    AlarmHistory m_history;
    AlarmLogFile m_record;
    QPointer<AlarmHistoryWindow> m_window;
};
