// vral-bench-program: a program download and a program upload against the
// simulated board on a line paced at 19200 bit/s, each run twice: as the
// step tasks the progress window and vralctl run (one board exchange per
// turn of the event loop), and as the link alone making the same exchanges
// in a plain loop. Each is set beside the wire time of the bytes it moved
// (plus the download's fixed pauses). The link alone runs first.
//  (a) download of a 32 KiB image: 2048 records of 16 bytes;
//  (b) upload of a code "D" board: 32,768 single-byte reads.
// Prints wall time, % over the link alone, CPU as % of one core, and the
// longest step (how long the event loop is held at most).
#include "appfolder.h"
#include "boardprocess.h"
#include "cputime.h"
#include "dumpprogram.h"
#include "programfileformats.h"
#include "programfileset.h"
#include "qtserialport.h"
#include "readcountingport.h"
#include "rscomm.h"
#include "steptask.h"
#include "systemclock.h"
#include "taskrunner.h"
#include "uploadprogram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kBaud = 19200;
constexpr int kBitsPerByte = 10;    // start, 8 data, stop
constexpr int kImageFirst = 0x4000; // code "D" program memory: 0x4000..0xBFFF
constexpr int kImageBytes = 0x8000;
constexpr int kRecordBytes = 16;
constexpr int kIdentBlock = 61424;
constexpr int kIdentLocations = 10;
constexpr int kStartPauseMs = 100;
constexpr int kSettlePauseMs = 2000;
constexpr int kChecksumReplyMs = 1000;

// Every box is kept; the download's comparison is answered Yes, every
// other question No, a link failure Cancel.
class RecordingPrompts : public Prompts {
public:
    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton = DefaultButton::First) override {
        boxes << title + QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), " ");
        if (icon == Icon::Question)
            return Answer::Yes;
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialog&) override { return std::nullopt; }
    std::optional<PrintDialog> printSetup(const PrintDialog&) override { return std::nullopt; }

    QStringList boxes;
};

// Times each step of the task it runs.
class TimedTask : public StepTask {
public:
    explicit TimedTask(StepTask& task) : m_task(task) {}
    bool step() override {
        QElapsedTimer timer;
        timer.start();
        const bool more = m_task.step();
        longestMs = std::max(longestMs, timer.nsecsElapsed() / 1e6);
        return more;
    }
    int progress() const override { return m_task.progress(); }
    int progressMaximum() const override { return m_task.progressMaximum(); }
    QString statusText() const override { return m_task.statusText(); }
    int delayBeforeNextStepMs() const override { return m_task.delayBeforeNextStepMs(); }

    double longestMs = 0;

private:
    StepTask& m_task;
};

struct Run {
    double wallS = 0;
    double cpuS = 0;
    long bytes = 0; // both ways
    double longestStepMs = 0;
};

struct Link {
    explicit Link(const QString& device) : port(device), counting(port) {}

    QTemporaryDir home;
    AppFolder folder{home.path()};
    SystemClock clock;
    RecordingPrompts prompts;
    QtSerialPort port;
    ReadCountingPort counting;
    RSComm link{clock, prompts, folder};
};

template <class Work> Run measure(Link& l, Work work) {
    const long bytesBefore = l.counting.bytesSent() + l.counting.bytesRead();
    const double cpuStart = processCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    work();
    Run run;
    run.wallS = timer.nsecsElapsed() / 1e9;
    run.cpuS = processCpuSeconds() - cpuStart;
    run.bytes = l.counting.bytesSent() + l.counting.bytesRead() - bytesBefore;
    return run;
}

Run runTask(Link& l, StepTask& task) {
    TimedTask timed(task);
    Run run = measure(l, [&] {
        TaskRunner runner(l.link, timed);
        runner.runToEnd();
    });
    run.longestStepMs = timed.longestMs;
    return run;
}

QString identAddress(int k) {
    return QStringLiteral("B%1").arg(kIdentBlock + k);
}

// The exchanges of a download, in the task's order, without the task.
bool downloadByLink(RSComm& link, const std::vector<ImageRecord>& records) {
    for (int k = 0; k < kIdentLocations; ++k)
        link.ReadLocation(identAddress(k));
    link.RSWrite(QStringLiteral("B8181"), QStringLiteral("86"));
    link.RSWrite(QStringLiteral("B8176"), QStringLiteral("0"));
    QThread::msleep(kStartPauseMs);
    link.ExchangeByte(0xFF, false, false);
    link.setLinkMode(0);
    link.ExchangeByte(0xFF, false, false);
    link.setLinkMode(0);
    link.ExchangeByte(0x03, false, false);
    for (const ImageRecord& record : records) {
        for (const char byte : record.wireBytes())
            link.ExchangeByte(static_cast<unsigned char>(byte), true, false);
        if (link.awaitReplyByte(kChecksumReplyMs) != record.expectedReply())
            return false;
    }
    if (link.ExchangeByte(0xFF, false, false) != 0x55)
        return false;
    link.setLinkMode(0);
    QThread::msleep(kSettlePauseMs);
    for (int k = 0; k < kIdentLocations; ++k)
        link.RSWrite(identAddress(k), QString::number(k < 8 ? 'B' : 1));
    return !link.CommError;
}

