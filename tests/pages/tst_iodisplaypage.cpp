#include "commandcontext.h"
#include "iodisplaypage.h"
#include "namedchild.h"
#include "pagerig.h"
#include "pausedpagecycles.h"

#include <QGroupBox>
#include <QLabel>

#include <memory>

class TestIODisplayPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captions_data();
    void captions();
    void passReadsFifteenLocationsInOrder();
    void channelWordLightsItsBits();
    void digitalInputOnlyWhenExactlyOne_data();
    void digitalInputOnlyWhenExactlyOne();
    void goingOfflineDisablesEverything();
    void offlineCostsNothing();
    void pausedBehindAProgramDownload();

private:
    void openPage();
    void steps(int count) {
        for (int i = 0; i < count; ++i)
            m_page->refreshStep();
    }
    QLabel* label(const QString& name) const { return namedChild<QLabel>(*m_page, name); }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<IODisplayPage> m_page;
};

void TestIODisplayPage::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestIODisplayPage::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestIODisplayPage::openPage() {
    m_page = std::make_unique<IODisplayPage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    m_rig->clearWire();
}

void TestIODisplayPage::captions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("IN0") << "lblk76100"
                         << "IN0:";
    QTest::newRow("analog output 1") << "lblk76105"
                                     << "Analog Output 1:";
    QTest::newRow("offset") << "lblk761010"
                            << "Offset:";
    QTest::newRow("channel 0") << "lblTmgChannel0"
                               << "CH00:";
    QTest::newRow("channel 7") << "lblTmgChannel7"
                               << "CH07:";
    QTest::newRow("channel 10") << "lblTmgChannel8"
                                << "CH10:";
    QTest::newRow("channel 17") << "lblTmgChannel15"
                                << "CH17:";
    QTest::newRow("slot 0 point 0") << "lblSlot000"
                                    << "(B100.0)    0:";
    QTest::newRow("slot 0 point 7") << "lblSlot007"
                                    << "(B100.7)    7:";
    QTest::newRow("slot 0 point 10") << "lblSlot008"
                                     << "(B101.0)  10:";
    QTest::newRow("slot 0 point 17") << "lblSlot0015"
                                     << "(B101.7)  17:";
    QTest::newRow("slot 1 point 0") << "lblSlot010"
                                    << "(B110.0)    0:";
    QTest::newRow("slot 2 point 17") << "lblSlot0215"
                                     << "(B121.7)  17:";
}

void TestIODisplayPage::captions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    openPage();
    QCOMPARE(label(name)->text(), caption);
}

void TestIODisplayPage::passReadsFifteenLocationsInOrder() {
    QVERIFY(m_rig->goOnline());
    openPage();
    QCOMPARE(m_page->windowTitle(), QStringLiteral("I/O Status"));
    const QStringList titles = {"K7600", "Timing", "Slot0-0", "Slot0-1", "Slot0-2"};
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(namedChild<QGroupBox>(*m_page, QStringLiteral("fraBMIO%1").arg(i))->title(),
                 titles[i]);
    m_rig->board.memoryMap().setWord(182, 1234);
    m_rig->board.setMemory(167, 77);
    steps(IODisplayPage::kLocationCount + 1);
    // F16/F17 are bits of byte 34; words read low byte then high byte.
    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 34",  "read 34",  "read 162", "read 163", "read 164", "read 165",
                          "read 166", "read 167", "read 180", "read 181", "read 182", "read 183",
                          "read 184", "read 185", "read 186", "read 187", "read 188", "read 189",
                          "read 170", "read 171", "read 100", "read 101", "read 110", "read 111",
                          "read 120", "read 121", "read 34"}));
    QCOMPARE(label(QStringLiteral("lblk7610State7"))->text(), QStringLiteral("1234"));
    QCOMPARE(label(QStringLiteral("lblk7610State5"))->text(), QStringLiteral("77"));
}

void TestIODisplayPage::channelWordLightsItsBits() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.memoryMap().setWord(170, 0x8001);
    openPage();
    steps(12);
    for (int n = 0; n < IODisplayPage::kPointsPerWord; ++n) {
        QLabel* state = label(QStringLiteral("lblTmgChannelState%1").arg(n));
        const bool on = n == 0 || n == 15;
        QCOMPARE(state->text(), on ? QStringLiteral("ON") : QStringLiteral("off"));
        QCOMPARE(state->palette().color(QPalette::WindowText),
                 on ? QColor(0, 0, 255) : QColor(192, 0, 0));
    }
}

