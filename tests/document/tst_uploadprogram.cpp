// The program upload against the in-memory board: the reads on the wire, the
// three files byte for byte, and that every failure, a second uncertain
// read and a cancel leave the old file set exactly as it was.
#include "linkmessages.h"
#include "programfileset.h"
#include "programrig.h"
#include "uploadprogram.h"

#include <QDir>
#include <QtTest>

namespace {

const QByteArray kOldImage(":0120000099\r\n:00000001FF\r\n");
const QByteArray kOldRevision("OLDPROG00102\r\n");
const QByteArray kOldConfig("old configuration\r\n");
const QString kNotComplete =
    QStringLiteral("Program Upload Not Complete!\r\n\r\nHEX file not created.");

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

// The image file an upload of [first, first + count) must write, built
// here with the platform's own number formatting.
QByteArray expectedImage(int first, int count) {
    QByteArray image;
    for (int line = first; line < first + count; line += 16) {
        image +=
            QStringLiteral(":10%1").arg(line, 4, 16, QLatin1Char('0')).toUpper().toLatin1() + "00";
        for (int a = line; a < line + 16; ++a)
            image += QStringLiteral("%1")
                         .arg(programByte(a), 2, 16, QLatin1Char('0'))
                         .toUpper()
                         .toLatin1();
        image += "\r\n";
    }
    return image + ":00000001FF\r\n";
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
    void failureLeavesSet_data();
    void failureLeavesSet();
    void mismatchReadAgain();
    void setReplacedTogether();
    void topOfMemoryUnreadable();
};

void TestUploadProgram::filesWritten_data() {
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("config"); // null: the old one stays

    const QByteArray tail = QByteArray(34, '0') + "2"
                                                  "00"
                                                  "7"
                                                  "2"
                                                  "000%\r\n";
    QTest::newRow("4: 8 KiB") << QByteArray("4") << 0x2000 << 0x2000 << QByteArray();
    QTest::newRow("8: 8 KiB and the configuration")
        << QByteArray("8") << 0x2000 << 0x2000 << "F" + tail;
    QTest::newRow("A: 24 KiB and the configuration")
        << QByteArray("A") << 0x2000 << 0x6000 << "E" + tail;
    QTest::newRow("7: a PLS board, the end record only")
        << QByteArray("7") << 0 << 0 << QByteArray();
    // The upload asks no class: "?" lies in 8..A, so its values are read and
    // written, though it has no configuration index.
    QTest::newRow("?: configuration values, no memory") << QByteArray("?") << 0 << 0 << tail;
}

void TestUploadProgram::filesWritten() {
    QFETCH(QByteArray, code);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QByteArray, config);
    UploadRig rig;
    rig.prepare(code.at(0));
    UploadProgram upload(rig.link);
    QStringList labels;
    rig.run(upload, [&](int) {
        if (labels.isEmpty() || labels.last() != upload.statusText())
            labels << upload.statusText();
    });

    QCOMPARE(rig.boxes(), QStringList{"Program Upload|Program Upload Complete!"});
    QVERIFY(upload.succeeded());
    QCOMPARE(readFile(rig.path("hex")), expectedImage(first, count));
    QCOMPARE(readFile(rig.path("rev")), QByteArray("K7\0\0\0\0\0\0"
                                                   "0::?\r\n",
                                                   14));
    QCOMPARE(readFile(rig.path("lcf")), config.isNull() ? kOldConfig : config);
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

void TestUploadProgram::failureLeavesSet_data() {
    QTest::addColumn<int>("atStep");
    QTest::addColumn<int>("failure"); // 0 device lost, 1 two wrong echoes, 2 cancel
    QTest::addColumn<QStringList>("boxes");
    const QString lost = LinkMessages::kCommErrorTitle + "|" + LinkMessages::kNoAnswer;
    const QString notComplete = "Program Upload|" + kNotComplete;
    QTest::newRow("device lost in the ident") << 3 << 0 << QStringList{lost};
    QTest::newRow("device lost in the configuration") << 12 << 0 << QStringList{lost, notComplete};
    QTest::newRow("device lost in the memory") << 5000 << 0 << QStringList{lost, notComplete};
    QTest::newRow("device lost at the last byte") << 8205 << 0 << QStringList{lost, notComplete};
    QTest::newRow("wrong echo twice in the ident") << 5 << 1 << QStringList{notComplete};
    QTest::newRow("wrong echo twice in the memory") << 300 << 1 << QStringList{notComplete};
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
    if (boxes.contains("Program Upload|" + kNotComplete))
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
    QCOMPARE(readFile(rig.path("hex")), expectedImage(0x2000, 0x2000));
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

void TestUploadProgram::topOfMemoryUnreadable() {
    UploadRig rig;
    rig.prepare('2'); // 0x5000 to 0xFFFF
    UploadProgram upload(rig.link);
    rig.run(upload);
    // In memory-read mode the board takes 0xFF at a transaction boundary as
    // attention (a mode change costs four bytes), so an address high byte
    // 0xFF is answered 0x55, not echoed. Read once more, it fails again, and
    // the upload ends without writing anything rather than with a wrong image.
    QCOMPARE(rig.boxes(), QStringList{"Program Upload|" + kNotComplete});
    QVERIFY(rig.setUnchanged());
    const QByteArray expected = wire::identReads() + memoryReads(0x5000, 0xFF00 - 0x5000) +
                                char(0xFF) + wire::readMode() + char(0xFF);
    QCOMPARE(rig.port.sentBytes().size(), expected.size());
    QCOMPARE(rig.port.sentBytes().right(64).toHex(' '), expected.right(64).toHex(' '));
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.link.InUploadMode());
}

QTEST_GUILESS_MAIN(TestUploadProgram)
#include "tst_uploadprogram.moc"
