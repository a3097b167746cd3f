#pragma once

#include <QDialog>

#include <functional>

class AlarmHistory;
class Clock;
class Prompts;
class QTreeWidget;

// View > "Alarm &History": the alarms and link losses the status poll saw,
// newest first, the ones still running marked, with "Save &As..." (a CSV
// table) and "&Clear". Not modal: it stays open beside the pages and
// follows the history as the poll adds to it; Escape closes it.
class AlarmHistoryWindow : public QDialog {
    Q_OBJECT

public:
    // clearRecord forgets the record on disk as well as the rows.
    AlarmHistoryWindow(AlarmHistory& history, Prompts& prompts, Clock& clock,
                       std::function<void()> clearRecord, QWidget* parent);

    // Fills the list again from the history.
    void refresh();

private:
    void saveAs();
    void clear();

    AlarmHistory& m_history;
    Prompts& m_prompts;
    Clock& m_clock;
    std::function<void()> m_clearRecord;
    QTreeWidget* m_list = nullptr;
};
