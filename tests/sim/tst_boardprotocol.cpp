// The board's answers on the wire, byte by byte: handshakes, memory reads
// and writes, PLS transactions, the program-mode record stream and every
// injected fault.
#include "boardsim.h"
#include "manualclock.h"

#include <QtTest>

namespace {
QByteArray talk(BoardSim& board, const QByteArray& sent) {
    QByteArray replies;
    for (const char c : sent)
        replies += board.receive(static_cast<std::uint8_t>(c));
    return replies;
}

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}
} // namespace

Q_DECLARE_METATYPE(BoardSim::Fault)

class TestBoardProtocol : public QObject {
    Q_OBJECT

private slots:
    void exchange_data();
    void exchange();
    void fault_data();
    void fault();
    void memoryWriteStoresOnlyTheAddressedByte_data();
    void memoryWriteStoresOnlyTheAddressedByte();
    void stalledTransactionIsDropped();
    void channelCommandsAreRecalled_data();
    void channelCommandsAreRecalled();
    void configBlocksComeBackInReadOrder();
    void scaleAndOffsetWrites();
    void programRecordsLandInProgramAndBoardMemory();
    void defaultMemory_data();
    void defaultMemory();
};

void TestBoardProtocol::exchange_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("replies");

    // B1012 = 20 at start (0x03F4 -> 0x14).
    QTest::newRow("attention") << hex("FF") << hex("55");
    QTest::newRow("repeated attention before the mode byte") << hex("FFFF01") << hex("555555");
    QTest::newRow("memory read B1012") << hex("FF0103F4") << hex("55550314");
    QTest::newRow("consecutive reads share one handshake")
        << hex("FF0103F403F5") << hex("555503140314");
    QTest::newRow("read address low 0xFF is data")
        << hex("FF0103FF") << hex("555503") + QByteArray(1, '\0');
    QTest::newRow("read address high 0xFF is attention") << hex("FF01FF") << hex("555555");
    QTest::newRow("memory write echoes each byte") << hex("FF0203F419") << hex("555503F419");
    QTest::newRow("write data 0xFF is data") << hex("FF0203F4FF03F4") << hex("555503F4FF03F4");
    QTest::newRow("unknown mode byte refused") << hex("FF77") << hex("5500");
    QTest::newRow("stray byte without a mode is ignored") << hex("0355") << QByteArray();
    QTest::newRow("PLS scale read, low then high") << hex("FF185555") << hex("55556801");
    QTest::newRow("PLS offset read") << hex("FF285555") << hex("55550000");
    QTest::newRow("PLS position read, machine stopped") << hex("FF485555") << hex("55550000");
    QTest::newRow("PLS speed read, machine stopped") << hex("FF585555") << hex("55550000");
    QTest::newRow("poll after the word is read is ignored") << hex("FF18555555") << hex("55556801");
    QTest::newRow("PLS mode does not persist") << hex("FF18555503F4") << hex("55556801");
    QTest::newRow("scale write with ready handshake")
        << hex("FF1A6801385555") << hex("55555555550055");
    QTest::newRow("channel command with ready handshake")
        << hex("FF1B0000000000003855") << hex("55555555555555555500");
    QTest::newRow("recall channel 0: ON then OFF")
        << hex("FF090055555555FF090055555555") << hex("555555017800555555 00A000");
    QTest::newRow("recall channel 2: OFF setpoint 0")
        << hex("FF0902555555FF0902555555") << hex("555555 01B400 555555 000000");
    QTest::newRow("recall cleared channel 9") << hex("FF0909555555") << hex("555555020000");
    QTest::newRow("recall channel 16 refused") << hex("FF0910") << hex("555500");
    QTest::newRow("config read gives 19 values, channel count first")
        << hex("FF0C") + QByteArray(19, 0x55) << hex("555510") + QByteArray(18, '\0');
    QTest::newRow("unexpected byte in ready handshake drops the transaction")
        << hex("FF1A68015538") << hex("55555555");
    QTest::newRow("attention in ready handshake") << hex("FF1A6801FF01") << hex("5555555555 55");
    QTest::newRow("program record reply is the sum of its bytes")
        << hex("FF0303200AAABBCC")
        << hex("5555") + QByteArray(1, char((3 + 0x20 + 0x0A + 0xAA + 0xBB + 0xCC) & 0xFF));
    QTest::newRow("record summing to 300 answers 44, 0xFF inside a record is data")
        << hex("FF03022000FF0B") << hex("5555") + QByteArray(1, char(44));
    QTest::newRow("empty record answers after its address") << hex("FF03002000") << hex("555520");
    QTest::newRow("two records, one reply each")
        << hex("FF03 01200001 01200101") << hex("5555 22 23");
    QTest::newRow("0xFF at a record boundary leaves program mode")
        << hex("FF0301200001FF0103F4") << hex("555522555503 14");
}

