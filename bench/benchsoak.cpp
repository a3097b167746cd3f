// vral-bench-soak: the application left online beside a running machine for
// a shift, doing what an operator does, watched from outside for leaks, a
// stuck board conversation, a box nobody answers and a crash.
//
// Usage: vral-bench-soak [MINUTES]   (default 60)
//
// It starts vral-boardsim --baud 19200 --alarms and, as a child process,
// the application (the same VralApplication as vral, off screen) taken
// through its menus by a tour: every page of the page table in turn every
// 30 s, the target board page, an "&All" upload and an "&All" download
// every 10 minutes, a report to PDF every 20 minutes (SoakSchedule says how
// shorter runs scale). Every minute it prints the child's resident memory,
// CPU, open descriptors, timers and live objects (the child counts its own)
// and how long ago the board last answered a read; then a summary. Exit
// status 0 when the run passed, 1 when it failed (the reason printed), 2 for
// a wrong command line.
//
// The child is this program again: vral-bench-soak --drive DEVICE HOME MINUTES.
#include "appfolder.h"
#include "objectcensus.h"
#include "offscreenmessages.h"
#include "qtserialport.h"
#include "screenshotlist.h"
#include "screentour.h"
#include "soakmonitor.h"
#include "soakschedule.h"
#include "soaksteps.h"
#include "soakwatch.h"
#include "systemclock.h"
#include "vralapplication.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fputs("usage: vral-bench-soak [MINUTES]\n", stderr);
    return 2;
}

// The application folder for the child: the support files built beside
// this program, and a port set for the board's 19200 bit/s.
bool makeHome(const QString& home) {
    const QDir built(QCoreApplication::applicationDirPath() + QStringLiteral("/support"));
    const QDir support(home + QStringLiteral("/Support"));
    if (!QDir().mkpath(support.path()))
        return false;
    for (const QString& name : built.entryList(QDir::Files))
        if (!QFile::copy(built.filePath(name), support.filePath(name)))
            return false;
    QFile port(support.filePath(QStringLiteral("RSPort.cfg")));
    return port.open(QIODevice::WriteOnly | QIODevice::Truncate) && port.write("1,19200\r\n") > 0;
}

int drive(int argc, char* argv[]) {
    ObjectCensus::install();
    quietenOffscreenMessages();
    const QString device = QString::fromLocal8Bit(argv[2]);
    const QString home = QString::fromLocal8Bit(argv[3]);
    // The soak's alarm history is its own, not the user's.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/data")));
    QApplication app(argc, argv);
    const SoakSchedule schedule(QByteArray(argv[4]).toInt());

    const AppFolder folder(home);
    SystemClock clock;
    QtSerialPort port;
    VralApplication vral(clock, port, folder, nullptr);
    vral.window().show();

    ShotFiles files{home, {}, {}, {}};
    if (!writeProgramSets(home, files)) {
        std::fprintf(stderr, "cannot write a program file set in %s\n", qPrintable(home));
        return 1;
    }
    ScreenTour tour(vral, port, home);
    addSoakSteps(tour, vral, schedule, device, files);
    const SoakWatch watch;
    tour.start([](int status) { QCoreApplication::exit(status); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 5 && std::strcmp(argv[1], "--drive") == 0)
        return drive(argc, argv);
    if (argc > 2)
        return usage();
    QCoreApplication app(argc, argv);
    const int minutes = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    if (minutes < 1)
        return usage();
    QTemporaryDir home;
    if (!home.isValid() || !makeHome(home.path())) {
        std::fputs("vral-bench-soak: cannot make the application folder\n", stderr);
        return 1;
    }
    SoakMonitor monitor{SoakSchedule(minutes), home.path()};
    return monitor.run();
}
