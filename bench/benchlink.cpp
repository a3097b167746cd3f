// vral-bench-link: what the link costs over a real pseudo-terminal against
// the simulated board.
//  (a) the floor: a bare blocking one-byte exchange (0xFF out, the board's
//      0x55 back) with plain POSIX write/read;
//  (b) RSRead through RSComm and QtSerialPort, per exchange (one byte read
//      is two exchanges, four wire bytes), wall and CPU time; again with a
//      wait observer installed, as vral has one, which a healthy line must
//      never call and must not pay for;
//  (c) a blocking wait on a quiet line, CPU used;
//  (d) 100 byte reads on a line paced at 9600 bit/s against the wire time.
#include "appfolder.h"
#include "benchprompts.h"
#include "boardprocess.h"
#include "cputime.h"
#include "linkwaitobserver.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "systemclock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kEchoExchanges = 20000;
constexpr int kLinkReads = 10000;
constexpr int kWarmUpReads = 200;
constexpr int kQuietWaitMs = 1000;
constexpr int kPacedReads = 100;
constexpr int kPacedBaud = 9600;
constexpr int kBitsPerByte = 10;   // start, 8 data, stop
constexpr int kBytesPerRead = 4;   // address high out, echo back, address low out, data back
constexpr int kHandshakeBytes = 4; // 0xFF/0x55, 0x01/0x55 before the first read

struct Cost {
    double wallUs = 0;
    double cpuUs = 0;
};

// Wall and CPU time of a piece of work, per unit of it.
template <class Work> Cost measure(int units, Work work) {
    const double cpuStart = processCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    work();
    const double wallUs = timer.nsecsElapsed() / 1e3;
    const double cpuUs = (processCpuSeconds() - cpuStart) * 1e6;
    return {wallUs / units, cpuUs / units};
}

// (a) The attention byte is answered 0x55 however often it is repeated.
bool bareEcho(const QString& device, int exchanges, Cost& cost) {
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return false;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio); // blocking reads of at least one byte
    ::tcsetattr(fd, TCSANOW, &tio);
    ::tcflush(fd, TCIFLUSH);
    bool ok = true;
    cost = measure(exchanges, [&] {
        const unsigned char attention = 0xFF;
        unsigned char reply = 0;
        for (int i = 0; i < exchanges && ok; ++i)
            ok = ::write(fd, &attention, 1) == 1 && ::read(fd, &reply, 1) == 1 && reply == 0x55;
    });
    ::close(fd);
    return ok;
}

// One link on a device, as vralctl sets it up.
struct Link {
    explicit Link(const QString& device) : port(device) {}
    bool open() {
        link.OpenRSComm(port);
        return link.linkUp();
    }

    QTemporaryDir home;
    AppFolder folder{home.path()};
    SystemClock clock;
    BenchPrompts prompts;
    QtSerialPort port;
    RSComm link{clock, prompts, folder};
};

// Counts the long waits it is told of.
struct CountingObserver : LinkWaitObserver {
    void stillWaiting(qint64) override { ++calls; }
    void waitEnded() override {}
    int calls = 0;
};

// Reads count byte locations from B1000 on; false when any read failed.
bool readBytes(RSComm& link, int count) {
    for (int i = 0; i < count && !link.CommError; ++i)
        link.RSRead(QStringLiteral("B%1").arg(1000 + i % 1000));
    return !link.CommError;
}

