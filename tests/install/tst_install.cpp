#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The programs as a package installs them: cmake --install into a prefix of
// their own, run from there by a user whose home is new, and the installed
// desktop entry, metainfo and manual pages checked by the desktop's own tools.
class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installedProgramsWriteOnlyUnderHome();
    void validators_data();
    void validators();

private:
    struct Run {
        int status;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    QString installed(const QString& relative) const { return m_prefix.filePath(relative); }
    // Every file and folder under the prefix with its size and time.
    QStringList prefixListing() const;

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
};

TestInstall::Run TestInstall::run(const QString& program, const QStringList& arguments,
                                  const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_home.path());
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, {}, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList TestInstall::prefixListing() const {
    QStringList listing;
    QDirIterator it(m_prefix.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        listing << QStringLiteral("%1 %2 %3 %4")
                       .arg(info.filePath())
                       .arg(info.isDir() ? -1 : info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch())
                       .arg(int(info.permissions()), 0, 16);
    }
    listing.sort();
    return listing;
}

void TestInstall::initTestCase() {
    QVERIFY(m_prefix.isValid() && m_home.isValid());
    const Run install =
        run(QStringLiteral(VRAL_CMAKE), {"--install", VRAL_BUILD_DIR, "--prefix", m_prefix.path()});
    QVERIFY2(install.status == 0, install.err.constData());
}

void TestInstall::installedProgramsWriteOnlyUnderHome() {
    QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
    user.insert("HOME", m_home.path());
    for (const char* name : {"XDG_CONFIG_HOME", "VRAL_HOME", "VRAL_DEVICE"})
        user.remove(name);
    const QString vralctl = installed("bin/vralctl");
    const QString document = m_home.filePath("plant/line1.sdt");
    QVERIFY(QDir(m_home.path()).mkdir("plant"));
    const QStringList before = prefixListing();

    const Run version = run(vralctl, {"--version"}, user);
    QCOMPARE(version.out, QByteArray("vralctl " VRAL_VERSION "\n"));
    QCOMPARE(version.status, 0);
    const Run created = run(vralctl, {"doc", "new", document}, user);
    QCOMPARE(created.err, QByteArray());
    QCOMPARE(created.status, 0);
    const Run shown = run(vralctl, {"doc", "show", document}, user);
    QCOMPARE(shown.status, 0);
    QVERIFY2(shown.out.startsWith('{') &&
                 shown.out.contains("\"Version\": \"VRAL_R" VRAL_VERSION "\""),
             shown.out.left(200).constData());
    // Going online reads the port settings: the shipped ones, copied first
    // into the user's folder. The board's code texts are the shipped ones.
    QProcess board;
    board.setProcessEnvironment(user);
    board.start(installed("bin/vral-boardsim"), {"--quiet"});
    QVERIFY(board.waitForReadyRead(10000));
    const QString device = QString::fromUtf8(board.readLine()).trimmed();
    const Run faults = run(vralctl, {"--device", device, "board"}, user);
    board.terminate();
    QVERIFY(board.waitForFinished(10000));
    QCOMPARE(faults.status, 0);
    QVERIFY2(faults.out.startsWith("fault: Fault Code (00H): No Fault\n") &&
                 faults.out.contains("\ncomm error: 00H No Error\n"),
             faults.out.constData());

    QFile shipped(installed("share/vral/support/RSPort.cfg"));
    QFile seeded(m_home.filePath(".config/vral/Support/RSPort.cfg"));
    QVERIFY(shipped.open(QIODevice::ReadOnly) && seeded.open(QIODevice::ReadOnly));
    QCOMPARE(seeded.readAll(), shipped.readAll());
    QCOMPARE(prefixListing(), before);
}

void TestInstall::validators_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");

    QTest::newRow("desktop entry")
        << "desktop-file-validate" << QStringList() << "share/applications/" VRAL_APP_ID ".desktop";
    QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                              << "share/metainfo/" VRAL_APP_ID ".metainfo.xml";
    for (const char* page : {"vral", "vralctl", "vral-boardsim"})
        QTest::newRow(page) << "man" << QStringList{"--warnings", "-l"}
                            << QStringLiteral("share/man/man1/%1.1.gz").arg(page);
}

void TestInstall::validators() {
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);

    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(tool + " is not installed (scripts/deps.sh installs it)"));
    QVERIFY(QFileInfo::exists(installed(file)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MANWIDTH", "80");
    environment.insert("LC_ALL", "C.UTF-8");
    const Run check = run(program, arguments << installed(file), environment);
    // A page is checked by the warnings man prints; the others by their status.
    const QByteArray said = check.err + (tool == "man" ? QByteArray() : check.out);
    QVERIFY2(check.status == 0, said.constData());
    QVERIFY2(!said.contains("W:") && !said.contains("E:") && (tool != "man" || said.isEmpty()),
             said.constData());
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
