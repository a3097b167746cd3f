// vral-bench-transfer: an "&All" download and an "&All" upload against the
// simulated board on lines paced at 9600 and 19200 bit/s, each made three
// ways in the same run:
//  - link alone: the same link operations in the same order, back to back
//    in a plain loop (what the line and the link allow);
//  - engine: the transfer as vralctl runs it, one step per turn of the
//    event loop;
//  - window: the transfer in its progress window, as the File menu runs it.
// Each way is run kRounds times, in turn, each round starting with another
// way; the best time of each is compared (other load on the machine only
// ever adds time). CPU is the
// process's share of one core over the window's runs.
//
// Usage: vral-bench-transfer [9600|19200]   (default: both)
#include "appfolder.h"
#include "appstate.h"
#include "benchprompts.h"
#include "boardprocess.h"
#include "cputime.h"
#include "datatransfer.h"
#include "frmprocessing.h"
#include "qtserialport.h"
#include "readcountingport.h"
#include "rscomm.h"
#include "systemclock.h"
#include "taskrunner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRounds = 3;
constexpr int kUploadAll = 4;
constexpr int kDownloadAll = 14;
constexpr int kChannels = 16;

struct Run {
    double wallMs = 0;
    double cpuMs = 0;
    long bytesSent = 0;
};

struct Best {
    double wallMs = 1e300;
    double cpuMs = 0; // summed over the rounds, with wallTotalMs
    double wallTotalMs = 0;
    long bytesSent = -1; // the same in every round, or -2
    void add(const Run& run) {
        wallMs = std::min(wallMs, run.wallMs);
        cpuMs += run.cpuMs;
        wallTotalMs += run.wallMs;
        bytesSent = bytesSent == -1 || bytesSent == run.bytesSent ? run.bytesSent : -2;
    }
    double cpuPercent() const { return cpuMs / wallTotalMs * 100; }
};

// One link to a paced simulated board, as vralctl and the program set it up.
struct Line {
    explicit Line(int baud)
        : board({QStringLiteral("--stopped"), QStringLiteral("--baud"), QString::number(baud)}),
          serial(board.device()), port(serial) {}
    bool open() {
        link.OpenRSComm(port);
        return !board.device().isEmpty() && link.linkUp();
    }

    BoardProcess board;
    QTemporaryDir home;
    AppFolder folder{home.path()};
    SystemClock clock;
    BenchPrompts prompts;
    QtSerialPort serial;
    ReadCountingPort port;
    RSComm link{clock, prompts, folder};
};

Run measure(const ReadCountingPort& port, const std::function<void()>& work) {
    const long sentStart = port.bytesSent();
    const double cpuStart = processCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    work();
    return {timer.nsecsElapsed() / 1e6, (processCpuSeconds() - cpuStart) * 1e3,
            port.bytesSent() - sentStart};
}

// The "&All" download's link operations, back to back: the values in index
// order, the configuration block with the scale, then the sixteen channels.
void downloadAlone(RSComm& link, const SetupDocument& doc) {
    for (int i = 0; i <= SetupDocument::ParameterCount && !link.CommError; ++i)
        link.RSWrite(doc.Addresses[i], QString::number(doc.Values[i]));
    std::vector<int> block(24, 0);
    block[0] = doc.PLSProgram;
    for (int j = 0; j < 4; ++j) {
        block[size_t(1 + j)] = doc.SpeedCompensation[size_t(j)];
        block[size_t(6 + j)] = doc.SpeedCompensation[size_t(4 + j)];
    }
    block[18] = doc.PLSChannelCount;
    if (!link.PLSConfigDownload(block, doc.PLSScale))
        return;
    for (int c = 0; c < kChannels && !link.CommError; ++c) {
        const size_t k = size_t(c);
        if (doc.OnSetpoints[k] != 0 || doc.OffSetpoints[k] != 0)
            link.SingleSetpoint(c, doc.OnSetpoints[k], doc.OffSetpoints[k], true);
        else
            link.ClearPLSChan(c);
    }
}

