// The program upload against the in-memory board: the reads on the wire, the
// three files byte for byte, and that every failure, a second uncertain
// read and a cancel leave the old file set exactly as it was.
#include "atomicfilewriter.h"
#include "linkmessages.h"
#include "programfileset.h"
#include "programrig.h"
#include "uploadprogram.h"

#include <QDir>
#include <QSaveFile>
#include <QtTest>

namespace {

const QByteArray kOldImage(":0120000099\r\n:00000001FF\r\n");
const QByteArray kOldRevision("OLDPROG00102\r\n");
const QByteArray kOldConfig("old configuration\r\n");
const QString kNotComplete =
    QStringLiteral("Program Upload Not Complete!\r\n\r\nHEX file not created.\r\n\r\n");

// What the board holds at an address of its program memory.
int programByte(int address) {
    return address % 16 == 0 ? 10 : (address * 7 + 3) & 0xFF;
}

struct UploadRig : ProgramRig {
    // A set with an old image, revision and configuration; selected for the
    // upload, the board online and holding a program.
    void prepare(char code) {
        put("wdx", QByteArray(1, code) + ",Wendax");
        put("hex", kOldImage);
        put("rev", kOldRevision);
        put("lcf", kOldConfig);
        link.UploadFile(path("wdx"));
        for (int a = 0x2000; a < 0x10000; ++a)
            if (a < 61424 || a > 61433)
                board.setMemory(a, std::uint8_t(programByte(a)));
        setMemoryBytes(board, 61424, {'K', '7', 0, 0, 0, 0, 0, 0, 10, 0xAF});
        setMemoryBytes(board, 8188, {10, 7, 5}); // B8188, B8189, B8190
        QVERIFY(goOnline());
        link.setInUploadMode(true);
        prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    }
    bool setUnchanged() const {
        return readFile(path("hex")) == kOldImage && readFile(path("rev")) == kOldRevision &&
               readFile(path("lcf")) == kOldConfig;
    }
    QStringList boxes() const {
        QStringList result;
        for (const auto& r : prompts.messages())
            result << r.title + "|" + r.text;
        return result;
    }
};

// A file an upload must write, kept under tests/data/upload.
QByteArray golden(const QString& name) {
    return readFile(qEnvironmentVariable("VRAL_TEST_DATA") + QStringLiteral("/upload/") + name);
}

QByteArray memoryReads(int first, int count) {
    QByteArray w;
    for (int a = first; a < first + count; ++a)
        w += wire::address(a);
    return w;
}

} // namespace

class TestUploadProgram : public QObject {
    Q_OBJECT

private slots:
    void filesWritten_data();
    void filesWritten();
    void notStarted_data();
    void notStarted();
    void refusedBeforeTheBoard_data();
    void refusedBeforeTheBoard();
    void failureLeavesSet_data();
    void failureLeavesSet();
    void mismatchReadAgain();
    void setReplacedTogether();
    void failedReplacementRollsBack_data();
    void failedReplacementRollsBack();
    void companionsInAnyCase();
};

void TestUploadProgram::filesWritten_data() {
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("image");  // golden image file
    QTest::addColumn<QString>("config"); // golden configuration file; empty: the old one stays

    QTest::newRow("4: 8 KiB") << QByteArray("4") << 0x2000 << 0x2000
                              << QStringLiteral("code4-8.hex") << QString();
    QTest::newRow("8: 8 KiB and the configuration")
        << QByteArray("8") << 0x2000 << 0x2000 << QStringLiteral("code4-8.hex")
        << QStringLiteral("code8.lcf");
    QTest::newRow("A: 24 KiB and the configuration")
        << QByteArray("A") << 0x2000 << 0x6000 << QStringLiteral("codeA.hex")
        << QStringLiteral("codeA.lcf");
    QTest::newRow("D: 32 KiB up to 0xBFFF")
        << QByteArray("D") << 0x4000 << 0x8000 << QStringLiteral("codeD.hex") << QString();
}

