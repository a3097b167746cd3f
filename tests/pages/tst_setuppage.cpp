#include "namedchild.h"
#include "pagerig.h"
#include "setuppage.h"
#include "spinner.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <memory>

class TestSetupPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutCarriesNamesAndCaptions();
    void boardPassReadsVisibleTab();
    void tabSwitchAbandonsPass();
    void offlineEnabling_data();
    void offlineEnabling();
    void offlineEditingSwitchedOnEnablesWithinOneCycle();
    void documentPassShowsDocument();
    void rangeMessages_data();
    void rangeMessages();
    void testButtonsWriteInOrder_data();
    void testButtonsWriteInOrder();
    void linkFailureTakesApplicationOffline();
    void accessKeys_data();
    void accessKeys();

private:
    void openPage();
    template <class T> T* child(const QString& name) const { return namedChild<T>(*m_page, name); }
    QTabBar* tabs() const { return child<QTabBar>(QStringLiteral("tbsSetup")); }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<SetupPage> m_page;
};

void TestSetupPage::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestSetupPage::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestSetupPage::openPage() {
    m_page = std::make_unique<SetupPage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    m_rig->clearWire();
}

void TestSetupPage::layoutCarriesNamesAndCaptions() {
    openPage();
    QCOMPARE(m_page->objectName(), QStringLiteral("frmSetup"));
    QCOMPARE(m_page->windowTitle(), QStringLiteral("Set-Up"));
    QCOMPARE(tabs()->count(), 2);
    QCOMPARE(tabs()->tabText(0), QStringLiteral("&Print Trip/Varnish Trip"));
    QCOMPARE(tabs()->tabText(1), QStringLiteral("&Blow-off Parameters"));
    QCOMPARE(child<QGroupBox>(QStringLiteral("fraSetup0"))->title(),
             QStringLiteral("Set Print/Varnish Response Times"));
    QCOMPARE(child<QGroupBox>(QStringLiteral("fraSetup1"))->title(),
             QStringLiteral("Set Blow-off Parameters"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblDescription6"))->text(),
             QStringLiteral("N&umber of Cans to Blow-off for Each Mis-load:"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblDescription12"))->text(),
             QStringLiteral("Q.C. Blow-off So&lenoid:"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblLabel0"))->text(), QStringLiteral("ON (msec)"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblLabel1"))->text(), QStringLiteral("OFF (msec)"));
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdBadCanTest1"))->text(),
             QStringLiteral("B&ad Can Blow-off"));
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdQCTest"))->text(),
             QStringLiteral("&Q.C. Can Blow-off"));
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdDefault"))->text(), QStringLiteral("-"));
    const QList<QPair<int, int>> ranges = {{5, 80},  {5, 80}, {5, 80},  {5, 80},  {0, 6},
                                           {0, 999}, {1, 15}, {0, 255}, {0, 255}, {0, 255},
                                           {1, 24},  {5, 50}, {5, 50},  {5, 50},  {5, 50}};
    for (int i = 0; i < SetupPage::kFieldCount; ++i) {
        auto* spinner = child<Spinner>(QStringLiteral("updSetup%1").arg(i));
        QCOMPARE(qMakePair(spinner->minimum(), spinner->maximum()), ranges[i]);
        QVERIFY(child<QLineEdit>(QStringLiteral("txtSetup%1").arg(i)));
    }
}

void TestSetupPage::boardPassReadsVisibleTab() {
    QVERIFY(m_rig->goOnline());
    const QList<int> values = {21, 22, 23, 24, 3};
    for (int i = 0; i < 4; ++i)
        m_rig->board.setMemory(1012 + i, values[i]);
    m_rig->board.setMemory(1017, values[4]);
    openPage();

    for (int step = 0; step < 5; ++step)
        m_page->refreshStep();

    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 1012", "read 1013", "read 1014", "read 1015", "read 1017"}));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup%1").arg(i))->text(),
                 QString::number(values[i]));
    // Shown only: the document is changed by edits, not by reading.
    QCOMPARE(m_rig->state.CurrentDocument.Values[161], 20);
}

