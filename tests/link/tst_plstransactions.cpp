#include "linkrig.h"

#include <algorithm>

class TestPlsTransactions : public QObject {
    Q_OBJECT

private slots:
    void readWord_data();
    void readWord();
    void writeWord();
    void channelCommands_data();
    void channelCommands();
    void configBlock();
    void readConfig();
    void recallChannel();
    void readyWhileBusy();
    void notReadyThenCancel();
    void notReadyThenRetry();
};

void TestPlsTransactions::readWord_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("value");
    QTest::newRow("scale factor") << 0x18 << 360;
    QTest::newRow("offset") << 0x28 << 300;
    QTest::newRow("position") << 0x48 << 0;
}

void TestPlsTransactions::readWord() {
    QFETCH(int, command);
    QFETCH(int, value);
    LinkRig rig;
    rig.board.pls().setOffset(300);
    rig.board.pls().turnResolver(300);
    QVERIFY(rig.goOnline());
    rig.link.setLinkMode(1); // every PLS transaction handshakes, whatever the mode was

    QCOMPARE(rig.link.ReadPLSWord(command), value);
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, command, 0x55, 0x55}));
    QCOMPARE(rig.link.linkMode(), 0);
}

void TestPlsTransactions::writeWord() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.WritePLSWord(0x1A, 720));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x1A, 0xD0, 0x02, 0x38, 0x55, 0x55}));
    QCOMPARE(rig.port.receivedBytes().left(6), bytes({0x55, 0x55, 0x55, 0x55, 0x55, 0x00}));
    QCOMPARE(rig.board.pls().scale(), 720);
    QCOMPARE(rig.link.linkMode(), 0);
}

void TestPlsTransactions::channelCommands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("parameters");

    QTest::newRow("single setpoint") << 0x1B << 300 << 20 << 1 << bytes({3, 0x2C, 0x01, 20, 0, 1});
    QTest::newRow("clear channel") << 0x1B << 0 << 0 << 0 << bytes({3, 0, 0, 0, 0, 0});
    QTest::newRow("pulse train: start, then ON and OFF divisions")
        << 0x2B << 5 << (20 * 256 + 10) << 0 << bytes({3, 5, 0, 10, 20, 0});
}

void TestPlsTransactions::channelCommands() {
    QFETCH(int, command);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, kind);
    QFETCH(QByteArray, parameters);
    LinkRig rig;
    QVERIFY(rig.goOnline());

    QVERIFY(rig.link.SendPLSChannelCommand(command, 3, first, second, kind));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, command}) + parameters + bytes({0x38, 0x55, 0x55}));
    QCOMPARE(rig.link.linkMode(), 0);
}

void TestPlsTransactions::configBlock() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.SendPLSConfigBlock(0x5B, {1, 2, 3, 4, 5, 250}));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x5B, 1, 2, 3, 4, 5, 250, 0x38, 0x55, 0x55}));
    QCOMPARE(int(rig.board.pls().configByte(12)), 1);
    QCOMPARE(int(rig.board.pls().configByte(17)), 250);
}

void TestPlsTransactions::readConfig() {
    LinkRig rig;
    rig.board.pls().setConfigBlock(0, {11, 12, 13, 14, 15, 16});
    QVERIFY(rig.goOnline());
    const std::array<int, 19> values = rig.link.PLSConfigUpload();
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x0C}) + QByteArray(19, 0x55));
    const auto expected = rig.board.pls().configReadValues();
    QVERIFY(std::count(expected.begin(), expected.end(), 11) == 1); // the block is in the reply
    for (size_t i = 0; i < expected.size(); ++i)
        QCOMPARE(values[i], int(expected[i]));
}

void TestPlsTransactions::recallChannel() {
    LinkRig rig;
    rig.board.pls().setSingle(4, 300, 20);
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.RecallPLSChannel(4));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x09, 4, 0x55, 0x55, 0x55}));
    QCOMPARE(rig.link.ChannelRecallState(), 1);
    QCOMPARE(rig.link.ChannelRecallPos(), 300);
    QCOMPARE(rig.link.linkMode(), 0);
}

void TestPlsTransactions::readyWhileBusy() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::PlsBusy, 2);
    QVERIFY(rig.link.WritePLSWord(0x2A, 10));
    QCOMPARE(rig.port.sentBytes(),
             bytes({0xFF, 0x2A, 10, 0, 0x38, 0x55, 0x38, 0x55, 0x38, 0x55, 0x55}));
    QCOMPARE(rig.board.pls().offset(), 10);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestPlsTransactions::notReadyThenCancel() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::PlsBusy);
    qint64 boxTime = -1;
    rig.prompts.setDuringMessage([&] { boxTime = rig.clock.monotonicMs(); });
    rig.prompts.answerMessage(Prompts::Answer::Cancel);

    QVERIFY(!rig.link.WritePLSWord(0x2A, 10));
    const qint64 start = rig.sendTimes().at(4); // the first ready query
    QCOMPARE(rig.port.sentBytes().mid(4, 2), bytes({0x38, 0x55}));
    QVERIFY2(boxTime - start > 3000 && boxTime - start < 3010,
             qPrintable(QString::number(boxTime - start)));
    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("WARNING - Communication Error!"));
    QCOMPARE(box.text, QStringLiteral("Cannot Determine PLS READY Mode Within Target Board."));
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
    QVERIFY(rig.link.CommError);
}

void TestPlsTransactions::notReadyThenRetry() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::PlsBusy);
    QList<qint64> boxTimes;
    rig.prompts.setDuringMessage([&] { boxTimes.append(rig.clock.monotonicMs()); });
    rig.prompts.answerMessage(Prompts::Answer::Retry);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);

    QVERIFY(!rig.link.WritePLSWord(0x2A, 10));
    QCOMPARE(boxTimes.size(), 2);
    // Retry gives the PLS two more seconds.
    QVERIFY2(boxTimes.at(1) - boxTimes.at(0) > 2000 && boxTimes.at(1) - boxTimes.at(0) < 2010,
             qPrintable(QString::number(boxTimes.at(1) - boxTimes.at(0))));
}

QTEST_GUILESS_MAIN(TestPlsTransactions)
#include "tst_plstransactions.moc"
