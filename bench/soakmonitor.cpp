#include "soakmonitor.h"

#include "processsample.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>

namespace {

// How long after the run the application may take to go offline and end.
constexpr int kEndGraceMs = 30000;
// Before its first read the application starts and goes online.
constexpr qint64 kFirstReadMs = 60000;

QString minutesText(qint64 ms) {
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

SoakMonitor::SoakMonitor(const SoakSchedule& schedule, const QString& home)
    : m_schedule(schedule), m_home(home) {
    m_checkTimer.setInterval(1000);
    connect(&m_checkTimer, &QTimer::timeout, this, [this] { checkReads(); });
    m_sampleTimer.setTimerType(Qt::PreciseTimer);
    m_sampleTimer.setInterval(static_cast<int>(m_schedule.sampleMs));
    connect(&m_sampleTimer, &QTimer::timeout, this, [this] { sample(); });
    m_endTimer.setSingleShot(true);
    m_endTimer.setInterval(static_cast<int>(m_schedule.runMs + kEndGraceMs));
    connect(&m_endTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("the application did not end after the run")); });
    connect(&m_app, &QProcess::readyReadStandardOutput, this, [this] { readApp(); });
    connect(&m_app, &QProcess::finished, this, &SoakMonitor::appFinished);
}

SoakMonitor::~SoakMonitor() {
    if (m_app.state() != QProcess::NotRunning) {
        m_app.kill();
        m_app.waitForFinished();
    }
}

int SoakMonitor::run() {
    m_loadAtStart = loadAverage();
    say(QStringLiteral("vral-bench-soak: %1 min against vral-boardsim --baud 19200 --alarms; "
                       "load average %2")
            .arg(m_schedule.minutes)
            .arg(m_loadAtStart));
    m_board = std::make_unique<BoardProcess>(
        QStringList{QStringLiteral("--baud"), QStringLiteral("19200"), QStringLiteral("--alarms"),
                    QStringLiteral("--reads")});
    if (m_board->device().isEmpty()) {
        say(QStringLiteral("FAIL: the simulated board did not start"));
        return 1;
    }
    connect(&m_board->process(), &QProcess::readyReadStandardOutput, this, [this] { readBoard(); });

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_app.setProcessEnvironment(environment);
    m_app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_app.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--drive"), m_board->device(), m_home,
                 QString::number(m_schedule.minutes)});
    if (!m_app.waitForStarted()) {
        say(QStringLiteral("FAIL: the application did not start: %1").arg(m_app.errorString()));
        return 1;
    }
    m_clock.start();
    m_checkTimer.start();
    m_sampleTimer.start();
    m_endTimer.start();
    QEventLoop loop;
    connect(&m_app, &QProcess::finished, &loop, &QEventLoop::quit);
    if (m_app.state() != QProcess::NotRunning)
        loop.exec();
    printSummary();
    return m_failure.isEmpty() ? 0 : 1;
}

void SoakMonitor::readBoard() {
    QProcess& board = m_board->process();
    while (board.canReadLine())
        if (board.readLine().startsWith("reads ")) {
            const qint64 now = m_clock.elapsed();
            if (m_lastReadMs >= 0)
                m_longestGapMs = std::max(m_longestGapMs, now - m_lastReadMs);
            m_lastReadMs = now;
        }
}

void SoakMonitor::readApp() {
    while (m_app.canReadLine()) {
        const QByteArray line = m_app.readLine().trimmed();
        if (line.startsWith("box ")) {
            m_lastBox = QString::fromUtf8(line.mid(4));
            m_lastBoxMs = m_clock.elapsed();
            continue;
        }
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 4 && words.at(0) == "census") {
            m_objects = words.at(1).toLongLong();
            m_timers = words.at(2).toInt();
            m_heapKiB = words.at(3).toLong() / 1024;
        } else if (words.size() == 2 && words.at(0) == "did") {
            ++m_done[QString::fromLatin1(words.at(1))];
        }
    }
}

QString SoakMonitor::lastBoxText() const {
    if (m_lastBoxMs < 0)
        return QString();
    return QStringLiteral("; the last box the application showed, at %1: %2")
        .arg(minutesText(m_lastBoxMs), m_lastBox);
}

qint64 SoakMonitor::sinceLastReadMs() const {
    return m_clock.elapsed() - (m_lastReadMs >= 0 ? m_lastReadMs : 0);
}

void SoakMonitor::checkReads() {
    readBoard();
    const qint64 since = sinceLastReadMs();
    if (m_lastReadMs < 0 && since > kFirstReadMs)
        fail(QStringLiteral("the board saw no read in the first %1 s").arg(kFirstReadMs / 1000));
    else if (m_lastReadMs >= 0 && since > kReadGapMs)
        fail(QStringLiteral("online, the board saw no read for %1 s since %2%3")
                 .arg(kReadGapMs / 1000)
                 .arg(minutesText(m_lastReadMs))
                 .arg(lastBoxText()));
}