int fail(const char* what) {
    std::fprintf(stderr, "vral-bench-link: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);

    BoardProcess board({QStringLiteral("--stopped")});
    if (board.device().isEmpty())
        return fail("the simulated board did not start");

    Cost echo;
    if (!bareEcho(board.device(), kEchoExchanges, echo))
        return fail("bare echo exchange failed");
    std::printf("(a) bare blocking 1-byte exchange (POSIX write/read): %.1f us per exchange, "
                "%.1f us CPU (%d exchanges)\n",
                echo.wallUs, echo.cpuUs, kEchoExchanges);

    Link unpaced(board.device());
    if (!unpaced.open() || !readBytes(unpaced.link, kWarmUpReads))
        return fail("the link did not come up");
    bool ok = true;
    const Cost perRead = measure(kLinkReads, [&] { ok = readBytes(unpaced.link, kLinkReads); });
    if (!ok)
        return fail("a read failed");
    const Cost perExchange{perRead.wallUs / 2, perRead.cpuUs / 2};
    std::printf("(b) RSRead via RSComm + QtSerialPort: %.1f us per read, %.1f us per exchange, "
                "%.1f us CPU per exchange (%d reads)\n",
                perRead.wallUs, perExchange.wallUs, perExchange.cpuUs, kLinkReads);
    std::printf("    ratio to the bare exchange: %.2fx (goal <= 1.5x)\n",
                perExchange.wallUs / echo.wallUs);

    CountingObserver observer;
    unpaced.link.setWaitObserver(&observer);
    const Cost observed = measure(kLinkReads, [&] { ok = readBytes(unpaced.link, kLinkReads); });
    unpaced.link.setWaitObserver(nullptr);
    if (!ok)
        return fail("a read failed");
    std::printf("    with a wait observer: %.1f us per exchange, %.1f us CPU per exchange, "
                "%.2fx the bare exchange; observer called %d times\n",
                observed.wallUs / 2, observed.cpuUs / 2, observed.wallUs / 2 / echo.wallUs,
                observer.calls);

    const Cost wait = measure(1, [&] { unpaced.port.waitForBytes(kQuietWaitMs); });
    std::printf("(c) blocking wait on a quiet line: %.0f ms wall, %.3f ms CPU\n", wait.wallUs / 1e3,
                wait.cpuUs / 1e3);
    unpaced.link.CloseRSComm();

    BoardProcess pacedBoard(
        {QStringLiteral("--stopped"), QStringLiteral("--baud"), QString::number(kPacedBaud)});
    if (pacedBoard.device().isEmpty())
        return fail("the paced simulated board did not start");
    Link paced(pacedBoard.device());
    if (!paced.open())
        return fail("the paced link did not come up");
    const Cost pacedRun = measure(1, [&] { ok = readBytes(paced.link, kPacedReads); });
    if (!ok)
        return fail("a paced read failed");
    const double wireMs =
        (kPacedReads * kBytesPerRead + kHandshakeBytes) * kBitsPerByte * 1e3 / kPacedBaud;
    const double measuredMs = pacedRun.wallUs / 1e3;
    std::printf("(d) %d byte reads at %d bit/s: %.1f ms measured, %.1f ms on the wire "
                "(%d bytes), %.1f%% over (goal <= 3%%); CPU %.1f ms (%.1f%% of the time)\n",
                kPacedReads, kPacedBaud, measuredMs, wireMs,
                kPacedReads * kBytesPerRead + kHandshakeBytes, (measuredMs / wireMs - 1) * 100,
                pacedRun.cpuUs / 1e3, pacedRun.cpuUs / pacedRun.wallUs * 100);
    paced.link.CloseRSComm();

    // The same line without the link: how long the paced board itself takes.
    Cost pacedEcho;
    if (!bareEcho(pacedBoard.device(), kPacedReads * 2, pacedEcho))
        return fail("bare echo on the paced line failed");
    const int pacedExchanges = (kPacedReads * kBytesPerRead + kHandshakeBytes) / 2;
    const double floorMs = pacedEcho.wallUs * pacedExchanges / 1e3;
    std::printf("    bare POSIX exchanges on the same paced line: %.1f us per exchange "
                "(wire %.1f us, %.1f%% over); %d of them take %.1f ms: the link adds %.1f%%\n",
                pacedEcho.wallUs, 2 * kBitsPerByte * 1e6 / kPacedBaud,
                (pacedEcho.wallUs * kPacedBaud / (2 * kBitsPerByte * 1e6) - 1) * 100,
                pacedExchanges, floorMs, (measuredMs / floorMs - 1) * 100);

    const int boxes = unpaced.prompts.boxesShown() + paced.prompts.boxesShown();
    return boxes == 0 ? 0 : fail("the link showed message boxes");
}
