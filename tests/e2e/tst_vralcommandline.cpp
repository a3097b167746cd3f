// vral's command line answered on a machine without a display: the usage,
// the version and a mistyped option never wait for a window system. Every
// program of the project gives the same version.
#include "vralversion.h"

#include <QProcess>
#include <QTest>

namespace {
void startWithoutDisplay(QProcess& process, const QString& program, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
}
} // namespace

class TestVralCommandLine : public QObject {
    Q_OBJECT

private slots:
    void answeredWithoutDisplay_data();
    void answeredWithoutDisplay();
    void versionOfEachProgram_data();
    void versionOfEachProgram();
};

void TestVralCommandLine::answeredWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "--simulate"
                            << "";
    QTest::newRow("-h") << QStringList{"-h"} << 0 << "--device <PATH>"
                        << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "VRAL " VRAL_VERSION_TEXT << "";
    QTest::newRow("unknown option") << QStringList{"--simulat"} << 2 << ""
                                    << "vral: Unknown option 'simulat'.";
}

void TestVralCommandLine::answeredWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutHas);
    QFETCH(QString, stderrHas);
    QProcess vral;
    startWithoutDisplay(vral, QStringLiteral(VRAL_PATH), arguments);
    QVERIFY(vral.waitForFinished(10000));
    QCOMPARE(vral.exitStatus(), QProcess::NormalExit);
    QCOMPARE(vral.exitCode(), exitCode);
    QVERIFY(QString::fromLocal8Bit(vral.readAllStandardOutput()).contains(stdoutHas));
    QVERIFY(QString::fromLocal8Bit(vral.readAllStandardError()).contains(stderrHas));
}

void TestVralCommandLine::versionOfEachProgram_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("versionLine");
    QTest::newRow("vral") << VRAL_PATH << QByteArray("VRAL " VRAL_VERSION_TEXT "\n");
    QTest::newRow("vralctl") << VRALCTL_PATH << QByteArray("vralctl " VRAL_VERSION_TEXT "\n");
    QTest::newRow("vral-boardsim")
        << BOARDSIM_PATH << QByteArray("vral-boardsim " VRAL_VERSION_TEXT "\n");
}

// The whole of standard output is the one line, and nothing else is started.
void TestVralCommandLine::versionOfEachProgram() {
    QFETCH(QString, program);
    QFETCH(QByteArray, versionLine);
    QProcess process;
    startWithoutDisplay(process, program, {QStringLiteral("--version")});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardOutput(), versionLine);
    QCOMPARE(process.readAllStandardError(), QByteArray());
}

QTEST_GUILESS_MAIN(TestVralCommandLine)
#include "tst_vralcommandline.moc"
