// vralctl program check, download and upload against the simulated board
// over a pseudo-terminal: what a check says of a file set, what reaches the
// board's program memory and ident block, and the files an upload writes.
#include "e2erig.h"
#include "filebytes.h"
#include "intelhex.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <signal.h>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitRefused = 2;
constexpr int kExitLink = 3;

// Code "4" boards hold their program at 0x2000..0x3FFF.
constexpr int kFirst = 0x2000;
constexpr int kSize = 0x2000;

// The whole program memory of a code "4" board, 16 bytes a record.
QByteArray programBytes(int seed) {
    QByteArray bytes(kSize, '\0');
    for (int i = 0; i < kSize; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return bytes;
}

QByteArray imageOf(const QByteArray& program) {
    QByteArray image;
    for (int offset = 0; offset < program.size(); offset += 16)
        image += intelHexRecord(kFirst + offset, program.mid(offset, 16));
    return image + ":00000001FF\r\n";
}

// Address -> byte of the data records of an image, with or without record
// checksums (an upload writes none).
QMap<int, quint8> imageData(const QByteArray& image) {
    QMap<int, quint8> data;
    for (QByteArray line : image.split('\n')) {
        line = line.trimmed();
        if (line.size() < 9 || line.mid(7, 2) != "00")
            continue;
        const int count = line.mid(1, 2).toInt(nullptr, 16);
        const int address = line.mid(3, 4).toInt(nullptr, 16);
        for (int j = 0; j < count; ++j)
            data[address + j] = static_cast<quint8>(line.mid(9 + 2 * j, 2).toInt(nullptr, 16));
    }
    return data;
}

using FileSet = QMap<QString, QByteArray>; // extension -> content

} // namespace

class TestVralctlProgram : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data();
    void check();
    void downloadThenUploadGivesTheSameImage();
    void downloadWithoutYesSendsNothing();
    void downloadOfConfiguredBoardSetsItsValues();
    void badChecksumReplyStopsDownload();
    void ctrlCStopsUploadSayingHowFar();
    void refused_data();
    void refused();

private:
    CtlRun ctl(const QString& device, const QStringList& arguments) {
        return runVralctl(linkArguments(device, m_home.path()) + arguments, 120000);
    }
    QString device() const { return m_board->device(); }
    // Writes name.<ext> for each entry; returns the path of name.wdx.
    QString makeSet(const QString& name, const FileSet& files) {
        for (auto it = files.begin(); it != files.end(); ++it)
            writeFileBytes(m_sets.filePath(name + QLatin1Char('.') + it.key()), it.value());
        return m_sets.filePath(name + QStringLiteral(".wdx"));
    }
    QString goodSet(const QString& name, const QByteArray& ident, int seed) {
        return makeSet(name, {{"wdx", "\"4\",\"test program\"\r\n"},
                              {"rev", ident + "0:03\r\n"},
                              {"hex", imageOf(programBytes(seed))}});
    }

    QTemporaryDir m_home;
    QTemporaryDir m_sets;
    std::unique_ptr<BoardProcess> m_board;
};

void TestVralctlProgram::initTestCase() {
    QVERIFY(m_home.isValid());
    QVERIFY(m_sets.isValid());
    m_board = std::make_unique<BoardProcess>(QStringList{QStringLiteral("--stopped")});
    QVERIFY(!m_board->device().isEmpty());
}

