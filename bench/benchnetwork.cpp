// vral-bench-network: memory reads per second through Debian's ser2net on
// loopback (raw TCP and RFC 2217) beside the same simulated line opened
// directly, at 9600 and 19200 bit/s, in one run; the CPU the link uses, as
// a share of one core; and ser2net once more with its default chardelay,
// which holds every character back in case more follow. The lines take
// turns, a second each, three rounds, so a machine whose load drifts
// weighs on all of them alike.
#include "appfolder.h"
#include "benchprompts.h"
#include "boardprocess.h"
#include "cputime.h"
#include "portsettings.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "ser2netprocess.h"
#include "systemclock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kWarmUpReads = 20;
constexpr int kMeasureMs = 1000;
constexpr int kRounds = 3;

struct Tally {
    int reads = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    bool failed = false;

    double readsPerSecond() const { return seconds > 0 ? reads / seconds : 0; }
    double cpuPercent() const { return seconds > 0 ? cpuSeconds / seconds * 100 : 0; }
};

// Reads byte locations for kMeasureMs on a link opened on `device`, as
// vralctl opens it, and adds them to the tally.
void measureReads(const QString& device, int baud, Tally& tally) {
    QTemporaryDir home;
    const AppFolder folder(home.path());
    SystemClock clock;
    BenchPrompts prompts;
    QtSerialPort port(device);
    RSComm link(clock, prompts, folder);
    // The settings file gives the speed the remote port is set to (RFC 2217).
    PortSettingsFile(link.CommSettingsFile()).write({1, baud});
    link.OpenRSComm(port);
    for (int i = 0; i < kWarmUpReads && link.OnlineMode; ++i)
        link.RSRead(QStringLiteral("B%1").arg(1000 + i));
    if (!link.OnlineMode || link.CommError) {
        tally.failed = true;
        return;
    }
    const double cpuStart = processCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    int reads = 0;
    while (timer.elapsed() < kMeasureMs && !link.CommError)
        link.RSRead(QStringLiteral("B%1").arg(1000 + reads++ % 1000));
    tally.seconds += timer.nsecsElapsed() / 1e9;
    tally.cpuSeconds += processCpuSeconds() - cpuStart;
    tally.reads += reads;
    tally.failed = tally.failed || link.CommError || prompts.boxesShown() > 0;
    link.CloseRSComm();
}

struct Line {
    const char* name;
    std::optional<Ser2netProcess::Kind> server; // none: the pty itself
    bool chardelay = false;
};

const Line kLines[] = {
    {"pty, opened directly", std::nullopt},
    {"ser2net raw TCP", Ser2netProcess::Kind::RawTcp},
    {"ser2net RFC 2217", Ser2netProcess::Kind::Rfc2217},
    {"ser2net raw TCP, chardelay on", Ser2netProcess::Kind::RawTcp, true},
    {"ser2net RFC 2217, chardelay on", Ser2netProcess::Kind::Rfc2217, true},
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::printf("%-32s %6s %10s %9s %6s\n", "line", "bit/s", "reads/s", "of direct", "CPU");
    int failures = 0;
    for (const int baud : {9600, 19200}) {
        BoardProcess board(
            {QStringLiteral("--stopped"), QStringLiteral("--baud"), QString::number(baud)});
        if (board.device().isEmpty()) {
            std::fprintf(stderr, "vral-bench-network: the simulated board did not start\n");
            return 1;
        }
        std::vector<std::unique_ptr<Ser2netProcess>> servers;
        QStringList devices;
        for (const Line& line : kLines) {
            if (!line.server) {
                servers.emplace_back();
                devices += board.device();
                continue;
            }
            servers.push_back(
                std::make_unique<Ser2netProcess>(*line.server, board.device(), line.chardelay));
            devices += servers.back()->endpoint();
            if (devices.last().isEmpty()) {
                std::fprintf(stderr, "vral-bench-network: %s\n", qPrintable(servers.back()->why()));
                return 1;
            }
        }
        std::vector<Tally> tallies(devices.size());
        for (int round = 0; round < kRounds; ++round)
            for (int i = 0; i < devices.size(); ++i)
                measureReads(devices[i], baud, tallies[i]);
        const double direct = tallies[0].readsPerSecond();
        for (int i = 0; i < devices.size(); ++i) {
            if (tallies[i].failed) {
                std::printf("%-32s %6d     failed\n", kLines[i].name, baud);
                ++failures;
                continue;
            }
            std::printf("%-32s %6d %10.1f %8.1f%% %5.1f%%\n", kLines[i].name, baud,
                        tallies[i].readsPerSecond(),
                        direct > 0 ? tallies[i].readsPerSecond() / direct * 100 : 0,
                        tallies[i].cpuPercent());
        }
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
