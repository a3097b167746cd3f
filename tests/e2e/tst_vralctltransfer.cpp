// vralctl upload and download against the simulated board over a
// pseudo-terminal: a document sent with "download all" comes back whole with
// "upload all" into a new file; an upload that the board breaks off leaves
// its file byte for byte as it was; files and kinds that do not fit are
// refused before anything reaches the line.
#include "appstate.h"
#include "e2erig.h"
#include "filebytes.h"
#include "setupdocument.h"
#include "setupfile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <signal.h>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLink = 3;

// A document unlike the one a new board holds, in every group a transfer
// carries: set-up values, shift data, the PLS configuration and scale, and
// channels programmed, wrapping past zero and cleared.
SetupDocument machineDocument() {
    SetupDocument doc = makeDefaultDocument(programVersionText());
    doc.Values[0] = 33;       // B1011
    doc.Values[161] = 25;     // B1012
    doc.Values[166] = 1234;   // W1004
    doc.Values[1] = 4321;     // W1700, the first shift element
    doc.Values[49] = 123456;  // D1100
    doc.Values[105] = 654321; // D1300
    doc.Values[160] = 77;     // W1422, the last shift element
    doc.Values[178] = 9;      // B4011, the last element
    doc.PLSScale = 720;
    doc.PLSChannelCount = 12;
    doc.PLSProgram = 3;
    doc.SpeedCompensation = {1, 2, 3, 4, 5, 6, 7, 8};
    doc.OnSetpoints.fill(0);
    doc.OffSetpoints.fill(0);
    doc.OnSetpoints[0] = 100;
    doc.OffSetpoints[0] = 300;
    doc.OnSetpoints[5] = 700; // on across the end of the turn
    doc.OffSetpoints[5] = 20;
    doc.OnSetpoints[15] = 0;
    doc.OffSetpoints[15] = 719;
    return doc;
}
} // namespace

class TestVralctlTransfer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void downloadAllThenUploadAllRoundTrip();
    void uploadIntoAnExistingFileKeepsWhatItDoesNotRead();
    void brokenOffUploadLeavesTheFile();
    void valueOutOfRangeIsReportedTheRestWritten();
    void ctrlCStopsBeforeTheTimingChannels();
    void refusedConfigurationEndsWithTheBox();
    void refused_data();
    void refused();

private:
    QString path(const char* name) const { return m_home.filePath(QLatin1String(name)); }
    CtlRun ctl(const BoardProcess& board, const QStringList& arguments) {
        return runVralctl(linkArguments(board.device(), m_home.path()) + arguments);
    }
    // Starts vralctl on a paced board and waits until its byte trace shows
    // the transfer well into its values (some 100 exchanges, a fifth of a
    // second at 9600 bit/s), however slowly a loaded machine starts it.
    bool startUnderWay(QProcess& process, const BoardProcess& board, const QStringList& arguments) {
        const QString trace = path("underway.trace");
        QFile::remove(trace);
        process.start(QStringLiteral(VRALCTL_PATH),
                      linkArguments(board.device(), m_home.path()) +
                          QStringList{QStringLiteral("--trace"), trace} + arguments);
        if (!process.waitForStarted())
            return false;
        const bool underWay =
            QTest::qWaitFor([&] { return fileBytes(trace).count('\n') >= 200; }, 10000);
        return underWay && process.state() == QProcess::Running;
    }
    QStringList show(const QString& file) {
        return runVralctl({QStringLiteral("doc"), QStringLiteral("show"), file}).out;
    }

    QTemporaryDir m_home;
};

void TestVralctlTransfer::initTestCase() {
    QVERIFY(m_home.isValid());
    QVERIFY(writeSetupFile(path("machine.sdt"), machineDocument()).ok());
}