void TestBoardProtocol::exchange() {
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, replies);
    ManualClock clock;
    BoardSim board(clock);
    QCOMPARE(talk(board, sent).toHex(' '), replies.toHex(' '));
}

void TestBoardProtocol::fault_data() {
    QTest::addColumn<BoardSim::Fault>("fault");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("replies");

    using F = BoardSim::Fault;
    QTest::newRow("silent board never answers") << F::Silent << 0 << hex("FFFF01") << QByteArray();
    QTest::newRow("silent for one byte") << F::Silent << 1 << hex("FFFF01") << hex("5555");
    QTest::newRow("wrong echo on read address drops the read")
        << F::WrongEcho << 1 << hex("FF0103FF0103F4") << hex("5555025555 0314");
    QTest::newRow("wrong echo on write address, retry succeeds")
        << F::WrongEcho << 1 << hex("FF0203FF0203F419") << hex("5555025555 03F419");
    QTest::newRow("wrong echo every time")
        << F::WrongEcho << 0 << hex("FF0203FF0203") << hex("5555025555 02");
    QTest::newRow("mode refused once")
        << F::ModeRefused << 1 << hex("FF01FF0103F4") << hex("55005555 0314");
    QTest::newRow("mode refused for good")
        << F::ModeRefused << 0 << hex("FF01FF02") << hex("55005500");
    QTest::newRow("attention still answered when modes are refused")
        << F::ModeRefused << 0 << hex("FFFF") << hex("5555");
    QTest::newRow("PLS busy twice, then ready")
        << F::PlsBusy << 2 << hex("FF1A6801 3855 3855 3855 55")
        << hex("55555555 5555 5555 5500 55");
    QTest::newRow("PLS parameter refused once, the command sent again")
        << F::PlsRefused << 1 << hex("FF1A68 FF1A6801") << hex("555500 55555555");
    QTest::newRow("bad checksum once")
        << F::BadChecksum << 1 << hex("FF03012000050120 0005") << hex("5555 27 26");
}

void TestBoardProtocol::fault() {
    QFETCH(BoardSim::Fault, fault);
    QFETCH(int, count);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, replies);
    ManualClock clock;
    BoardSim board(clock);
    board.setFault(fault, count);
    QCOMPARE(talk(board, sent).toHex(' '), replies.toHex(' '));
}

void TestBoardProtocol::memoryWriteStoresOnlyTheAddressedByte_data() {
    QTest::addColumn<BoardSim::Fault>("fault");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<int>("expected"); // value of B1012 afterwards

    using F = BoardSim::Fault;
    QTest::newRow("clean write") << F::None << hex("FF0203F419") << 25;
    QTest::newRow("write of 255") << F::None << hex("FF0203F4FF") << 255;
    QTest::newRow("wrong echo on data stores nothing") << F::WrongEcho << hex("FF0203F419") << 20;
}

void TestBoardProtocol::memoryWriteStoresOnlyTheAddressedByte() {
    QFETCH(BoardSim::Fault, fault);
    QFETCH(QByteArray, sent);
    QFETCH(int, expected);
    ManualClock clock;
    BoardSim board(clock);
    QByteArray before = board.memoryImage();
    // The fault strikes the data byte's echo: address echoes go through first.
    talk(board, sent.left(4));
    board.setFault(fault, 1);
    talk(board, sent.mid(4));
    QCOMPARE(int(board.memory(1012)), expected);
    before[1012] = char(expected);
    QVERIFY(board.memoryImage() == before);
}

void TestBoardProtocol::stalledTransactionIsDropped() {
    ManualClock clock;
    BoardSim board(clock);
    board.setMemory(0x03FF, 0x42);
    QCOMPARE(talk(board, hex("FF0103")), hex("555503"));
    clock.advance(BoardSim::kInterByteTimeoutMs); // not yet stalled: 0xFF is the address low byte
    QCOMPARE(talk(board, hex("FF")), hex("42"));
    QCOMPARE(talk(board, hex("03")), hex("03"));
    clock.advance(BoardSim::kInterByteTimeoutMs + 1); // stalled: 0xFF is attention
    QCOMPARE(talk(board, hex("FF01 03F4")), hex("5555 0314"));
}

void TestBoardProtocol::channelCommandsAreRecalled_data() {
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("recalls"); // two recalls' three bytes each

    QTest::newRow("single setpoint 359/10 on channel 12")
        << hex("FF1B 0C 6701 0A00 01 385555") << hex("016701 000A00");
    QTest::newRow("clear channel 0") << hex("FF1B 00 0000 0000 00 385555") << hex("020000 020000");
    QTest::newRow("pulse train start 300, on 10, off 20")
        << hex("FF2B 00 2C01 0A14 00 385555") << hex("032C01 032C01");
}

