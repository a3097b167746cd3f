// The vral-boardsim executable seen from a client: a plain POSIX raw
// serial line on the pty it prints.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int kStartMs = 10000;
constexpr int kReplyMs = 3000;

// One running simulator, terminated (SIGTERM) and reaped on destruction.
class Simulator {
public:
    explicit Simulator(const QStringList& arguments) {
        m_process.setProgram(QStringLiteral(VRAL_BOARDSIM_PATH));
        m_process.setArguments(arguments);
        m_process.start();
        if (!m_process.waitForStarted(kStartMs))
            return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(kStartMs)) {
        }
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Simulator() { stop(); }

    QString device() const { return m_device; }
    QProcess& process() { return m_process; }
    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(kStartMs))
            m_process.kill();
        m_process.waitForFinished(kStartMs);
    }

private:
    QProcess m_process;
    QString m_device;
};

class RawLine {
public:
    explicit RawLine(const QString& device) {
        m_fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY);
        if (m_fd < 0)
            return;
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    ~RawLine() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    // Sends the bytes and collects up to `expected` reply bytes, giving up
    // when the line stays quiet for `quietMs`.
    QByteArray exchange(const QByteArray& bytes, int expected, int quietMs = kReplyMs) {
        if (::write(m_fd, bytes.constData(), bytes.size()) != bytes.size())
            return {};
        QByteArray replies;
        while (replies.size() < expected) {
            pollfd pfd{m_fd, POLLIN, 0};
            if (::poll(&pfd, 1, quietMs) <= 0)
                break;
            char buffer[64];
            const auto n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            replies.append(buffer, static_cast<int>(n));
        }
        return replies;
    }

private:
    int m_fd = -1;
};
} // namespace

class TestBoardSimHost : public QObject {
    Q_OBJECT

private slots:
    void handshakeAndMemoryRead();
    void clientMayReopenTheDevice();
    void pacedLineTakesTenBitTimesPerByte();
    void faultOption();
    void readsAreReportedAtMostOnceASecond();
    void memoryImageSurvivesARestart();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
    void memorySettingsFromAFileAndTheCommandLine();
    void wrongSettingsFileLineStopsTheStart();
};

void TestBoardSimHost::handshakeAndMemoryRead() {
    Simulator sim({QStringLiteral("--stopped"), QStringLiteral("--quiet")});
    QVERIFY2(sim.device().startsWith(QLatin1String("/dev/")), qPrintable(sim.device()));
    RawLine line(sim.device());
    QVERIFY(line.isOpen());
    QCOMPARE(line.exchange(QByteArray::fromHex("FF"), 1).toHex(), QByteArray("55"));
    QCOMPARE(line.exchange(QByteArray::fromHex("01"), 1).toHex(), QByteArray("55"));
    QCOMPARE(line.exchange(QByteArray::fromHex("03F4"), 2).toHex(), QByteArray("0314"));
}

void TestBoardSimHost::clientMayReopenTheDevice() {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("k7600"));
    Simulator sim(
        {QStringLiteral("--stopped"), QStringLiteral("--quiet"), QStringLiteral("--link"), link});
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.device());
    {
        RawLine first(link);
        QCOMPARE(first.exchange(QByteArray::fromHex("FF01"), 2).toHex(), QByteArray("5555"));
    }
    RawLine second(link);
    QCOMPARE(second.exchange(QByteArray::fromHex("03F4"), 2).toHex(), QByteArray("0314"));
    sim.stop();
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestBoardSimHost::pacedLineTakesTenBitTimesPerByte() {
    Simulator sim({QStringLiteral("--baud"), QStringLiteral("9600"), QStringLiteral("--quiet")});
    RawLine line(sim.device());
    QVERIFY(line.isOpen());
    // 20 attention bytes out and 20 acknowledgements back: 40 bytes of
    // 1.04 ms each on a 9600 bit/s line.
    QElapsedTimer timer;
    timer.start();
    const QByteArray replies = line.exchange(QByteArray(20, char(0xFF)), 20);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(replies, QByteArray(20, 0x55));
    QVERIFY2(elapsed >= 40, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < 5000, qPrintable(QString::number(elapsed)));
}

void TestBoardSimHost::faultOption() {
    Simulator sim(
        {QStringLiteral("--fault"), QStringLiteral("mode-refused=1"), QStringLiteral("--quiet")});
    RawLine line(sim.device());
    QCOMPARE(line.exchange(QByteArray::fromHex("FF01FF01"), 4).toHex(), QByteArray("55005555"));
}

