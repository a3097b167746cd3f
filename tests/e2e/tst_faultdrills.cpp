// Fault drills for the long commands, as vralctl runs them (the engines the
// window's commands run too) against vral-boardsim on its pseudo-terminal.
// Each row starts a command, lets it get under way, strikes once at the
// chosen point (the board killed, frozen, answering wrongly; the output
// file's folder made immutable) and then checks what a user is left with:
// the box on standard error, the exit status, no momentary output on at the
// board, every file as it was unless the command completed, and the same
// command succeeding once the fault is gone.
//
// The rows whose board stays frozen past the link's 5 s time-out run as
// their own ctest entry (VRAL_DRILLS=frozen), beside the others.
#include "e2erig.h"
#include "filebytes.h"
#include "intelhex.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitLink = 3;
constexpr int kTraceLineBytes = 36; // "2026-12-07T08:00:01.250 > FF mode 0\n"
// Well past the link's 5 s of waits before its box, however late the first
// wait began.
constexpr int kFrozenPastTimeOutMs = 8000;
constexpr int kThawSettleMs = 300;

const QString kCommFailure =
    QStringLiteral("WARNING - Communication Error!: Cannot Communicate with Target Board. "
                   "Verify RS-232 Cable is Connected Between COMM Port and PROG Port.");

// What strikes from outside the board's own firmware.
enum class Strike { BoardFault, Kill, Freeze, ReadOnly };

// The folder made immutable: even root can then neither create, rename nor
// remove a file in it (a plain chmod does not stop root). Undone on scope exit.
class ImmutableFolder {
public:
    explicit ImmutableFolder(const QString& path) : m_path(path) { m_set = setFlag(true); }
    ~ImmutableFolder() { release(); }
    bool isSet() const { return m_set; }
    void release() {
        if (m_set)
            m_set = !setFlag(false);
    }

private:
    bool setFlag(bool on) {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    QString m_path;
    bool m_set = false;
};

// A code "4" program of 64 records at 0x2000.
QByteArray programImage() {
    QByteArray image;
    for (int record = 0; record < 64; ++record) {
        QByteArray data(16, '\0');
        for (int i = 0; i < 16; ++i)
            data[i] = static_cast<char>((record * 16 + i) * 7 & 0xFF);
        image += intelHexRecord(0x2000 + record * 16, data);
    }
    return image + ":00000001FF\r\n";
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file of a folder and its bytes.
QMap<QString, QByteArray> snapshot(const QDir& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : folder.entryList(QDir::Files))
        files.insert(name, fileBytes(folder.filePath(name)));
    return files;
}

// Lines as expected; an expected line ending in "*" is a prefix.
bool matches(const QStringList& actual, const QStringList& expected) {
    if (actual.size() != expected.size())
        return false;
    for (int i = 0; i < actual.size(); ++i) {
        const QString& want = expected[i];
        if (want.endsWith(QLatin1Char('*')) ? !actual[i].startsWith(want.chopped(1))
                                            : actual[i] != want)
            return false;
    }
    return true;
}

bool frozenSetWanted() {
    return qEnvironmentVariable("VRAL_DRILLS") == QLatin1String("frozen");
}
} // namespace

class TestFaultDrills : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void commandDrill_data();
    void commandDrill();

private:
    // A command of the table, its files in m_files.
    struct Command {
        QStringList arguments;
        QString baud;            // empty: an unpaced line
        int confirmations = 0;   // lines on standard error before the strike can tell
        QStringList completeErr; // standard error after the confirmations when it completes
    };
    Command command(const QString& name) const;
    CtlRun ctl(const QString& device, const QStringList& arguments) const {
        return runVralctl(linkArguments(device, m_home.path()) + arguments, 60000);
    }

    QTemporaryDir m_home;
    QTemporaryDir m_scratch; // traces: outside the folder the drills watch
    QString m_files;
};

