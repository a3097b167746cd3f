// The PLS <-> document mapping on the in-memory board: the configuration block
// a document programs reads back into the same document, and recalls become
// the channel's setpoints.
#include "linkrig.h"
#include "plsmapping.h"
#include "setupdocument.h"
#include "transferwire.h"

#include <QtTest>

class TestPlsMapping : public QObject {
    Q_OBJECT

private slots:
    void configurationThroughBoard();
    void recallBecomesSetpoints_data();
    void recallBecomesSetpoints();
};

void TestPlsMapping::configurationThroughBoard() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    SetupDocument sent;
    sent.PLSProgram = 3;
    sent.PLSChannelCount = 12;
    sent.PLSScale = 360;
    sent.SpeedCompensation = {11, 12, 13, 14, 21, 22, 23, 24};
    QVERIFY(rig.link.PLSConfigDownload(PlsMapping::configurationBlock(sent), sent.PLSScale));
    // Four blocks of six: compensation CH00..CH03 after the program, CH04..CH07
    // opening the second block, the channel count opening the fourth.
    QCOMPARE(transferTransactions(rig.port.sentBytes()).mid(0, 4),
             (QStringList{"config 0x3b 3 11 12 13 14 0", "config 0x4b 21 22 23 24 0 0",
                          "config 0x5b 0 0 0 0 0 0", "config 0x6b 12 0 0 0 0 0"}));

    SetupDocument read;
    PlsMapping::storeConfiguration(rig.link.PLSConfigUpload(), read);
    QVERIFY(!rig.link.CommError);
    QCOMPARE(read.PLSProgram, sent.PLSProgram);
    QCOMPARE(read.PLSChannelCount, sent.PLSChannelCount);
    QCOMPARE(read.SpeedCompensation, sent.SpeedCompensation);
}

void TestPlsMapping::recallBecomesSetpoints_data() {
    QTest::addColumn<int>("kind"); // 0 single, 1 cleared, 2 pulse train
    QTest::addColumn<int>("recalls");
    QTest::addColumn<QList<int>>("edges"); // PlsMapping::RecalledSetpoint::Edge, per recall
    QTest::addColumn<int>("on");
    QTest::addColumn<int>("off");
    QTest::newRow("single: both edges") << 0 << 2 << QList<int>{0, 1} << 120 << 200;
    QTest::newRow("single: one recall, one edge") << 0 << 1 << QList<int>{0} << 120 << 6;
    QTest::newRow("cleared: both setpoints 0") << 1 << 1 << QList<int>{2} << 0 << 0;
    QTest::newRow("pulse train: no single setpoints") << 2 << 1 << QList<int>{2} << 0 << 0;
}

void TestPlsMapping::recallBecomesSetpoints() {
    QFETCH(int, kind);
    QFETCH(int, recalls);
    QFETCH(QList<int>, edges);
    QFETCH(int, on);
    QFETCH(int, off);
    constexpr int kChannel = 3;
    LinkRig rig;
    if (kind == 0)
        rig.board.pls().setSingle(kChannel, 120, 200);
    else if (kind == 1)
        rig.board.pls().clear(kChannel);
    else
        rig.board.pls().setPulseTrain(kChannel, 10, 2, 3);
    QVERIFY(rig.goOnline());
    SetupDocument document;
    document.OnSetpoints[kChannel] = 5;
    document.OffSetpoints[kChannel] = 6;

    QList<int> seen;
    for (int i = 0; i < recalls; ++i) {
        QVERIFY(rig.link.RecallChannel(kChannel));
        const PlsMapping::RecalledSetpoint recall = PlsMapping::recalledSetpoint(
            rig.link.ChannelRecallState(), rig.link.ChannelRecallPos());
        seen << int(recall.edge);
        PlsMapping::storeRecall(recall, kChannel, document);
    }
    QCOMPARE(seen, edges);
    QCOMPARE(int(document.OnSetpoints[kChannel]), on);
    QCOMPARE(int(document.OffSetpoints[kChannel]), off);
    QCOMPARE(int(document.OnSetpoints[kChannel + 1]), 0); // the neighbour is untouched
}

QTEST_GUILESS_MAIN(TestPlsMapping)
#include "tst_plsmapping.moc"