// --reads: memory reads and PLS polls count, writes and handshakes do not;
// a read within a second of the last line prints nothing.
void TestBoardSimHost::readsAreReportedAtMostOnceASecond() {
    Simulator sim({QStringLiteral("--reads"), QStringLiteral("--quiet")});
    RawLine line(sim.device());
    QCOMPARE(line.exchange(QByteArray::fromHex("FF0203F419"), 5).toHex(), QByteArray("555503f419"));
    QCOMPARE(line.exchange(QByteArray::fromHex("FF0103F4"), 4).toHex(), QByteArray("55550319"));
    QCOMPARE(line.exchange(QByteArray::fromHex("03F4"), 2).toHex(), QByteArray("0319"));
    QTest::qWait(1100);
    QCOMPARE(line.exchange(QByteArray::fromHex("FF185555"), 4).toHex(), QByteArray("55556801"));
    QTRY_COMPARE(sim.process().bytesAvailable(), qint64(16));
    QCOMPARE(sim.process().readAll(), QByteArray("reads 1\nreads 4\n"));
}

void TestBoardSimHost::memoryImageSurvivesARestart() {
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("board.mem"));
    const QStringList args{QStringLiteral("--stopped"), QStringLiteral("--quiet"),
                           QStringLiteral("--memory"), image};
    {
        Simulator sim(args);
        RawLine line(sim.device());
        QCOMPARE(line.exchange(QByteArray::fromHex("FF0203F419"), 5).toHex(),
                 QByteArray("555503f419"));
        sim.stop();
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process().exitCode(), 0);
    }
    QFile file(image);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QCOMPARE(saved.size(), 65536);
    QCOMPARE(int(quint8(saved.at(1012))), 25);
    file.close();

    Simulator again(args);
    RawLine line(again.device());
    QCOMPARE(line.exchange(QByteArray::fromHex("FF0103F4"), 4).toHex(), QByteArray("55550319"));
}

void TestBoardSimHost::badOptionsAreRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("baud 4800") << QStringList{QStringLiteral("--baud"), QStringLiteral("4800")};
    QTest::newRow("unknown fault")
        << QStringList{QStringLiteral("--fault"), QStringLiteral("noisy")};
    QTest::newRow("fault count 0")
        << QStringList{QStringLiteral("--fault"), QStringLiteral("pls-busy=0")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--fast")};
    QTest::newRow("byte setting too large")
        << QStringList{QStringLiteral("--set"), QStringLiteral("B4303=256")};
    QTest::newRow("flag setting 2")
        << QStringList{QStringLiteral("--set"), QStringLiteral("F152=2")};
    QTest::newRow("setting of no location")
        << QStringList{QStringLiteral("--set"), QStringLiteral("X4303=1")};
    QTest::newRow("seed not a number")
        << QStringList{QStringLiteral("--seed"), QStringLiteral("abc")};
}

void TestBoardSimHost::badOptionsAreRefused() {
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(QStringLiteral(VRAL_BOARDSIM_PATH), arguments);
    QVERIFY(process.waitForFinished(kStartMs));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

void TestBoardSimHost::memorySettingsFromAFileAndTheCommandLine() {
    QTemporaryDir dir;
    QFile settings(dir.filePath(QStringLiteral("df1.txt")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("# a link layer fault with an extended status\n"
                   "B4303=0x10\n\n"
                   "B4018=0xF0   # STS\n"
                   "B4019=0x1B\n"
                   "W4304=0x1234\n");
    settings.close();
    // The command line comes after the file: F152 off, B4303 overridden.
    Simulator sim({QStringLiteral("--stopped"), QStringLiteral("--quiet"),
                   QStringLiteral("--settings"), settings.fileName(), QStringLiteral("--set"),
                   QStringLiteral("B4303=0x20"), QStringLiteral("--set"),
                   QStringLiteral("F152=0")});
    RawLine line(sim.device());
    QVERIFY(line.isOpen());
    // Memory read mode, then B4303, B4018, B4019, W4304 (two bytes) and B51.
    QCOMPARE(line.exchange(QByteArray::fromHex("FF0110CF"), 4).toHex(), QByteArray("555510"
                                                                                   "20"));
    QCOMPARE(line.exchange(QByteArray::fromHex("0FB2"), 2).toHex(), QByteArray("0ff0"));
    QCOMPARE(line.exchange(QByteArray::fromHex("0FB3"), 2).toHex(), QByteArray("0f1b"));
    QCOMPARE(line.exchange(QByteArray::fromHex("10D010D1"), 4).toHex(), QByteArray("10341012"));
    QCOMPARE(line.exchange(QByteArray::fromHex("0033"), 2).toHex(), QByteArray("0000"));
}

void TestBoardSimHost::wrongSettingsFileLineStopsTheStart() {
    QTemporaryDir dir;
    QFile settings(dir.filePath(QStringLiteral("bad.txt")));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("B4303=16\nW4304=70000\n");
    settings.close();
    QProcess process;
    process.start(QStringLiteral(VRAL_BOARDSIM_PATH),
                  {QStringLiteral("--settings"), settings.fileName()});
    QVERIFY(process.waitForFinished(kStartMs));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(err.contains(QLatin1String("bad.txt:2:")) && err.contains(QLatin1String("0 to 65535")),
             qPrintable(err));
}

QTEST_GUILESS_MAIN(TestBoardSimHost)
#include "tst_boardsimhost.moc"
