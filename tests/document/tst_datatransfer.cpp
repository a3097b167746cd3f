// Data transfers between the set-up document and the in-memory simulated
// board, judged on the wire: which locations and PLS commands each kind
// touches, in which order, how far the progress goes, and where Cancel, a
// link failure and an uncertain read or write stop it.
#include "appstate.h"
#include "datatransfer.h"
#include "linkrig.h"
#include "transferwire.h"

#include <QtTest>

namespace {

constexpr int kBase = 1000; // element i lives at byte B(1000 + i)
const QString kErrorText = QStringLiteral("Error Processing Request\r\n\r\nProcess Not Complete");
const QString kCancelText = QStringLiteral("Process Cancelled");

QString lastDone(const QString& what) {
    return QStringLiteral("\r\n\r\n") + what;
}

struct TransferRig : LinkRig {
    AppState state;

    TransferRig() {
        state.InitDefaultDocument();
        // One byte location per element, so every element is one exchange pair.
        for (int i = 0; i <= SetupDocument::ParameterCount; ++i) {
            state.CurrentDocument.Addresses[i] = QStringLiteral("B%1").arg(kBase + i);
            state.CurrentDocument.Values[i] = i % 200 + 1;
        }
    }

    // Runs the transfer to its end, calling between(stepsDone) after each step.
    DataTransfer::Outcome run(DataTransfer& transfer,
                              const std::function<void(int)>& between = {}) {
        int steps = 0;
        while (transfer.step()) {
            ++steps;
            if (between)
                between(steps);
            if (steps > 2000)
                break;
        }
        return transfer.outcome();
    }

    QStringList wire() const { return transferTransactions(port.sentBytes()); }

    void programChannels(const QVector<std::array<int, 2>>& setpoints) {
        for (int c = 0; c < setpoints.size(); ++c) {
            if (setpoints[c][0] == 0 && setpoints[c][1] == 0)
                board.pls().clear(c);
            else
                board.pls().setSingle(c, setpoints[c][0], setpoints[c][1]);
        }
    }
};

QStringList range(const QString& format, int first, int last) {
    QStringList result;
    for (int i = first; i <= last; ++i)
        result << format.arg(kBase + i);
    return result;
}

QStringList writes(const SetupDocument& document, QList<int> indices) {
    QStringList result;
    for (const int i : indices)
        result << QStringLiteral("write %1 %2").arg(kBase + i).arg(document.Values[i]);
    return result;
}

QList<int> indices(int first, int last) {
    QList<int> result;
    for (int i = first; i <= last; ++i)
        result << i;
    return result;
}

} // namespace

class TestDataTransfer : public QObject {
    Q_OBJECT

private slots:
    void valueKinds_data();
    void valueKinds();
    void statusAndMaximum_data();
    void statusAndMaximum();
    void downloadAllOrder();
    void uploadAllOrder();
    void uploadChannelWithoutSetpoints();
    void cancelStopsValueLoop();
    void cancelBeforeTimingChannels();
    void cancelBetweenChannels();
    void linkFailureMidTransfer_data();
    void linkFailureMidTransfer();
    void refusedPlsCommandEndsWithBox_data();
    void refusedPlsCommandEndsWithBox();
    void readMismatchRepeatedOnce();
    void readMismatchTwiceStops();
    void writeMismatchTwiceStops();
    void offlineEndsAtOnce();
    void refusedSetpointEndsChannelLoop();
    void addressOffTheBoardSkipped();
};

void TestDataTransfer::valueKinds_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("progress");

    const SetupDocument document = TransferRig().state.CurrentDocument;
    QTest::newRow("set-up upload: element 0, then 161-178")
        << 0 << QStringList(QStringLiteral("read %1").arg(kBase)) + range("read %1", 161, 178)
        << 19;
    QTest::newRow("shift upload: 1-160") << 2 << range("read %1", 1, 160) << 160;
    QTest::newRow("set-up download: element 0, then 161-178")
        << 10 << writes(document, QList<int>{0} + indices(161, 178)) << 19;
    QTest::newRow("shift download: 1-160") << 12 << writes(document, indices(1, 160)) << 160;
}

