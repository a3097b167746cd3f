#include "linkrig.h"

// The PLS operations on the wire: what each check refuses (box and nothing
// sent), which transactions an accepted operation makes, and where a failing
// one stops.
class TestPlsOperations : public QObject {
    Q_OBJECT

private slots:
    void registers_data();
    void registers();
    void registerReadFailsWithoutBoard();
    void singleSetpoint_data();
    void singleSetpoint();
    void singleSetpointRefused_data();
    void singleSetpointRefused();
    void singleSetpointWithCommErrorSendsNothing();
    void pulseTrainSent();
    void pulseTrainRefused_data();
    void pulseTrainRefused();
    void pulseTrainTransactionFails();
    void clearAndRecall();
    void setOffset_data();
    void setOffset();
    void setOffsetRefused();
    void configDownload();
    void configDownloadStopsAtRefusedBlock();
    void configUpload();
    void configUploadFails();
};

namespace {

const QByteArray kScaleRead = bytes({0xFF, 0x18, 0x55, 0x55});
const QByteArray kReadyQuery = bytes({0x38, 0x55, 0x55});

QByteArray channelCommand(int command, int chan, int first, int second, int kind) {
    return bytes(
               {0xFF, command, chan, first & 0xFF, first >> 8, second & 0xFF, second >> 8, kind}) +
           kReadyQuery;
}

} // namespace

void TestPlsOperations::registers_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("text");
    QTest::newRow("scale factor") << 0 << 0x18 << QStringLiteral("360");
    QTest::newRow("offset") << 1 << 0x28 << QStringLiteral("30");
    QTest::newRow("position: resolver less offset") << 2 << 0x48 << QStringLiteral("70");
    QTest::newRow("rpm") << 3 << 0x58 << QStringLiteral("250");
}

void TestPlsOperations::registers() {
    QFETCH(int, which);
    QFETCH(int, command);
    QFETCH(QString, text);
    LinkRig rig;
    rig.board.pls().setOffset(30);
    rig.board.pls().turnResolver(100);
    rig.board.pls().setRpm(250);
    QVERIFY(rig.goOnline());
    const QString got = which == 0   ? rig.link.PLSScaleFactor()
                        : which == 1 ? rig.link.PLSOffset()
                        : which == 2 ? rig.link.PLSPos()
                                     : rig.link.PLSRpm();
    QCOMPARE(got, text);
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, command, 0x55, 0x55}));
}

void TestPlsOperations::registerReadFailsWithoutBoard() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    QCOMPARE(rig.link.PLSScaleFactor(), QStringLiteral("-9999"));
    QVERIFY(rig.link.CommError);
}

void TestPlsOperations::singleSetpoint_data() {
    QTest::addColumn<bool>("clearChan");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("top of the scale, channel cleared first")
        << true
        << kScaleRead + channelCommand(0x1B, 5, 0, 0, 0) + channelCommand(0x1B, 5, 359, 20, 1);
    QTest::newRow("without clearing") << false << kScaleRead + channelCommand(0x1B, 5, 359, 20, 1);
}

void TestPlsOperations::singleSetpoint() {
    QFETCH(bool, clearChan);
    QFETCH(QByteArray, wire);
    LinkRig rig;
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.SingleSetpoint(5, 359, 20, clearChan));
    QCOMPARE(rig.port.sentBytes(), wire);
    QCOMPARE(rig.board.pls().channel(5).on, 359);
    QCOMPARE(rig.board.pls().channel(5).off, 20);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestPlsOperations::singleSetpointRefused_data() {
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("off");
    QTest::addColumn<int>("named");
    QTest::newRow("ON equal to the scale") << 360 << 20 << 360;
    QTest::newRow("OFF beyond the scale") << 10 << 400 << 400;
}

void TestPlsOperations::singleSetpointRefused() {
    QFETCH(int, on);
    QFETCH(int, off);
    QFETCH(int, named);
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QVERIFY(!rig.link.SingleSetpoint(5, on, off, true));
    QCOMPARE(rig.port.sentBytes(), kScaleRead);
    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("PLS Single Setpoint"));
    QCOMPARE(box.text, QStringLiteral("Setpoint setting %1 is greater than scale factor.\r\n\r\n"
                                      "Channel can not be programmed.")
                           .arg(named));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
}

void TestPlsOperations::singleSetpointWithCommErrorSendsNothing() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.link.CommError = true;
    QVERIFY(!rig.link.SingleSetpoint(1, 10, 20, true));
    QVERIFY(!rig.link.SetPLSOffset(0));
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestPlsOperations::pulseTrainSent() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.PulseTrain(2, 10, 20, 300));
    QCOMPARE(rig.port.sentBytes(),
             kScaleRead + bytes({0xFF, 0x2B, 2, 0x2C, 0x01, 10, 20, 0}) + kReadyQuery);
    QCOMPARE(rig.board.pls().channel(2).onDiv, 10);
    QCOMPARE(rig.board.pls().channel(2).offDiv, 20);
    QCOMPARE(rig.board.pls().channel(2).start, 300);
}

void TestPlsOperations::pulseTrainRefused_data() {
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("off");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("reason");
    QTest::newRow("ON division 0")
        << 0 << 20 << 0 << "ON Division and OFF Division Must be Greater Than 0.";
    QTest::newRow("not a divisor of the scale")
        << 7 << 10 << 0 << "ON Division Plus OFF Division\r\nMust be a Multiple of 360.";
    QTest::newRow("division beyond 255")
        << 300 << 60 << 0 << "ON Division or OFF Division Must be Less Than 255.";
    QTest::newRow("start at the scale")
        << 10 << 20 << 360 << "Start Position Must Not Be Greater Than 359.";
}

