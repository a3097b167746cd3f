// The online session on the in-memory board: what each way of changing the
// online state sends, where it leaves the link and the port, and how often
// it tells the main window to follow.
#include "boardrig.h"
#include "onlinesession.h"

#include <QtTest>

#include <functional>

class TestOnlineSession : public QObject {
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
};

void TestOnlineSession::changes_data() {
    QTest::addColumn<bool>("startOnline");
    QTest::addColumn<bool>("failureLatched");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("online");
    QTest::addColumn<bool>("commError");
    QTest::addColumn<int>("changes");

    QTest::newRow("go online: the attention byte, the port open")
        << false << false << "online" << QByteArray("\xff") << true << false << 1;
    QTest::newRow("go offline: a last attention byte, the port closed")
        << true << false << "offline" << QByteArray("\xff") << false << false << 1;
    QTest::newRow("failure latched: offline without a byte")
        << true << true << "failure" << QByteArray() << false << true << 1;
    QTest::newRow("failure latched, two steps: offline once")
        << true << true << "failure twice" << QByteArray() << false << true << 1;
    QTest::newRow("no failure: the step leaves the link online")
        << true << false << "failure" << QByteArray() << true << false << 0;
    QTest::newRow("afresh: the latched failure forgotten, online again")
        << false << true << "afresh" << QByteArray("\xff") << true << false << 1;
    QTest::newRow("afresh while online: nothing")
        << true << false << "afresh" << QByteArray() << true << false << 0;
}

void TestOnlineSession::changes() {
    QFETCH(bool, startOnline);
    QFETCH(bool, failureLatched);
    QFETCH(QString, action);
    QFETCH(QByteArray, sent);
    QFETCH(bool, online);
    QFETCH(bool, commError);
    QFETCH(int, changes);

    BoardRig rig;
    OnlineSession session(rig.link, rig.port);
    if (startOnline) {
        session.goOnline();
        QVERIFY(session.linkUp());
    }
    rig.link.CommError = failureLatched;
    rig.port.clearWire();
    QSignalSpy changed(&session, &OnlineSession::changed);
    QVERIFY(changed.isValid());

    const QHash<QString, std::function<void()>> actions{
        {"online", [&] { session.goOnline(); }},
        {"offline", [&] { session.goOffline(); }},
        {"failure", [&] { session.takeOfflineAfterFailure(); }},
        {"failure twice",
         [&] {
             session.takeOfflineAfterFailure();
             session.takeOfflineAfterFailure();
         }},
        {"afresh", [&] { session.goOnlineAfresh(); }},
    };
    actions.value(action)();

    QCOMPARE(rig.port.sentBytes(), sent);
    QCOMPARE(rig.link.OnlineMode, online);
    QCOMPARE(rig.link.CommError, commError);
    QCOMPARE(rig.port.isOpen(), online);
    QCOMPARE(session.linkUp(), online && !commError);
    QCOMPARE(changed.count(), changes);
}

QTEST_GUILESS_MAIN(TestOnlineSession)
#include "tst_onlinesession.moc"