void TestDataTransfer::valueKinds() {
    QFETCH(int, kind);
    QFETCH(QStringList, expected);
    QFETCH(int, progress);
    TransferRig rig;
    for (int i = 0; i <= SetupDocument::ParameterCount; ++i)
        rig.board.setMemory(kBase + i, quint8(250 - i));
    QVERIFY(rig.goOnline());
    const SetupDocument before = rig.state.CurrentDocument;

    DataTransfer transfer(rig.state, rig.link, rig.prompts, kind);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::Completed);
    QCOMPARE(rig.wire(), expected);
    QCOMPARE(transfer.progress(), progress);
    QCOMPARE(rig.prompts.messageCount(), 0);
    QVERIFY(!rig.state.ChannelsDownloaded);

    for (const QString& t : expected) {
        const int i = t.section(QLatin1Char(' '), 1, 1).toInt() - kBase;
        if (kind < 10)
            QCOMPARE(rig.state.CurrentDocument.Values[i], 250 - i);
        else
            QCOMPARE(int(rig.board.memory(kBase + i)), before.Values[i]);
    }
    // Elements outside the kind's range are not touched either way.
    if (kind < 10)
        QCOMPARE(rig.state.CurrentDocument.Values[kind == 0 ? 1 : 0],
                 before.Values[kind == 0 ? 1 : 0]);
}

void TestDataTransfer::statusAndMaximum_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("status");
    QTest::newRow("0") << 0 << 20 << "Uploading Set-up Parameters, Please Standby...";
    QTest::newRow("1") << 1 << 33 << "Uploading Timing Channels, Please Standby...";
    QTest::newRow("2") << 2 << 161 << "Uploading Shift Data, Please Standby...";
    QTest::newRow("4") << 4 << 211 << "Uploading Data, Please Standby...";
    QTest::newRow("10") << 10 << 20 << "Downloading Set-up Parameters, Please Standby...";
    QTest::newRow("11") << 11 << 33 << "Downloading Timing Channels, Please Standby...";
    QTest::newRow("12") << 12 << 161 << "Downloading Shift Data, Please Standby...";
    QTest::newRow("14") << 14 << 211 << "Downloading Data, Please Standby...";
}

void TestDataTransfer::statusAndMaximum() {
    QFETCH(int, kind);
    QFETCH(int, maximum);
    QFETCH(QString, status);
    TransferRig rig;
    const DataTransfer transfer(rig.state, rig.link, rig.prompts, kind);
    QCOMPARE(transfer.progressMaximum(), maximum);
    QCOMPARE(transfer.statusText(), status);
    QCOMPARE(transfer.progress(), 0);
    for (const int notAKind : {3, 5, 9, 13, 15, 20, -1})
        QVERIFY(!DataTransfer::isTransferKind(notAKind));
}

void TestDataTransfer::downloadAllOrder() {
    TransferRig rig;
    SetupDocument& document = rig.state.CurrentDocument;
    document.PLSProgram = 3;
    document.SpeedCompensation = {11, 12, 13, 14, 15, 16, 17, 18};
    document.PLSChannelCount = 9;
    document.PLSScale = 360;
    document.OnSetpoints.fill(0);
    document.OffSetpoints.fill(0);
    document.OnSetpoints[0] = 120;
    document.OffSetpoints[0] = 160;
    document.OnSetpoints[2] = 180; // OFF 0: still a programmed channel
    document.OffSetpoints[15] = 40;
    rig.programChannels({{10, 20}, {30, 40}});
    QVERIFY(rig.goOnline());

    DataTransfer transfer(rig.state, rig.link, rig.prompts, 14);
    QStringList statuses;
    QCOMPARE(rig.run(transfer, [&](int) { statuses << transfer.statusText(); }),
             DataTransfer::Outcome::Completed);

    QStringList expected = writes(document, indices(0, 178));
    expected << "config 0x3b 3 11 12 13 14 0"
             << "config 0x4b 15 16 17 18 0 0"
             << "config 0x5b 0 0 0 0 0 0"
             << "config 0x6b 9 0 0 0 0 0"
             << "setword 0x1a 360";
    for (int c = 0; c < 16; ++c) {
        const int on = document.OnSetpoints[c];
        const int off = document.OffSetpoints[c];
        if (on == 0 && off == 0) {
            expected << QStringLiteral("channel 0x1b %1 0 0 0").arg(c);
        } else {
            expected << "word 0x18" << QStringLiteral("channel 0x1b %1 0 0 0").arg(c)
                     << QStringLiteral("channel 0x1b %1 %2 %3 1").arg(c).arg(on).arg(off);
        }
    }
    QCOMPARE(rig.wire(), expected);
    QCOMPARE(transfer.progress(), 211);
    QCOMPARE(transfer.progressMaximum(), 211);
    QVERIFY(rig.state.ChannelsDownloaded);
    QCOMPARE(rig.prompts.messageCount(), 0);
    QCOMPARE(statuses.first(), QStringLiteral("Downloading Data, Please Standby..."));
    QCOMPARE(statuses.last(), QStringLiteral("Downloading Timing Channels, Please Standby..."));
    QCOMPARE(rig.board.pls().channel(1).kind, PlsUnit::Channel::Kind::Cleared);
    QCOMPARE(rig.board.pls().channel(2).on, 180);
    QCOMPARE(rig.board.pls().channel(15).off, 40);
    // The resolver offset belongs to the timing page's offset command.
    QVERIFY(!rig.wire().contains("setword 0x2a", Qt::CaseInsensitive));
}