void TestPlsOperations::pulseTrainRefused() {
    QFETCH(int, on);
    QFETCH(int, off);
    QFETCH(int, start);
    QFETCH(QString, reason);
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QVERIFY(!rig.link.PulseTrain(2, on, off, start));
    QCOMPARE(rig.port.sentBytes(), kScaleRead);
    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("PLS Pulse Train"));
    QCOMPARE(box.text, reason + QStringLiteral("\r\n\r\nPLS Channel will not be Programmed."));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
}

void TestPlsOperations::pulseTrainTransactionFails() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::PlsBusy);
    rig.prompts.answerMessage(Prompts::Answer::Cancel); // the not-ready box
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QVERIFY(!rig.link.PulseTrain(2, 180, 180, 0)); // 180 + 180 divides 360
    const auto boxes = rig.prompts.messages();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.at(1).title, QStringLiteral("PLS Pulse Train"));
    QCOMPARE(boxes.at(1).text, QStringLiteral("Error Encountered while Programming Pulse Train."
                                              "\r\n\r\nPLS Channel will not be Programmed."));
    QCOMPARE(boxes.at(1).icon, Prompts::Icon::Information);
}

void TestPlsOperations::clearAndRecall() {
    LinkRig rig;
    rig.board.pls().setSingle(6, 90, 180);
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.RecallChannel(6));
    QCOMPARE(rig.link.ChannelRecallState(), 1);
    QCOMPARE(rig.link.ChannelRecallPos(), 90);
    QVERIFY(rig.link.ClearPLSChan(6));
    QCOMPARE(rig.port.sentBytes().mid(6), channelCommand(0x1B, 6, 0, 0, 0));
    QVERIFY(rig.link.RecallChannel(6));
    QCOMPARE(rig.link.ChannelRecallState(), 2);
    QCOMPARE(rig.link.ChannelRecallPos(), 0);
}

void TestPlsOperations::setOffset_data() {
    QTest::addColumn<int>("desired");
    QTest::addColumn<int>("written");
    QTest::newRow("position 0") << 0 << 110;
    QTest::newRow("position equal to the scale") << 360 << 110;
    QTest::newRow("position 50") << 50 << 60;
}

void TestPlsOperations::setOffset() {
    QFETCH(int, desired);
    QFETCH(int, written);
    LinkRig rig;
    rig.board.pls().setOffset(10);
    rig.board.pls().turnResolver(110); // position register 100
    QVERIFY(rig.goOnline());
    QVERIFY(rig.link.SetPLSOffset(desired));
    QCOMPARE(rig.port.sentBytes(),
             bytes({0xFF, 0x28, 0x55, 0x55, 0xFF, 0x48, 0x55, 0x55}) + kScaleRead +
                 bytes({0xFF, 0x2A, written & 0xFF, written >> 8}) + kReadyQuery);
    QCOMPARE(rig.board.pls().offset(), written);
}

void TestPlsOperations::setOffsetRefused() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QVERIFY(!rig.link.SetPLSOffset(361));
    QCOMPARE(rig.port.sentBytes().size(), 12); // the three reads, no write
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("Set PLS Offset"));
    QCOMPARE(box.text, QStringLiteral("Desired Position cannot be greater than Scale Factor of "
                                      "360.\r\n\r\nPLS Offset will not be Programmed."));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
}

void TestPlsOperations::configDownload() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    std::vector<int> cfg(24);
    for (int i = 0; i < 24; ++i)
        cfg[size_t(i)] = 100 + i;
    QVERIFY(rig.link.PLSConfigDownload(cfg, 720));
    QByteArray wire;
    for (int block = 0; block < 4; ++block) {
        wire += bytes({0xFF, 0x3B + 16 * block});
        for (int i = 0; i < 6; ++i)
            wire += char(100 + 6 * block + i);
        wire += kReadyQuery;
    }
    wire += bytes({0xFF, 0x1A, 0xD0, 0x02}) + kReadyQuery;
    QCOMPARE(rig.port.sentBytes(), wire);
    QCOMPARE(int(rig.board.pls().configByte(23)), 123);
    QCOMPARE(rig.board.pls().scale(), 720);
}

void TestPlsOperations::configDownloadStopsAtRefusedBlock() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::PlsBusy);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    QVERIFY(!rig.link.PLSConfigDownload(std::vector<int>(24, 7), 720));
    QVERIFY(!rig.port.sentBytes().contains(bytes({0xFF, 0x4B})));
    QVERIFY(!rig.port.sentBytes().contains(bytes({0xFF, 0x1A})));
    QCOMPARE(rig.board.pls().scale(), 360);
}

void TestPlsOperations::configUpload() {
    LinkRig rig;
    rig.board.pls().setConfigBlock(1, {21, 22, 23, 24, 25, 26});
    QVERIFY(rig.goOnline());
    const auto values = rig.link.PLSConfigUpload();
    const auto expected = rig.board.pls().configReadValues();
    for (size_t i = 0; i < expected.size(); ++i)
        QCOMPARE(values[i], int(expected[i]));
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestPlsOperations::configUploadFails() {
    LinkRig rig;
    QVERIFY(rig.goOnline(rig.paced));
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.link.PLSConfigUpload();
    const auto boxes = rig.prompts.messages();
    QCOMPARE(boxes.last().title, QStringLiteral("PLS Upload"));
    QCOMPARE(boxes.last().text, QStringLiteral("Not able to Upload Configuration from PLS."));
    QCOMPARE(boxes.last().icon, Prompts::Icon::Exclamation);
}

QTEST_GUILESS_MAIN(TestPlsOperations)
#include "tst_plsoperations.moc"
