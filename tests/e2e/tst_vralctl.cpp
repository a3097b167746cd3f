// vralctl against the simulated board over a real pseudo-terminal: what a
// service engineer's script sees (stdout values, stderr boxes, exit status),
// with the board's memory checked through the same link.
#include "e2erig.h"
#include "vralversion.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QString kCommFailure =
    QStringLiteral("WARNING - Communication Error!: Cannot Communicate with Target Board. "
                   "Verify RS-232 Cable is Connected Between COMM Port and PROG Port.");
constexpr int kExitOk = 0;
constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLink = 3;
} // namespace

class TestVralctl : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readsLocations_data();
    void readsLocations();
    void writeReadsBack_data();
    void writeReadsBack();
    void refusedWriteLeavesMemory_data();
    void refusedWriteLeavesMemory();
    void usageErrors_data();
    void usageErrors();
    void notAnAddressIsRefused_data();
    void notAnAddressIsRefused();
    void silentBoardFailsTheLink();
    void documentRoundTrip();
    void truncatedDocumentIsAFileError();

private:
    CtlRun ctl(const QStringList& arguments) {
        return runVralctl(linkArguments(m_board->device(), m_home.path()) + arguments);
    }
    QString readOne(const QString& address) {
        const CtlRun run = ctl({QStringLiteral("read"), address});
        return run.exitCode == kExitOk && run.out.size() == 1 ? run.out.first() : QString();
    }

    QTemporaryDir m_home;
    std::unique_ptr<BoardProcess> m_board;
};

void TestVralctl::initTestCase() {
    QVERIFY(m_home.isValid());
    // Known memory, machine stopped: the values do not move under the test.
    QFile image(m_home.filePath(QStringLiteral("board.mem")));
    QVERIFY(image.open(QIODevice::WriteOnly));
    image.write(memoryImage({{1012, 25},
                             {200, 0x34},
                             {201, 0x12},
                             {1100, 0x0F},
                             {1101, 0x27},
                             {1102, 0x01},
                             {1103, 0x00},
                             {1016, 0x04},
                             {46, 0x80}}));
    image.close();
    m_board = std::make_unique<BoardProcess>(
        QStringList{QStringLiteral("--stopped"), QStringLiteral("--memory"), image.fileName()});
    QVERIFY(!m_board->device().isEmpty());
}

void TestVralctl::readsLocations_data() {
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("byte") << QStringList{"B1012"} << QStringList{"25"};
    QTest::newRow("word, low byte first") << QStringList{"W200"} << QStringList{"4660"};
    QTest::newRow("double word, second word counts ten-thousands")
        << QStringList{"D1100"} << QStringList{"19999"};
    QTest::newRow("bits of a byte") << QStringList{"B1016.2", "B1016.0"} << QStringList{"1", "0"};
    QTest::newRow("flag bit 119 is bit 7 of byte 46") << QStringList{"F119"} << QStringList{"1"};
    QTest::newRow("several, one line each in order")
        << QStringList{"W200", "D1100", "B1012"} << QStringList{"4660", "19999", "25"};
}

void TestVralctl::readsLocations() {
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, values);
    const CtlRun run = ctl(QStringList{QStringLiteral("read")} + addresses);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitOk);
    QCOMPARE(run.out, values);
    QCOMPARE(run.err, QStringList());
}

void TestVralctl::writeReadsBack_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<int>("firstByte");
    QTest::addColumn<QStringList>("bytes"); // the bytes in memory from firstByte on
    QTest::newRow("byte") << "B1013"
                          << "42"
                          << "42" << 1013 << QStringList{"42"};
    QTest::newRow("word") << "W1004"
                          << "999"
                          << "999" << 1004 << QStringList{"231", "3"};
    QTest::newRow("double word at its maximum")
        << "D1104"
        << "655359999"
        << "655359999" << 1104 << QStringList{"15", "39", "255", "255"};
    QTest::newRow("text with grouping and percent sign")
        << "W1020"
        << "1,234 %"
        << "1234" << 1020 << QStringList{"210", "4"};
    QTest::newRow("bit keeps the other bits of its byte") << "B1016.3"
                                                          << "1"
                                                          << "1" << 1016 << QStringList{"12"};
}

void TestVralctl::writeReadsBack() {
    QFETCH(QString, address);
    QFETCH(QString, value);
    QFETCH(QString, readBack);
    QFETCH(int, firstByte);
    QFETCH(QStringList, bytes);

    const CtlRun write = ctl({QStringLiteral("write"), address, value});
    QVERIFY(!write.crashed);
    QCOMPARE(write.exitCode, kExitOk);
    QCOMPARE(write.err, QStringList());
    QCOMPARE(readOne(address), readBack);

    QStringList byteAddresses{QStringLiteral("read")};
    for (int i = 0; i < bytes.size(); ++i)
        byteAddresses << QStringLiteral("B%1").arg(firstByte + i);
    QCOMPARE(ctl(byteAddresses).out, bytes);
}

void TestVralctl::refusedWriteLeavesMemory_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("alert");
    QTest::newRow("byte above 255") << "B1012"
                                    << "256"
                                    << "ENTRY ALERT: Error: Entry out of Range (0-255).";
    QTest::newRow("word above 65,535") << "W200"
                                       << "65536"
                                       << "ENTRY ALERT: Error: Entry out of Range (0-65,535).";
    QTest::newRow("double word above 655,359,999")
        << "D1100"
        << "655360000"
        << "ENTRY ALERT: Error: Entry out of Range (0-655,359,999).";
    QTest::newRow("negative number") << "B1012"
                                     << "-5"
                                     << "ENTRY ALERT: Error: Only Numerical Data Allowed.";
    QTest::newRow("bit value 2") << "B1016.2"
                                 << "2"
                                 << "ENTRY ALERT: Error: Enter 0 or 1 Only.";
}