void TestDataTransfer::uploadAllOrder() {
    TransferRig rig;
    for (int i = 0; i <= SetupDocument::ParameterCount; ++i)
        rig.board.setMemory(kBase + i, quint8(i));
    rig.board.pls().setScale(720);
    rig.board.pls().setOffset(25);
    rig.board.pls().setConfigBlock(0, {4, 21, 22, 23, 24, 0});
    rig.board.pls().setConfigBlock(1, {25, 26, 27, 28, 0, 0});
    rig.board.pls().setConfigBlock(3, {12, 0, 0, 0, 0, 0});
    QVector<std::array<int, 2>> channels(16, {0, 0});
    channels[0] = {100, 200};
    channels[7] = {700, 10};
    channels[15] = {5, 6};
    rig.programChannels(channels);
    QVERIFY(rig.goOnline());

    DataTransfer transfer(rig.state, rig.link, rig.prompts, 4);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::Completed);

    QStringList expected = range("read %1", 0, 178);
    expected << "readconfig"
             << "word 0x18"
             << "word 0x28";
    for (int c = 0; c < 16; ++c) {
        expected << QStringLiteral("recall %1").arg(c);
        if (channels[c][0] != 0) // a cleared channel answers once: no setpoints
            expected << QStringLiteral("recall %1").arg(c);
    }
    QCOMPARE(rig.wire(), expected);
    const SetupDocument& document = rig.state.CurrentDocument;
    for (int i = 0; i <= SetupDocument::ParameterCount; ++i)
        QCOMPARE(document.Values[i], i);
    QCOMPARE(document.PLSScale, qint16(720));
    QCOMPARE(document.ResolverOffset, qint16(25));
    QCOMPARE(document.PLSChannelCount, qint16(12));
    QCOMPARE(document.PLSProgram, qint16(4));
    QCOMPARE(document.SpeedCompensation, (std::array<qint16, 8>{21, 22, 23, 24, 25, 26, 27, 28}));
    for (int c = 0; c < 16; ++c) {
        QCOMPARE(document.OnSetpoints[c], qint16(channels[c][0]));
        QCOMPARE(document.OffSetpoints[c], qint16(channels[c][1]));
    }
    QCOMPARE(transfer.progress(), 211);
    QCOMPARE(rig.prompts.messageCount(), 0);
    QVERIFY(!rig.state.ChannelsDownloaded);
}

void TestDataTransfer::uploadChannelWithoutSetpoints() {
    TransferRig rig;
    rig.board.pls().setPulseTrain(3, 5, 10, 20); // recall state 3
    rig.board.pls().setSingle(4, 50, 60);
    rig.board.pls().clear(5);
    rig.state.CurrentDocument.OnSetpoints.fill(99);
    rig.state.CurrentDocument.OffSetpoints.fill(99);
    QVERIFY(rig.goOnline());

    DataTransfer transfer(rig.state, rig.link, rig.prompts, 1);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::Completed);
    const SetupDocument& document = rig.state.CurrentDocument;
    QCOMPARE(document.OnSetpoints[3], qint16(0));
    QCOMPARE(document.OffSetpoints[3], qint16(0));
    QCOMPARE(document.OnSetpoints[4], qint16(50));
    QCOMPARE(document.OffSetpoints[4], qint16(60));
    QCOMPARE(document.OnSetpoints[5], qint16(0));
    QCOMPARE(rig.wire().mid(0, 3), QStringList({"readconfig", "word 0x18", "word 0x28"}));
    QCOMPARE(transfer.progress(), 32);
    QCOMPARE(transfer.progressMaximum(), 33);
}

