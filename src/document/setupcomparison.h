#pragma once

#include <QLocale>
#include <QString>
#include <QVector>

struct SetupDocument;

// One line of a comparison of two set-up documents: where the report prints
// it (its lettered heading, or "DF1 Bridge" for the settings the report
// leaves out), its label as the report prints it without the leading and
// trailing blanks (a sub-item after its item's label: "4. Speed
// Compensation (advance): CH03 (msec):", "5. Channel Setpoints (ON - OFF):
// CH10: ON"), and the value in each document.
struct ComparisonItem {
    QString part; // the report's section title: "Set-up Parameters", ...; "DF1 Bridge"
    QString section;
    QString label;
    qint64 left = 0;
    qint64 right = 0;
    // A shift counter: the board counts it on while the machine runs, so it
    // differs from any file within seconds. The report prints it grouped.
    bool counter = false;

    bool differs() const { return left != right; }
    // The value as the report prints it: counters with the locale's digit
    // grouping, everything else in plain decimal.
    QString text(qint64 value, const QLocale& locale) const;
};

// Every item of the two documents in the report's order: the set-up
// parameters, the PLS configuration (the resolver offset after the PLS
// program), the speed compensation, each channel's ON and then OFF
// setpoint, the spindle #1 trip shift offset, the trips per spindle, the
// current and the last shift, then the DF1 bridge settings.
QVector<ComparisonItem> compareDocuments(const SetupDocument& left, const SetupDocument& right);

struct ComparisonCount {
    int items = 0;
    int differing = 0;
};
// How many items there are and how many differ, counters only when asked.
ComparisonCount countItems(const QVector<ComparisonItem>& items, bool withCounters);
