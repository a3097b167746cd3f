#pragma once

#include <QtGlobal>

// What /proc says about a running process.
struct ProcessSample {
    bool valid = false;    // false: the process is gone (or /proc unreadable)
    long residentKiB = 0;  // VmRSS
    double cpuSeconds = 0; // user plus system time so far
    int descriptors = 0;   // entries in /proc/PID/fd
};

ProcessSample sampleProcess(qint64 pid);