// The "&All" upload's: the values, the configuration, scale and offset,
// then two recalls of each programmed channel.
void uploadAlone(RSComm& link, const SetupDocument& doc) {
    for (int i = 0; i <= SetupDocument::ParameterCount && !link.CommError; ++i)
        link.RSRead(doc.Addresses[i]);
    link.PLSConfigUpload();
    link.PLSScaleFactor();
    link.PLSOffset();
    for (int c = 0; c < kChannels && !link.CommError; ++c) {
        // A channel that answers neither ON (1) nor OFF (0) is not programmed:
        // it is not recalled a second time.
        if (link.RecallChannel(c) && link.ChannelRecallState() > 1)
            continue;
        link.RecallChannel(c);
    }
}

bool engine(Line& line, AppState& state, int kind) {
    DataTransfer transfer(state, line.link, line.prompts, kind);
    TaskRunner runner(line.link, transfer);
    runner.runToEnd();
    return transfer.outcome() == DataTransfer::Outcome::Completed;
}

bool window(Line& line, AppState& state, int kind) {
    DataTransfer transfer(state, line.link, line.prompts, kind);
    TaskRunner runner(line.link, transfer);
    frmProcessing progress(runner, [&transfer] { transfer.cancel(); });
    QEventLoop loop;
    QObject::connect(&runner, &TaskRunner::finished, &loop, &QEventLoop::quit);
    progress.show(); // starts the runner
    if (!runner.hasFinished())
        loop.exec();
    return transfer.outcome() == DataTransfer::Outcome::Completed;
}

void report(const char* what, int baud, const Best& alone, const Best& steps, const Best& shown) {
    std::printf("%s at %d bit/s: link alone %.0f ms; engine %.0f ms (%+.2f%%); window %.0f ms "
                "(%+.2f%%, goal <= 3%%); CPU: link alone %.1f%%, engine %.1f%%, window %.1f%% "
                "of one core (goal < 10%%)",
                what, baud, alone.wallMs, steps.wallMs, (steps.wallMs / alone.wallMs - 1) * 100,
                shown.wallMs, (shown.wallMs / alone.wallMs - 1) * 100, alone.cpuPercent(),
                steps.cpuPercent(), shown.cpuPercent());
    std::printf("; bytes sent %ld/%ld/%ld\n", alone.bytesSent, steps.bytesSent, shown.bytesSent);
}

int fail(const char* what) {
    std::fprintf(stderr, "vral-bench-transfer: %s\n", what);
    return 1;
}

int benchAt(int baud) {
    Line line(baud);
    if (!line.open())
        return fail("the paced simulated board did not answer");
    AppState state;
    state.InitDefaultDocument();
    const SetupDocument document = state.CurrentDocument;

    Best best[2][3]; // [download, upload][link alone, engine, window]
    bool ok = true;
    const std::function<void()> ways[2][3] = {
        {[&] { downloadAlone(line.link, document); },
         [&] { ok = ok && engine(line, state, kDownloadAll); },
         [&] { ok = ok && window(line, state, kDownloadAll); }},
        {[&] { uploadAlone(line.link, document); },
         [&] { ok = ok && engine(line, state, kUploadAll); },
         [&] { ok = ok && window(line, state, kUploadAll); }}};
    // Each round starts with another way, so that none is always first
    // after the change of direction.
    for (int round = 0; round < kRounds && ok; ++round)
        for (int direction = 0; direction < 2; ++direction)
            for (int k = 0; k < 3; ++k) {
                const int way = (round + k) % 3;
                best[direction][way].add(measure(line.port, ways[direction][way]));
            }
    ok = ok && !line.link.CommError;
    if (!ok)
        return fail("a transfer did not complete");
    if (state.CurrentDocument != document)
        return fail("the uploads did not give back the document downloaded");
    report("\"&All\" download", baud, best[0][0], best[0][1], best[0][2]);
    report("\"&All\" upload", baud, best[1][0], best[1][1], best[1][2]);
    line.link.CloseRSComm();
    return line.prompts.boxesShown() == 0 ? 0 : fail("message boxes were shown");
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> bauds{9600, 19200};
    if (argc > 1) {
        const int baud = QString::fromLocal8Bit(argv[1]).toInt();
        if (baud != 9600 && baud != 19200)
            return fail("usage: vral-bench-transfer [9600|19200]");
        bauds = {baud};
    }
    for (const int baud : bauds)
        if (const int status = benchAt(baud))
            return status;
    return 0;
}
