#include "linkrig.h"

#include <QDir>
#include <QFile>

class TestPortSettings : public QObject {
    Q_OBJECT

private slots:
    void settingsFileAppliedOnOpen_data();
    void settingsFileAppliedOnOpen();
    void folderNamesIgnoreCase();
    void openingHandshake();
    void portRefused();
    void unwritableSettingsFile();
};

void TestPortSettings::settingsFileAppliedOnOpen_data() {
    QTest::addColumn<QString>("relativePath"); // empty: no file at all
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QByteArray>("fileAfter");

    const QString cfg = QStringLiteral("Support/RSPort.cfg");
    QTest::newRow("port 0 clamps to 1")
        << cfg << QByteArray("0,9600\r\n") << 1 << "9600,n,8,1" << QByteArray("0,9600\r\n");
    QTest::newRow("port 150 clamps to 99, speed 4800 becomes 9600")
        << cfg << QByteArray("150,4800\r\n") << 99 << "9600,n,8,1" << QByteArray("150,4800\r\n");
    QTest::newRow("port 3 at 19200")
        << cfg << QByteArray("3,19200\r\n") << 3 << "19200,n,8,1" << QByteArray("3,19200\r\n");
    QTest::newRow("no line end") << cfg << QByteArray("7,19200") << 7 << "19200,n,8,1"
                                 << QByteArray("7,19200");
    QTest::newRow("garbage reads as defaults")
        << cfg << QByteArray("abc,xyz\r\n") << 1 << "9600,n,8,1" << QByteArray("abc,xyz\r\n");
    QTest::newRow("empty file is rewritten")
        << cfg << QByteArray() << 1 << "9600,n,8,1" << QByteArray("1,9600\r\n");
    QTest::newRow("missing file and folder are created")
        << QString() << QByteArray() << 1 << "9600,n,8,1" << QByteArray("1,9600\r\n");
}

void TestPortSettings::settingsFileAppliedOnOpen() {
    QFETCH(QString, relativePath);
    QFETCH(QByteArray, content);
    QFETCH(int, port);
    QFETCH(QString, settings);
    QFETCH(QByteArray, fileAfter);

    LinkRig rig;
    if (!relativePath.isEmpty())
        writeFile(rig.home.filePath(relativePath), content);
    rig.port.setPortNumber(42);
    rig.link.OpenRSComm(rig.port);

    QCOMPARE(rig.port.portNumber(), port);
    QCOMPARE(rig.port.settings(), settings);
    QCOMPARE(rig.link.CommSettingsFile(), rig.home.filePath(QStringLiteral("Support/RSPort.cfg")));
    QCOMPARE(readFile(rig.link.CommSettingsFile()), fileAfter);
    QVERIFY(rig.link.OnlineMode);
    QCOMPARE(rig.link.port(), &rig.port);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestPortSettings::folderNamesIgnoreCase() {
    LinkRig rig;
    writeFile(rig.home.filePath(QStringLiteral("support/rsport.cfg")), "5,19200\r\n");
    rig.link.OpenRSComm(rig.port);
    QCOMPARE(rig.port.portNumber(), 5);
    QCOMPARE(rig.port.settings(), QStringLiteral("19200,n,8,1"));
    QCOMPARE(QDir(rig.home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("support")});
}

void TestPortSettings::openingHandshake() {
    LinkRig rig;
    rig.link.setLinkMode(2);
    rig.link.CommError = true;
    rig.link.OpenRSComm(rig.port);
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF}));
    QCOMPARE(rig.port.receivedBytes(), bytes({0x55}));
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.link.CommError);
    QCOMPARE(rig.link.linkMode(), 0);
    QVERIFY(!rig.link.portConfigurationFailed());

    rig.port.clearWire();
    rig.link.CloseRSComm();
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF}));
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.link.OnlineMode);
}

void TestPortSettings::portRefused() {
    LinkRig rig;
    rig.port.setOpenFailure({8002, QStringLiteral("/dev/ttyS0"), QStringLiteral("No such file")});
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.link.OpenRSComm(rig.port);

    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("Comm Port Error"));
    QCOMPARE(box.text, QStringLiteral(
                           "Error Number = 8002\r\nError Source = /dev/ttyS0\r\n\r\nNo such file"));
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QVERIFY(rig.link.CommError);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(rig.link.portConfigurationFailed());
    QVERIFY(rig.port.sentBytes().isEmpty());
}

void TestPortSettings::unwritableSettingsFile() {
    LinkRig rig;
    // A plain file where the settings folder belongs: the folder cannot be made.
    writeFile(rig.home.filePath(QStringLiteral("Support")), "not a folder");
    rig.prompts.answerMessage(Prompts::Answer::Retry);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.link.OpenRSComm(rig.port);

    QCOMPARE(rig.prompts.messageCount(), 2);
    for (const auto& box : rig.prompts.messages()) {
        QCOMPARE(box.title, QStringLiteral("RSComm InitializeRSComm"));
        QVERIFY2(box.text.startsWith(QStringLiteral("Error Number = 75\r\n\r\n")),
                 qPrintable(box.text));
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);
    }
    QVERIFY(rig.link.portConfigurationFailed());
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.port.isOpen());
}

QTEST_GUILESS_MAIN(TestPortSettings)
#include "tst_portsettings.moc"
