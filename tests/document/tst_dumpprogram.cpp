// The program download against the in-memory board, judged on the wire:
// every byte sent from the ident read to the ident written, what is refused
// before anything is sent, and where a failure stops it and how it ends.
#include "dumpprogram.h"
#include "forwardingport.h"
#include "linkmessages.h"
#include "programfileset.h"
#include "programrig.h"

#include <QtTest>

#include <optional>
#include <utility>

namespace {

const QByteArray kRevision("PROGRAM11<05\r\n"); // ident PROGRAM1, checksum 28, revision 5
const QByteArray kEnd(":00000001FF\r\n");
const QByteArray kTwoRecords(":0320000001020300\r\n:02201000FF0B00\r\n");
const QByteArray kTwoRecordsWire = QByteArray::fromHex("032000010203"
                                                       "022010FF0B");
const QList<int> kIdentWrites{'P', 'R', 'O', 'G', 'R', 'A', 'M', '1', 28, 5};

struct DumpRig : ProgramRig {
    // A file set of the given code; selected for the download and checked.
    void select(char code, const QByteArray& revision, const QByteArray& image,
                const QByteArray& config = QByteArray()) {
        put("wdx", QByteArray(1, code) + ",Wendax");
        put("rev", revision);
        put("hex", image);
        put("lcf", config);
        link.DownloadFile(path("wdx"));
    }
    // Goes online and answers the confirmation Yes.
    void readyToDump() {
        QVERIFY(goOnline());
        prompts.answerMessage(Prompts::Answer::Yes);
        prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    }
    QStringList titles() const {
        QStringList result;
        for (const auto& r : prompts.messages())
            result << r.title;
        return result;
    }
    const ScriptedPrompts::Record& lastBox() const { return prompts.records().last(); }
};

QByteArray configLine(int code8190, int value8189, int code8188) {
    return "F" + QByteArray(34, '0') + QByteArray::number(code8190) + "00" +
           QByteArray::number(value8189) + QByteArray::number(code8188) + "000%\r\n";
}

// Everything after the confirmation up to leaving program mode.
QByteArray startAndRecords(const QList<int>& configWrites, const QByteArray& records) {
    QByteArray w = wire::writeMode() + wire::write(8181, 86) + wire::write(8176, 0) + char(0xFF);
    if (!configWrites.isEmpty())
        w += wire::writeMode() + wire::write(8188, configWrites[0]) +
             wire::write(8189, configWrites[1]) + wire::write(8190, configWrites[2]);
    return w + bytes({0xFF, 0x03}) + records;
}

QByteArray identWrites(const QList<int>& values) {
    QByteArray w = wire::writeMode();
    for (int k = 0; k < values.size(); ++k)
        w += wire::write(61424 + k, values[k]);
    return w;
}

// The simulated line with one reply of the board replaced, as a board that
// answered something else would have sent it.
class ReplyReplacingPort : public ForwardingPort {
public:
    using ForwardingPort::ForwardingPort;

    std::optional<int> replaceNextReply;

    int readByte() override {
        const int byte = ForwardingPort::readByte();
        if (byte < 0 || !replaceNextReply)
            return byte;
        return *std::exchange(replaceNextReply, std::nullopt);
    }
};

} // namespace

class TestDumpProgram : public QObject {
    Q_OBJECT

private slots:
    void wholeDownload_data();
    void wholeDownload();
    void confirmation_data();
    void confirmation();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void stopsAtBadRecord_data();
    void stopsAtBadRecord();
    void linkLostWritingIdent();
    void boardStaysInProgramMode();
};

void TestDumpProgram::wholeDownload_data() {
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("revision");
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("recordsWire");
    QTest::addColumn<QList<int>>("configWrites");
    QTest::addColumn<QList<int>>("identValues");

    QTest::newRow("plain board, two records")
        << QByteArray("2") << kRevision << kTwoRecords + kEnd << QByteArray() << kTwoRecordsWire
        << QList<int>() << kIdentWrites;
    QTest::newRow("configured board writes its three values")
        << QByteArray("8") << kRevision << kTwoRecords + kEnd << configLine(1, 4, 2)
        << kTwoRecordsWire << QList<int>{10, 4, 3} << kIdentWrites;
    QTest::newRow("configured board, values beyond 1 and 2")
        << QByteArray("A") << kRevision << kEnd << configLine(3, 9, 0) << QByteArray()
        << QList<int>{20, 9, 12} << kIdentWrites;
    QTest::newRow("end record alone sends no record")
        << QByteArray("D") << kRevision << kEnd << QByteArray() << QByteArray() << QList<int>()
        << kIdentWrites;
    QTest::newRow("ident shorter than 8 written with 0s")
        << QByteArray("3") << QByteArray("  AB 0:01\r\n") << kEnd << QByteArray() << QByteArray()
        << QList<int>() << QList<int>{'A', 'B', 0, 0, 0, 0, 0, 0, 10, 1};
    QTest::newRow("LF lines, address records skipped, lower case")
        << QByteArray("2") << kRevision
        << QByteArray(":020000040000FA\n:0320000001020300\n:0400000500002000D7\n"
                      ":02201000ff0b\n:00000001FF\n\n")
        << QByteArray() << kTwoRecordsWire << QList<int>() << kIdentWrites;
}

