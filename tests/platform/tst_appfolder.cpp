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
    void init() {
        QVERIFY(m_dir.isValid());
        for (const char* folder : {"build/bin", "usr/bin", "usr/share/vral/support"})
            QVERIFY(QDir().mkpath(at(folder)));
        qputenv("XDG_CONFIG_HOME", at("config").toUtf8());
        qunsetenv("VRAL_HOME");
    }

    // Folders below the test's own; an empty --home or VRAL_HOME is not given.
    void locate_data() {
        for (const char* column :
             {"homeOption", "homeVariable", "programFolder", "dataRoot", "userRoot"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char* name, QString option, QString variable, QString program,
                            QString data, QString user) {
            QTest::newRow(name) << option << variable << program << data << user;
        };
        row("build folder", "", "", "build/bin", "build/bin", "build/bin");
        row("installed", "", "", "usr/bin", "usr/share/vral", "config/vral");
        row("VRAL_HOME over installed", "", "h", "usr/bin", "h", "h");
        row("--home over VRAL_HOME", "o", "h", "usr/bin", "o", "o");
    }

    void locate() {
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
    void installedFilesSeededOnce() {
        const QString shipped = at("usr/share/vral/support/RSPort.cfg");
        writeFile(shipped, "1,9600\r\n");
        QFile::setPermissions(shipped, QFileDevice::ReadOwner);
        const AppFolder folder = AppFolder::locate(QString(), at("usr/bin"));

        const QString settings = folder.userPath("\\Support\\RSPort.cfg");
        QCOMPARE(settings, at("config/vral/Support/RSPort.cfg"));
        QCOMPARE(readFile(settings), QByteArray("1,9600\r\n"));
        writeFile(settings, "3,19200\r\n");
        QCOMPARE(readFile(folder.userPath("\\support\\rsport.cfg")), QByteArray("3,19200\r\n"));

        QCOMPARE(folder.dataPath("\\SUPPORT\\rsport.CFG"), shipped);
        QCOMPARE(readFile(shipped), QByteArray("1,9600\r\n"));
        QVERIFY(!QFileInfo::exists(folder.userPath("\\Support\\FaultErrCodes.txt")));
        QCOMPARE(QDir(at("config/vral/Support")).entryList(QDir::Files), QStringList{"RSPort.cfg"});
    }

private:
    QTemporaryDir m_dir;
    QString at(const QString& relative) const { return m_dir.filePath(relative); }
};

QTEST_GUILESS_MAIN(TestAppFolder)
#include "tst_appfolder.moc"
