// vral-bench-diff: what a comparison with the board costs beside an upload.
// Times `vralctl diff FILE.sdt --board` against `vralctl upload all` of the
// same board, both against one `vral-boardsim --baud 9600 --stopped`,
// alternately so a busy spell of the machine hits both alike. Both make
// the "&All" upload's exchanges; the comparison adds the reading of FILE
// and its lines, the upload the writing of its file.
//
// Usage: vral-bench-diff [RUNS]   (each command; default 5)
#include "boardprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "vral-bench-diff: %s\n", what);
    return 1;
}

// Wall time of one vralctl run in seconds; negative when it failed.
double timedRun(const QString& vralctl, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(vralctl, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    if (runs <= 0)
        return fail("usage: vral-bench-diff [RUNS]");
    const QString vralctl = QDir(app.applicationDirPath()).filePath(QStringLiteral("vralctl"));
    QTemporaryDir work;
    const QString document = work.filePath(QStringLiteral("bench.sdt"));
    const QString uploaded = work.filePath(QStringLiteral("uploaded.sdt"));
    if (timedRun(vralctl, {QStringLiteral("doc"), QStringLiteral("new"), document}) < 0)
        return fail("vralctl doc new failed");

    BoardProcess board({QStringLiteral("--baud"), QStringLiteral("9600"),
                        QStringLiteral("--stopped"), QStringLiteral("--quiet")});
    if (board.device().isEmpty())
        return fail("vral-boardsim did not start");
    const QStringList link{QStringLiteral("--device"), board.device(), QStringLiteral("--home"),
                           work.path()};
    const QStringList upload =
        link + QStringList{QStringLiteral("upload"), QStringLiteral("all"), uploaded};
    // The new board holds the new document: the comparison finds nothing.
    const QStringList diff =
        link + QStringList{QStringLiteral("diff"), document, QStringLiteral("--board")};
    std::vector<double> uploadTimes, diffTimes;
    for (int run = 0; run < runs; ++run) {
        const double uploadTime = timedRun(vralctl, upload);
        const double diffTime = timedRun(vralctl, diff);
        if (uploadTime < 0 || diffTime < 0)
            return fail("a vralctl run failed");
        uploadTimes.push_back(uploadTime);
        diffTimes.push_back(diffTime);
    }
    const double up = median(uploadTimes);
    const double compared = median(diffTimes);
    std::printf("vralctl upload all, 9600 bit/s, %d runs: median %.3f s (%.3f-%.3f)\n", runs, up,
                *std::min_element(uploadTimes.begin(), uploadTimes.end()),
                *std::max_element(uploadTimes.begin(), uploadTimes.end()));
    std::printf("vralctl diff --board, 9600 bit/s, %d runs: median %.3f s (%.3f-%.3f)\n", runs,
                compared, *std::min_element(diffTimes.begin(), diffTimes.end()),
                *std::max_element(diffTimes.begin(), diffTimes.end()));
    std::printf("the comparison beside the upload: %+.2f%% (goal within 3%%)\n",
                100.0 * (compared - up) / up);
    return 0;
}
