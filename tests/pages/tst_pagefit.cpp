// Every page fits the main window at the size it opens at: each tab is seen
// whole, with no scroll bar (the set-up and timing pages have the most rows).
#include "frmmdimain.h"
#include "pagefactories.h"
#include "pagerig.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

#include <memory>

using PageFactory = QWidget* (*)(PageServices&, QWidget*);
Q_DECLARE_METATYPE(PageFactory)

class TestPageFit : public QObject {
    Q_OBJECT
private slots:
    void tabFitsOpeningWindow_data();
    void tabFitsOpeningWindow();
};

void TestPageFit::tabFitsOpeningWindow_data() {
    QTest::addColumn<PageFactory>("factory");
    QTest::addColumn<int>("tab");
    QTest::newRow("set-up, print/varnish trip") << PageFactory(createSetupPage) << 0;
    QTest::newRow("set-up, blow-off parameters") << PageFactory(createSetupPage) << 1;
    QTest::newRow("timing, timing channels") << PageFactory(createTimingPage) << 0;
    QTest::newRow("timing, PLS configuration") << PageFactory(createTimingPage) << 1;
    QTest::newRow("main display") << PageFactory(createMainDisplayPage) << -1;
    QTest::newRow("shift data, trips per spindle") << PageFactory(createDataPage) << 0;
    QTest::newRow("shift data, current shift") << PageFactory(createDataPage) << 1;
    QTest::newRow("shift data, last shift") << PageFactory(createDataPage) << 2;
    QTest::newRow("I/O states") << PageFactory(createIODisplayPage) << -1;
    QTest::newRow("DF1 bridge") << PageFactory(createDF1BridgePage) << -1;
}

void TestPageFit::tabFitsOpeningWindow() {
    QFETCH(PageFactory, factory);
    QFETCH(int, tab);
    PageRig rig;
    const QVector<PageEntry> pages = {
        {QStringLiteral("frmPage"), QStringLiteral("&1 Page"), true,
         [factory](PageServices& services, QWidget* parent) { return factory(services, parent); }}};
    frmMDIMain window(rig.state, rig.link, rig.port, rig.prompts, rig.clock, rig.folder, pages);
    window.statusPollDriver().stop();
    window.resize(frmMDIMain::kOpeningSize);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (tab >= 0) {
        auto* tabs = window.currentPage()->findChild<QTabBar*>();
        QVERIFY(tabs);
        tabs->setCurrentIndex(tab);
    }
    QCoreApplication::sendPostedEvents(); // the layouts settle

    auto* scroller = window.findChild<QScrollArea*>(QStringLiteral("pageScroller"));
    QVERIFY(scroller);
    const QSize needed = scroller->widget()->minimumSizeHint();
    QVERIFY2(needed.boundedTo(scroller->viewport()->size()) == needed,
             qPrintable(QStringLiteral("needs %1 x %2").arg(needed.width()).arg(needed.height())));
    QVERIFY(!scroller->verticalScrollBar()->isVisible());
    QVERIFY(!scroller->horizontalScrollBar()->isVisible());
}

QTEST_MAIN(TestPageFit)
#include "tst_pagefit.moc"