void TestIODisplayPage::digitalInputOnlyWhenExactlyOne_data() {
    QTest::addColumn<int>("bit");
    QTest::addColumn<QString>("shown");
    QTest::newRow("F16 = 1") << 1 << "ON";
    QTest::newRow("F16 = 0") << 0 << "off";
}

void TestIODisplayPage::digitalInputOnlyWhenExactlyOne() {
    QFETCH(int, bit);
    QFETCH(QString, shown);
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(34, bit); // F16 is bit 0 of byte 34
    openPage();
    QCOMPARE(label(QStringLiteral("lblk7610State0"))->text(), QStringLiteral("-"));
    steps(1);
    QCOMPARE(label(QStringLiteral("lblk7610State0"))->text(), shown);
}

void TestIODisplayPage::goingOfflineDisablesEverything() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.memoryMap().setWord(100, 0x0002);
    m_rig->board.memoryMap().setWord(162, 500);
    openPage();
    steps(14);
    QCOMPARE(label(QStringLiteral("lblSlot00State1"))->text(), QStringLiteral("ON"));
    QCOMPARE(label(QStringLiteral("lblk7610State2"))->text(), QStringLiteral("500"));
    // The link fails in the middle of the pass.
    m_rig->board.setFault(BoardSim::Fault::Silent);
    m_rig->prompts.answerMessage(Prompts::Answer::Cancel);
    steps(2);
    QVERIFY(!m_rig->link.OnlineMode);
    QCOMPARE(m_rig->onlineChanges, 1);
    QCOMPARE(label(QStringLiteral("lblk7610State2"))->text(), QStringLiteral("-"));
    QCOMPARE(label(QStringLiteral("lblSlot00State1"))->text(), QStringLiteral("ON"));
    QCOMPARE(label(QStringLiteral("lblSlot00State0"))->text(), QStringLiteral("off"));
    for (const char* name : {"lblSlot00State1", "lblk7610State2", "lblTmgChannel3", "lblk76100"})
        QVERIFY2(!label(QString::fromLatin1(name))->isEnabled(), name);
    // A disabled point is drawn greyed like any label, not in its blue or red.
    for (const char* name : {"lblSlot00State1", "lblSlot00State0"}) {
        const QLabel* point = label(QString::fromLatin1(name));
        QCOMPARE(point->palette().color(QPalette::Disabled, QPalette::WindowText),
                 QApplication::palette(point).color(QPalette::Disabled, QPalette::WindowText));
    }
    QCOMPARE(label(QStringLiteral("lblSlot00State1"))
                 ->palette()
                 .color(QPalette::Active, QPalette::WindowText),
             QColor(0, 0, 255));
    for (int i = 0; i < 5; ++i)
        QVERIFY(!namedChild<QGroupBox>(*m_page, QStringLiteral("fraBMIO%1").arg(i))->isEnabled());
}

void TestIODisplayPage::offlineCostsNothing() {
    openPage();
    steps(20);
    QVERIFY(m_rig->port.wire().isEmpty());
}

// Held behind a transfer's window, the page says since when and why above
// its greyed points, and comes back live at the end with the status poll.
void TestIODisplayPage::pausedBehindAProgramDownload() {
    m_page = std::make_unique<IODisplayPage>(m_rig->services);
    StepDriver statusPoll(
        m_rig->link, [] {}, StepDriver::every(60000));
    statusPoll.start(60000);
    CommandContext context{m_rig->state,  m_rig->link,   m_rig->prompts, m_rig->clock,
                           m_rig->folder, m_rig->online, statusPoll,     m_page.get()};
    m_rig->clock.advance((6 * 3600 + 2 * 60 + 31) * 1000); // 14:02:31
    auto paused = std::make_unique<PausedPageCycles>(
        context, QStringLiteral("while the program is downloaded"),
        PausedPageCycles::StatusPoll::Held);
    auto* banner = label(QStringLiteral("lblPaused"));
    QCOMPARE(banner->text(),
             QStringLiteral("Paused since 14:02:31 while the program is downloaded"));
    QVERIFY(!m_page->refreshCycle().isActive() && !statusPoll.isActive());
    QVERIFY(!label(QStringLiteral("lblSlot00State0"))->isEnabled());
    paused.reset();
    QVERIFY(banner->isHidden() && m_page->isEnabled());
    QVERIFY(m_page->refreshCycle().isActive() && statusPoll.isActive());
}

QTEST_MAIN(TestIODisplayPage)
#include "tst_iodisplaypage.moc"