void SoakMonitor::sample() {
    readApp();
    const ProcessSample proc = sampleProcess(m_app.processId());
    if (!proc.valid)
        return; // ending: appFinished says how
    Sample s;
    s.atMs = m_clock.elapsed();
    s.residentKiB = proc.residentKiB;
    s.cpuSeconds = proc.cpuSeconds;
    s.descriptors = proc.descriptors;
    s.objects = m_objects;
    s.timers = m_timers;
    s.heapKiB = m_heapKiB;
    const double previousCpu = m_samples.isEmpty() ? 0 : m_samples.last().cpuSeconds;
    const qint64 previousMs = m_samples.isEmpty() ? 0 : m_samples.last().atMs;
    m_samples.append(s);
    if (m_baseline < 0 && s.atMs >= m_schedule.baselineMs - m_schedule.sampleMs / 2)
        m_baseline = static_cast<int>(m_samples.size() - 1);

    QString line =
        QStringLiteral("%1  resident %2 KiB").arg(minutesText(s.atMs), 6).arg(s.residentKiB);
    if (m_baseline >= 0) {
        const Sample& base = m_samples.at(m_baseline);
        line += QStringLiteral(" (%1%2 since %3)")
                    .arg(s.residentKiB >= base.residentKiB ? QStringLiteral("+") : QString())
                    .arg(s.residentKiB - base.residentKiB)
                    .arg(minutesText(base.atMs));
    }
    line += QStringLiteral("  heap in use %1 KiB").arg(s.heapKiB);
    line +=
        QStringLiteral("  CPU %1%  descriptors %2  timers %3  objects %4  last board read %5 s ago")
            .arg(100.0 * (s.cpuSeconds - previousCpu) / ((s.atMs - previousMs) / 1000.0), 0, 'f', 2)
            .arg(s.descriptors)
            .arg(s.timers)
            .arg(s.objects)
            .arg(sinceLastReadMs() / 1000.0, 0, 'f', 1);
    say(line);

    if (m_baseline < 0)
        return;
    const Sample& base = m_samples.at(m_baseline);
    if (s.residentKiB - base.residentKiB > kGrowthKiB)
        record(QStringLiteral("resident memory grew %1 KiB after %2 (limit %3 KiB)")
                   .arg(s.residentKiB - base.residentKiB)
                   .arg(minutesText(base.atMs))
                   .arg(kGrowthKiB));
    // One file open at the moment of a sample is no leak; two in a row are.
    m_descriptorRises = s.descriptors > base.descriptors ? m_descriptorRises + 1 : 0;
    if (m_descriptorRises >= 2)
        record(QStringLiteral("open descriptors grew from %1 to %2")
                   .arg(base.descriptors)
                   .arg(s.descriptors));
}

void SoakMonitor::appFinished(int exitCode, QProcess::ExitStatus status) {
    if (m_finished)
        return;
    readApp();
    if (status == QProcess::CrashExit)
        fail(QStringLiteral("the application crashed at %1").arg(minutesText(m_clock.elapsed())));
    else if (exitCode != 0)
        fail(QStringLiteral("the application stopped with status %1 at %2 (its words above)")
                 .arg(exitCode)
                 .arg(minutesText(m_clock.elapsed())));
    else if (m_clock.elapsed() < m_schedule.runMs)
        fail(QStringLiteral("the application ended early, at %1")
                 .arg(minutesText(m_clock.elapsed())));
    finish();
}

void SoakMonitor::record(const QString& reason) {
    if (!m_failure.isEmpty())
        return;
    m_failure = reason;
    say(QStringLiteral("FAIL at %1: %2; the run goes on for its figures")
            .arg(minutesText(m_clock.elapsed()), reason));
}

void SoakMonitor::fail(const QString& reason) {
    if (m_finished)
        return;
    if (m_failure.isEmpty())
        m_failure = reason;
    finish();
}

void SoakMonitor::finish() {
    m_finished = true;
    m_checkTimer.stop();
    m_sampleTimer.stop();
    m_endTimer.stop();
    if (m_app.state() != QProcess::NotRunning)
        m_app.kill(); // the loop in run() ends when it has gone
}

void SoakMonitor::printSummary() const {
    say(QStringLiteral("work done: pages shown %1, target board page opened and closed %2, "
                       "\"&All\" uploads %3, \"&All\" downloads %4, reports to PDF %5")
            .arg(m_done.value(QStringLiteral("page")))
            .arg(m_done.value(QStringLiteral("target-board")))
            .arg(m_done.value(QStringLiteral("upload")))
            .arg(m_done.value(QStringLiteral("download")))
            .arg(m_done.value(QStringLiteral("report"))));
    if (!m_samples.isEmpty()) {
        const Sample& first = m_samples.first();
        const Sample& last = m_samples.last();
        QString memory = QStringLiteral("resident memory %1 KiB at %2")
                             .arg(first.residentKiB)
                             .arg(minutesText(first.atMs));
        if (m_baseline >= 0) {
            const Sample& base = m_samples.at(m_baseline);
            memory +=
                QStringLiteral(", %1 KiB at %2, %3 KiB at %4: %5%6 KiB after %2 (limit %7 KiB)")
                    .arg(base.residentKiB)
                    .arg(minutesText(base.atMs))
                    .arg(last.residentKiB)
                    .arg(minutesText(last.atMs))
                    .arg(last.residentKiB >= base.residentKiB ? QStringLiteral("+") : QString())
                    .arg(last.residentKiB - base.residentKiB)
                    .arg(kGrowthKiB);
        }
        say(memory);
        say(QStringLiteral(
                "CPU %1% of one core over %2 min; descriptors %3 -> %4; timers %5 -> %6; "
                "objects %7 -> %8")
                .arg(100.0 * last.cpuSeconds / (last.atMs / 1000.0), 0, 'f', 2)
                .arg(last.atMs / SoakSchedule::kMinuteMs)
                .arg(first.descriptors)
                .arg(last.descriptors)
                .arg(first.timers)
                .arg(last.timers)
                .arg(first.objects)
                .arg(last.objects));
    }
    say(QStringLiteral("board reads: longest gap %1 s (limit %2 s); load average %3 at the start, "
                       "%4 at the end")
            .arg(m_longestGapMs / 1000.0, 0, 'f', 1)
            .arg(kReadGapMs / 1000)
            .arg(m_loadAtStart)
            .arg(loadAverage()));
    say(m_failure.isEmpty() ? QStringLiteral("PASS") : QStringLiteral("FAIL: ") + m_failure);
}
