// vralctl against a board behind Debian's ser2net, as a plant bridges its
// decorators' RS-232 ports onto the network: raw TCP and Telnet with the
// COM-PORT-OPTION; and the same through vral-boardsim's own --listen. The board must end up byte
// for byte as it does over its own pseudo-terminal, and a device server that goes away mid-transfer
// is a vanished port: the link gives up at once and the file is left alone.
#include "e2erig.h"
#include "filebytes.h"
#include "intelhex.h"
#include "ser2netprocess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {
constexpr int kExitOk = 0;
constexpr int kExitLink = 3;

// A program for a code "4" board (memory from 0x2000) whose bytes include
// the attention byte 0xFF and the answer byte 0x55 many times.
QByteArray programImage() {
    QByteArray image;
    for (int record = 0; record < 32; ++record) {
        QByteArray data;
        for (int i = 0; i < 16; ++i)
            data += static_cast<char>(i % 3 == 0 ? 0xFF : i % 3 == 1 ? 0x55 : record * 16 + i);
        image += intelHexRecord(0x2000 + record * 16, data);
    }
    return image + ":00000001FF\r\n";
}

// A board memory image without what changes by itself while the machine
// stands: the I/O points and analog values the plant drives (W100, W110,
// B120, the IN1 flag byte, 162-167) and the clock (43008-43017).
QByteArray withoutLiveValues(QByteArray image) {
    const QList<QPair<int, int>> live = {{34, 34},   {100, 101}, {110, 111},
                                         {120, 120}, {162, 167}, {43008, 43017}};
    for (const auto& [first, last] : live)
        for (int address = first; address <= last && address < image.size(); ++address)
            image[address] = 0;
    return image;
}

using Ser2net = Ser2netProcess::Kind;
} // namespace

class TestDeviceServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sameBoardAsOverThePty_data();
    void sameBoardAsOverThePty();
    void serverStoppedMidTransfer_data();
    void serverStoppedMidTransfer();

private:
    QString path(const QString& name) const { return m_home.filePath(name); }
    // The service engineer's session: a document down, values with the
    // attention byte in them, a timing channel, the set-up back, a program.
    QList<CtlRun> session(const QString& device, const QString& tag);

    QTemporaryDir m_home;
    QList<CtlRun> m_overPty;
    QByteArray m_ptyImage;
};

void TestDeviceServer::initTestCase() {
    QVERIFY(m_home.isValid());
    QCOMPARE(runVralctl({"doc", "new", path("machine.sdt")}).exitCode, kExitOk);
    writeFileBytes(path("prog.wdx"), "\"4\",\"network program\"\r\n");
    writeFileBytes(path("prog.rev"), "NETPROG 0:07\r\n");
    writeFileBytes(path("prog.hex"), programImage());

    // The same session over the board's own pty, once, as the reference.
    const QString image = path("direct.mem");
    BoardProcess board({"--stopped", "--memory", image});
    QVERIFY(!board.device().isEmpty());
    m_overPty = session(board.device(), QStringLiteral("direct"));
    for (const CtlRun& run : m_overPty)
        QVERIFY2(run.exitCode == kExitOk, qPrintable(run.err.join('\n')));
    QCOMPARE(m_overPty[4].out, QStringList({"255", "65535", "655359999", "20"}));
    QVERIFY(m_overPty[8].out.contains("program ident: NETPROG"));
    board.stop();
    m_ptyImage = withoutLiveValues(fileBytes(image));
    QCOMPARE(m_ptyImage.size(), 65536);
    QCOMPARE(m_ptyImage.at(1011), '\xFF');
}

QList<CtlRun> TestDeviceServer::session(const QString& device, const QString& tag) {
    const QList<QStringList> commands = {
        {"download", "all", path("machine.sdt")},
        {"write", "B1011", "255"},
        {"write", "W1004", "65535"},
        {"write", "D1100", "655359999"},
        {"read", "B1011", "W1004", "D1100", "B1012"},
        {"pls", "set", "3", "255", "300"},
        {"upload", "all", path(tag + ".sdt")},
        {"program", "download", path("prog.wdx"), "--yes"},
        {"board"},
    };
    QList<CtlRun> runs;
    for (const QStringList& command : commands)
        runs += runVralctl(linkArguments(device, m_home.path()) + command, 60000);
    return runs;
}