bool uploadByLink(RSComm& link) {
    for (int k = 0; k < kIdentLocations; ++k)
        link.ReadLocation(identAddress(k));
    for (int a = kImageFirst; a < kImageFirst + kImageBytes && !link.CommError; ++a)
        link.ReadLocation(QStringLiteral("B%1").arg(a));
    return !link.CommError;
}

QByteArray benchImage() {
    QByteArray image;
    for (int offset = 0; offset < kImageBytes; offset += kRecordBytes) {
        const int address = kImageFirst + offset;
        QByteArray line = ":10" + QByteArray::number(address, 16).toUpper() + "00";
        int sum = kRecordBytes + (address >> 8) + (address & 0xFF);
        for (int j = 0; j < kRecordBytes; ++j) {
            const int value = (offset + j * 13) & 0xFF;
            sum += value;
            line += QByteArray::number(value, 16).rightJustified(2, '0').toUpper();
        }
        line += QByteArray::number((0x100 - (sum & 0xFF)) & 0xFF, 16).rightJustified(2, '0');
        image += line.toUpper() + "\r\n";
    }
    return image + ":00000001FF\r\n";
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double wireSeconds(long bytes, int pausesMs) {
    return static_cast<double>(bytes) * kBitsPerByte / kBaud + pausesMs / 1e3;
}

void report(const char* what, const Run& task, const Run& alone, int pausesMs) {
    const double wire = wireSeconds(task.bytes, pausesMs);
    std::printf("%s\n", what);
    std::printf("    wire time (%ld bytes at %d bit/s%s): %.2f s\n", task.bytes, kBaud,
                pausesMs ? " + pauses" : "", wire);
    std::printf("    link alone: %.2f s (%.1f%% over the wire), CPU %.2f s (%.1f%% of one core)\n",
                alone.wallS, (alone.wallS / wireSeconds(alone.bytes, pausesMs) - 1) * 100,
                alone.cpuS, alone.cpuS / alone.wallS * 100);
    std::printf("    step task:  %.2f s (%.1f%% over the wire, %.2f%% over the link alone; goal "
                "<= 3%%),\n                CPU %.2f s (%.1f%% of one core; goal < 10%%), longest "
                "step %.1f ms\n",
                task.wallS, (task.wallS / wire - 1) * 100, (task.wallS / alone.wallS - 1) * 100,
                task.cpuS, task.cpuS / task.wallS * 100, task.longestStepMs);
}

int fail(const char* what, const QStringList& boxes = {}) {
    std::fprintf(stderr, "vral-bench-program: %s\n", what);
    for (const QString& box : boxes)
        std::fprintf(stderr, "  box: %s\n", qPrintable(box));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);

    QTemporaryDir sets;
    const QString program = sets.filePath(QStringLiteral("bench.wdx"));
    if (!writeFile(program, "\"D\",\"bench\"\r\n") ||
        !writeFile(sets.filePath(QStringLiteral("bench.rev")), "BENCHPRG0:01\r\n") ||
        !writeFile(sets.filePath(QStringLiteral("bench.hex")), benchImage()))
        return fail("cannot write the program file set");
    const ImageCheck check = checkImage(benchImage());
    if (!check.ok())
        return fail("the benchmark image is refused");

    BoardProcess board(
        {QStringLiteral("--stopped"), QStringLiteral("--baud"), QString::number(kBaud)});
    if (board.device().isEmpty())
        return fail("the simulated board did not start");
    Link l(board.device());
    l.link.OpenRSComm(l.counting);
    if (!l.link.linkUp())
        return fail("the link did not come up", l.prompts.boxes);

    // Each comparison runs the link alone first, then the task (which sends
    // the same image again and reads the same memory back).
    bool ok = false;
    const Run downloadAlone = measure(l, [&] { ok = downloadByLink(l.link, check.records); });
    if (!ok)
        return fail("the download by the link alone failed", l.prompts.boxes);
    l.link.DownloadFile(program);
    if (!l.link.ValidProgram())
        return fail("the file set is refused", l.prompts.boxes);
    DumpProgram download(l.link);
    const Run downloadTask = runTask(l, download);
    if (!download.succeeded())
        return fail("the download failed", l.prompts.boxes);
    report("(a) download of a 32 KiB image (2048 records)", downloadTask, downloadAlone,
           kStartPauseMs + kSettlePauseMs);

    const Run uploadAlone = measure(l, [&] { ok = uploadByLink(l.link); });
    if (!ok)
        return fail("the upload by the link alone failed", l.prompts.boxes);
    l.link.UploadFile(program);
    l.link.setInUploadMode(true);
    UploadProgram upload(l.link);
    const Run uploadTask = runTask(l, upload);
    if (!upload.succeeded())
        return fail("the upload failed", l.prompts.boxes);
    report("(b) upload of a code \"D\" board (32,768 byte reads)", uploadTask, uploadAlone, 0);

    QFile uploaded(sets.filePath(QStringLiteral("bench.hex")));
    if (!uploaded.open(QIODevice::ReadOnly))
        return fail("the upload wrote no image");
    const int lines = static_cast<int>(uploaded.readAll().count('\n'));
    std::printf("    the upload wrote %d image lines (%d expected)\n", lines,
                kImageBytes / kRecordBytes + 1);
    l.link.CloseRSComm();
    // Expected boxes: the comparison, download complete, upload complete.
    return l.prompts.boxes.size() == 3 ? 0 : fail("unexpected boxes", l.prompts.boxes);
}
