#pragma once

#include "boardprocess.h"
#include "soakschedule.h"

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <memory>

// The soak seen from outside: starts the simulated board (paced at 19200
// bit/s, alarms coming and going, saying when it answers reads) and the
// application as a child process driven through its menus, samples the
// child from /proc every minute and prints one line per sample, and fails
// on growing memory or descriptors (the run goes on to its end), a stuck
// board conversation, a box left unanswered (the child says so and ends) or
// a crash (those end the run). Prints a summary.
class SoakMonitor : public QObject {
public:
    // home: the application folder the child runs in.
    SoakMonitor(const SoakSchedule& schedule, const QString& home);
    ~SoakMonitor() override;

    // Runs the soak; the exit status: 0 passed, 1 failed.
    int run();

    static constexpr qint64 kReadGapMs = 10000;
    static constexpr long kGrowthKiB = 2048;

private:
    struct Sample {
        qint64 atMs = 0;
        long residentKiB = 0;
        double cpuSeconds = 0;
        int descriptors = 0;
        qsizetype objects = 0;
        int timers = 0;
        long heapKiB = 0;
    };

    void readBoard();
    void readApp();
    void checkReads();
    void sample();
    void appFinished(int exitCode, QProcess::ExitStatus status);
    // A failure that stops the run (the application is gone or stuck), and
    // one the run goes on after, so that its figures cover the whole time.
    void fail(const QString& reason);
    void record(const QString& reason);
    void finish();
    void printSummary() const;
    qint64 sinceLastReadMs() const;
    QString lastBoxText() const;

    SoakSchedule m_schedule;
    QString m_home;
    std::unique_ptr<BoardProcess> m_board;
    QProcess m_app;
    QElapsedTimer m_clock;
    QTimer m_checkTimer;
    QTimer m_sampleTimer;
    QTimer m_endTimer;

    qint64 m_lastReadMs = -1; // on m_clock; -1: no read yet
    qint64 m_longestGapMs = 0;
    qsizetype m_objects = 0;
    int m_timers = 0;
    long m_heapKiB = 0;
    QMap<QString, int> m_done; // "did WHAT" lines counted
    QString m_lastBox;         // the last box the application showed, and when
    qint64 m_lastBoxMs = -1;
    QList<Sample> m_samples;
    int m_baseline = -1; // index into m_samples
    int m_descriptorRises = 0;
    QString m_loadAtStart;
    QString m_failure;
    bool m_finished = false;
};