void TestVralctlProgram::check_data() {
    QTest::addColumn<FileSet>("files");
    QTest::addColumn<int>("exitCode");
    // The stdout lines after the first (the program file's full path);
    // the last one is compared as a prefix. "@" stands for the set's path
    // without its extension.
    QTest::addColumn<QStringList>("lines");

    const QByteArray wdx4 = "\"4\",\"test program\"\r\n";
    const QByteArray rev = "TESTPROG0:03\r\n";
    const QByteArray image = imageOf(programBytes(1).left(64));
    const QStringList disk = {"board code: 4 (R6121)", "ident: TESTPROG", "revision: 3",
                              "checksum: 10"};
    QTest::newRow("sound set") << FileSet{{"wdx", wdx4}, {"rev", rev}, {"hex", image}} << kExitOk
                               << disk +
                                      QStringList{"image: 4 records, 64 data bytes", "valid: yes"};
    QTest::newRow("end record alone")
        << FileSet{{"wdx", wdx4}, {"rev", rev}, {"hex", ":00000001FF\r\n\r\n"}} << kExitOk
        << disk + QStringList{"image: 0 records, 0 data bytes", "valid: yes"};
    QTest::newRow("one record")
        << FileSet{{"wdx", wdx4}, {"rev", rev}, {"hex", image.left(45) + ":00000001FF\r\n"}}
        << kExitOk << disk + QStringList{"image: 1 record, 16 data bytes", "valid: yes"};
    QTest::newRow("image with LF-only line ends")
        << FileSet{{"wdx", wdx4}, {"rev", rev}, {"hex", QByteArray(image).replace("\r\n", "\n")}}
        << kExitOk << disk + QStringList{"image: 4 records, 64 data bytes", "valid: yes"};
    QTest::newRow("bad third line")
        << FileSet{{"wdx", wdx4},
                   {"rev", rev},
                   {"hex", image.left(90) + "garbage\r\n" + image.mid(90)}}
        << kExitRefused
        << disk + QStringList{"image: line 3 does not start with \":\"",
                              "valid: no: image line 3 does not start with \":\""};
    QTest::newRow("extended address beyond 64 KiB")
        << FileSet{{"wdx", wdx4}, {"rev", rev}, {"hex", ":020000040001F9\r\n" + image}}
        << kExitRefused << disk + QStringList{"image: line 1 ", "valid: no: image line 1 "};
    QTest::newRow("no image file")
        << FileSet{{"wdx", wdx4}, {"rev", rev}} << kExitRefused
        << disk + QStringList{"image: missing", "valid: no: @.hex does not exist"};
    QTest::newRow("no revision file")
        << FileSet{{"wdx", wdx4}, {"hex", image}} << kExitRefused
        << QStringList{"board code: 4 (R6121)",
                       "ident: Unknown",
                       "revision: Unknown",
                       "checksum: Unknown",
                       "image: 4 records, 64 data bytes",
                       "valid: no: Program Download: @.rev Revision File is Not Valid Program "
                       "Downloaded Halted!"};
    QTest::newRow("revision digits not MarkHex")
        << FileSet{{"wdx", wdx4}, {"rev", "TESTPROG0G03\r\n"}, {"hex", image}} << kExitRefused
        << QStringList{"board code: 4 (R6121)",
                       "ident: Unknown",
                       "revision: Unknown",
                       "checksum: Unknown",
                       "image: 4 records, 64 data bytes",
                       "valid: no: Program Download: @.rev Revision File is Not Valid"};
    QTest::newRow("configured board")
        << FileSet{{"wdx", "\"8\",\"x\"\r\n"},
                   {"rev", rev},
                   {"lcf", "F" + QByteArray(34, '0') + "1" + "00" + "4" + "2" + "000%\r\n"},
                   {"hex", image}}
        << kExitOk
        << QStringList{"board code: 8 (R6124)",
                       "ident: TESTPROG",
                       "revision: 3",
                       "checksum: 10",
                       "configuration: B8190 3, B8189 4, B8188 10",
                       "image: 4 records, 64 data bytes",
                       "valid: yes"};
    QTest::newRow("configured board without configuration")
        << FileSet{{"wdx", "\"8\",\"x\"\r\n"}, {"rev", rev}, {"hex", image}} << kExitRefused
        << QStringList{"board code: 8 (R6124)",
                       "ident: TESTPROG",
                       "revision: 3",
                       "checksum: 10",
                       "image: 4 records, 64 data bytes",
                       "valid: no: Program Download: @.lcf Configuration File is Not Valid"};
    QTest::newRow("PLS program")
        << FileSet{{"wdx", "\"7\",\"x\"\r\n"}, {"rev", rev}, {"hex", image}} << kExitRefused
        << QStringList{"board code: 7 (R6141)",
                       "valid: no: PLS Program Download: PLS_program file is a PLS target "
                       "board program."};
    QTest::newRow("program file without a board code")
        << FileSet{{"wdx", ",x\r\n"}, {"rev", rev}, {"hex", image}} << kExitRefused
        << QStringList{"board code: none", "valid: no: the program file names no board type"};
    QTest::newRow("no program file")
        << FileSet{{"rev", rev}, {"hex", image}} << kExitFile << QStringList();
}