void TestFaultDrills::initTestCase() {
    QVERIFY(m_home.isValid());
    QVERIFY(m_scratch.isValid());
    m_files = m_home.filePath(QStringLiteral("files"));
    QVERIFY(QDir().mkpath(m_files));
    // A document unlike the board's, sent by the download and overwritten by
    // the upload; a program set for the download and one for the upload.
    BoardProcess board({QStringLiteral("--stopped"), QStringLiteral("--set"),
                        QStringLiteral("B1011=42"), QStringLiteral("--set"),
                        QStringLiteral("W1004=1234")});
    QCOMPARE(ctl(board.device(), {"upload", "all", m_files + "/machine.sdt"}).exitCode, kExitOk);
    const QDir files(m_files);
    for (const QString& name : {QStringLiteral("prog"), QStringLiteral("backup")}) {
        QVERIFY(writeAll(files.filePath(name + ".wdx"), "\"4\",\"drill program\"\r\n"));
        QVERIFY(writeAll(files.filePath(name + ".rev"), "DRILLPRG0:01\r\n"));
        QVERIFY(writeAll(files.filePath(name + ".hex"), programImage()));
    }
}

TestFaultDrills::Command TestFaultDrills::command(const QString& name) const {
    const QDir files(m_files);
    const QString paced = QStringLiteral("19200");
    if (name == QLatin1String("upload"))
        return {{"upload", "all", files.filePath("machine.sdt")}, paced, 0, {}};
    if (name == QLatin1String("download"))
        return {{"download", "all", files.filePath("machine.sdt")}, paced, 0, {}};
    if (name == QLatin1String("program download"))
        // Two confirmations first, answered Yes by --yes.
        return {{"program", "download", files.filePath("prog.wdx"), "--yes"},
                paced,
                2,
                {"Program Download: Program Download Complete!"}};
    if (name == QLatin1String("program upload"))
        return {{"program", "upload", files.filePath("backup.wdx")},
                {},
                0,
                {"Program Upload: Program Upload Complete!"}};
    if (name == QLatin1String("report"))
        return {
            {"report", files.filePath("machine.sdt"), files.filePath("machine.pdf")}, {}, 0, {}};
    return {{"watch", "B1011", "W1004", "--interval", "20", "--count", "60"}, paced, 0, {}};
}

