// vral-bench-pages: each page open against the simulated board on a line
// paced at 9600 bit/s. Online: the page's byte reads per second against what
// the wire allows and against the same reads made back to back by the link
// alone, and the process's CPU use; offline: the CPU use of the open page.
//
// The pages that draw pictures beside their fields (the shift data page's
// spindle wheel, the main display's speed trend) run online a second time
// with the pictures hidden: the pictures read nothing, so the rates must
// match.
//
// Usage: vral-bench-pages [SECONDS] [PAGE...]
//   SECONDS  each phase (default 10); PAGE one of main, setup, data, io, df1,
//   timing (default: all of them, one after the other on the same board).
// The timing page's exchanges are PLS transactions rather than byte reads:
// for it, the bytes it sends show how busy it keeps the line.
#include "appfolder.h"
#include "appstate.h"
#include "benchprompts.h"
#include "boardprocess.h"
#include "cputime.h"
#include "datapage.h"
#include "df1bridgepage.h"
#include "iodisplaypage.h"
#include "onlinesession.h"
#include "pagefactories.h"
#include "pageservices.h"
#include "qtserialport.h"
#include "readcountingport.h"
#include "rscomm.h"
#include "systemclock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
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
// Every byte read is four bytes on the wire, whatever location it serves.
constexpr double kWireReadsPerSecond = double(kBaud) / (kBitsPerByte * kBytesPerRead);
constexpr int kSettleMs = 1000;
constexpr int kDirectMs = 3000;

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

// A page as the benchmark opens it: its factory and the locations its first
// pass reads on the tab it opens with, for the link-alone comparison (none
// for a page that makes no byte reads).
struct PageUnderTest {
    const char* name;
    const char* description;
    QWidget* (*create)(PageServices&, QWidget*);
    QStringList passReads;
};

QStringList dataPageFirstTab() {
    QStringList reads;
    for (int index = 0; index <= 48; ++index)
        reads << DataPage::dataAddress(index);
    return reads;
}

template <class Page> QStringList everyLocation(int count) {
    QStringList reads;
    for (int index = 0; index < count; ++index)
        reads << Page::location(index);
    return reads;
}

std::vector<PageUnderTest> pagesUnderTest() {
    return {
        {"main",
         "main display (machine speed and two counters, the speed trend)",
         createMainDisplayPage,
         {"W182", "D1100", "D1104"}},
        {"setup",
         "set-up page, tab 1 (5 byte fields)",
         createSetupPage,
         {"B1012", "B1013", "B1014", "B1015", "B1017"}},
        {"data", "shift data page, current shift tab (49 values)", createDataPage,
         dataPageFirstTab()},
        {"io", "I/O display page (15 locations)", createIODisplayPage,
         everyLocation<IODisplayPage>(IODisplayPage::kLocationCount)},
        {"df1", "DF1 bridge page (12 locations, status bytes when B4303 is set)",
         createDF1BridgePage, everyLocation<DF1BridgePage>(DF1BridgePage::kLocationCount)},
        {"timing",
         "machine timing page (status bar, chart and channel rows)",
         createTimingPage,
         {}},
    };
}

struct Rig {
    SystemClock clock;
    BenchPrompts prompts;
    std::unique_ptr<QtSerialPort> serial;
    std::unique_ptr<ReadCountingPort> port;
    std::unique_ptr<RSComm> link;
    std::unique_ptr<OnlineSession> online;
    AppState state;
};

// The locations read straight through the link, back to back: the rate a
// page cannot beat on this line.
double linkAlonePerSecond(Rig& rig, const QStringList& reads) {
    const long start = rig.port->byteReads();
    QElapsedTimer direct;
    direct.start();
    int next = 0;
    while (direct.elapsed() < kDirectMs && !rig.link->CommError)
        rig.link->RSRead(reads[next++ % reads.size()]);
    return (rig.port->byteReads() - start) / (direct.nsecsElapsed() / 1e9);
}