void TestVralctlProgram::check() {
    QFETCH(FileSet, files);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
    const QString path = makeSet(name, files);
    const CtlRun run = runVralctl({QStringLiteral("program"), QStringLiteral("check"), path});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == kExitFile) {
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, QStringList{"vralctl: " + path + ": no such program file"});
        return;
    }
    QCOMPARE(run.out.value(0), QStringLiteral("program file: ") + path);
    const QString stem = m_sets.filePath(name);
    for (QString& line : lines)
        line.replace(QLatin1Char('@'), stem);
    QCOMPARE(run.out.size(), lines.size() + 1);
    QCOMPARE(run.out.mid(1, lines.size() - 2), lines.mid(0, lines.size() - 2));
    QVERIFY2(run.out.at(lines.size() - 1).startsWith(lines.at(lines.size() - 2)),
             qPrintable(run.out.at(lines.size() - 1)));
    QVERIFY2(run.out.last().startsWith(lines.last()), qPrintable(run.out.last()));
}

void TestVralctlProgram::downloadThenUploadGivesTheSameImage() {
    const QByteArray program = programBytes(3);
    const QString path = goodSet(QStringLiteral("roundtrip"), "TESTPROG", 3);
    const CtlRun download =
        ctl(device(), {QStringLiteral("program"), QStringLiteral("download"), path, "--yes"});
    QCOMPARE(download.exitCode, kExitOk);
    QCOMPARE(download.out, QStringList{"records sent: 512"});
    QVERIFY2(download.err.contains("Program Download: Program Download Complete!"),
             qPrintable(download.err.join('\n')));
    // Both questions were asked, and answered by --yes.
    QCOMPARE(download.err.first(), "Program Download: You are about to download "
                                   "\"roundtrip.wdx\" to the K7600. Do you wish to continue?");
    QVERIFY(
        download.err.value(1).startsWith("Program Download - [TESTPROG]: Program to be loaded"));

    const CtlRun board = ctl(device(), {QStringLiteral("board")});
    QCOMPARE(board.exitCode, kExitOk);
    QVERIFY(board.out.contains("program ident: TESTPROG"));
    QVERIFY(board.out.contains("program revision: 3"));
    QVERIFY(board.out.contains("program checksum: 10"));

    const QString back = makeSet(QStringLiteral("backup"), {{"wdx", "\"4\",\"backup\"\r\n"}});
    const CtlRun upload =
        ctl(device(), {QStringLiteral("program"), QStringLiteral("upload"), back});
    QCOMPARE(upload.exitCode, kExitOk);
    const QString backImage = m_sets.filePath(QStringLiteral("backup.hex"));
    QCOMPARE(upload.out,
             QStringList({"image: " + backImage, "revision: " + m_sets.filePath("backup.rev")}));
    const QByteArray uploaded = fileBytes(backImage);
    const QList<QByteArray> lines = uploaded.split('\n');
    QCOMPARE(lines.size(), kSize / 16 + 2); // data lines, end record, nothing after the last CR LF
    QCOMPARE(lines.at(0), QByteArray(":10200000" + program.left(16).toHex().toUpper() + "\r"));
    QCOMPARE(lines.at(kSize / 16), QByteArray(":00000001FF\r"));
    QVERIFY(lines.last().isEmpty());
    QCOMPARE(imageData(uploaded), imageData(imageOf(program)));
    QCOMPARE(fileBytes(m_sets.filePath(QStringLiteral("backup.rev"))),
             QByteArray("TESTPROG0:03\r\n"));
}

void TestVralctlProgram::downloadWithoutYesSendsNothing() {
    const CtlRun before = ctl(device(), {QStringLiteral("read"), "B8192", "B61424"});
    QCOMPARE(before.exitCode, kExitOk);
    const QString path = goodSet(QStringLiteral("declined"), "DECLINED", 200);
    const CtlRun run = ctl(device(), {QStringLiteral("program"), QStringLiteral("download"), path});
    QCOMPARE(run.exitCode, kExitRefused);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, QStringList{"Program Download: You are about to download \"declined.wdx\" "
                                  "to the K7600. Do you wish to continue?"});
    const CtlRun after = ctl(device(), {QStringLiteral("read"), "B8192", "B61424"});
    QCOMPARE(after.out, before.out);
}