void TestFaultDrills::commandDrill_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("strike");
    QTest::addColumn<QStringList>("boardFault"); // vral-boardsim's --fault options
    QTest::addColumn<int>("atLine");             // trace lines before the strike
    QTest::addColumn<int>("frozenMs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("err"); // standard error after the confirmations, exactly
    QTest::addColumn<bool>("completes");

    const auto fault = [](const char* name, int after) {
        return QStringList{"--fault", name, "--fault-after", QString::number(after)};
    };
    const int kill = int(Strike::Kill);
    const int freeze = int(Strike::Freeze);
    const int board = int(Strike::BoardFault);
    const int readOnly = int(Strike::ReadOnly);
    const QStringList none;
    const auto upFailed = [](const char* element) {
        return QStringLiteral("VRAL: Error Processing Request Process Not Complete Last Read: "
                              "Element %1")
            .arg(QLatin1String(element));
    };
    const auto downFailed = [](const char* element) {
        return QStringLiteral("VRAL: Error Processing Request Process Not Complete Last "
                              "Written: Element %1")
            .arg(QLatin1String(element));
    };
    const QString progDownFailed =
        QStringLiteral("Program Download: Program Download Not Complete! Records accepted by "
                       "the board: *");
    const QString progChecksum =
        QStringLiteral("Program Download: Checksum Error, Program Download Halted! Records "
                       "accepted by the board: *");
    const QString progUpFailed = QStringLiteral(
        "Program Upload: Program Upload Not Complete! HEX file not created. Program memory "
        "read: 2000H to *");

    struct Row {
        const char* name;
        const char* command;
        int strike;
        QStringList boardFault;
        int atLine;
        int frozenMs;
        int exitCode;
        QStringList err;
        bool completes;
    };
    const QList<Row> rows = {
        // clang-format off
        // "&All" upload: the values are read into the document, the file
        // written only at the end.
        {"upload, board killed", "upload", kill, none, 400, 0,
         kExitLink, {kCommFailure, upFailed("*")}, false},
        // Thawed within the link's 5 s: the board answers the byte that timed
        // out and the resynchronising 0xFF at once; the link voids that
        // transaction, lets the board drop it and does it again.
        {"upload, frozen 1.5 s and thawed", "upload", freeze, none, 400, 1500,
         kExitOk, {}, true},
        {"upload, frozen past the time-out", "upload", freeze, none, 400, kFrozenPastTimeOutMs,
         kExitLink, {kCommFailure, upFailed("*")}, false},
        {"upload, wrong echo once", "upload", board, fault("wrong-echo=1", 300), 0, 0,
         kExitOk, {}, true},
        {"upload, wrong echo twice", "upload", board, fault("wrong-echo=2", 300), 0, 0,
         kExitLink, {upFailed("68 (W1150)")}, false},
        {"upload, folder made read-only", "upload", readOnly, none, 400, 0,
         kExitFile, {"@/machine.sdt: Operation not permitted"}, false},
        // "&All" download: values, the PLS configuration, the channels.
        {"download, board killed", "download", kill, none, 400, 0,
         kExitLink, {kCommFailure, downFailed("*")}, false},
        {"download, frozen 1.5 s and thawed", "download", freeze, none, 400, 1500,
         kExitOk, {}, true},
        {"download, frozen past the time-out", "download", freeze, none, 400, kFrozenPastTimeOutMs,
         kExitLink, {kCommFailure, downFailed("*")}, false},
        {"download, wrong echo once", "download", board, fault("wrong-echo=1", 300), 0, 0,
         kExitOk, {}, true},
        {"download, wrong echo twice", "download", board, fault("wrong-echo=2", 300), 0, 0,
         kExitLink, {downFailed("48 (W1794)")}, false},
        {"download, PLS busy in the channels", "download", board, fault("pls-busy=100000", 1200), 0, 0,
         kExitLink, {"WARNING - Communication Error!: Cannot Determine PLS READY Mode Within Target Board.", "VRAL: Error Processing Request Process Not Complete Last Written: Timing Channel CH00"}, false},
        // Program download: the record stream, then the 2 s pause after
        // program mode (trace line 1350 is the first byte after it).
        {"program download, killed mid-stream", "program download", kill, none, 700, 0,
         kExitLink, {kCommFailure, progDownFailed}, false},
        {"program download, killed in the 2 s pause", "program download", kill, none, 1350, 0,
         kExitLink, {kCommFailure, "Program Download: Could Not Send Program Ident and Revision to PLC!", progDownFailed}, false},
        // A record stalled past its 1 s reply wait is halted by its checksum.
        {"program download, frozen 1.5 s mid-stream", "program download", freeze, none, 700, 1500,
         kExitLink, {progChecksum}, false},
        {"program download, frozen past the time-out mid-stream", "program download", freeze, none, 700, kFrozenPastTimeOutMs,
         kExitLink, {progChecksum, kCommFailure}, false},
        {"program download, frozen 1.5 s in the 2 s pause", "program download", freeze, none, 1350, 1500,
         kExitOk, {"Program Download: Program Download Complete!"}, true},
        {"program download, bad checksum reply", "program download", board, fault("bad-checksum=1", 300), 0, 0,
         kExitLink, {progChecksum}, false},
        // Program upload: the whole memory read, then the three files.
        {"program upload, board killed", "program upload", kill, none, 2000, 0,
         kExitLink, {kCommFailure, progUpFailed}, false},
        {"program upload, frozen 1.5 s and thawed", "program upload", freeze, none, 2000, 1500,
         kExitOk, {"Program Upload: Program Upload Complete!"}, true},
        {"program upload, frozen past the time-out", "program upload", freeze, none, 2000, kFrozenPastTimeOutMs,
         kExitLink, {kCommFailure, progUpFailed}, false},
        {"program upload, wrong echo once", "program upload", board, fault("wrong-echo=1", 3000), 0, 0,
         kExitOk, {"Program Upload: Program Upload Complete!"}, true},
        {"program upload, wrong echo twice", "program upload", board, fault("wrong-echo=2", 3000), 0, 0,
         kExitLink, {progUpFailed}, false},
        {"program upload, folder made read-only", "program upload", readOnly, none, 2000, 0,
         kExitFile, {"RSComm-Upload Program: Error Number = 1106 Cannot write @/backup.hex: Operation not permitted"}, false},
        // The report needs no board: only its folder can fail it.
        {"report, folder made read-only", "report", readOnly, none, 0, 0,
         kExitFile, {"The report could not be written to \"@/machine.pdf\": the file could not be created."}, false},
        // watch: one line per pass until the count.
        {"watch, board killed", "watch", kill, none, 300, 0,
         kExitLink, {kCommFailure}, false},
        {"watch, frozen 1.5 s and thawed", "watch", freeze, none, 300, 1500,
         kExitOk, {}, true},
        {"watch, frozen past the time-out", "watch", freeze, none, 300, kFrozenPastTimeOutMs,
         kExitLink, {kCommFailure}, false},
        {"watch, wrong echo once", "watch", board, fault("wrong-echo=1", 100), 0, 0,
         kExitOk, {}, true},
        // A read whose echo is wrong gives an empty value without a box.
        {"watch, wrong echo twice", "watch", board, fault("wrong-echo=2", 100), 0, 0,
         kExitOk, {}, true},
        // clang-format on
    };
    for (const Row& row : rows) {
        const bool frozenPastTimeOut = row.frozenMs == kFrozenPastTimeOutMs;
        if (frozenPastTimeOut == frozenSetWanted())
            QTest::newRow(row.name)
                << QString::fromLatin1(row.command) << row.strike << row.boardFault << row.atLine
                << row.frozenMs << row.exitCode << row.err << row.completes;
    }
}