bool benchPage(Rig& rig, const PageUnderTest& page, int seconds) {
    rig.online->goOnline();
    if (!rig.online->linkUp()) {
        fail("the link did not come up");
        return false;
    }
    const double direct = page.passReads.isEmpty() ? 0 : linkAlonePerSecond(rig, page.passReads);
    // No button is clicked here: nothing to acknowledge.
    PageServices services{rig.state, *rig.link,   rig.prompts,
                          rig.clock, *rig.online, [](const QString&) {}};
    std::unique_ptr<QWidget> widget(page.create(services, nullptr));
    widget->show();

    runFor(kSettleMs, *rig.port);
    const Phase online = runFor(seconds * 1000, *rig.port);
    const double perSecond = online.byteReads / online.seconds;
    if (page.passReads.isEmpty())
        std::printf("%s, online at %d bit/s: %.2f s, %.0f bytes sent/s (the wire carries %.0f/s "
                    "each way), CPU %.2f%% of one core (goal < 10%%)\n",
                    page.description, kBaud, online.seconds, online.bytesSent / online.seconds,
                    double(kBaud) / kBitsPerByte, online.cpuPercent);
    else
        std::printf("%s, online at %d bit/s: %ld byte reads in %.2f s = %.1f/s; wire allows "
                    "%.1f/s (%.1f%% of it, goal >= 95%%); the link alone %.1f/s (page %.1f%% of "
                    "it); CPU %.2f%% of one core (goal < 10%%)\n",
                    page.description, kBaud, online.byteReads, online.seconds, perSecond,
                    kWireReadsPerSecond, perSecond / kWireReadsPerSecond * 100, direct,
                    perSecond / direct * 100, online.cpuPercent);
    // The pictures are the children named pic...; hidden, they are not drawn.
    const QList<QWidget*> pictures =
        widget->findChildren<QWidget*>(QRegularExpression(QStringLiteral("^pic")));
    if (!pictures.isEmpty()) {
        for (QWidget* picture : pictures)
            picture->hide();
        runFor(kSettleMs, *rig.port);
        const Phase hidden = runFor(seconds * 1000, *rig.port);
        const double hiddenPerSecond = hidden.byteReads / hidden.seconds;
        std::printf("%s, online with its %lld picture(s) hidden: %.1f/s; with them shown %.1f/s "
                    "(%+.2f%%, goal within 2%%); CPU %.2f%% hidden, %.2f%% shown\n",
                    page.name, static_cast<long long>(pictures.size()), hiddenPerSecond, perSecond,
                    (perSecond - hiddenPerSecond) / hiddenPerSecond * 100, hidden.cpuPercent,
                    online.cpuPercent);
    }
    if (rig.link->CommError) {
        fail("the link failed while the page was online");
        return false;
    }

    rig.online->goOffline();
    runFor(kSettleMs, *rig.port);
    const Phase offline = runFor(seconds * 1000, *rig.port);
    std::printf("%s, offline: %.2f s, %ld board reads, CPU %.2f%% of one core (goal < 2%%)\n",
                page.name, offline.seconds, offline.byteReads, offline.cpuPercent);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int seconds = args.isEmpty() ? 10 : args[0].toInt();
    if (seconds <= 0)
        return fail("usage: vral-bench-pages [SECONDS] [main|setup|data|io|df1|timing...]");
    std::vector<PageUnderTest> pages;
    for (const PageUnderTest& page : pagesUnderTest())
        if (args.size() <= 1 || args.mid(1).contains(QLatin1String(page.name)))
            pages.push_back(page);
    if (pages.empty())
        return fail("usage: vral-bench-pages [SECONDS] [main|setup|data|io|df1|timing...]");

    BoardProcess board({QStringLiteral("--baud"), QString::number(kBaud)});
    if (board.device().isEmpty())
        return fail("the simulated board did not start");

    QTemporaryDir home;
    const AppFolder folder(home.path());
    Rig rig;
    rig.serial = std::make_unique<QtSerialPort>(board.device());
    rig.port = std::make_unique<ReadCountingPort>(*rig.serial);
    rig.link = std::make_unique<RSComm>(rig.clock, rig.prompts, folder);
    rig.online = std::make_unique<OnlineSession>(*rig.link, *rig.port);
    rig.state.InitDefaultDocument();

    for (const PageUnderTest& page : pages)
        if (!benchPage(rig, page, seconds))
            return 1;
    return rig.prompts.boxesShown() == 0 ? 0 : fail("message boxes were shown");
}
