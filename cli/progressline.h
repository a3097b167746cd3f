#pragma once

#include <QObject>

class TaskRunner;

// The progress of a long command (a transfer, a download) on standard
// error, one line rewritten in place: "Downloading Data ... 57/211". Only
// when standard error is a terminal: a script that reads standard error gets
// the message lines alone.
class ProgressLine : public QObject {
    Q_OBJECT

public:
    explicit ProgressLine(TaskRunner& runner);

    // Whether standard error is a terminal.
    static bool wanted();

private:
    void show();
    void end();

    TaskRunner& m_runner;
    QString m_last;
};