void TestVralctlTransfer::downloadAllThenUploadAllRoundTrip() {
    BoardProcess board({QStringLiteral("--stopped")});
    QVERIFY(!board.device().isEmpty());
    const CtlRun down = ctl(board, {"download", "all", path("machine.sdt")});
    QCOMPARE(down.exitCode, kExitOk);
    // Not a terminal: no progress line, and no box.
    QVERIFY2(down.err.isEmpty(), qPrintable(down.err.join(QLatin1Char('\n'))));
    QVERIFY(!QFile::exists(path("back.sdt")));
    const CtlRun up = ctl(board, {"upload", "all", path("back.sdt")});
    QCOMPARE(up.exitCode, kExitOk);
    QVERIFY2(up.err.isEmpty(), qPrintable(up.err.join(QLatin1Char('\n'))));

    const QStringList sent = show(path("machine.sdt"));
    QVERIFY(sent.size() > 100);
    QCOMPARE(show(path("back.sdt")), sent);
    QCOMPARE(fileBytes(path("back.sdt")), fileBytes(path("machine.sdt")));
    // And the board really holds it: a channel reads back as programmed.
    QCOMPARE(ctl(board, {"pls", "recall", "5"}).out, QStringList{"state 1 position 700"});
    QCOMPARE(ctl(board, {"read", "W1004"}).out, QStringList{"1234"});
}

// An upload of the set-up kind reads element 0 and 161-178 only: the rest
// of an existing document stays as the file had it.
void TestVralctlTransfer::uploadIntoAnExistingFileKeepsWhatItDoesNotRead() {
    BoardProcess board({QStringLiteral("--stopped"), QStringLiteral("--set"),
                        QStringLiteral("B1011=44"), QStringLiteral("--set"),
                        QStringLiteral("W1004=999")});
    QVERIFY(!board.device().isEmpty());
    const QString file = path("setup.sdt");
    QFile::remove(file);
    QVERIFY(QFile::copy(path("machine.sdt"), file));
    QCOMPARE(ctl(board, {"upload", "setup", file}).exitCode, kExitOk);
    const SetupFileReadResult read = readSetupFile(file);
    QVERIFY(read.ok());
    SetupDocument expected = machineDocument();
    const SetupDocument defaults = makeDefaultDocument(programVersionText());
    expected.Values[0] = 44;
    for (int i = 161; i <= 178; ++i)
        expected.Values[i] = defaults.Values[i]; // the new board's set-up values
    expected.Values[166] = 999;
    QCOMPARE(read.document.Values, expected.Values);
    QCOMPARE(read.document.PLSScale, expected.PLSScale);
    QCOMPARE(read.document.OnSetpoints, expected.OnSetpoints);
}

// The board goes away in the middle of the values: the link gives up, the
// transfer reports it, and the file keeps the bytes it had, although part
// of the document had been read already.
void TestVralctlTransfer::brokenOffUploadLeavesTheFile() {
    auto board = std::make_unique<BoardProcess>(
        QStringList{QStringLiteral("--stopped"), QStringLiteral("--baud"), QStringLiteral("9600"),
                    QStringLiteral("--set"), QStringLiteral("B1011=55")});
    QVERIFY(!board->device().isEmpty());
    const QString file = path("broken.sdt");
    QFile::remove(file);
    QVERIFY(QFile::copy(path("machine.sdt"), file));
    const QByteArray before = fileBytes(file);

    QProcess ctlProcess;
    QVERIFY(startUnderWay(ctlProcess, *board, {"upload", "all", file}));
    board->kill();
    QVERIFY(ctlProcess.waitForFinished(30000));
    QCOMPARE(ctlProcess.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ctlProcess.exitCode(), kExitLink);
    const QString err = QString::fromLocal8Bit(ctlProcess.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("VRAL: Error Processing Request Process Not Complete")),
             qPrintable(err));
    QCOMPARE(fileBytes(file), before);
}

// A document value that its location cannot hold: the link refuses that one
// write with its entry alert, the download writes the rest and says so in
// its status.
void TestVralctlTransfer::valueOutOfRangeIsReportedTheRestWritten() {
    SetupDocument doc = machineDocument();
    doc.Values[0] = 300; // B1011 holds one byte
    QVERIFY(writeSetupFile(path("range.sdt"), doc).ok());
    BoardProcess board(
        {QStringLiteral("--stopped"), QStringLiteral("--set"), QStringLiteral("B1011=7")});
    QVERIFY(!board.device().isEmpty());
    const CtlRun run = ctl(board, {"download", "setup", path("range.sdt")});
    QCOMPARE(run.exitCode, kExitUsage);
    QCOMPARE(run.err, QStringList{"ENTRY ALERT: Error: Entry out of Range (0-255)."});
    QCOMPARE(ctl(board, {"read", "B1011", "W1004", "B4011"}).out, QStringList({"7", "1234", "9"}));
}

