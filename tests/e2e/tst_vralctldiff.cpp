// vralctl diff on two golden set-up files and against the simulated board
// over a pseudo-terminal: the lines it prints, its exit statuses as diff(1)
// has them, and that a comparison leaves the files and the board's memory
// byte for byte as they were.
#include "e2erig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kSame = 0;
constexpr int kDiffers = 1;
constexpr int kTrouble = 2;
constexpr int kLinkFailed = 3;

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
QStringList swapped(const QStringList& lines) {
    QStringList result;
    for (const QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('\t'));
        fields.swapItemsAt(2, 3);
        result << fields.join(QLatin1Char('\t'));
    }
    return result;
}
} // namespace

class TestVralctlDiff : public QObject {
    Q_OBJECT

private slots:
    void twoFiles_data();
    void twoFiles();
    void boardOnlyRead();
    void linkFailurePrintsNothing();

private:
    QTemporaryDir m_home;
};

void TestVralctlDiff::twoFiles_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("out");

    const QString a = golden("new-document.sdt");
    const QString b = golden("compare-b.sdt");
    QStringList withCounter = kSetupLines;
    withCounter.insert(5, kCounterLine);
    QTest::newRow("one change in every section") << QStringList{a, b} << kDiffers << kSetupLines;
    QTest::newRow("--shift takes the counters in")
        << QStringList{a, b, "--shift"} << kDiffers << withCounter;
    QTest::newRow("the same file") << QStringList{a, a} << kSame << QStringList();
    QTest::newRow("a missing file") << QStringList{a, "/no/such.sdt"} << kTrouble << QStringList();
    QTest::newRow("not a set-up file")
        << QStringList{a, golden("shift-export.txt")} << kTrouble << QStringList();
    QTest::newRow("one file and no --board") << QStringList{a} << kTrouble << QStringList();
}

void TestVralctlDiff::twoFiles() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, out);
    const CtlRun run = runVralctl(QStringList{"diff"} + arguments);
    QCOMPARE(run.exitCode, status);
    QCOMPARE(run.out, out);
}

// The board holds new-document.sdt (downloaded, then kept in its memory
// image); compare-b.sdt beside it shows the same lines as beside the file.
// The comparison reads: the files and the saved memory image come out of it
// byte for byte as they went in.
void TestVralctlDiff::boardOnlyRead() {
    QVERIFY(m_home.isValid());
    const QString image = m_home.filePath("board.img");
    const QString a = m_home.filePath("a.sdt");
    const QString b = m_home.filePath("b.sdt");
    QVERIFY(QFile::copy(golden("new-document.sdt"), a));
    QVERIFY(QFile::copy(golden("compare-b.sdt"), b));
    // The board's clock ticks in its memory on its own; a month 13 stops it,
    // so every byte that changes is one the link changed.
    const QStringList boardArgs = {"--stopped", "--memory", image, "--set", "B43016=13"};
    {
        BoardProcess board(boardArgs);
        QVERIFY(!board.device().isEmpty());
        QCOMPARE(runVralctl(linkArguments(board.device(), m_home.path()) +
                            QStringList{"download", "all", a})
                     .exitCode,
                 0);
        board.stop();
    }
    const QByteArray memoryBefore = readAll(image);
    QCOMPARE(memoryBefore.size(), 65536);
    const QByteArray fileBefore = readAll(b);

    BoardProcess board(boardArgs);
    QVERIFY(!board.device().isEmpty());
    const QStringList link = linkArguments(board.device(), m_home.path());
    const CtlRun same = runVralctl(link + QStringList{"diff", a, "--board"});
    QCOMPARE(same.exitCode, kSame);
    QCOMPARE(same.out, QStringList());
    const CtlRun all = runVralctl(link + QStringList{"diff", a, "--board", "--all"});
    QCOMPARE(all.exitCode, kSame);
    QCOMPARE(all.out.size(), 63);
    const CtlRun differs = runVralctl(link + QStringList{"diff", b, "--board"});
    QCOMPARE(differs.exitCode, kDiffers);
    QCOMPARE(differs.out, swapped(kSetupLines));
    QVERIFY2(differs.err.isEmpty(), qPrintable(differs.err.join('\n')));
    board.stop();

    QCOMPARE(readAll(b), fileBefore);
    // Any byte of the memory that changed, by its address.
    const QByteArray memoryAfter = readAll(image);
    QCOMPARE(memoryAfter.size(), memoryBefore.size());
    QStringList changed;
    for (int address = 0; address < memoryBefore.size(); ++address)
        if (memoryAfter[address] != memoryBefore[address])
            changed << QStringLiteral("B%1: %2 -> %3")
                           .arg(address)
                           .arg(quint8(memoryBefore[address]))
                           .arg(quint8(memoryAfter[address]));
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join(QStringLiteral(", "))));
}

void TestVralctlDiff::linkFailurePrintsNothing() {
    const CtlRun run = runVralctl(linkArguments(m_home.filePath("no-such-device"), m_home.path()) +
                                  QStringList{"diff", golden("compare-b.sdt"), "--board"});
    QCOMPARE(run.exitCode, kLinkFailed);
    QCOMPARE(run.out, QStringList());
    QVERIFY(!run.err.isEmpty());
}

QTEST_GUILESS_MAIN(TestVralctlDiff)
#include "tst_vralctldiff.moc"