void TestUploadProgram::filesWritten() {
    QFETCH(QByteArray, code);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QString, image);
    QFETCH(QString, config);
    UploadRig rig;
    rig.prepare(code.at(0));
    UploadProgram upload(rig.link);
    QStringList labels;
    const int maximum = upload.progressMaximum();
    int steps = 0;
    rig.run(upload, [&](int step) {
        if (labels.isEmpty() || labels.last() != upload.statusText())
            labels << upload.statusText();
        steps = step;
        QVERIFY(upload.progress() < maximum); // full only once it has ended
    });
    // The bar is full exactly at the end.
    QCOMPARE(upload.progressMaximum(), maximum);
    QCOMPARE(upload.progress(), maximum);
    QCOMPARE(steps + 1, maximum);

    QCOMPARE(rig.boxes(), QStringList{"Program Upload|Program Upload Complete!"});
    QVERIFY(upload.succeeded());
    const QByteArray goldenImage = golden(image);
    QVERIFY(!goldenImage.isEmpty());
    QCOMPARE(readFile(rig.path("hex")), goldenImage);
    QCOMPARE(readFile(rig.path("rev")), golden(QStringLiteral("prog.rev")));
    QCOMPARE(readFile(rig.path("lcf")), config.isEmpty() ? kOldConfig : golden(config));
    QCOMPARE(readFile(rig.path("wdx")), code + ",Wendax");

    QByteArray reads = wire::identReads();
    if (!config.isNull())
        reads += wire::address(8190) + wire::address(8189) + wire::address(8188);
    QCOMPARE(rig.port.sentBytes().toHex(' '), (reads + memoryReads(first, count)).toHex(' '));

    QVERIFY(!rig.link.InUploadMode());
    QVERIFY(!upload.ReadingIdent());
    QVERIFY(rig.link.OnlineMode);
    QCOMPARE(labels.first(), QStringLiteral("Reading Program Ident ... "));
    if (count > 0) {
        QCOMPARE(labels.count(), 2 + count / 16);
        QCOMPARE(labels.at(1), QStringLiteral("Reading From Program Address:  "));
        const auto blockLabel = [](int address) {
            return QStringLiteral("Reading From Program Address: ") +
                   QString::number(address, 16).toUpper() + QLatin1Char('H');
        };
        QCOMPARE(labels.at(2), blockLabel(first));
        QCOMPARE(labels.last(), blockLabel(first + count - 16));
    }
}

void TestUploadProgram::notStarted_data() {
    QTest::addColumn<bool>("uploadMode");
    QTest::addColumn<bool>("online");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("offline") << true << false
                             << QStringList{"Program Upload|Program is Currently OFFLINE.\r\n\r\n"
                                            "Switch to ONLINE MODE to Continue."};
    QTest::newRow("upload mode not asked for") << false << true << QStringList();
}

void TestUploadProgram::notStarted() {
    QFETCH(bool, uploadMode);
    QFETCH(bool, online);
    QFETCH(QStringList, boxes);
    UploadRig rig;
    rig.prepare('8');
    rig.link.OnlineMode = online;
    rig.link.setInUploadMode(uploadMode);
    UploadProgram upload(rig.link);
    rig.run(upload);
    QCOMPARE(rig.boxes(), boxes);
    QCOMPARE(rig.port.sentBytes(), QByteArray());
    QVERIFY(rig.setUnchanged());
    QVERIFY(!rig.link.InUploadMode());
}

void TestUploadProgram::refusedBeforeTheBoard_data() {
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("text");
    const QString halted = QStringLiteral("\r\n\r\nProgram Upload Halted!");
    QTest::newRow("7: a PLS board") << QByteArray("7")
                                    << "Board code \"7\" (R6141) has no program memory that can "
                                       "be uploaded." +
                                           halted;
    QTest::newRow("?: configured by its code, no memory")
        << QByteArray("?")
        << "Board code \"?\" (K7140) has no program memory that can be uploaded." + halted;
    QTest::newRow("2: its top page is the attention byte's")
        << QByteArray("2")
        << "Board code \"2\" (R6112) keeps its program at 5000H to FFFFH, but FF00H to FFFFH "
           "cannot be read over this link: FFH as an address high byte is the board's attention "
           "byte.\r\n\r\nAn image without that top page, where the reset and interrupt vectors "
           "usually are, is no backup." +
               halted;
}

