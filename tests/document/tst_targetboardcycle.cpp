// The target board page's status cycle on the in-memory board, without the
// page: the status reading once per online period, one location per step,
// then the field locations round and round.
#include "linkrig.h"
#include "targetboardcycle.h"
#include "transferwire.h"

#include <QtTest>

namespace {
const std::array<QString, 8> kFieldAddresses = {"B8180",  "B8191",  "B43012", "B43010",
                                                "B43008", "B43016", "B43015", "B43017"};
constexpr int kIdentBase = 61424;
} // namespace

class TestTargetBoardCycle : public QObject {
    Q_OBJECT

private slots:
    void statusThenFields_data();
    void statusThenFields();
};

void TestTargetBoardCycle::statusThenFields_data() {
    QTest::addColumn<bool>("readsSlot");
    QTest::newRow("board with a CO-CPU slot") << true;
    QTest::newRow("board without one") << false;
}

void TestTargetBoardCycle::statusThenFields() {
    QFETCH(bool, readsSlot);
    LinkRig rig;
    setMemoryBytes(rig.board, 8175, {3, 0x1A, 0x2B, 0, 0x07});
    setMemoryBytes(rig.board, kIdentBase, {'V', 'R', 'A', 'L', 'T', 'E', 'S', 'T', 77, 12});
    rig.board.setMemory(8180, 5);
    rig.board.setMemory(43017, 26);
    QVERIFY(rig.goOnline());
    TargetBoardCycle cycle(rig.link, readsSlot, kFieldAddresses);
    cycle.restart();

    QStringList expected{"read 8176", "read 8177", "read 8175",
                         "read 8177", "read 8179", "read 8178"};
    if (readsSlot)
        expected << "read 8175";
    for (int m = 0; m < 10; ++m)
        expected << QStringLiteral("read %1").arg(kIdentBase + m);
    for (const QString& field : kFieldAddresses)
        expected << QStringLiteral("read ") + field.mid(1);
    expected << "read 8180"; // round again

    QList<TargetBoardNews> news;
    for (int step = 0; step < 6 + 1 + 10 + 8 + 1; ++step)
        news << cycle.step();
    QCOMPARE(transferTransactions(rig.port.sentBytes()), expected);

    const TargetBoardSnapshot& board = cycle.snapshot();
    const std::array<int, 6> entries = {0x1A, 0x2B, 3, 0x2B, 0x07, 0};
    for (size_t i = 0; i < entries.size(); ++i) {
        QCOMPARE(board.entries[i].value, entries[i]);
        QVERIFY(!board.entries[i].readFailed);
        QCOMPARE(news[qsizetype(i)].part, TargetBoardNews::Part::Entry);
    }
    QCOMPARE(news[6].part,
             readsSlot ? TargetBoardNews::Part::Slot : TargetBoardNews::Part::Nothing);
    QCOMPARE(board.slot, readsSlot ? QStringLiteral("3") : QString());
    QCOMPARE(board.ident, QStringLiteral("VRALTEST"));
    QCOMPARE(board.checksum, QStringLiteral("77"));
    QCOMPARE(board.revision, QStringLiteral("12"));
    // The status reading ends with the revision, and only there.
    for (qsizetype step = 0; step < news.size(); ++step)
        QCOMPARE(news[step].statusEnded, step == 16);
    QCOMPARE(news[16].part, TargetBoardNews::Part::Revision);
    QCOMPARE(news[17].part, TargetBoardNews::Part::Field);
    QCOMPARE(news[17].index, 0);
    QCOMPARE(board.fields[0], QStringLiteral("5"));
    QCOMPARE(board.fields[7], QStringLiteral("26"));

    // A new online period reads the status again from the start.
    cycle.restart();
    QCOMPARE(cycle.step().part, TargetBoardNews::Part::Entry);
    QCOMPARE(transferTransactions(rig.port.sentBytes()), expected << "read 8176");
}

QTEST_GUILESS_MAIN(TestTargetBoardCycle)
#include "tst_targetboardcycle.moc"
