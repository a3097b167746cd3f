#pragma once

#include "boardprocess.h"

#include <QByteArray>
#include <QStringList>

// vralctl run as a service engineer's script runs it, against the simulated
// board on its pseudo-terminal.

struct CtlRun {
    int exitCode = -1;
    bool crashed = false;
    QStringList out; // stdout lines
    QStringList err; // stderr lines
    qint64 elapsedMs = 0;
};

// Runs vralctl to its end with the given arguments.
CtlRun runVralctl(const QStringList& arguments, int timeoutMs = 30000);

// The arguments that point vralctl at a device with its own application folder.
QStringList linkArguments(const QString& device, const QString& home);

// A 64 KiB board memory image, zero except for the given bytes.
QByteArray memoryImage(const QList<QPair<int, quint8>>& bytes);
