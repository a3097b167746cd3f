// A page held behind a transfer's window says since when and why above its
// greyed values and comes back live at the end; a program transfer holds
// the status poll as well.
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
    QTest::newRow("program download") << "while the program is downloaded" << true;
    QTest::newRow("data upload: the poll goes on") << "while data is uploaded" << false;
}

void TestPausedPageCycles::heldWhileTheCommandRuns() {
    QFETCH(QString, why);
    QFETCH(bool, pollHeld);
    PageRig rig;
    QVERIFY(rig.goOnline());
    QWidget mainWindow;
    auto* page = new IODisplayPage(rig.services, &mainWindow);
    StepDriver statusPoll(
        rig.link, [] {}, StepDriver::every(60000));
    statusPoll.start(60000);
    CommandContext context{rig.state,  rig.link,   rig.port,   rig.prompts, rig.clock,
                           rig.folder, rig.online, statusPoll, &mainWindow};
    rig.clock.advance((6 * 3600 + 2 * 60 + 31) * 1000); // 14:02:31
    const auto poll =
        pollHeld ? PausedPageCycles::StatusPoll::Held : PausedPageCycles::StatusPoll::Runs;
    auto paused = std::make_unique<PausedPageCycles>(context, why, poll);
    auto* banner = namedChild<QLabel>(*page, QStringLiteral("lblPaused"));
    QCOMPARE(banner->text(), QStringLiteral("Paused since 14:02:31 ") + why);
    QVERIFY(banner->isVisibleTo(page));
    QVERIFY(!page->refreshCycle().isActive());
    QVERIFY(!namedChild<QLabel>(*page, QStringLiteral("lblSlot00State0"))->isEnabled());
    QCOMPARE(statusPoll.isActive(), !pollHeld);

    paused.reset();
    QVERIFY(!banner->isVisibleTo(page));
    QVERIFY(page->refreshCycle().isActive());
    QVERIFY(page->isEnabled());
    QVERIFY(statusPoll.isActive());
}

QTEST_MAIN(TestPausedPageCycles)
#include "tst_pausedpagecycles.moc"