void TestDeviceServer::sameBoardAsOverThePty_data() {
    QTest::addColumn<Ser2net>("kind");
    QTest::addColumn<QStringList>("listen"); // the simulator's own listener instead of ser2net
    QTest::newRow("ser2net raw TCP") << Ser2net::RawTcp << QStringList();
    QTest::newRow("ser2net RFC 2217") << Ser2net::Rfc2217 << QStringList();
    QTest::newRow("--listen raw TCP") << Ser2net::RawTcp << QStringList{"--listen", "0"};
    QTest::newRow("--listen RFC 2217")
        << Ser2net::Rfc2217 << QStringList{"--listen", "0", "--rfc2217"};
}

void TestDeviceServer::sameBoardAsOverThePty() {
    QFETCH(Ser2net, kind);
    QFETCH(QStringList, listen);
    const QString image = path("network.mem");
    QFile::remove(image);
    BoardProcess board(QStringList{"--stopped", "--memory", image} + listen);
    QVERIFY(!board.device().isEmpty());
    std::optional<Ser2netProcess> server;
    QString endpoint = board.endpoint();
    if (listen.isEmpty()) {
        server.emplace(kind, board.device());
        QVERIFY2(!server->endpoint().isEmpty(), qPrintable(server->why()));
        endpoint = server->endpoint();
    }

    const QList<CtlRun> overNetwork = session(endpoint, QStringLiteral("network"));
    for (int i = 0; i < m_overPty.size(); ++i) {
        QCOMPARE(overNetwork[i].exitCode, kExitOk);
        QCOMPARE(overNetwork[i].out, m_overPty[i].out);
        QCOMPARE(overNetwork[i].err, m_overPty[i].err);
    }
    QCOMPARE(fileBytes(path("network.sdt")), fileBytes(path("direct.sdt")));
    server.reset();
    board.stop();
    QVERIFY(withoutLiveValues(fileBytes(image)) == m_ptyImage);
}

void TestDeviceServer::serverStoppedMidTransfer_data() {
    QTest::addColumn<Ser2net>("kind");
    QTest::newRow("raw TCP") << Ser2net::RawTcp;
    QTest::newRow("RFC 2217") << Ser2net::Rfc2217;
}

void TestDeviceServer::serverStoppedMidTransfer() {
    QFETCH(Ser2net, kind);
    BoardProcess board({"--stopped", "--baud", "9600"});
    QVERIFY(!board.device().isEmpty());
    Ser2netProcess server(kind, board.device());
    QVERIFY2(!server.endpoint().isEmpty(), qPrintable(server.why()));
    const QString file = path("kept.sdt");
    QFile::remove(file);
    QVERIFY(QFile::copy(path("machine.sdt"), file));
    const QByteArray before = fileBytes(file);

    const QString trace = path("stopped.trace");
    QFile::remove(trace);
    QProcess ctl;
    ctl.start(QStringLiteral(VRALCTL_PATH),
              linkArguments(server.endpoint(), m_home.path()) +
                  QStringList{"--trace", trace, "upload", "all", file});
    QVERIFY(ctl.waitForStarted());
    // Well into the values (some 100 exchanges), however slowly it started.
    QVERIFY(QTest::qWaitFor([&] { return fileBytes(trace).count('\n') >= 200; }, 15000));
    QCOMPARE(ctl.state(), QProcess::Running);

    QElapsedTimer timer;
    timer.start();
    server.stop();
    QVERIFY(ctl.waitForFinished(10000));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(ctl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(ctl.exitCode(), kExitLink);
    QCOMPARE(fileBytes(file), before);
}

QTEST_GUILESS_MAIN(TestDeviceServer)
#include "tst_deviceserver.moc"