void TestDataTransfer::cancelStopsValueLoop() {
    TransferRig rig;
    QVERIFY(rig.goOnline());
    const SetupDocument before = rig.state.CurrentDocument;
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 12);
    QCOMPARE(rig.run(transfer,
                     [&](int steps) {
                         if (steps == 5)
                             transfer.cancel();
                     }),
             DataTransfer::Outcome::Cancelled);
    QCOMPARE(rig.wire(), writes(before, indices(1, 5)));
    QCOMPARE(transfer.progress(), 5);
    const ScriptedPrompts::Record box = rig.prompts.messages().value(0);
    QCOMPARE(box.title, QStringLiteral("Data Download"));
    QCOMPARE(box.text, kCancelText + lastDone(QStringLiteral("Last Written: Element 5 (B1005)")));
    QCOMPARE(box.icon, Prompts::Icon::Information);
}

void TestDataTransfer::cancelBeforeTimingChannels() {
    TransferRig rig;
    rig.programChannels({{10, 20}, {30, 40}});
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 14);
    QCOMPARE(rig.run(transfer,
                     [&](int steps) {
                         if (steps == 50)
                             transfer.cancel();
                     }),
             DataTransfer::Outcome::Cancelled);
    const QStringList wire = rig.wire();
    QCOMPARE(wire.size(), 50);
    QVERIFY(wire.last().startsWith(QLatin1String("write")));
    // The machine's channels are as they were.
    QCOMPARE(rig.board.pls().channel(0).on, 10);
    QCOMPARE(rig.board.pls().channel(1).off, 40);
    QVERIFY(!rig.state.ChannelsDownloaded);
    QCOMPARE(rig.prompts.messageCount(), 1);
}

void TestDataTransfer::cancelBetweenChannels() {
    TransferRig rig;
    QVector<std::array<int, 2>> old(16, {1, 2});
    rig.programChannels(old);
    rig.state.CurrentDocument.OnSetpoints.fill(100);
    rig.state.CurrentDocument.OffSetpoints.fill(200);
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 11);
    // Step 1 is the configuration; steps 2.. are one whole channel each.
    QCOMPARE(rig.run(transfer,
                     [&](int steps) {
                         if (steps == 4)
                             transfer.cancel();
                     }),
             DataTransfer::Outcome::Cancelled);
    for (int c = 0; c < 16; ++c) {
        const PlsUnit::Channel& channel = rig.board.pls().channel(c);
        QCOMPARE(channel.kind, PlsUnit::Channel::Kind::Single);
        QCOMPARE(channel.on, c < 3 ? 100 : 1);
        QCOMPARE(channel.off, c < 3 ? 200 : 2);
    }
    QCOMPARE(rig.wire().last(), QStringLiteral("channel 0x1b 2 100 200 1"));
    QCOMPARE(transfer.progress(), 6);
    // Some channels changed: the timing page must read them again.
    QVERIFY(rig.state.ChannelsDownloaded);
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().text,
             kCancelText + lastDone(QStringLiteral("Last Written: Timing Channel CH02")));
}

void TestDataTransfer::linkFailureMidTransfer_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("cancelInLinkBox");
    QTest::newRow("upload all") << 4 << false;
    QTest::newRow("download all") << 14 << false;
    // The failure's box is owed even when Cancel came with it.
    QTest::newRow("download all, Cancel pressed while the link's box is up") << 14 << true;
}