// Refused before the board is asked anything: the files, the link and the
// board stay as they were.
void TestUploadProgram::refusedBeforeTheBoard() {
    QFETCH(QByteArray, code);
    QFETCH(QString, text);
    UploadRig rig;
    rig.prepare(code.at(0));
    UploadProgram upload(rig.link);
    rig.run(upload);
    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("Program Upload"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QCOMPARE(rig.port.sentBytes(), QByteArray());
    QVERIFY(rig.setUnchanged());
    QVERIFY(!upload.succeeded());
    QVERIFY(!rig.link.InUploadMode());
    QVERIFY(rig.link.OnlineMode);
}

void TestUploadProgram::failureLeavesSet_data() {
    QTest::addColumn<int>("atStep");
    QTest::addColumn<int>("failure"); // 0 device lost, 1 two wrong echoes, 2 cancel
    QTest::addColumn<QStringList>("boxes");
    const QString lost = LinkMessages::kCommErrorTitle + "|" + LinkMessages::kNoAnswer;
    // How far the memory reads got: the start, 10 ident and 3 configuration
    // reads come before the first of 2000H to 3FFFH.
    const auto notComplete = [](const char* read) {
        return "Program Upload|" + kNotComplete + "Program memory read: " + read +
               " of 2000H to 3FFFH.";
    };
    QTest::newRow("device lost in the ident") << 3 << 0 << QStringList{lost};
    QTest::newRow("device lost in the configuration")
        << 12 << 0 << QStringList{lost, notComplete("none")};
    QTest::newRow("device lost in the memory")
        << 5000 << 0 << QStringList{lost, notComplete("2000H to 3379H")};
    QTest::newRow("device lost at the last byte")
        << 8205 << 0 << QStringList{lost, notComplete("2000H to 3FFEH")};
    QTest::newRow("wrong echo twice in the ident") << 5 << 1 << QStringList{notComplete("none")};
    QTest::newRow("wrong echo twice in the memory")
        << 300 << 1 << QStringList{notComplete("2000H to 211DH")};
    QTest::newRow("cancel in the memory") << 4000 << 2 << QStringList();
    QTest::newRow("cancel before the files") << 8206 << 2 << QStringList();
}

void TestUploadProgram::failureLeavesSet() {
    QFETCH(int, atStep);
    QFETCH(int, failure);
    QFETCH(QStringList, boxes);
    UploadRig rig;
    rig.prepare('8'); // 10 ident reads, 3 configuration reads, 8192 memory reads
    UploadProgram upload(rig.link);
    rig.run(upload, [&](int step) {
        if (step != atStep)
            return;
        if (failure == 0)
            rig.port.unplug();
        else if (failure == 1)
            rig.board.setFault(BoardSim::Fault::WrongEcho, 2);
        else
            upload.cancel();
    });
    QCOMPARE(rig.boxes(), boxes);
    QVERIFY(rig.setUnchanged());
    QVERIFY(!upload.succeeded());
    QVERIFY(!rig.link.InUploadMode());
    if (!boxes.isEmpty() && boxes.last().startsWith("Program Upload|" + kNotComplete))
        QVERIFY(!rig.link.OnlineMode);
}

void TestUploadProgram::mismatchReadAgain() {
    UploadRig rig;
    rig.prepare('4');
    UploadProgram upload(rig.link);
    // One wrong echo at the read of 0x2000 + 100: made once more, after a
    // fresh handshake, and the upload goes on.
    rig.run(upload, [&](int step) {
        if (step == 11 + 100)
            rig.board.setFault(BoardSim::Fault::WrongEcho, 1);
    });
    QCOMPARE(rig.boxes(), QStringList{"Program Upload|Program Upload Complete!"});
    QCOMPARE(readFile(rig.path("hex")), golden(QStringLiteral("code4-8.hex")));
    const QByteArray again =
        wire::address(0x2064).left(1) + wire::readMode() + wire::address(0x2064);
    QCOMPARE(rig.port.sentBytes().toHex(' '), (wire::identReads() + memoryReads(0x2000, 100) +
                                               again + memoryReads(0x2065, 0x2000 - 101))
                                                  .toHex(' '));
}

void TestUploadProgram::setReplacedTogether() {
    UploadRig rig;
    rig.prepare('8');
    // The revision file cannot be replaced (a folder stands in its place):
    // neither may the image and configuration, already written in full.
    QVERIFY(QFile::remove(rig.path("rev")));
    QVERIFY(QDir(rig.setDir.path()).mkdir("prog.rev"));
    UploadProgram upload(rig.link);
    rig.run(upload);
    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("RSComm-Upload Program"));
    QCOMPARE(box.icon, Prompts::Icon::Information);
    QVERIFY2(box.text.startsWith("Error Number = 1106\r\n\r\nCannot write " + rig.path("rev")),
             qPrintable(box.text));
    QCOMPARE(readFile(rig.path("hex")), kOldImage);
    QCOMPARE(readFile(rig.path("lcf")), kOldConfig);
    QVERIFY(!upload.succeeded());
    QVERIFY(!rig.link.InUploadMode());
    QCOMPARE(QDir(rig.setDir.path()).entryList(QDir::Files).size(), 3); // no temporary left
}