void TestVralctl::refusedWriteLeavesMemory() {
    QFETCH(QString, address);
    QFETCH(QString, value);
    QFETCH(QString, alert);
    const QString before = readOne(address);
    QVERIFY(!before.isEmpty());

    // "--" ends the options, so a value such as -5 reaches the link.
    const CtlRun run = ctl({QStringLiteral("--"), QStringLiteral("write"), address, value});
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitUsage);
    QCOMPARE(run.err, QStringList{alert});
    QCOMPARE(readOne(address), before);
}

void TestVralctl::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("write without a value") << QStringList{"write", "B1012"};
    QTest::newRow("read without an address") << QStringList{"read"};
    QTest::newRow("unknown command") << QStringList{"erase", "B1012"};
    QTest::newRow("retry count not a number") << QStringList{"--retry", "x", "read", "B1012"};
}

void TestVralctl::usageErrors() {
    QFETCH(QStringList, arguments);
    const CtlRun run = ctl(arguments);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitUsage);
    QVERIFY(run.out.isEmpty());
}

// A typing error in an address must not read as 0 (the link reads such a
// text as byte 32): refused before anything goes on the line.
void TestVralctl::notAnAddressIsRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("address");
    QTest::newRow("unknown letter") << QStringList{"read", "B1012", "X100"} << "X100";
    QTest::newRow("beyond 64 KiB") << QStringList{"read", "B99999"} << "B99999";
    QTest::newRow("word past the last byte") << QStringList{"read", "W65535"} << "W65535";
    QTest::newRow("empty text") << QStringList{"read", ""} << "";
    QTest::newRow("write to a bad address") << QStringList{"write", "B10x", "5"} << "B10x";
}

void TestVralctl::notAnAddressIsRefused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, address);
    const QString trace = m_home.filePath(QStringLiteral("refused.trace"));
    const CtlRun run = ctl(QStringList{QStringLiteral("--trace"), trace} + arguments);
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitUsage);
    QVERIFY(run.out.isEmpty());
    QFile traced(trace);
    QVERIFY(traced.open(QIODevice::ReadOnly));
    QVERIFY2(traced.readAll().isEmpty(), "nothing may reach the line");
    QCOMPARE(run.err,
             QStringList{QStringLiteral("vralctl: \"%1\" is not a board address").arg(address)});
}

// The board never answers: the link waits 1 s, resynchronises twice (2 s
// each) and then asks; vralctl answers Cancel. About 5 s of real time.
void TestVralctl::silentBoardFailsTheLink() {
    QTemporaryDir home;
    BoardProcess silent({QStringLiteral("--fault"), QStringLiteral("silent")});
    QVERIFY(!silent.device().isEmpty());
    const CtlRun run = runVralctl(linkArguments(silent.device(), home.path()) +
                                  QStringList{QStringLiteral("read"), QStringLiteral("B1012")});
    QVERIFY(!run.crashed);
    QCOMPARE(run.exitCode, kExitLink);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err.value(0), kCommFailure);
    QVERIFY2(run.elapsedMs >= 4900 && run.elapsedMs < 9000,
             qPrintable(QString::number(run.elapsedMs)));
}

void TestVralctl::documentRoundTrip() {
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("shift.sdt"));
    const QString exported = dir.filePath(QStringLiteral("shift.txt"));

    const CtlRun created = runVralctl({QStringLiteral("doc"), QStringLiteral("new"), document});
    QCOMPARE(created.exitCode, kExitOk);
    QFile file(document);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 2092);
    QFile golden(qEnvironmentVariable("VRAL_TEST_DATA") + QStringLiteral("/new-document.sdt"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QCOMPARE(bytes, golden.readAll());

    const CtlRun shown = runVralctl({QStringLiteral("doc"), QStringLiteral("show"), document});
    QCOMPARE(shown.exitCode, kExitOk);
    QJsonParseError error;
    const QJsonObject json =
        QJsonDocument::fromJson(shown.out.join(QLatin1Char('\n')).toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(json.value(QStringLiteral("Version")).toString(),
             QStringLiteral("VRAL_R" VRAL_VERSION_TEXT));
    QCOMPARE(json.value(QStringLiteral("Addresses")).toArray().size(), 179);
    QCOMPARE(json.value(QStringLiteral("Values")).toArray().size(), 179);
    QCOMPARE(json.value(QStringLiteral("OnSetpoints")).toArray().size(), 16);

    const CtlRun export_ =
        runVralctl({QStringLiteral("doc"), QStringLiteral("export-shift"), document, exported});
    QCOMPARE(export_.exitCode, kExitOk);
    QFile text(exported);
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray content = text.readAll();
    QCOMPARE(content.count("\r\n"), 128);
    QVERIFY(content.endsWith("\r\n"));
}

void TestVralctl::truncatedDocumentIsAFileError() {
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("short.sdt"));
    QFile golden(qEnvironmentVariable("VRAL_TEST_DATA") + QStringLiteral("/new-document.sdt"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QFile file(document);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(golden.readAll().left(1000));
    file.close();

    const CtlRun shown = runVralctl({QStringLiteral("doc"), QStringLiteral("show"), document});
    QVERIFY(!shown.crashed);
    QCOMPARE(shown.exitCode, kExitFile);
    QVERIFY(shown.out.isEmpty());
    QCOMPARE(shown.err.size(), 1);
    QVERIFY(shown.err.first().startsWith(document + QStringLiteral(": ")));
}

QTEST_GUILESS_MAIN(TestVralctl)
#include "tst_vralctl.moc"