void TestDataTransfer::linkFailureMidTransfer() {
    QFETCH(int, kind);
    QFETCH(bool, cancelInLinkBox);
    TransferRig rig;
    for (int i = 0; i <= SetupDocument::ParameterCount; ++i)
        rig.board.setMemory(kBase + i, quint8(222));
    QVERIFY(rig.goOnline(rig.paced));
    const SetupDocument before = rig.state.CurrentDocument;
    // After ten elements the board goes quiet; Cancel in the link's box.
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, kind);
    if (cancelInLinkBox)
        rig.prompts.setDuringMessage([&transfer] { transfer.cancel(); });
    const DataTransfer::Outcome outcome = rig.run(transfer, [&](int steps) {
        if (steps == 10)
            rig.board.setFault(BoardSim::Fault::Silent);
    });
    QCOMPARE(outcome, DataTransfer::Outcome::LinkFailed);
    QVERIFY(rig.link.CommError);
    const QList<ScriptedPrompts::Record> boxes = rig.prompts.messages();
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.last().title, QStringLiteral("VRAL"));
    QCOMPARE(boxes.last().text, kErrorText + lastDone(QStringLiteral("Last %1: Element 9 (B1009)")
                                                          .arg(kind == 4 ? "Read" : "Written")));
    QCOMPARE(boxes.last().icon, Prompts::Icon::Exclamation);
    QCOMPARE(boxes.last().buttons, Prompts::Buttons::Ok);
    // Nothing after the failing element; no PLS command at all.
    const QStringList wire = rig.wire();
    QCOMPARE(wire.size(), 11);
    for (const QString& t : wire)
        QVERIFY2(t.startsWith(QLatin1String(kind == 4 ? "read" : "write")), qPrintable(t));
    QCOMPARE(transfer.progress(), 11);
    const SetupDocument& document = rig.state.CurrentDocument;
    if (kind == 4) {
        for (int i = 0; i < 10; ++i)
            QCOMPARE(document.Values[i], 222);
        // The element whose read failed keeps its value, as do the rest.
        for (int i = 10; i <= SetupDocument::ParameterCount; ++i)
            QCOMPARE(document.Values[i], before.Values[i]);
        QCOMPARE(document.OnSetpoints, before.OnSetpoints);
    } else {
        for (int i = 0; i < 10; ++i)
            QCOMPARE(int(rig.board.memory(kBase + i)), before.Values[i]);
        QCOMPARE(int(rig.board.memory(kBase + 11)), 222);
        QVERIFY(!rig.state.ChannelsDownloaded);
    }
}

// The board refuses a PLS command outright (no link failure): the loop ends
// there, and the box says so and how far the transfer got.
void TestDataTransfer::refusedPlsCommandEndsWithBox_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("refusedAfterSteps");
    QTest::addColumn<int>("channelsDone");
    QTest::addColumn<QString>("last");
    QTest::newRow("download all: configuration refused")
        << 14 << 0 << 0 << "Last Written: Element 178 (B1178)";
    QTest::newRow("download timing: the tenth channel refused")
        << 11 << 10 << 9 << "Last Written: Timing Channel CH10";
    QTest::newRow("upload timing: first recall refused")
        << 1 << 0 << 0 << "Last Read: PLS Configuration";
    QTest::newRow("upload timing: recall of CH03 refused")
        << 1 << 9 << 3 << "Last Read: Timing Channel CH02";
}

void TestDataTransfer::refusedPlsCommandEndsWithBox() {
    QFETCH(int, kind);
    QFETCH(int, refusedAfterSteps);
    QFETCH(int, channelsDone);
    QFETCH(QString, last);
    TransferRig rig;
    rig.programChannels(QVector<std::array<int, 2>>(16, {1, 2}));
    rig.state.CurrentDocument.OnSetpoints.fill(100);
    QVERIFY(rig.goOnline());
    if (refusedAfterSteps == 0)
        rig.board.setFault(BoardSim::Fault::PlsRefused, 1);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, kind);
    QCOMPARE(rig.run(transfer,
                     [&](int steps) {
                         if (steps == refusedAfterSteps)
                             rig.board.setFault(BoardSim::Fault::PlsRefused, 1);
                     }),
             DataTransfer::Outcome::PlsCommandFailed);
    QVERIFY(!rig.link.CommError);
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().text, kErrorText + lastDone(last));
    // Up to the refusal everything went (the document's 100 to the board, the
    // board's 1 to the document); from it on nothing.
    const bool download = kind >= 10;
    for (int c = 0; c < 16; ++c)
        QCOMPARE(download ? rig.board.pls().channel(c).on
                          : rig.state.CurrentDocument.OnSetpoints[c],
                 (c < channelsDone) == download ? 100 : 1);
}