void TestSetupPage::tabSwitchAbandonsPass() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.memoryMap().setWord(1004, 300);
    openPage();
    m_page->refreshStep();
    m_page->refreshStep();
    QCOMPARE(m_rig->transactions(), (QStringList{"read 1012", "read 1013"}));
    m_rig->clearWire();

    tabs()->setCurrentIndex(1);
    for (int step = 0; step < 10; ++step) // fields 5..14, one read each
        m_page->refreshStep();

    QCOMPARE(m_rig->transactions(), (QStringList{"read 1004", "read 1005", "read 1003", "read 1000",
                                                 "read 1001", "read 1002", "read 1010", "read 1006",
                                                 "read 1007", "read 1008", "read 1009"}));
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup5"))->text(), QStringLiteral("300"));
    QVERIFY(child<QGroupBox>(QStringLiteral("fraSetup1"))->isVisible());
    QVERIFY(!child<QGroupBox>(QStringLiteral("fraSetup0"))->isVisible());
}

void TestSetupPage::offlineEnabling_data() {
    QTest::addColumn<bool>("offlineEditing");
    QTest::newRow("offline editing off") << false;
    QTest::newRow("offline editing on") << true;
}

void TestSetupPage::offlineEnabling() {
    QFETCH(bool, offlineEditing);
    m_rig->state.OfflineEditing = offlineEditing;
    openPage();
    m_page->refreshStep();

    for (int i = 0; i < SetupPage::kFieldCount; ++i) {
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup%1").arg(i))->isEnabled(),
                 offlineEditing);
        QCOMPARE(child<Spinner>(QStringLiteral("updSetup%1").arg(i))->isEnabled(), offlineEditing);
    }
    for (int i = 0; i <= 12; ++i)
        QCOMPARE(child<QLabel>(QStringLiteral("lblDescription%1").arg(i))->isEnabled(),
                 offlineEditing);
    // Test blow-offs need the machine: never offline.
    for (const char* name : {"cmdBadCanTest0", "cmdBadCanTest1", "cmdQCTest"})
        QVERIFY(!child<QPushButton>(name)->isEnabled());
    QVERIFY(m_rig->port.wire().isEmpty());
}

void TestSetupPage::offlineEditingSwitchedOnEnablesWithinOneCycle() {
    openPage();
    m_page->refreshStep();
    QVERIFY(!child<QLineEdit>(QStringLiteral("txtSetup0"))->isEnabled());

    m_rig->state.OfflineEditing = true;
    m_page->refreshStep(); // the pass sees the change
    m_page->refreshStep(); // the next step applies it

    QVERIFY(child<QLineEdit>(QStringLiteral("txtSetup0"))->isEnabled());
    QVERIFY(child<Spinner>(QStringLiteral("updSetup14"))->isEnabled());
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdQCTest"))->isEnabled());
}

void TestSetupPage::documentPassShowsDocument() {
    openPage();
    for (int i = 0; i < SetupPage::kFieldCount; ++i)
        m_rig->state.CurrentDocument.Values[161 + i] = 100 + i;

    m_page->refreshStep();

    for (int i = 0; i < SetupPage::kFieldCount; ++i)
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup%1").arg(i))->text(),
                 QString::number(100 + i));
}

void TestSetupPage::rangeMessages_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("response time 90")
        << 0 << QStringLiteral("90")
        << QStringLiteral("Only a Number Between 5 and 80 can be Entered");
    QTest::newRow("mis-load 0") << 6 << QStringLiteral("0")
                                << QStringLiteral("Only a Number Between 1 and 15 can be Entered");
    QTest::newRow("solenoid 51") << 14 << QStringLiteral("51")
                                 << QStringLiteral("Only a Number Between 5 and 50 can be Entered");
}

void TestSetupPage::rangeMessages() {
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    m_rig->state.OfflineEditing = true;
    openPage();
    m_page->refreshStep();
    if (index >= 5)
        tabs()->setCurrentIndex(1);
    auto* edit = child<QLineEdit>(QStringLiteral("txtSetup%1").arg(index));
    const QString before = edit->text();
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);

    QTest::keyClick(edit, Qt::Key_Return);

    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Set-up"));
    QCOMPARE(messages[0].text, message);
    QCOMPARE(edit->text(), before);
    QCOMPARE(m_rig->state.CurrentDocument.Values[161 + index], before.toInt());
}