void TestVralctlProgram::downloadOfConfiguredBoardSetsItsValues() {
    const QString path =
        makeSet(QStringLiteral("configured"),
                {{"wdx", "\"8\",\"configured\"\r\n"},
                 {"rev", "CONFIG0102\r\n"},
                 {"lcf", "F" + QByteArray(34, '0') + "2" + "00" + "7" + "1" + "000%\r\n"},
                 {"hex", imageOf(programBytes(9).left(32))}});
    const CtlRun run =
        ctl(device(), {QStringLiteral("program"), QStringLiteral("download"), "--yes", path});
    QCOMPARE(run.exitCode, kExitOk);
    QCOMPARE(run.out, QStringList{"records sent: 2"});
    // File codes 2 and 1 are board values 5 and 5; the middle value as it is.
    const CtlRun values = ctl(device(), {QStringLiteral("read"), "B8190", "B8189", "B8188"});
    QCOMPARE(values.out, QStringList({"5", "7", "5"}));
    const CtlRun board = ctl(device(), {QStringLiteral("board")});
    QVERIFY(board.out.contains("program ident: CONFIG"));
    QVERIFY(board.out.contains("program revision: 2"));
    QVERIFY(board.out.contains("program checksum: 1"));
}

void TestVralctlProgram::badChecksumReplyStopsDownload() {
    BoardProcess faulty(
        {QStringLiteral("--stopped"), QStringLiteral("--fault"), QStringLiteral("bad-checksum=1")});
    QVERIFY(!faulty.device().isEmpty());
    const CtlRun before = ctl(faulty.device(), {QStringLiteral("board")});
    QCOMPARE(before.exitCode, kExitOk);
    const QString path = goodSet(QStringLiteral("faulty"), "FAULTY", 5);
    const CtlRun run = ctl(faulty.device(),
                           {QStringLiteral("program"), QStringLiteral("download"), path, "--yes"});
    QCOMPARE(run.exitCode, kExitLink);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err.last(), "Program Download: Checksum Error, Program Download Halted! Records "
                             "accepted by the board: 0 of 512.");
    // The download stopped at the first record: the board keeps its ident,
    // and no record after the refused one reached its memory.
    const CtlRun after = ctl(faulty.device(), {QStringLiteral("board")});
    QCOMPARE(after.exitCode, kExitOk);
    QCOMPARE(after.out.mid(5), before.out.mid(5));
    QVERIFY2(after.out.value(5).startsWith("program ident: "), qPrintable(after.out.join('\n')));
    const CtlRun second = ctl(faulty.device(), {QStringLiteral("read"), "B8208"});
    QCOMPARE(second.out, QStringList{"0"});
}

// Ctrl+C is the upload window's Cancel: no file is written, and the line
// that says so tells how far the reading got.
void TestVralctlProgram::ctrlCStopsUploadSayingHowFar() {
    BoardProcess paced(
        {QStringLiteral("--stopped"), QStringLiteral("--baud"), QStringLiteral("9600")});
    QVERIFY(!paced.device().isEmpty());
    const QString path = makeSet(QStringLiteral("stopped"), {{"wdx", "\"4\",\"stopped\"\r\n"}});
    const QString trace = m_sets.filePath(QStringLiteral("stopped.trace"));
    QProcess process;
    process.start(QStringLiteral(VRALCTL_PATH),
                  linkArguments(paced.device(), m_home.path()) +
                      QStringList{"--trace", trace, "program", "upload", path});
    QVERIFY(process.waitForStarted());
    // Well into the memory: the ident reads take some 60 bytes of the trace.
    QVERIFY(QTest::qWaitFor([&] { return fileBytes(trace).count('\n') >= 400; }, 15000));
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), kExitLink);
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    const QRegularExpression line(
        "^vralctl: program upload cancelled; no file written\\. Program memory read: 2000H to "
        "([0-9A-F]{4})H of 2000H to 3FFFH\\.\n$");
    const QRegularExpressionMatch match = line.match(err);
    QVERIFY2(match.hasMatch(), qPrintable(err));
    QVERIFY(match.captured(1).toInt(nullptr, 16) < 0x3FFF);
    QCOMPARE(QDir(m_sets.path()).entryList({"stopped.*"}, QDir::Files),
             (QStringList{"stopped.trace", "stopped.wdx"}));
}

