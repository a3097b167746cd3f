// vral-bench-report: what the report costs from the command line. Times
// `vralctl report` of the default document against `vralctl doc show` of the
// same file, which starts the same program and reads the same file but draws
// nothing: the difference is the report itself (layout, fonts, PDF).
//
// Usage: vral-bench-report [RUNS]   (each command; default 10)
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
    std::fprintf(stderr, "vral-bench-report: %s\n", what);
    return 1;
}

// Wall time of one vralctl run in seconds; negative when it failed.
double timedRun(const QString& vralctl, const QStringList& args, const QString& runtimeDir) {
    QProcess process;
    // A login session provides a runtime folder; a bare shell would have Qt
    // warn about it on every run.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start(vralctl, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

struct Spread {
    double least = 0;
    double median = 0;
    double most = 0;
};

Spread spreadOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], times.back()};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;
    if (runs <= 0)
        return fail("usage: vral-bench-report [RUNS]");
    const QString vralctl = QDir(app.applicationDirPath()).filePath(QStringLiteral("vralctl"));
    QTemporaryDir work;
    const QString document = work.filePath(QStringLiteral("bench.sdt"));
    const QString pdf = work.filePath(QStringLiteral("bench.pdf"));
    if (timedRun(vralctl, {QStringLiteral("doc"), QStringLiteral("new"), document}, work.path()) <
        0)
        return fail("vralctl doc new failed");

    const QStringList show{QStringLiteral("doc"), QStringLiteral("show"), document};
    const QStringList report{QStringLiteral("report"), document, pdf, QStringLiteral("--page-size"),
                             QStringLiteral("A4")};
    // Alternate the two so that a busy spell of the machine hits both alike;
    // the first run of each warms the file cache and is not counted.
    if (timedRun(vralctl, show, work.path()) < 0 || timedRun(vralctl, report, work.path()) < 0)
        return fail("a vralctl run failed");
    std::vector<double> showTimes, reportTimes;
    for (int run = 0; run < runs; ++run) {
        const double showTime = timedRun(vralctl, show, work.path());
        const double reportTime = timedRun(vralctl, report, work.path());
        if (showTime < 0 || reportTime < 0)
            return fail("a vralctl run failed");
        showTimes.push_back(showTime);
        reportTimes.push_back(reportTime);
    }
    const Spread baseline = spreadOf(showTimes);
    const Spread drawn = spreadOf(reportTimes);
    std::printf("vralctl doc show (baseline), %d runs: median %.3f s (%.3f-%.3f)\n", runs,
                baseline.median, baseline.least, baseline.most);
    std::printf("vralctl report, A4, %d runs: median %.3f s (%.3f-%.3f)\n", runs, drawn.median,
                drawn.least, drawn.most);
    std::printf("the report beyond the baseline: %.3f s (goal < 0.5 s)\n",
                drawn.median - baseline.median);
    return 0;
}
