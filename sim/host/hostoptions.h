#pragma once

#include "boardsim.h"

#include <QString>
#include <QStringList>

// What vral-boardsim was asked to do, from its command line.
struct HostOptions {
    QString linkPath;   // symlink to the pty, removed at exit (empty: none)
    int baud = 0;       // 9600 or 19200 paces the line; 0 = unpaced
    QString memoryFile; // image loaded at start when present, saved at exit
    BoardSim::Fault fault = BoardSim::Fault::None;
    int faultCount = 0; // 0: the fault lasts
    int faultAfter = 0; // bytes received before the fault is armed
    bool alarms = false;
    bool stopped = false; // machine model stopped
    bool quiet = false;
    bool reportReads = false; // "reads N" lines on standard output
    quint32 seed = 1;         // the machine model's trips and wandering points
    QStringList settings;     // "ADDRESS=VALUE", applied after the memory file, in order
    QString settingsFile;     // a file of such lines ('#' starts a comment), applied first
    QString listen;           // "[HOST:]PORT": the line served on TCP as well (empty: not)
    bool rfc2217 = false;     // ... as Telnet with the COM-PORT-OPTION instead of raw
};

struct HostOptionsResult {
    HostOptions options;
    QString error;        // set when the command line is wrong
    bool help = false;    // --help was asked for: helpText holds it
    bool version = false; // --version was asked for
    QString helpText;
};

// Parses the arguments (the program name first, as QCoreApplication gives them).
HostOptionsResult parseHostOptions(const QStringList& arguments);