void TestSetupPage::testButtonsWriteInOrder_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<bool>("linkFails");
    QTest::addColumn<QStringList>("acknowledged"); // in the main window's status bar
    const QStringList badCan = {"Bad can test blow-off requested"};
    // F830 is bit 6 of byte 135; F825 bit 1 of byte 135; F102 bit 6 of byte 44.
    QTest::newRow("bad can test, first tab")
        << QStringLiteral("cmdBadCanTest0") << QStringList{"write 135 64"} << false << badCan;
    QTest::newRow("bad can test, second tab")
        << QStringLiteral("cmdBadCanTest1") << QStringList{"write 135 64"} << false << badCan;
    QTest::newRow("Q.C. test: B2088, F825, F102")
        << QStringLiteral("cmdQCTest") << QStringList{"write 2088 1", "write 135 2", "write 44 64"}
        << false << QStringList{"Q.C. blow-off requested (spindle 1)"};
    // The board does not answer the write mode: the box is cancelled, nothing written.
    QTest::newRow("Q.C. test, link fails: nothing acknowledged")
        << QStringLiteral("cmdQCTest") << QStringList() << true << QStringList();
    QTest::newRow("bad can test, link fails: nothing acknowledged")
        << QStringLiteral("cmdBadCanTest1") << QStringList() << true << QStringList();
}

void TestSetupPage::testButtonsWriteInOrder() {
    QFETCH(QString, button);
    QFETCH(QStringList, written);
    QFETCH(bool, linkFails);
    QFETCH(QStringList, acknowledged);
    QVERIFY(m_rig->goOnline());
    openPage();
    if (button != QLatin1String("cmdBadCanTest0"))
        tabs()->setCurrentIndex(1);
    if (linkFails) {
        m_rig->board.setFault(BoardSim::Fault::Silent);
        m_rig->prompts.answerMessage(Prompts::Answer::Cancel);
    }

    QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);

    QStringList writes;
    for (const QString& t : m_rig->transactions())
        if (t.startsWith(QLatin1String("write")))
            writes << t;
    QCOMPARE(writes, written);
    QCOMPARE(m_rig->link.CommError, linkFails);
    QVERIFY(m_rig->prompts.scriptUsedUp());
    QCOMPARE(m_rig->acknowledgements, acknowledged);
}

void TestSetupPage::linkFailureTakesApplicationOffline() {
    QVERIFY(m_rig->goOnline());
    openPage();
    m_rig->board.setFault(BoardSim::Fault::Silent);
    int nestedWireGrowth = -1;
    m_rig->prompts.setDuringMessage([this, &nestedWireGrowth] {
        // A refresh tick inside the link's box must not start a transaction.
        const int before = m_rig->port.wire().size();
        m_page->refreshCycle().runStep();
        nestedWireGrowth = m_rig->port.wire().size() - before;
    });
    m_rig->prompts.answerMessage(Prompts::Answer::Cancel);

    m_page->refreshStep(); // the read fails: time-outs, then Cancel
    QVERIFY(m_rig->link.CommError);
    QCOMPARE(nestedWireGrowth, 0);
    QCOMPARE(m_rig->onlineChanges, 0);

    m_page->refreshStep();
    QVERIFY(!m_rig->link.OnlineMode);
    QCOMPARE(m_rig->onlineChanges, 1);
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdBadCanTest0"))->isEnabled());
    QVERIFY(!child<QLineEdit>(QStringLiteral("txtSetup0"))->isEnabled());
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup0"))->text(), QStringLiteral("20"));

    m_page->refreshStep();
    QCOMPARE(m_rig->onlineChanges, 1); // once per failure, not on every step
}

void TestSetupPage::accessKeys_data() {
    QTest::addColumn<QString>("keys");    // Alt+ letters, in order
    QTest::addColumn<QString>("focused"); // object name of the focus widget afterwards
    QTest::addColumn<int>("tab");
    QTest::newRow("Alt+R retract field") << QStringLiteral("r") << QStringLiteral("txtSetup0") << 0;
    QTest::newRow("Alt+X varnish extend")
        << QStringLiteral("x") << QStringLiteral("txtSetup3") << 0;
    QTest::newRow("Alt+B tab, Alt+U mis-load")
        << QStringLiteral("bu") << QStringLiteral("txtSetup6") << 1;
    QTest::newRow("Alt+B tab, Alt+L Q.C. solenoid")
        << QStringLiteral("bl") << QStringLiteral("txtSetup13") << 1;
}

void TestSetupPage::accessKeys() {
    QFETCH(QString, keys);
    QFETCH(QString, focused);
    QFETCH(int, tab);
    m_rig->state.OfflineEditing = true;
    openPage();
    m_page->refreshStep();

    for (const QChar key : keys)
        QTest::keyClick(m_page.get(), key.toLatin1(), Qt::AltModifier);

    QCOMPARE(tabs()->currentIndex(), tab);
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
}

QTEST_MAIN(TestSetupPage)
#include "tst_setuppage.moc"
