// A page behind a transfer's window: held still, it says since when and why
// above its greyed values, and comes back live when the transfer ends; a
// program transfer holds the status poll as well.
#include "commandcontext.h"
#include "iodisplaypage.h"
#include "namedchild.h"
#include "pagerig.h"
#include "pausedpagecycles.h"

#include <QLabel>

class TestPausedPageCycles : public QObject {
    Q_OBJECT

private slots:
    void heldWhileTheCommandRuns_data();
    void heldWhileTheCommandRuns();
};

void TestPausedPageCycles::heldWhileTheCommandRuns_data() {
    QTest::addColumn<QString>("why");
    QTest::addColumn<bool>("pollHeld");
    QTest::newRow("program download: page and status poll")
        << "while the program is downloaded" << true;
    QTest::newRow("data upload: the page only") << "while data is uploaded" << false;
}

void TestPausedPageCycles::heldWhileTheCommandRuns() {
    QFETCH(QString, why);
    QFETCH(bool, pollHeld);
    PageRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setMemory(100, 1);
    QWidget mainWindow;
    auto* page = new IODisplayPage(rig.services, &mainWindow);
    for (int i = 0; i < IODisplayPage::kLocationCount; ++i)
        page->refreshStep();
    QLabel* point = namedChild<QLabel>(*page, QStringLiteral("lblSlot00State0"));
    QCOMPARE(point->text(), QStringLiteral("ON"));
    StepDriver statusPoll(
        rig.link, [] {}, StepDriver::every(60000));
    statusPoll.start(60000);
    CommandContext context{rig.state,  rig.link,   rig.port,   rig.prompts, rig.clock,
                           rig.folder, rig.online, statusPoll, &mainWindow};
    rig.clock.advance((6 * 3600 + 2 * 60 + 31) * 1000); // 14:02:31

    auto paused = std::make_unique<PausedPageCycles>(context, why,
                                                     pollHeld ? PausedPageCycles::StatusPoll::Held
                                                              : PausedPageCycles::StatusPoll::Runs);
    auto* banner = page->findChild<QLabel*>(QStringLiteral("lblPaused"));
    QVERIFY(banner);
    QCOMPARE(banner->text(), QStringLiteral("Paused since 14:02:31 ") + why);
    QVERIFY(banner->isVisibleTo(page));
    QVERIFY(!page->refreshCycle().isActive());
    QVERIFY(!point->isEnabled());
    QCOMPARE(statusPoll.isActive(), !pollHeld);
    QCOMPARE(statusPoll.isHeld(), pollHeld);

    paused.reset();
    QVERIFY(!banner->isVisibleTo(page));
    QVERIFY(page->refreshCycle().isActive());
    QVERIFY(point->isEnabled());
    QVERIFY(statusPoll.isActive());
    QVERIFY(!statusPoll.isHeld());
}

QTEST_MAIN(TestPausedPageCycles)
#include "tst_pausedpagecycles.moc"