void TestVralctlProgram::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<FileSet>("files"); // the set "refused"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // all of stderr; empty: the usage

    const QByteArray wdx4 = "\"4\",\"test program\"\r\n";
    const QByteArray rev = "TESTPROG0:03\r\n";
    QTest::newRow("upload: program file missing")
        << QStringList{"upload", "@missing"} << FileSet() << kExitFile
        << "vralctl: @missing: no such program file";
    QTest::newRow("upload: program file names no board")
        << QStringList{"upload", "@.wdx"} << FileSet{{"wdx", "\r\n"}} << kExitRefused
        << "vralctl: @.wdx: the program file names no board type";
    QTest::newRow("upload: PLS program")
        << QStringList{"upload", "@.wdx"} << FileSet{{"wdx", "\"7\",\"pls\"\r\n"}} << kExitRefused
        << "Program Upload: Board code \"7\" (R6141) has no program memory that can be uploaded. "
           "Program Upload Halted!";
    QTest::newRow("upload takes one file") << QStringList{"upload", "@.wdx", "--yes"}
                                           << FileSet{{"wdx", wdx4}} << kExitRefused << QString();
    QTest::newRow("download: program file missing")
        << QStringList{"download", "@missing", "--yes"} << FileSet() << kExitFile
        << "vralctl: @missing: no such program file";
    QTest::newRow("download: malformed image")
        << QStringList{"download", "@.wdx", "--yes"}
        << FileSet{{"wdx", wdx4}, {"rev", rev}, {"hex", ":1020000000\r\n:00000001FF\r\n"}}
        << kExitRefused << "vralctl: image line 1 is shorter than its count of 16 bytes";
    QTest::newRow("download: no image")
        << QStringList{"download", "@.wdx", "--yes"} << FileSet{{"wdx", wdx4}, {"rev", rev}}
        << kExitRefused << "vralctl: @.hex does not exist";
    QTest::newRow("download: PLS program")
        << QStringList{"download", "@.wdx", "--yes"}
        << FileSet{{"wdx", "\"7\"\r\n"}, {"rev", rev}, {"hex", ":00000001FF\r\n"}} << kExitRefused
        << "PLS Program Download: refused file is a PLS target board program. Open PLS program "
           "to download to target board. Program Downloaded Halted.";
    QTest::newRow("download without a file")
        << QStringList{"download", "--yes"} << FileSet() << kExitRefused << QString();
    QTest::newRow("unknown verb") << QStringList{"erase", "@.wdx"} << FileSet{{"wdx", wdx4}}
                                  << kExitRefused << QString();
}

// Refusals before the port is opened: the board is never asked anything, so
// the device named is one that does not exist.
void TestVralctlProgram::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(FileSet, files);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString stem = m_sets.filePath(QStringLiteral("refused"));
    for (const QString ext : {"wdx", "rev", "hex", "lcf"})
        QFile::remove(stem + QLatin1Char('.') + ext);
    makeSet(QStringLiteral("refused"), files);
    const QString missing = m_sets.filePath(QStringLiteral("missing.wdx"));
    for (QString& argument : arguments)
        argument.replace("@missing", missing).replace("@", stem);
    message.replace("@missing", missing).replace("@", stem);
    const CtlRun run = ctl(m_sets.filePath(QStringLiteral("no-such-device")),
                           QStringList{QStringLiteral("program")} + arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(run.err, QStringList{message});
    else
        QVERIFY2(run.err.join('\n').contains("program upload FILE.wdx"),
                 qPrintable(run.err.join('\n')));
    if (!files.contains("hex"))
        QVERIFY(!QFile::exists(stem + QStringLiteral(".hex")));
}

QTEST_GUILESS_MAIN(TestVralctlProgram)
#include "tst_vralctlprogram.moc"
