// vral's command line answered on a machine without a display: the usage,
// the version and a mistyped option never wait for a window system.
#include "vralversion.h"

#include <QProcess>
#include <QTest>

class TestVralCommandLine : public QObject {
    Q_OBJECT

private slots:
    void answeredWithoutDisplay_data();
    void answeredWithoutDisplay();
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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    vral.setProcessEnvironment(environment);
    vral.start(QStringLiteral(VRAL_PATH), arguments);
    QVERIFY(vral.waitForFinished(10000));
    QCOMPARE(vral.exitStatus(), QProcess::NormalExit);
    QCOMPARE(vral.exitCode(), exitCode);
    QVERIFY(QString::fromLocal8Bit(vral.readAllStandardOutput()).contains(stdoutHas));
    QVERIFY(QString::fromLocal8Bit(vral.readAllStandardError()).contains(stderrHas));
}

QTEST_GUILESS_MAIN(TestVralCommandLine)
#include "tst_vralcommandline.moc"
