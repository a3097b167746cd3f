// vral-bench-network: memory reads per second through Debian's ser2net on
// loopback (raw TCP and RFC 2217) beside the same simulated line opened
// directly, at 9600 and 19200 bit/s, in one run; the CPU the link uses, as
// a share of one core; and ser2net once more with its default chardelay,
// which holds every character back in case more follow.
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

namespace {

constexpr int kWarmUpReads = 20;
constexpr int kMeasureMs = 3000;

struct Rate {
    double readsPerSecond = 0;
    double cpuPercent = 0;
};

// Reads byte locations for kMeasureMs on a link opened on `device`, as
// vralctl opens it; nothing when the link did not come up or a read failed.
std::optional<Rate> measureReads(const QString& device, int baud) {
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
    if (!link.OnlineMode || link.CommError)
        return std::nullopt;
    const double cpuStart = processCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    int reads = 0;
    while (timer.elapsed() < kMeasureMs && !link.CommError)
        link.RSRead(QStringLiteral("B%1").arg(1000 + reads++ % 1000));
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = processCpuSeconds() - cpuStart;
    const bool failed = link.CommError || prompts.boxesShown() > 0;
    link.CloseRSComm();
    if (failed)
        return std::nullopt;
    return Rate{reads / seconds, cpu / seconds * 100};
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
        double direct = 0;
        for (const Line& line : kLines) {
            std::unique_ptr<Ser2netProcess> server;
            QString device = board.device();
            if (line.server) {
                server =
                    std::make_unique<Ser2netProcess>(*line.server, board.device(), line.chardelay);
                device = server->endpoint();
                if (device.isEmpty()) {
                    std::fprintf(stderr, "vral-bench-network: %s\n", qPrintable(server->why()));
                    return 1;
                }
            }
            const std::optional<Rate> rate = measureReads(device, baud);
            if (!rate) {
                std::printf("%-32s %6d     failed\n", line.name, baud);
                ++failures;
                continue;
            }
            if (!line.server)
                direct = rate->readsPerSecond;
            std::printf("%-32s %6d %10.1f %8.1f%% %5.1f%%\n", line.name, baud, rate->readsPerSecond,
                        direct > 0 ? rate->readsPerSecond / direct * 100 : 0, rate->cpuPercent);
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}