// Ctrl+C in the middle of the values is the progress window's Cancel: the
// values already written stay, and the machine's timing channels are not
// touched.
void TestVralctlTransfer::ctrlCStopsBeforeTheTimingChannels() {
    BoardProcess board(
        {QStringLiteral("--stopped"), QStringLiteral("--baud"), QStringLiteral("9600")});
    QVERIFY(!board.device().isEmpty());
    QProcess ctlProcess;
    QVERIFY(startUnderWay(ctlProcess, board, {"download", "all", path("machine.sdt")}));
    ::kill(pid_t(ctlProcess.processId()), SIGINT);
    QVERIFY(ctlProcess.waitForFinished(10000));
    QCOMPARE(ctlProcess.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ctlProcess.exitCode(), kExitLink);
    const QString err = QString::fromLocal8Bit(ctlProcess.readAllStandardError());
    QVERIFY2(err.startsWith(QStringLiteral("Data Download: Process Cancelled Last Written: "
                                           "Element ")) &&
                 err.count(QLatin1Char('\n')) == 1,
             qPrintable(err));
    // The first value went out, the last one (9) did not: the board's own 10.
    QCOMPARE(ctl(board, {"read", "B1011", "B4011"}).out, QStringList({"33", "10"}));
    // Channel 0 as a new board has it (120/160), not the document's 100/300.
    QCOMPARE(ctl(board, {"pls", "recall", "0"}).out, QStringList{"state 1 position 120"});
    QCOMPARE(ctl(board, {"pls", "show"}).out.value(0), QStringLiteral("scale 360"));
}

// The board refuses the PLS configuration (no link failure): none of the
// channels is programmed, and the download says so instead of ending as if
// it had finished.
void TestVralctlTransfer::refusedConfigurationEndsWithTheBox() {
    BoardProcess board(
        {QStringLiteral("--stopped"), QStringLiteral("--fault"), QStringLiteral("pls-refused=1")});
    QVERIFY(!board.device().isEmpty());
    const CtlRun run = ctl(board, {"download", "timing", path("machine.sdt")});
    QCOMPARE(run.exitCode, kExitLink);
    QCOMPARE(run.err, QStringList{"VRAL: Error Processing Request Process Not Complete Nothing "
                                  "was Written"});
    QCOMPARE(ctl(board, {"pls", "recall", "0"}).out, QStringList{"state 1 position 120"});
}

void TestVralctlTransfer::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the first line on standard error

    QTest::newRow("download of a file that is not there")
        << QStringList{"download", "all", "missing.sdt"} << kExitFile << "missing.sdt: ";
    QTest::newRow("download of a file that is not a set-up file")
        << QStringList{"download", "setup", "short.sdt"} << kExitFile << "short.sdt: ";
    QTest::newRow("upload into a damaged file")
        << QStringList{"upload", "shift", "short.sdt"} << kExitFile << "short.sdt: ";
    QTest::newRow("unknown kind") << QStringList{"upload", "channels", "x.sdt"} << kExitUsage
                                  << "Usage: ";
    QTest::newRow("no file") << QStringList{"download", "all"} << kExitUsage << "Usage: ";
}

void TestVralctlTransfer::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFile shortFile(path("short.sdt"));
    QVERIFY(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(fileBytes(path("machine.sdt")).left(100));
    shortFile.close();
    const QByteArray shortBytes = fileBytes(path("short.sdt"));
    if (arguments.size() == 3)
        arguments[2] = m_home.filePath(arguments[2]);
    if (message.endsWith(QStringLiteral(".sdt: ")))
        message = m_home.filePath(message);

    BoardProcess board({QStringLiteral("--stopped")});
    QVERIFY(!board.device().isEmpty());
    const QString trace = path("refused.trace");
    QFile::remove(trace);
    const CtlRun run = ctl(board, QStringList{QStringLiteral("--trace"), trace} + arguments);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.value(0).startsWith(message), qPrintable(run.err.join('\n')));
    QVERIFY2(fileBytes(trace).isEmpty(), "nothing may reach the line");
    QCOMPARE(fileBytes(path("short.sdt")), shortBytes);
    QVERIFY(!QFile::exists(path("x.sdt")));
}

QTEST_GUILESS_MAIN(TestVralctlTransfer)
#include "tst_vralctltransfer.moc"
