// vral-bench-simulate: what "vral --simulate" costs left running online with
// the main display shown: the whole main window and the in-process board on
// a line paced like a real one, recording off, as vral builds them. Prints
// the CPU use and the growth of the resident memory over the run.
//
// Usage: vral-bench-simulate [SECONDS]   (default 60; the goal is stated for 600)
#include "appfolder.h"
#include "appstate.h"
#include "benchprompts.h"
#include "boardsim.h"
#include "cputime.h"
#include "frmmdimain.h"
#include "pagefactories.h"
#include "rscomm.h"
#include "simulatedport.h"
#include "systemclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Resident set size in KiB, from /proc/self/status.
long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    QTemporaryDir home;
    const AppFolder folder(home.path());
    SystemClock clock;
    BenchPrompts prompts;
    AppState state;
    BoardSim board(clock);
    board.setMachineRunning(true);
    SimulatedPort port(board, clock);
    port.setPaced(true);
    port.setRecording(false);
    RSComm link(clock, prompts, folder);
    frmMDIMain window(state, link, port, prompts, clock, folder,
                      {PageEntry{QStringLiteral("frmMain"), QStringLiteral("&1 Main Display"), true,
                                 createMainDisplayPage}});
    window.show();
    window.onlineSession().goOnline();
    if (!link.OnlineMode) {
        std::printf("the simulated board did not answer\n");
        return 1;
    }
    runFor(3000); // settle: first page passes, allocations that happen once
    const long rssBefore = residentKiB();
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    const double cpu = processCpuSeconds() - cpuBefore;
    const double elapsed = wall.elapsed() / 1000.0;
    const long rssAfter = residentKiB();
    std::printf("vral --simulate, online, main display, %.0f s at %s: CPU %.2f%% of one core "
                "(goal < 10%%); resident memory %ld KiB -> %ld KiB, growth %ld KiB "
                "(goal < 2 MB in ten minutes)\n",
                elapsed, qPrintable(port.settings()), 100.0 * cpu / elapsed, rssBefore, rssAfter,
                rssAfter - rssBefore);
    link.CloseRSComm();
    return 0;
}