void TestDumpProgram::wholeDownload() {
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, revision);
    QFETCH(QByteArray, image);
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, recordsWire);
    QFETCH(QList<int>, configWrites);
    QFETCH(QList<int>, identValues);
    DumpRig rig;
    rig.select(code.at(0), revision, image, config);
    QVERIFY(rig.link.ValidProgram());
    rig.readyToDump();
    DumpProgram dump(rig.link);
    QList<int> maxima;
    rig.run(dump, [&](int) {
        maxima << dump.progressMaximum();
        QVERIFY(dump.progress() < maxima.last()); // full only once it has ended
    });
    // From the first step on (the image read) the maximum is the number of
    // steps, and the bar is full exactly at the end.
    QCOMPARE(maxima.count(maxima.last()), maxima.size());
    QCOMPARE(dump.progress(), maxima.last());
    QCOMPARE(dump.progressMaximum(), maxima.size() + 1);

    const QByteArray beforeLeaving =
        wire::identReads() + startAndRecords(configWrites, recordsWire);
    QCOMPARE(rig.port.sentBytes().toHex(' '),
             (beforeLeaving + char(0xFF) + identWrites(identValues)).toHex(' '));
    // 0.1 s before the attention that starts the download; 2 s between
    // leaving program mode and the ident writes.
    const qsizetype startAttention = wire::identReads().size() + 2 + 3 + 3;
    QCOMPARE(rig.pauseTexts(),
             (QStringList{QStringLiteral("%1:100").arg(startAttention),
                          QStringLiteral("%1:2000").arg(beforeLeaving.size() + 1)}));

    QCOMPARE(rig.titles(),
             (QStringList{"Program Download - [" + rig.link.programFiles().IdentOnDisk + "]",
                          "Program Download"}));
    QCOMPARE(rig.lastBox().text, QStringLiteral("Program Download Complete!"));
    QCOMPARE(rig.lastBox().icon, Prompts::Icon::Information);
    QVERIFY(dump.succeeded());
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.link.CommError);
    QVERIFY(!rig.link.ValidProgram());
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(!rig.board.inProgramMode());
    for (int k = 0; k < 10; ++k)
        QCOMPARE(int(rig.board.memory(61424 + k)), identValues[k]);
    if (!recordsWire.isEmpty()) {
        QCOMPARE(int(rig.board.programMemory().byte(0x2002)), 3);
        QCOMPARE(int(rig.board.programMemory().byte(0x2010)), 0xFF);
        QCOMPARE(int(rig.board.programMemory().byte(0x2011)), 0x0B);
    }
    QCOMPARE(dump.recordsSent(), recordsWire.isEmpty() ? 0 : 2);
}

void TestDumpProgram::confirmation_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("No") << int(Prompts::Answer::No);
    QTest::newRow("Cancel") << int(Prompts::Answer::Cancel);
}

void TestDumpProgram::confirmation() {
    QFETCH(int, answer);
    DumpRig rig;
    // The ident on disk is padded with a NUL, shown as nothing.
    rig.select('8',
               QByteArray("PROGRAM\0"
                          "1<05\r\n",
                          14),
               kTwoRecords + kEnd, configLine(1, 4, 2));
    QVERIFY(rig.goOnline());
    // The board's ident: control and NUL characters are not shown.
    setMemoryBytes(rig.board, 61424, {'O', 'L', 'D', 7, 'X', 0, 0, 31, 200, 3});
    rig.prompts.answerMessage(Prompts::Answer(answer));
    DumpProgram dump(rig.link);
    rig.run(dump);

    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("Program Download - [PROGRAM]"));
    QCOMPARE(box.icon, Prompts::Icon::Question);
    QCOMPARE(box.buttons, Prompts::Buttons::YesNoCancel);
    QCOMPARE(box.defaultButton, Prompts::DefaultButton::No);
    QCOMPARE(box.text, QStringLiteral("Program to be loaded into module (on disk):\r\n"
                                      "  Program Ident: \t\tPROGRAM\r\n"
                                      "  Program Revision: \t\t5\r\n"
                                      "  Program Checksum: \t28\r\n"
                                      "  Target Board: \t\tR6124\r\n"
                                      "\r\n"
                                      "Program currently loaded in module:\r\n"
                                      "  Program Ident: \t\tOLDX\r\n"
                                      "  Program Revision: \t\t3\r\n"
                                      "  Program Checksum: \t200\r\n"
                                      "\r\n"
                                      "Entire program file will be dumped to the PLC.\r\n"
                                      "All outputs are off while program dump occurrs.\r\n"
                                      "\r\n"
                                      "Do You Wish to Continue?\r\n"));
    // Declined: only the ident was read, and the link is as it was.
    QCOMPARE(rig.port.sentBytes().toHex(' '), wire::identReads().toHex(' '));
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(rig.link.ValidProgram());
}