void TestDataTransfer::readMismatchRepeatedOnce() {
    TransferRig rig;
    rig.board.setMemory(kBase + 1, 77);
    rig.board.setMemory(kBase + 2, 88);
    QVERIFY(rig.goOnline());
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 2);
    rig.board.setFault(BoardSim::Fault::WrongEcho, 1);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::Completed);
    QCOMPARE(rig.state.CurrentDocument.Values[1], 77);
    QCOMPARE(rig.state.CurrentDocument.Values[2], 88);
    QCOMPARE(rig.wire().mid(0, 3), QStringList({"read cut", "read 1001", "read 1002"}));
    QCOMPARE(transfer.progress(), 160);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestDataTransfer::readMismatchTwiceStops() {
    TransferRig rig;
    rig.board.setMemory(kBase + 161, 61);
    rig.board.setMemory(kBase + 162, 62);
    QVERIFY(rig.goOnline());
    const SetupDocument before = rig.state.CurrentDocument;
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 0);
    // Element 0 and 161 read well; element 162's echo is wrong twice.
    const DataTransfer::Outcome outcome = rig.run(transfer, [&](int steps) {
        if (steps == 2)
            rig.board.setFault(BoardSim::Fault::WrongEcho, 2);
    });
    QCOMPARE(outcome, DataTransfer::Outcome::LinkFailed);
    QCOMPARE(rig.wire(), QStringList({"read 1000", "read 1161", "read cut", "read cut"}));
    QCOMPARE(rig.state.CurrentDocument.Values[161], 61);
    QCOMPARE(rig.state.CurrentDocument.Values[162], before.Values[162]);
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().text,
             kErrorText + lastDone(QStringLiteral("Last Read: Element 161 (B1161)")));
    QVERIFY(!rig.link.CommError);
    QCOMPARE(transfer.progress(), 2);
}

void TestDataTransfer::writeMismatchTwiceStops() {
    TransferRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 12);
    rig.board.setFault(BoardSim::Fault::WrongEcho, 2);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::LinkFailed);
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().text,
             kErrorText + lastDone(QStringLiteral("Nothing was Written")));
    // Written twice, then nothing more.
    QCOMPARE(rig.wire(), QStringList({"write cut", "write cut"}));
}

void TestDataTransfer::offlineEndsAtOnce() {
    TransferRig rig;
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 4);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::LinkFailed);
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().text,
             kErrorText + lastDone(QStringLiteral("Nothing was Read")));
    QCOMPARE(transfer.progress(), 0);
}

void TestDataTransfer::refusedSetpointEndsChannelLoop() {
    TransferRig rig;
    rig.state.CurrentDocument.PLSScale = 360;
    rig.state.CurrentDocument.OnSetpoints[2] = 400; // beyond the scale
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QVERIFY(rig.goOnline());
    DataTransfer transfer(rig.state, rig.link, rig.prompts, 11);
    QCOMPARE(rig.run(transfer), DataTransfer::Outcome::PlsCommandFailed);
    QCOMPARE(rig.prompts.messageCount(), 2);
    QCOMPARE(rig.prompts.messages().first().title, QStringLiteral("PLS Single Setpoint"));
    QCOMPARE(rig.prompts.messages().last().text,
             kErrorText + lastDone(QStringLiteral("Last Written: Timing Channel CH01")));
    // Channels 0 and 1 programmed, channel 2 refused before anything was sent, then no more.
    const QStringList wire = rig.wire();
    QCOMPARE(wire.last(), QStringLiteral("word 0x18"));
    QCOMPARE(wire.filter(QStringLiteral("channel")).size(), 4);
    QVERIFY(rig.state.ChannelsDownloaded);
    QCOMPARE(transfer.progress(), 4);
}

void TestDataTransfer::addressOffTheBoardSkipped() {
    TransferRig rig;
    rig.state.CurrentDocument.Addresses[5] = QString();
    rig.state.CurrentDocument.Addresses[6] = QStringLiteral("X100");
    QVERIFY(rig.goOnline());
    const qint32 kept = rig.state.CurrentDocument.Values[5];
    DataTransfer upload(rig.state, rig.link, rig.prompts, 2);
    QCOMPARE(rig.run(upload), DataTransfer::Outcome::Completed);
    QCOMPARE(rig.state.CurrentDocument.Values[5], kept);
    QCOMPARE(upload.progress(), 160);
    rig.port.clearWire();
    DataTransfer download(rig.state, rig.link, rig.prompts, 12);
    QCOMPARE(rig.run(download), DataTransfer::Outcome::Completed);
    QCOMPARE(rig.wire().size(), 158);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

QTEST_GUILESS_MAIN(TestDataTransfer)
#include "tst_datatransfer.moc"