void TestUploadProgram::failedReplacementRollsBack_data() {
    QTest::addColumn<int>("failingFile"); // 0-based, in the order image, configuration, revision
    QTest::newRow("the configuration fails: the new image goes") << 1;
    QTest::newRow("the revision fails: the new image and configuration go") << 2;
}

// The image and configuration were there before; the revision file of a
// first backup was not. A replacement failing part-way puts back what the
// earlier ones replaced, and leaves no file where there was none.
void TestUploadProgram::failedReplacementRollsBack() {
    QFETCH(int, failingFile);
    UploadRig rig;
    rig.put("hex", kOldImage);
    rig.put("lcf", kOldConfig);
    const QDateTime imageTime = QFileInfo(rig.path("hex")).lastModified().addSecs(-3600);
    {
        QFile image(rig.path("hex"));
        QVERIFY(image.open(QIODevice::ReadWrite));
        QVERIFY(image.setFileTime(imageTime, QFileDevice::FileModificationTime));
    }
    int commits = 0;
    const QString failure = writeFilesAtomically(
        {{rig.path("hex"), "new image"}, {rig.path("lcf"), "new config"}, {rig.path("rev"), "x"}},
        [&](QSaveFile& file) {
            if (commits++ < failingFile)
                return file.commit();
            file.cancelWriting();
            return false;
        });
    const QStringList paths{rig.path("hex"), rig.path("lcf"), rig.path("rev")};
    QVERIFY2(failure.startsWith(paths.at(failingFile) + ": "), qPrintable(failure));
    QVERIFY2(!failure.contains("put back"), qPrintable(failure));
    QCOMPARE(commits, failingFile + 1);
    QCOMPARE(readFile(rig.path("hex")), kOldImage);
    QCOMPARE(QFileInfo(rig.path("hex")).lastModified(), imageTime);
    QCOMPARE(readFile(rig.path("lcf")), kOldConfig);
    QVERIFY(!QFile::exists(rig.path("rev")));
    QCOMPARE(QDir(rig.setDir.path()).entryList(QDir::Files),
             (QStringList{"prog.hex", "prog.lcf"})); // no temporary left
}

// A set written in capitals: the picked file keeps its spelling, its
// companions are found in theirs and rewritten, no lower-case twin appears.
void TestUploadProgram::companionsInAnyCase() {
    UploadRig rig;
    writeFile(rig.setDir.filePath("UP.WDX"), "8,Wendax");
    writeFile(rig.setDir.filePath("UP.REV"), kOldRevision);
    writeFile(rig.setDir.filePath("UP.Hex"), kOldImage);
    writeFile(rig.setDir.filePath("UP.LCF"), kOldConfig);
    rig.prepare('8');
    rig.link.UploadFile(rig.setDir.filePath("UP.WDX"));
    QCOMPARE(rig.link.programFiles().ProgramPath, rig.setDir.filePath("UP.WDX"));
    UploadProgram upload(rig.link);
    rig.run(upload);
    QVERIFY(upload.succeeded());
    QCOMPARE(readFile(rig.setDir.filePath("UP.Hex")), golden(QStringLiteral("code4-8.hex")));
    QCOMPARE(readFile(rig.setDir.filePath("UP.REV")).left(2), QByteArray("K7"));
    QCOMPARE(QDir(rig.setDir.path()).entryList(QStringList{"UP.*"}, QDir::Files, QDir::Name),
             (QStringList{"UP.Hex", "UP.LCF", "UP.REV", "UP.WDX"}));
}

QTEST_GUILESS_MAIN(TestUploadProgram)
#include "tst_uploadprogram.moc"
