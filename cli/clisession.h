#pragma once

#include "appfolder.h"
#include "cliprompts.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "systemclock.h"

#include <QString>

#include <memory>

class ByteTrace;

// Everything a vralctl command works with, built from the common options:
// the clock, the prompts that print to standard error, the application
// folder, the serial port and the link.
class CliSession {
public:
    struct Options {
        QString device; // --device or VRAL_DEVICE
        QString home;   // --home; empty: VRAL_HOME, else the folder as installed
        QString trace;  // --trace FILE; empty: none
        int retries = 0;
    };

    explicit CliSession(const Options& options);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Opens the trace file; false with a one-line message when it cannot.
    bool startTrace();

    // Opens the port and brings the link up; false when the board did not
    // answer (the link's boxes were printed).
    bool goOnline();
    // Takes the link down (a last 0xFF unless it failed) and returns status.
    int finish(int status);

    SystemClock clock;
    CliPrompts prompts;
    AppFolder folder;
    QtSerialPort port;
    RSComm link;

private:
    QString m_tracePath;
    std::unique_ptr<ByteTrace> m_trace;
};

// A one-line complaint on standard error, "vralctl: " first.
void complain(const QString& message);
