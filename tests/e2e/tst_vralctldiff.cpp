// vralctl diff on two golden set-up files and against the simulated board
// over a pseudo-terminal: the lines it prints, its exit statuses as diff(1)
// has them, and that a comparison leaves the files and the board's memory
// byte for byte as they were.
#include "e2erig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {
constexpr int kSame = 0, kDiffers = 1, kTrouble = 2, kLinkFailed = 3;

QString golden(const char* name) {
    return qEnvironmentVariable("VRAL_TEST_DATA") + QLatin1Char('/') + QLatin1String(name);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// compare-b.sdt is new-document.sdt with one change in every section.
const QStringList kSetupLines = {
    "A. Print/Varnish Response Times\t1. Print Trip Retract Response Time (msec):\t20\t25",
    "C. PLS Configuration & Channel Setpoints\t4. Speed Compensation (advance): CH03 "
    "(msec):\t0\t7",
    "C. PLS Configuration & Channel Setpoints\t5. Channel Setpoints (ON - OFF): CH02: OFF\t0\t90",
    "C. PLS Configuration & Channel Setpoints\t5. Channel Setpoints (ON - OFF): CH10: ON\t0\t45",
    "A. Trips Per Spindle\t1. Spindle No.1 Trip Shift Offset:\t22\t30",
    "DF1 Bridge\tDestination Node:\t1\t7",
};
const QString kCounterLine = "B. Current Shift Data\t1. Total Good Cans:\t0\t123456";

// The same lines with the two sides swapped.
QStringList swapped(QStringList lines) {
    for (QString& line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        line = QStringList{f[0], f[1], f[3], f[2]}.join(QLatin1Char('\t'));
    }
    return lines;
}
} // namespace

class TestVralctlDiff : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void diff_data();
    void diff();

private:
    QTemporaryDir m_home;
    const QString m_a = m_home.filePath("new-document.sdt");
    const QString m_b = m_home.filePath("compare-b.sdt");
    const QString m_image = m_home.filePath("board.img");
    // The board's clock ticks in its memory on its own; a month 13 stops it,
    // so every byte that changes is one the link changed.
    const QStringList m_boardArgs = {"--stopped", "--memory", m_image, "--set", "B43016=13"};
    QByteArray m_memory;
};

// The board holds new-document.sdt: downloaded, then kept in its memory image.
void TestVralctlDiff::initTestCase() {
    QVERIFY(QFile::copy(golden("new-document.sdt"), m_a));
    QVERIFY(QFile::copy(golden("compare-b.sdt"), m_b));
    BoardProcess board(m_boardArgs);
    QVERIFY(!board.device().isEmpty());
    const QStringList download = {"download", "all", m_a};
    QCOMPARE(runVralctl(linkArguments(board.device(), m_home.path()) + download).exitCode, 0);
    board.stop();
    m_memory = readAll(m_image);
    QCOMPARE(m_memory.size(), 65536);
}

void TestVralctlDiff::diff_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("onBoard");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out");

    QStringList withCounter = kSetupLines;
    withCounter.insert(5, kCounterLine);
    // --all lists every one of the 63 set-up items.
    const QStringList all = runVralctl({"diff", m_a, m_a, "--all"}).out;
    QCOMPARE(all.size(), 63);
    const QStringList none;
    const QStringList noBoard = linkArguments(m_home.filePath("none"), m_home.path());
    QTest::newRow("one change in every section")
        << QStringList{"diff", m_a, m_b} << false << kDiffers << kSetupLines;
    QTest::newRow("--shift takes the counters in")
        << QStringList{"diff", m_a, m_b, "--shift"} << false << kDiffers << withCounter;
    QTest::newRow("the same file") << QStringList{"diff", m_a, m_a} << false << kSame << none;
    QTest::newRow("a missing file")
        << QStringList{"diff", m_a, "/no/such.sdt"} << false << kTrouble << none;
    QTest::newRow("not a set-up file")
        << QStringList{"diff", m_a, golden("shift-export.txt")} << false << kTrouble << none;
    QTest::newRow("one file and no --board")
        << QStringList{"diff", m_a} << false << kTrouble << none;
    // Beside the board the file is the left side, the board the right.
    QTest::newRow("the board holds the file")
        << QStringList{"diff", m_a, "--board"} << true << kSame << none;
    QTest::newRow("the board, --all")
        << QStringList{"diff", m_a, "--board", "--all"} << true << kSame << all;
    QTest::newRow("the board beside the other file")
        << QStringList{"diff", m_b, "--board"} << true << kDiffers << swapped(kSetupLines);
    QTest::newRow("no board on the line")
        << noBoard + QStringList{"diff", m_b, "--board"} << false << kLinkFailed << none;
}

void TestVralctlDiff::diff() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, onBoard);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    std::optional<BoardProcess> board;
    if (onBoard) {
        board.emplace(m_boardArgs);
        QVERIFY(!board->device().isEmpty());
        arguments = linkArguments(board->device(), m_home.path()) + arguments;
    }
    const CtlRun run = runVralctl(arguments);
    QCOMPARE(run.exitCode, status);
    QCOMPARE(run.out, out);
    // Trouble is told on stderr, and only trouble.
    QVERIFY2(run.err.isEmpty() == (status <= kDiffers), qPrintable(run.err.join('\n')));
    if (board)
        board->stop();
    QCOMPARE(readAll(m_a), readAll(golden("new-document.sdt")));
    QCOMPARE(readAll(m_b), readAll(golden("compare-b.sdt")));
    const QByteArray memory = readAll(m_image);
    const auto changed =
        std::mismatch(m_memory.begin(), m_memory.end(), memory.begin(), memory.end());
    QVERIFY2(memory == m_memory,
             qPrintable(QStringLiteral("B%1 changed").arg(changed.first - m_memory.begin())));
}

QTEST_GUILESS_MAIN(TestVralctlDiff)
#include "tst_vralctldiff.moc"