void TestFaultDrills::commandDrill() {
    QFETCH(QString, command);
    QFETCH(int, strike);
    QFETCH(QStringList, boardFault);
    QFETCH(int, atLine);
    QFETCH(int, frozenMs);
    QFETCH(int, exitCode);
    QFETCH(QStringList, err);
    QFETCH(bool, completes);
    const Command run = this->command(command);
    err.replaceInStrings(QStringLiteral("@"), m_files);

    QStringList boardOptions = {QStringLiteral("--stopped")};
    if (!run.baud.isEmpty())
        boardOptions << QStringLiteral("--baud") << run.baud;
    auto board = std::make_unique<BoardProcess>(boardOptions + boardFault);
    QVERIFY(!board->device().isEmpty());
    const QDir files(m_files);
    const QMap<QString, QByteArray> before = snapshot(files);

    // The trace tells how far the command has got; only rows that strike
    // from outside need it (it slows an unpaced line down).
    QStringList arguments = linkArguments(board->device(), m_home.path());
    const QString trace = m_scratch.filePath(QStringLiteral("drill.trace"));
    QFile::remove(trace);
    if (Strike(strike) != Strike::BoardFault)
        arguments << QStringLiteral("--trace") << trace;
    QProcess process;
    process.start(QStringLiteral(VRALCTL_PATH), arguments + run.arguments);
    QVERIFY(process.waitForStarted());
    if (Strike(strike) != Strike::BoardFault) {
        QVERIFY2(QTest::qWaitFor(
                     [&] { return QFileInfo(trace).size() >= atLine * kTraceLineBytes; }, 20000),
                 "the command never got under way");
        QVERIFY2(process.state() == QProcess::Running, "the command ended before the strike");
    }
    std::unique_ptr<ImmutableFolder> immutable;
    switch (Strike(strike)) {
    case Strike::Kill:
        board->kill();
        break;
    case Strike::Freeze:
        board->freeze();
        QTest::qWait(frozenMs);
        board->thaw();
        // The thawed board first works off the bytes it was sent meanwhile.
        QTest::qWait(kThawSettleMs);
        break;
    case Strike::ReadOnly:
        immutable = std::make_unique<ImmutableFolder>(m_files);
        QVERIFY2(immutable->isSet(), "the folder could not be made immutable (chattr +i)");
        break;
    case Strike::BoardFault:
        break;
    }
    QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(60000));
    if (immutable)
        immutable->release();
    const QStringList errLines = QString::fromLocal8Bit(process.readAllStandardError())
                                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY2(matches(errLines.mid(run.confirmations), err),
             qPrintable(errLines.mid(run.confirmations).join(QLatin1Char('\n'))));
    const QMap<QString, QByteArray> after = snapshot(files);
    if (!completes)
        QCOMPARE(after, before);

    // No momentary output left on (reset trips, end of shift) where the
    // board lived through it; a killed board comes back as a new one.
    if (Strike(strike) != Strike::Kill)
        QCOMPARE(ctl(board->device(), {"read", "B1016.0", "F133"}).out, QStringList({"0", "0"}));
    if (Strike(strike) == Strike::Kill || Strike(strike) == Strike::BoardFault) {
        board = std::make_unique<BoardProcess>(boardOptions);
        QVERIFY(!board->device().isEmpty());
    }
    // The fault gone, the same command succeeds; one that had completed
    // gives the same files again.
    const CtlRun again = ctl(board->device(), run.arguments);
    QCOMPARE(again.exitCode, kExitOk);
    QCOMPARE(again.err.mid(run.confirmations), run.completeErr);
    if (completes && command != QLatin1String("report"))
        QCOMPARE(snapshot(files), after);
}

QTEST_GUILESS_MAIN(TestFaultDrills)
#include "tst_faultdrills.moc"