void TestBoardProtocol::channelCommandsAreRecalled() {
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, recalls);
    ManualClock clock;
    BoardSim board(clock);
    QCOMPARE(talk(board, command),
             QByteArray(command.size() - 2, 0x55) + QByteArray(1, '\0') + hex("55"));
    const int channel = static_cast<std::uint8_t>(command.at(2));
    QByteArray recall = hex("FF09") + QByteArray(1, char(channel)) + hex("555555");
    const QByteArray first = talk(board, recall);
    const QByteArray second = talk(board, recall);
    QCOMPARE((first + second).toHex(' '),
             (hex("555555") + recalls.left(3) + hex("555555") + recalls.mid(3)).toHex(' '));
}

void TestBoardProtocol::configBlocksComeBackInReadOrder() {
    ManualClock clock;
    BoardSim board(clock);
    // Blocks carry bytes 0..23 = 100..123.
    for (int block = 0; block < 4; ++block) {
        QByteArray sent = hex("FF") + QByteArray(1, char(0x3B + 16 * block));
        for (int i = 0; i < 6; ++i)
            sent += char(100 + 6 * block + i);
        talk(board, sent + hex("385555"));
    }
    const QByteArray read = talk(board, hex("FF0C") + QByteArray(19, 0x55)).mid(2);
    // Channel count (byte 18), program (0), compensations (1-4, 6-9), bytes 10-17, spare byte 5.
    QByteArray expected;
    expected += char(118);
    for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 5})
        expected += char(100 + i);
    QCOMPARE(read.toHex(' '), expected.toHex(' '));
}

void TestBoardProtocol::scaleAndOffsetWrites() {
    ManualClock clock;
    BoardSim board(clock);
    // Offset 10 with the resolver at 110 makes position 100; the offset the
    // link computes for a wanted position of 0 is 110.
    board.pls().turnResolver(110);
    talk(board, hex("FF2A0A00385555"));
    QCOMPARE(talk(board, hex("FF485555")).mid(2), hex("6400"));
    talk(board, hex("FF2A6E00385555"));
    QCOMPARE(talk(board, hex("FF485555")).mid(2), hex("0000"));
    QCOMPARE(talk(board, hex("FF285555")).mid(2), hex("6E00"));
    // Scale 0 is ignored; 1000 is taken.
    talk(board, hex("FF1A0000385555"));
    QCOMPARE(board.pls().scale(), 360);
    talk(board, hex("FF1AE803385555"));
    QCOMPARE(talk(board, hex("FF185555")).mid(2), hex("E803"));
}

void TestBoardProtocol::programRecordsLandInProgramAndBoardMemory() {
    ManualClock clock;
    BoardSim board(clock);
    talk(board, hex("FF03"));
    QVERIFY(board.inProgramMode());
    talk(board, hex("03 2000 112233") + hex("01 20FF 44"));
    QVERIFY(board.inProgramMode());
    QCOMPARE(talk(board, hex("FF")), hex("55"));
    QVERIFY(!board.inProgramMode());
    const QByteArray expected = hex("112233");
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(board.programMemory().byte(0x2000 + i), std::uint8_t(expected.at(i)));
        QCOMPARE(board.memory(0x2000 + i), std::uint8_t(expected.at(i)));
    }
    QCOMPARE(board.memory(0x20FF), std::uint8_t(0x44));
    QCOMPARE(board.programMemory().byte(0x2003), std::uint8_t(0));
    // Read back as the upload does, with ordinary memory reads.
    QCOMPARE(talk(board, hex("01 2000 2001")), hex("55 2011 2022"));
}

void TestBoardProtocol::defaultMemory_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("value");

    QTest::newRow("B1011 spindle trip offset") << 1011 << 22;
    QTest::newRow("B1002 varnish restart blow-offs") << 1002 << 33;
    QTest::newRow("W1004 low byte") << 1004 << 28;
    QTest::newRow("W1004 high byte") << 1005 << 0;
    QTest::newRow("B1017 shifts to varnish") << 1017 << 5;
    QTest::newRow("B2088 Q.C. target") << 2088 << 1;
    QTest::newRow("B4050 DF1 node") << 4050 << 1;
    QTest::newRow("F152 DF1 driver on") << 51 << 1;
    QTest::newRow("ident K") << 61424 << int('K');
    QTest::newRow("ident M") << 61431 << int('M');
    QTest::newRow("alarm word clear") << 121 << 0;
}

void TestBoardProtocol::defaultMemory() {
    QFETCH(int, address);
    QFETCH(int, value);
    ManualClock clock;
    BoardSim board(clock);
    QCOMPARE(int(board.memory(address)), value);
}

QTEST_GUILESS_MAIN(TestBoardProtocol)
#include "tst_boardprotocol.moc"
