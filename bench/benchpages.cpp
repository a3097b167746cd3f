// vral-bench-pages: the set-up page open against the simulated board on a
// line paced at 9600 bit/s. Online: field updates per second against what
// the wire allows for the visible tab's reads, and the process's CPU use;
// offline: the CPU use of the open page. Then the same two phases for the
// machine timing page (its status bar, chart and channel rows), CPU only.
//
// Usage: vral-bench-pages [SECONDS]   (each phase; default 10)
#include "appfolder.h"
#include "appstate.h"
#include "benchprompts.h"
#include "boardprocess.h"
#include "cputime.h"
#include "onlineswitch.h"
#include "pagefactories.h"
#include "pageservices.h"
#include "qtserialport.h"
#include "readcountingport.h"
#include "rscomm.h"
#include "systemclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace {

constexpr int kBaud = 9600;
constexpr int kBitsPerByte = 10;
constexpr int kBytesPerRead = 4; // address high out, echo back, address low out, data back
// The set-up page's first tab shows five byte locations (B1012-B1015, B1017):
// one byte read per field update.
constexpr double kWireUpdatesPerSecond = double(kBaud) / (kBitsPerByte * kBytesPerRead);
constexpr int kSettleMs = 1000;
constexpr int kDirectMs = 3000;

// Stands in for the main window: takes the port down when the link goes offline.
class BenchOnlineSwitch : public OnlineSwitch {
public:
    explicit BenchOnlineSwitch(RSComm& link) : m_link(link) {}
    void ApplyOnlineMode() override {
        if (!m_link.OnlineMode)
            m_link.CloseRSComm();
    }

private:
    RSComm& m_link;
};

struct Phase {
    double seconds = 0;
    double cpuPercent = 0;
    long byteReads = 0;
    long bytesSent = 0;
};

// Lets the event loop run the page for a while, and what it cost.
Phase runFor(int ms, const ReadCountingPort& port) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    const long readsStart = port.byteReads();
    const long sentStart = port.bytesSent();
    const double cpuStart = processCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    loop.exec();
    Phase phase;
    phase.seconds = timer.nsecsElapsed() / 1e9;
    phase.cpuPercent = (processCpuSeconds() - cpuStart) / phase.seconds * 100;
    phase.byteReads = port.byteReads() - readsStart;
    phase.bytesSent = port.bytesSent() - sentStart;
    return phase;
}

int fail(const char* what) {
    std::fprintf(stderr, "vral-bench-pages: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;
    if (seconds <= 0)
        return fail("usage: vral-bench-pages [SECONDS]");

    BoardProcess board({QStringLiteral("--baud"), QString::number(kBaud)});
    if (board.device().isEmpty())
        return fail("the simulated board did not start");

    QTemporaryDir home;
    const AppFolder folder(home.path());
    SystemClock clock;
    BenchPrompts prompts;
    QtSerialPort serial(board.device());
    ReadCountingPort port(serial);
    RSComm link(clock, prompts, folder);
    BenchOnlineSwitch online(link);
    AppState state;
    state.InitDefaultDocument();
    PageServices services{state, link, prompts, clock, online};

    link.OpenRSComm(port);
    if (!link.OnlineMode || link.CommError)
        return fail("the link did not come up");

    // The same reads straight through the link, back to back, for the link's
    // own rate on this line: the page cannot do better than this.
    const QStringList tabOne{"B1012", "B1013", "B1014", "B1015", "B1017"};
    long directReads = 0;
    QElapsedTimer direct;
    direct.start();
    while (direct.elapsed() < kDirectMs && !link.CommError)
        link.RSRead(tabOne[directReads++ % tabOne.size()]);
    const double directPerSecond = directReads / (direct.nsecsElapsed() / 1e9);
    std::printf("link alone, the same 5 reads back to back: %.1f/s (%.1f%% of the wire)\n",
                directPerSecond, directPerSecond / kWireUpdatesPerSecond * 100);

    std::unique_ptr<QWidget> page(createSetupPage(services, nullptr));
    page->show();

    runFor(kSettleMs, port);
    const Phase onlinePhase = runFor(seconds * 1000, port);
    const double updatesPerSecond = onlinePhase.byteReads / onlinePhase.seconds;
    std::printf("online, tab 1 (5 byte fields), %d bit/s: %ld field updates in %.2f s = %.1f/s; "
                "wire allows %.1f/s (%.1f%% of it, goal >= 95%%); CPU %.2f%% of one core "
                "(goal < 10%%); %.1f%% of the link alone\n",
                kBaud, onlinePhase.byteReads, onlinePhase.seconds, updatesPerSecond,
                kWireUpdatesPerSecond, updatesPerSecond / kWireUpdatesPerSecond * 100,
                onlinePhase.cpuPercent, updatesPerSecond / directPerSecond * 100);
    if (link.CommError)
        return fail("the link failed while the page was online");

    link.OnlineMode = false;
    online.ApplyOnlineMode();
    runFor(kSettleMs, port);
    const Phase offlinePhase = runFor(seconds * 1000, port);
    std::printf("offline: %.2f s, %ld board reads, CPU %.2f%% of one core (goal < 2%%)\n",
                offlinePhase.seconds, offlinePhase.byteReads, offlinePhase.cpuPercent);

    page.reset();

    link.OpenRSComm(port);
    if (!link.OnlineMode || link.CommError)
        return fail("the link did not come up again");
    page.reset(createTimingPage(services, nullptr));
    page->show();
    runFor(kSettleMs, port);
    const Phase timingOnline = runFor(seconds * 1000, port);
    // The page's exchanges are PLS transactions, not byte reads: what it
    // sends shows how busy it keeps the line.
    std::printf("timing page online, %d bit/s: %.2f s, %.0f bytes sent/s (the wire carries "
                "%.0f/s each way), CPU %.2f%% of one core (goal < 10%%)\n",
                kBaud, timingOnline.seconds, timingOnline.bytesSent / timingOnline.seconds,
                double(kBaud) / kBitsPerByte, timingOnline.cpuPercent);
    if (link.CommError)
        return fail("the link failed while the timing page was online");
    link.OnlineMode = false;
    online.ApplyOnlineMode();
    runFor(kSettleMs, port);
    const Phase timingOffline = runFor(seconds * 1000, port);
    std::printf("timing page offline: %.2f s, %ld board reads, CPU %.2f%% of one core "
                "(goal < 2%%)\n",
                timingOffline.seconds, timingOffline.byteReads, timingOffline.cpuPercent);

    page.reset();
    return prompts.boxesShown() == 0 ? 0 : fail("message boxes were shown");
}
