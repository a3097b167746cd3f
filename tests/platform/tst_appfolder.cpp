#include "appfolder.h"
#include "linkrig.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Which folder a program reads and writes: the build folder, --home,
// VRAL_HOME, or the installed layout with the user's own folder.
class TestAppFolder : public QObject {
    Q_OBJECT

private slots:
    void init();
    void locate_data();
    void locate();
    void installedFilesSeededOnce();

private:
    QTemporaryDir m_dir;
    QString at(const QString& relative) const { return m_dir.filePath(relative); }
};

void TestAppFolder::init() {
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(at("build/bin")));
    QVERIFY(QDir().mkpath(at("usr/bin")));
    QVERIFY(QDir().mkpath(at("usr/share/vral/support")));
    qputenv("XDG_CONFIG_HOME", at("config").toUtf8());
    qunsetenv("VRAL_HOME");
}

void TestAppFolder::locate_data() {
    QTest::addColumn<QString>("homeOption");
    QTest::addColumn<QString>("homeVariable");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("dataRoot");
    QTest::addColumn<QString>("userRoot");

    QTest::newRow("build folder") << ""
                                  << ""
                                  << "build/bin"
                                  << "build/bin"
                                  << "build/bin";
    QTest::newRow("installed") << ""
                               << ""
                               << "usr/bin"
                               << "usr/share/vral"
                               << "config/vral";
    QTest::newRow("VRAL_HOME over installed") << ""
                                              << "h"
                                              << "usr/bin"
                                              << "h"
                                              << "h";
    QTest::newRow("--home over VRAL_HOME") << "o"
                                           << "h"
                                           << "usr/bin"
                                           << "o"
                                           << "o";
}

void TestAppFolder::locate() {
    QFETCH(QString, homeOption);
    QFETCH(QString, homeVariable);
    QFETCH(QString, programFolder);
    QFETCH(QString, dataRoot);
    QFETCH(QString, userRoot);

    if (!homeVariable.isEmpty())
        qputenv("VRAL_HOME", at(homeVariable).toUtf8());
    const AppFolder folder =
        AppFolder::locate(homeOption.isEmpty() ? QString() : at(homeOption), at(programFolder));

    QCOMPARE(folder.dataPath("\\Help\\index.html"), at(dataRoot + "/Help/index.html"));
    QCOMPARE(folder.userPath("\\WDX51"), at(userRoot + "/WDX51"));
    QCOMPARE(folder.root(), at(userRoot));
}

// The shipped settings become the user's on first use, in the program's
// spelling, writable, and are never copied over the user's own again; the
// shipped folder is found whatever its letter case and stays untouched.
void TestAppFolder::installedFilesSeededOnce() {
    writeFile(at("usr/share/vral/support/RSPort.cfg"), "1,9600\r\n");
    QFile::setPermissions(at("usr/share/vral/support/RSPort.cfg"), QFileDevice::ReadOwner);
    const AppFolder folder = AppFolder::locate(QString(), at("usr/bin"));

    const QString settings = folder.userPath("\\Support\\RSPort.cfg");
    QCOMPARE(settings, at("config/vral/Support/RSPort.cfg"));
    QCOMPARE(readFile(settings), QByteArray("1,9600\r\n"));
    writeFile(settings, "3,19200\r\n");
    QCOMPARE(readFile(folder.userPath("\\support\\rsport.cfg")), QByteArray("3,19200\r\n"));

    QCOMPARE(folder.dataPath("\\SUPPORT\\rsport.CFG"), at("usr/share/vral/support/RSPort.cfg"));
    QCOMPARE(readFile(at("usr/share/vral/support/RSPort.cfg")), QByteArray("1,9600\r\n"));
    QVERIFY(!QFileInfo::exists(folder.userPath("\\Support\\FaultErrCodes.txt")));
    QCOMPARE(QDir(at("config/vral/Support")).entryList(QDir::Files), QStringList{"RSPort.cfg"});
}

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
