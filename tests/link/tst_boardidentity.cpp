#include "codefile.h"
#include "linkrig.h"

// Board identity: fault code and text, firmware revision, board type names
// and configuration indexes, and the code files behind the texts.
class TestBoardIdentity : public QObject {
    Q_OBJECT

private slots:
    void boardTypes_data();
    void boardTypes();
    void faultDescription_data();
    void faultDescription();
    void brokenFaultFileShowsErrorBox();
    void parseCodeFile_data();
    void parseCodeFile();
    void lastMatchForCommErrors();
    void faultCodeAndFirmwareFromBoard();
    void offlineFirmwareTouchesNoLink();
    void transferFlags();
};

void TestBoardIdentity::boardTypes_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("index");
    QTest::newRow("1") << int('1') << "R6110"
                       << "1";
    QTest::newRow("2 shares index 1") << int('2') << "R6112"
                                      << "1";
    QTest::newRow("3") << int('3') << "R6114"
                       << "?";
    QTest::newRow("6") << int('6') << "R6116"
                       << "D";
    QTest::newRow("7 no index") << int('7') << "R6141"
                                << "";
    QTest::newRow("9") << int('9') << "Not Defined"
                       << "";
    QTest::newRow(":") << int(':') << "K7110"
                       << "@";
    QTest::newRow("=") << int('=') << "K7120(PLC)"
                       << "C";
    QTest::newRow(">") << int('>') << "K7120(PLS)"
                       << "";
    QTest::newRow("A") << int('A') << "V2210"
                       << "E";
    QTest::newRow("D") << int('D') << "K7600(PLC)"
                       << "G";
    QTest::newRow("E") << int('E') << "K7600(PLS)"
                       << "";
    QTest::newRow("F unknown") << int('F') << "F Is Not Defined."
                               << "";
    QTest::newRow("0 unknown") << int('0') << "0 Is Not Defined."
                               << "";
}

void TestBoardIdentity::boardTypes() {
    QFETCH(int, code);
    QFETCH(QString, name);
    QFETCH(QString, index);
    QCOMPARE(RSComm::TargetboardName(code), name);
    QCOMPARE(RSComm::LCFBoardIndex(code), index);
}

void TestBoardIdentity::faultDescription_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("no match") << QByteArray("01,One\r\n") << 0 << "Fault Code (00H): ";
    QTest::newRow("lower-case key") << QByteArray("0a,Ten\r\n") << 10 << "Fault Code (0AH): Ten";
    QTest::newRow("first match wins")
        << QByteArray("42,First\r\n42,Second\r\n") << 0x42 << "Fault Code (42H): First";
    QTest::newRow("quoted text with commas") << QByteArray("FF,\"Lost, check cable\"\r\n") << 255
                                             << "Fault Code (FFH): Lost, check cable";
    QTest::newRow("LF-only lines")
        << QByteArray("01,One\n02,Two\n") << 2 << "Fault Code (02H): Two";
    QTest::newRow("broken line after the match")
        << QByteArray("05,Five\r\n\"06,broken\r\n") << 5 << "Fault Code (05H): Five";
}

void TestBoardIdentity::faultDescription() {
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    QFETCH(QString, text);
    BoardRig rig;
    writeFile(rig.folder.dataPath("\\Support\\FaultErrCodes.txt"), file);
    QCOMPARE(rig.link.FaultDescription(code), text);
    QVERIFY(rig.prompts.records().isEmpty());
}

void TestBoardIdentity::brokenFaultFileShowsErrorBox() {
    BoardRig rig;
    QCOMPARE(rig.link.FaultDescription(1), "Fault Code (01H): --- Fault File Not Found ---");
    writeFile(rig.folder.dataPath("\\Support\\FaultErrCodes.txt"),
              "01,One\r\n02,\"Two\r\n03,Three\r\n");
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QCOMPARE(rig.link.FaultDescription(3), "Fault Code (03H): ");
    QCOMPARE(rig.prompts.records().size(), 1);
    const auto& box = rig.prompts.records().first();
    QCOMPARE(box.title, "RSComm FaultDescription");
    QCOMPARE(box.text, "Error Number = 1001\r\n\r\n" + codeFileErrorDescription(2));
    QCOMPARE(box.icon, Prompts::Icon::Information);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
}

void TestBoardIdentity::parseCodeFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("badLine");
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("blank lines skipped") << QByteArray("\r\n01,A\r\n\r\n") << 1 << 0;
    QTest::newRow("one field") << QByteArray("01,A\r\n02\r\n") << 1 << 2;
    QTest::newRow("three fields") << QByteArray("01,A,B\r\n") << 0 << 1;
    QTest::newRow("unclosed quote") << QByteArray("\"01,A\r\n") << 0 << 1;
    QTest::newRow("text after closing quote") << QByteArray("01,\"A\"B\r\n") << 0 << 1;
    QTest::newRow("quoted key, blanks round fields") << QByteArray(" \"01\" , A \r\n") << 1 << 0;
}

void TestBoardIdentity::parseCodeFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, records);
    QFETCH(int, badLine);
    const CodeFile parsed = ::parseCodeFile(file);
    QCOMPARE(parsed.records.size(), records);
    QCOMPARE(parsed.badLine, badLine);
    if (QTest::currentDataTag() == QLatin1String("quoted key, blanks round fields")) {
        QCOMPARE(parsed.records[0].key, "01");
        QCOMPARE(parsed.records[0].text, "A");
    }
}

void TestBoardIdentity::lastMatchForCommErrors() {
    const CodeFile parsed = ::parseCodeFile("42,Old\r\n42,New\r\n");
    QCOMPARE(findCode(parsed, codeKey(0x42), CodeMatch::Last), std::optional<QString>("New"));
    QCOMPARE(findCode(parsed, codeKey(0x43), CodeMatch::Last), std::nullopt);
}

void TestBoardIdentity::faultCodeAndFirmwareFromBoard() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setMemory(8176, 0x2A);
    rig.board.setMemory(8159, 17);
    QCOMPARE(rig.link.FaultCode(), 42);
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x01, 0x1F, 0xF0}));
    QCOMPARE(rig.link.FirmwareRev(), 17);
}

void TestBoardIdentity::offlineFirmwareTouchesNoLink() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.link.CommError = true;
    QCOMPARE(rig.link.FirmwareRev(), -1);
    rig.link.CommError = false;
    rig.link.OnlineMode = false;
    QCOMPARE(rig.link.FirmwareRev(), -1);
    QVERIFY(rig.port.sentBytes().isEmpty());
}

void TestBoardIdentity::transferFlags() {
    BoardRig rig;
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(!rig.link.InUploadMode());
    rig.link.setInUploadMode(true);
    rig.link.setInProgramMode(true);
    QVERIFY(rig.link.InUploadMode());
    QVERIFY(rig.link.InProgramMode());
}

QTEST_GUILESS_MAIN(TestBoardIdentity)
#include "tst_boardidentity.moc"
