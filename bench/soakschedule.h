#pragma once

#include <QtGlobal>

// When the soak does what, for a run of so many minutes. An hour or more
// runs as a shift would: a page change every 30 s; the target board page,
// an "&All" upload and an "&All" download every 10 minutes; a report to PDF
// every 20 minutes; memory measured against the sample at 5 minutes. A
// shorter run keeps the page change and scales the rest to its length, so
// that every command runs at least once: commands every third of the run
// (whole minutes, at least one), reports every two thirds, the baseline at
// a third but not before 2 minutes. The commands and the first report come
// at 1 minute: the baseline follows the first of everything.
struct SoakSchedule {
    explicit SoakSchedule(int minutes);

    static constexpr qint64 kMinuteMs = 60000;

    int minutes;
    qint64 runMs;
    qint64 pageMs = 30000;
    qint64 firstCommandsMs = kMinuteMs;
    qint64 commandsMs;
    qint64 reportMs;
    qint64 sampleMs = kMinuteMs;
    qint64 baselineMs;
};