void TestDumpProgram::refusedBeforeSending_data() {
    QTest::addColumn<QByteArray>("image"); // null: no image file
    QTest::addColumn<bool>("online");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("validAfter");

    // The box names the line that is wrong and how.
    const auto invalid = [](const QString& fault) {
        return "Currently Selected Program is Invalid.\r\n\r\nProgram Download Halted!\r\n\r\n"
               "{dir}/prog.hex: line " +
               fault + ".";
    };
    const int exclamation = int(Prompts::Icon::Exclamation);
    QTest::newRow("offline") << kTwoRecords + kEnd << false << "Program Download"
                             << int(Prompts::Icon::Information)
                             << "Program is Currently OFFLINE.\r\n\r\nSwitch to ONLINE MODE to "
                                "Continue."
                             << true;
    QTest::newRow("no image file")
        << QByteArray() << true << "Program Download" << int(Prompts::Icon::Information)
        << "{dir}/prog.hex File Does Not Exist.\r\n\r\n"
           "Program Downloaded Halted"
        << true;
    QTest::newRow("empty image file") << QByteArray("") << true << "Program Download" << exclamation
                                      << "{dir}/prog.hex File is Not Valid\r\n\r\n"
                                         "Program Downloaded Halted"
                                      << true;
    QTest::newRow("bad line after good records")
        << kTwoRecords + "0320300001020300\r\n" + kEnd << true << "Program Dump" << exclamation
        << invalid("3 does not start with \":\"") << false;
    QTest::newRow("bad line last")
        << kTwoRecords + kEnd + "x\r\n"
        << true << "Program Dump" << exclamation << invalid("4 does not start with \":\"") << false;
    QTest::newRow("data byte not hex")
        << QByteArray(":022000000G01\r\n") + kEnd << true << "Program Dump" << exclamation
        << invalid("1 has a data byte that is not hex") << false;
    QTest::newRow("record longer than its line")
        << kTwoRecords + ":10200000010203\r\n" + kEnd << true << "Program Dump" << exclamation
        << invalid("3 is shorter than its count of 16 bytes") << false;
    QTest::newRow("extended address not 0")
        << QByteArray(":020000040001F9\r\n") + kTwoRecords + kEnd << true << "Program Dump"
        << exclamation << invalid("1 sets an extended address outside the board's 64 KiB") << false;
    QTest::newRow("only empty lines") << QByteArray("\r\n\r\n") << true << "Program Dump"
                                      << exclamation << invalid("1 holds no record") << false;
}

void TestDumpProgram::refusedBeforeSending() {
    QFETCH(QByteArray, image);
    QFETCH(bool, online);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QString, text);
    QFETCH(bool, validAfter);
    DumpRig rig;
    rig.select('2', kRevision, image);
    QVERIFY(rig.link.ValidProgram());
    if (online)
        QVERIFY(rig.goOnline());
    rig.prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    DumpProgram dump(rig.link);
    rig.run(dump);

    QCOMPARE(rig.port.sentBytes().toHex(' '), QByteArray());
    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, title);
    QCOMPARE(int(box.icon), icon);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QCOMPARE(box.text, QString(text).replace("{dir}", rig.setDir.path()));
    QCOMPARE(rig.link.ValidProgram(), validAfter);
    QCOMPARE(rig.link.OnlineMode, online); // nothing was sent: the link is as it was
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(!rig.board.inProgramMode());
    QVERIFY(!dump.boardTouched());
}

