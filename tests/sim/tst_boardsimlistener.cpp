// vral-boardsim --listen: the simulated board served on TCP, raw and as a
// Telnet COM-PORT-OPTION server, reached by the link as a board behind a
// device server is; one client at a time.
#include "appfolder.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "scriptedprompts.h"
#include "systemclock.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestBoardSimListener : public QObject {
    Q_OBJECT

private slots:
    void linkThroughTheListener_data();
    void linkThroughTheListener();
};

void TestBoardSimListener::linkThroughTheListener_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("scheme");
    QTest::newRow("raw") << QStringList() << "tcp://";
    QTest::newRow("RFC 2217") << QStringList{"--rfc2217"} << "rfc2217://";
}

void TestBoardSimListener::linkThroughTheListener() {
    QFETCH(QStringList, options);
    QFETCH(QString, scheme);
    QProcess board;
    board.start(QStringLiteral(VRAL_BOARDSIM_PATH),
                QStringList{"--stopped", "--quiet", "--set", "B1011=0xFF", "--listen", "0"} +
                    options);
    QStringList lines;
    while (lines.size() < 2 && board.waitForReadyRead(10000)) {
        while (board.canReadLine())
            lines += QString::fromLocal8Bit(board.readLine()).trimmed();
    }
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[1].startsWith(scheme + QStringLiteral("127.0.0.1:")), qPrintable(lines[1]));

    QTemporaryDir home;
    const AppFolder folder(home.path());
    SystemClock clock;
    ScriptedPrompts prompts;
    QtSerialPort port(lines[1]);
    RSComm link(clock, prompts, folder);
    link.OpenRSComm(port);
    QVERIFY(link.OnlineMode);
    // The attention byte as data, from the board and to it.
    QCOMPARE(link.RSRead(QStringLiteral("B1011")), QStringLiteral("255"));
    link.RSWrite(QStringLiteral("W1004"), QStringLiteral("65535"));
    QCOMPARE(link.RSRead(QStringLiteral("W1004")), QStringLiteral("65535"));

    // The line is taken: a second client is turned away at once.
    QtSerialPort second(lines[1]);
    if (second.open()) // raw TCP connects, then is closed; Telnet fails opening
        QCOMPARE(second.waitForBytes(3000), SerialPort::WaitResult::Lost);
    QCOMPARE(link.RSRead(QStringLiteral("B1011")), QStringLiteral("255"));
    link.CloseRSComm();
    QCOMPARE(prompts.messageCount(), 0);

    board.terminate();
    QVERIFY(board.waitForFinished(10000));
    QCOMPARE(board.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestBoardSimListener)
#include "tst_boardsimlistener.moc"
