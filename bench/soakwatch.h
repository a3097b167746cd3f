#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QMessageBox;

// Inside the application under soak: once a second, says on standard
// output how many objects and timers are alive and how many bytes the
// heap holds in use ("census OBJECTS TIMERS BYTES")
// and names a message box that has come up ("box TITLE: TEXT"); ends the process with status 1 when
// a message box has stood unanswered for 10 s (the tour answers the ones it expects at once), its
// title and text on standard error.
class SoakWatch : public QObject {
public:
    SoakWatch();

    static constexpr int kUnansweredMs = 10000;

private:
    void look();

    QTimer m_timer;
    QPointer<QMessageBox> m_box;
    int m_boxSeconds = 0;
};