void TestDumpProgram::stopsAtBadRecord_data() {
    QTest::addColumn<int>("failure"); // 0 wrong checksum, 1 no reply, 2 device lost
    QTest::addColumn<QStringList>("boxes");
    // Each box says how far the download got.
    const QString howFar =
        "\r\n\r\nRecords accepted by the board: 1 of 3, the last at 2000H (line 1).";
    QTest::newRow("wrong checksum reply")
        << 0 << QStringList{"Program Download|Checksum Error, Program Download Halted!" + howFar};
    QTest::newRow("no checksum reply")
        << 1 << QStringList{"Program Download|Checksum Error, Program Download Halted!" + howFar};
    QTest::newRow("device lost") << 2
                                 << QStringList{LinkMessages::kCommErrorTitle + "|" +
                                                    LinkMessages::kNoAnswer,
                                                "Program Download|Program Download Not Complete!" +
                                                    howFar};
}

void TestDumpProgram::stopsAtBadRecord() {
    QFETCH(int, failure);
    QFETCH(QStringList, boxes);
    DumpRig rig;
    rig.select('2', kRevision, kTwoRecords + ":0130000055\r\n" + kEnd);
    rig.readyToDump();
    DumpProgram dump(rig.link);
    // The failure strikes at the second record.
    bool struck = false;
    rig.run(dump, [&](int) {
        if (dump.recordsSent() != 1 || struck)
            return;
        struck = true;
        if (failure == 0)
            rig.board.setFault(BoardSim::Fault::BadChecksum, 1);
        else if (failure == 1)
            rig.board.setFault(BoardSim::Fault::Silent);
        else
            rig.port.unplug();
    });
    QVERIFY(struck);

    QStringList shown;
    for (const auto& r : rig.prompts.messages().mid(1))
        shown << r.title + "|" + r.text;
    QCOMPARE(shown, boxes);
    // The second record went out, then nothing: no request to leave program
    // mode, no ident.
    const QByteArray expected = wire::identReads() + startAndRecords({}, kTwoRecordsWire.left(6)) +
                                (failure == 2 ? QByteArray() : kTwoRecordsWire.mid(6));
    QCOMPARE(rig.port.sentBytes().toHex(' '), expected.toHex(' '));
    QCOMPARE(dump.recordsSent(), 1);
    QVERIFY(!dump.succeeded());
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.link.InProgramMode());
    QCOMPARE(rig.link.CommError, failure == 2);
}

void TestDumpProgram::linkLostWritingIdent() {
    DumpRig rig;
    rig.select('2', kRevision, kTwoRecords + kEnd);
    rig.readyToDump();
    DumpProgram dump(rig.link);
    bool lost = false;
    rig.run(dump, [&](int) {
        if (dump.WritingIdent() && !lost) {
            rig.port.unplug();
            lost = true;
        }
    });
    QVERIFY(lost);
    QStringList shown;
    for (const auto& r : rig.prompts.messages().mid(1))
        shown << r.text;
    QCOMPARE(shown, (QStringList{LinkMessages::kNoAnswer,
                                 "Could Not Send Program Ident and Revision to PLC!",
                                 "Program Download Not Complete!\r\n\r\nRecords accepted by "
                                 "the board: 2 of 2, the last at 2010H (line 2)."}));
    QCOMPARE(rig.lastBox().icon, Prompts::Icon::Critical);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.link.ValidProgram());
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(!dump.WritingIdent());
}

void TestDumpProgram::boardStaysInProgramMode() {
    DumpRig rig;
    rig.select('2', kRevision, kTwoRecords + kEnd);
    ReplyReplacingPort line(rig.port);
    QVERIFY(rig.goOnline(line));
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DumpProgram dump(rig.link);
    // The board answers the request to leave program mode with 0x00.
    bool armed = false;
    rig.run(dump, [&](int) {
        if (dump.recordsSent() == 2 && !armed) {
            line.replaceNextReply = 0x00;
            armed = true;
        }
    });
    QVERIFY(armed);
    QCOMPARE(rig.prompts.messageCount(), 2);
    QCOMPARE(rig.lastBox().title, QStringLiteral("Program Download"));
    QCOMPARE(rig.lastBox().text, QStringLiteral("PLC did not Exit Program Mode!\r\n\r\nRecords "
                                                "accepted by the board: 2 of 2, the last at "
                                                "2010H (line 2)."));
    QCOMPARE(rig.lastBox().icon, Prompts::Icon::Critical);
    // Nothing after the 0xFF: no pause, no ident.
    const QByteArray expected =
        wire::identReads() + startAndRecords({}, kTwoRecordsWire) + char(0xFF);
    QCOMPARE(rig.port.sentBytes().toHex(' '), expected.toHex(' '));
    QCOMPARE(rig.pauseTexts().size(), 1);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(!dump.succeeded());
}

QTEST_GUILESS_MAIN(TestDumpProgram)
#include "tst_dumpprogram.moc"
