// vral-boardsim: the simulated K7600 board served on a pseudo-terminal.
#include "boardserver.h"
#include "boardsim.h"
#include "hostoptions.h"
#include "linelistener.h"
#include "memorysetting.h"
#include "ptyline.h"
#include "systemclock.h"
#include "vralversion.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <csignal>
#include <cstdio>
#include <signal.h>

namespace {
volatile std::sig_atomic_t g_stop = 0;

void requestStop(int) {
    g_stop = 1;
}

void blockStopSignals() {
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, SIGINT);
    ::sigaddset(&set, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &set, nullptr);
    struct sigaction action {};
    action.sa_handler = requestStop;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void say(const HostOptions& options, const QString& text) {
    if (!options.quiet)
        std::fprintf(stderr, "vral-boardsim: %s\n", qPrintable(text));
}

int fail(const QString& text) {
    std::fprintf(stderr, "vral-boardsim: %s\n", qPrintable(text));
    return 1;
}

bool loadMemory(BoardSim& board, const QString& path, QString& error) {
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    // A wrong-sized file is refused rather than adopted, and is not
    // overwritten at exit either: the simulator stops before serving.
    if (!board.loadMemoryImage(file.readAll())) {
        error = QStringLiteral("%1 is not a 65536-byte memory image").arg(path);
        return false;
    }
    return true;
}

// The settings file's lines, then the command line's settings.
bool applySettings(BoardSim& board, const HostOptions& options, QString& error) {
    QStringList settings;
    if (!options.settingsFile.isEmpty()) {
        QFile file(options.settingsFile);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            error =
                QStringLiteral("cannot read %1: %2").arg(options.settingsFile, file.errorString());
            return false;
        }
        int lineNumber = 0;
        while (!file.atEnd()) {
            ++lineNumber;
            const QString line = QString::fromUtf8(file.readLine()).section(QLatin1Char('#'), 0, 0);
            if (line.trimmed().isEmpty())
                continue;
            const QString wrong = applyMemorySetting(board.memoryMap(), line);
            if (!wrong.isEmpty()) {
                error = QStringLiteral("%1:%2: %3")
                            .arg(options.settingsFile)
                            .arg(lineNumber)
                            .arg(wrong);
                return false;
            }
        }
    }
    for (const QString& setting : options.settings)
        applyMemorySetting(board.memoryMap(), setting); // checked with the command line
    return true;
}

bool saveMemory(const BoardSim& board, const QString& path, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(board.memoryImage()) != BoardMemory::kSize ||
        !file.commit()) {
        error = QStringLiteral("cannot save %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vral-boardsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VRAL_VERSION_TEXT));
    const HostOptionsResult parsed = parseHostOptions(QCoreApplication::arguments());
    if (parsed.help) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return 0;
    }
    if (parsed.version) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "vral-boardsim: %s\n", qPrintable(parsed.error));
        return 2;
    }
    const HostOptions& options = parsed.options;

    blockStopSignals();
    SystemClock clock;
    BoardSim board(clock);
    QString error;
    if (!options.memoryFile.isEmpty() && !loadMemory(board, options.memoryFile, error))
        return fail(error);
    if (!applySettings(board, options, error))
        return fail(error);
    board.machine().setSeed(options.seed);
    board.setFault(options.fault, options.faultCount, options.faultAfter);
    board.machine().setAlarmCycling(options.alarms);
    board.setMachineRunning(!options.stopped);

    PtyLine line;
    if (!line.open(error))
        return fail(error);
    if (!options.linkPath.isEmpty() && !line.makeLink(options.linkPath, error))
        return fail(error);
    LineListener listener(line.devicePath(), options.rfc2217);
    if (!options.listen.isEmpty() && !listener.listen(options.listen, error))
        return fail(error);
    std::printf("%s\n", qPrintable(line.devicePath()));
    if (!options.listen.isEmpty())
        std::printf("%s\n", qPrintable(listener.endpoint()));
    std::fflush(stdout);
    say(options, QStringLiteral("serving the board on %1").arg(line.devicePath()));
    if (!options.listen.isEmpty()) {
        say(options, QStringLiteral("and on %1").arg(listener.endpoint()));
        listener.start();
    }

    BoardServer server(board, line.masterFd(), options.baud);
    server.setReportReads(options.reportReads);
    server.run(g_stop);
    listener.stop();

    if (!options.memoryFile.isEmpty()) {
        if (!saveMemory(board, options.memoryFile, error))
            return fail(error);
        say(options, QStringLiteral("memory saved to %1").arg(options.memoryFile));
    }
    return 0;
}
