#include "datapage.h"
#include "heldoutputs.h"
#include "namedchild.h"
#include "pagerig.h"
#include "qtprompts.h"
#include "spindlewheelchart.h"
#include "spinner.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <memory>

class TestDataPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addressTable_data();
    void addressTable();
    void layoutCarriesNamesAndCaptions();
    void boardPassReadsTripsTabThenTripOffset();
    void tabSwitchAbandonsPass();
    void countersGroupDigits_data();
    void countersGroupDigits();
    void tripOffsetRange_data();
    void tripOffsetRange();
    void momentaryButtons_data();
    void momentaryButtons();
    void keyboardWritesNothing();
    void releaseLostToLinkFailureIsWrittenWhenBackOnline();
    void anythingThatEndsTheHoldReleases_data();
    void anythingThatEndsTheHoldReleases();
    void releaseLostInTimeOutBox_data();
    void releaseLostInTimeOutBox();
    void closingWhileHeldWritesRelease();
    void offlineShowsDocument();
    void goingOfflineMidPass();
    void wheelDrawsWhatTheFieldsShow();

private:
    void openPage();
    void steps(int count) {
        for (int i = 0; i < count; ++i)
            m_page->refreshStep();
    }
    template <class T> T* child(const QString& name) const { return namedChild<T>(*m_page, name); }
    QTabBar* tabs() const { return child<QTabBar>(QStringLiteral("tbsData")); }
    QString value(int index) const {
        return child<QLabel>(QStringLiteral("lblData%1").arg(index))->text();
    }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<DataPage> m_page;
};

void TestDataPage::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestDataPage::cleanup() {
    m_page.reset();
    m_rig.reset();
    QLocale::setDefault(QLocale::c());
}

void TestDataPage::openPage() {
    m_page = std::make_unique<DataPage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    m_rig->clearWire();
}

void TestDataPage::addressTable_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("address");
    QTest::newRow("tripped spindle") << 0 << "B598";
    QTest::newRow("drive side spindle 1") << 1 << "W1700";
    QTest::newRow("drive side spindle 24") << 24 << "W1746";
    QTest::newRow("off side spindle 1") << 25 << "W1748";
    QTest::newRow("off side spindle 24") << 48 << "W1794";
    QTest::newRow("current good cans") << 49 << "D1100";
    QTest::newRow("current blow-offs") << 50 << "D1104";
    QTest::newRow("current bad cans") << 51 << "D1108";
    QTest::newRow("current manual") << 52 << "D1116";
    QTest::newRow("current Q.C.") << 53 << "D1120";
    QTest::newRow("current restart") << 54 << "D1112";
    QTest::newRow("current drive side trips") << 55 << "W1124";
    QTest::newRow("current off side trips") << 56 << "W1126";
    QTest::newRow("current drive side spindle 1") << 57 << "W1128";
    QTest::newRow("current off side spindle 24") << 104 << "W1222";
    QTest::newRow("last good cans") << 105 << "D1300";
    QTest::newRow("last restart") << 110 << "D1312";
    QTest::newRow("last off side trips") << 112 << "W1326";
    QTest::newRow("last drive side spindle 1") << 113 << "W1328";
    QTest::newRow("last off side spindle 1") << 137 << "W1376";
    QTest::newRow("last off side spindle 24") << 160 << "W1422";
}

void TestDataPage::addressTable() {
    QFETCH(int, index);
    QFETCH(QString, address);
    QCOMPARE(DataPage::dataAddress(index), address);
}

void TestDataPage::layoutCarriesNamesAndCaptions() {
    openPage();
    QCOMPARE(m_page->objectName(), QStringLiteral("frmData"));
    QCOMPARE(m_page->windowTitle(), QStringLiteral("Shift Data"));
    QCOMPARE(tabs()->tabText(0), QStringLiteral("&Trips Per Spindle"));
    QCOMPARE(tabs()->tabText(1), QStringLiteral("&Current Shift"));
    QCOMPARE(tabs()->tabText(2), QStringLiteral("&Last Shift"));
    const QStringList frames = {"Spindle Trip",  "Drive Side Trips", "Off Side Trips",
                                "Current Shift", "Drive Side Trips", "Off Side Trips",
                                "Last Shift",    "Drive Side Trips", "Off Side Trips"};
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(child<QGroupBox>(QStringLiteral("fraShiftData%1").arg(i))->title(), frames[i]);
    QCOMPARE(child<QGroupBox>(QStringLiteral("fraEndofShift"))->title(),
             QStringLiteral("End of Shift"));
    // The tab frames have no border and no caption: "Current Shift" stands
    // once, over the totals, under the tab of that name.
    for (int tab = 0; tab < 3; ++tab)
        QCOMPARE(child<QFrame>(QStringLiteral("fraData%1").arg(tab))->frameShape(),
                 QFrame::NoFrame);
    int captions = 0;
    for (const QGroupBox* box : m_page->findChildren<QGroupBox*>())
        captions += box->title() == QLatin1String("Current Shift");
    QCOMPARE(captions, 1);
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdResetTrips"))->text(),
             QStringLiteral("&Reset Trips"));
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdEndofShift"))->text(),
             QStringLiteral("T&ransfer Data"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblSpindleTripOffset"))->text(),
             QStringLiteral("Spindle #1 Trip &Offset:"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblDescription0"))->text(),
             QStringLiteral("Tripped Spindle:"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblDescription54"))->text(),
             QStringLiteral("Restart Blow-offs:"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblDescription112"))->text(),
             QStringLiteral("Off Side Trips:"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblDescription13"))->text(), QStringLiteral("13:"));
    auto* spinner = child<Spinner>(QStringLiteral("updSpindleTripOffset"));
    QCOMPARE(qMakePair(spinner->minimum(), spinner->maximum()), qMakePair(0, 23));
    for (int i = 0; i < DataPage::kValueCount; ++i)
        QVERIFY(child<QLabel>(QStringLiteral("lblData%1").arg(i)));
}

void TestDataPage::boardPassReadsTripsTabThenTripOffset() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(598, 7);
    m_rig->board.setMemory(1011, 5);
    m_rig->board.memoryMap().setWord(1700, 12);
    openPage();
    QCOMPARE(value(0), QStringLiteral("-"));
    steps(3);
    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 598", "read 1011", "read 1700", "read 1701"}));
    QCOMPARE(value(0), QStringLiteral("7"));
    QCOMPARE(value(1), QStringLiteral("12"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtSpindleTripOffset"))->text(), QStringLiteral("5"));
    // The rest of the tab, then the pass starts over at the tripped spindle.
    m_rig->clearWire();
    steps(47);
    const QStringList reads = m_rig->transactions();
    QCOMPARE(reads.size(), 94);
    QCOMPARE(reads.first(), QStringLiteral("read 1702"));
    QCOMPARE(reads.last(), QStringLiteral("read 1795"));
    m_rig->clearWire();
    steps(1);
    QCOMPARE(m_rig->transactions(), QStringList{"read 598"});
    // Shown only: the document keeps its counters.
    QCOMPARE(m_rig->state.CurrentDocument.Values[1], 0);
}

void TestDataPage::tabSwitchAbandonsPass() {
    QVERIFY(m_rig->goOnline());
    openPage();
    steps(3);
    m_rig->clearWire();
    tabs()->setCurrentIndex(1);
    steps(3);
    // The abandoned pass reads nothing more; the new one starts at D1100.
    const QStringList reads = m_rig->transactions();
    QVERIFY(!reads.isEmpty());
    QVERIFY2(reads.first() == QLatin1String("read 1100"), qPrintable(reads.join(", ")));
    QVERIFY(!reads.contains(QStringLiteral("read 1702")));
    QVERIFY(child<QFrame>(QStringLiteral("fraData1"))->isVisible());
    QVERIFY(!child<QFrame>(QStringLiteral("fraData0"))->isVisible());
    m_rig->clearWire();
    tabs()->setCurrentIndex(2);
    steps(2);
    QVERIFY2(m_rig->transactions().first() == QLatin1String("read 1300"),
             qPrintable(m_rig->transactions().join(", ")));
}

void TestDataPage::countersGroupDigits_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                             << QStringLiteral("12,345");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringLiteral("12.345");
}

void TestDataPage::countersGroupDigits() {
    QFETCH(QLocale, locale);
    QFETCH(QString, shown);
    QLocale::setDefault(locale);
    QVERIFY(m_rig->goOnline());
    m_rig->board.memoryMap().setWord(1700, 12345);
    m_rig->state.CurrentDocument.Values[2] = 12345;
    openPage();
    steps(3);
    QCOMPARE(value(1), shown);
    m_rig->link.OnlineMode = false;
    m_rig->link.CloseRSComm();
    steps(1);
    QCOMPARE(value(2), shown);
}

void TestDataPage::tripOffsetRange_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("24") << QStringLiteral("24");
    QTest::newRow("-1") << QStringLiteral("-1");
}

void TestDataPage::tripOffsetRange() {
    QFETCH(QString, typed);
    m_rig->state.OfflineEditing = true;
    openPage();
    steps(1);
    auto* edit = child<QLineEdit>(QStringLiteral("txtSpindleTripOffset"));
    QCOMPARE(edit->text(), QStringLiteral("22"));
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    QTest::keyClick(edit, Qt::Key_Return);
    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Spindle #1 Trip Offset:"));
    QCOMPARE(messages[0].text, QStringLiteral("Only a Number Between 0 and 23 can be Entered"));
    QCOMPARE(edit->text(), QStringLiteral("22"));
    QCOMPARE(m_rig->state.CurrentDocument.Values[0], 22);
}

void TestDataPage::momentaryButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("mask");
    QTest::addColumn<Qt::MouseButton>("mouse");
    // B1016.0 is bit 0 of byte 1016; F133 is bit 5 of byte 48.
    QTest::newRow("reset trips, left button")
        << "cmdResetTrips" << 0 << 1016 << 1 << Qt::LeftButton;
    QTest::newRow("reset trips, right button")
        << "cmdResetTrips" << 0 << 1016 << 1 << Qt::RightButton;
    QTest::newRow("transfer data, left button")
        << "cmdEndofShift" << 1 << 48 << 32 << Qt::LeftButton;
    QTest::newRow("transfer data, middle button")
        << "cmdEndofShift" << 1 << 48 << 32 << Qt::MiddleButton;
}

void TestDataPage::momentaryButtons() {
    QFETCH(QString, button);
    QFETCH(int, tab);
    QFETCH(int, byte);
    QFETCH(int, mask);
    QFETCH(Qt::MouseButton, mouse);
    QVERIFY(m_rig->goOnline());
    openPage();
    tabs()->setCurrentIndex(tab);
    auto* pushButton = child<QPushButton>(button);
    QTest::mousePress(pushButton, mouse);
    QCOMPARE(m_rig->writtenAddresses(), QStringList{QString::number(byte)});
    QCOMPARE(m_rig->board.memory(byte) & mask, mask);
    // Held across several passes: the counters go on, the bit stays set.
    m_rig->clearWire();
    steps(5);
    QVERIFY(m_rig->writtenAddresses().isEmpty());
    QCOMPARE(m_rig->transactions().size() >= 5, true);
    QCOMPARE(m_rig->board.memory(byte) & mask, mask);
    m_rig->clearWire();
    QTest::mouseRelease(pushButton, mouse);
    QCOMPARE(m_rig->writtenAddresses(), QStringList{QString::number(byte)});
    QCOMPARE(m_rig->board.memory(byte) & mask, 0);
}

void TestDataPage::keyboardWritesNothing() {
    QVERIFY(m_rig->goOnline());
    openPage();
    auto* button = child<QPushButton>(QStringLiteral("cmdResetTrips"));
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    button->click();
    QVERIFY(m_rig->port.wire().isEmpty());
}

void TestDataPage::releaseLostToLinkFailureIsWrittenWhenBackOnline() {
    QVERIFY(m_rig->goOnline());
    openPage();
    auto* button = child<QPushButton>(QStringLiteral("cmdResetTrips"));
    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(m_rig->board.memory(1016) & 1, 1);
    // The link fails while the button is held: the release cannot be sent.
    m_rig->board.setFault(BoardSim::Fault::Silent);
    m_rig->prompts.answerMessage(Prompts::Answer::Cancel);
    steps(1);
    QVERIFY(m_rig->link.CommError);
    m_rig->clearWire();
    QTest::mouseRelease(button, Qt::LeftButton);
    QVERIFY(m_rig->port.wire().isEmpty());
    steps(2); // the cycle takes the application offline
    QVERIFY(!m_rig->link.OnlineMode);
    QCOMPARE(m_rig->board.memory(1016) & 1, 1);

    // The page is closed meanwhile; back online, the owed "0" goes as the
    // line comes up.
    m_page.reset();
    m_rig->board.setFault(BoardSim::Fault::None);
    QVERIFY(m_rig->goOnline());
    QCOMPARE(m_rig->board.memory(1016) & 1, 0);
    QVERIFY(m_rig->link.heldOutputs().owed().isEmpty());
}

void TestDataPage::anythingThatEndsTheHoldReleases_data() {
    QTest::addColumn<int>("ending");
    QTest::newRow("mouse released over another control") << 0;
    QTest::newRow("window blocked by a modal dialog") << 1;
    QTest::newRow("button hidden by a tab change") << 2;
    QTest::newRow("application goes offline") << 3;
}

void TestDataPage::anythingThatEndsTheHoldReleases() {
    QFETCH(int, ending);
    QVERIFY(m_rig->goOnline());
    openPage();
    auto* button = child<QPushButton>(QStringLiteral("cmdResetTrips"));
    QTest::mousePress(button, Qt::LeftButton);
    m_rig->clearWire();
    QDialog dialog(m_page.get());
    if (ending == 0)
        QTest::mouseRelease(tabs(), Qt::LeftButton);
    if (ending == 1)
        dialog.open();
    if (ending == 2)
        tabs()->setCurrentIndex(1);
    if (ending == 3)
        m_rig->link.CloseRSComm();
    QCOMPARE(m_rig->board.memory(1016) & 1, 0);
    // The hold is over: the button's own release, when it comes, adds nothing.
    QTest::mouseRelease(button, Qt::LeftButton);
    QCOMPARE(m_rig->writtenAddresses(), QStringList{QStringLiteral("1016")});
}

void TestDataPage::releaseLostInTimeOutBox_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QByteArray>("releaseWire");
    // Bit 0 of byte 1016 (0x03F8): the byte read in mode 1, then 0 written in mode 2.
    QTest::newRow("Cancel: written as the line comes up, after its 0xFF")
        << QMessageBox::Cancel << QByteArray::fromHex("ffff0103f8ff0203f800");
    QTest::newRow("Retry: written before the next read, the board still in mode 1")
        << QMessageBox::Retry << QByteArray::fromHex("03f8ff0203f800");
}

// The board falls silent while "&Reset Trips" is held: the link's real box
// comes up over the button, the window system sends the release to the
// blocked window, and the box is answered by a click.
void TestDataPage::releaseLostInTimeOutBox() {
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QByteArray, releaseWire);
    QtPrompts boxes;
    RSComm link(m_rig->clock, boxes, m_rig->folder);
    OnlineSession online(link, m_rig->port);
    PageServices services{m_rig->state, link, boxes, m_rig->clock, online, {}};
    link.OpenRSComm(m_rig->port);
    DataPage page(services);
    QVERIFY(showActive(page));
    auto* button = namedChild<QPushButton>(page, QStringLiteral("cmdResetTrips"));
    const QPoint at = button->mapTo(&page, button->rect().center());
    QTest::mousePress(page.windowHandle(), Qt::LeftButton, {}, at);
    m_rig->board.setFault(BoardSim::Fault::Silent);
    QString shown;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        answering.stop();
        shown = box->windowTitle();
        QTest::mouseRelease(page.windowHandle(), Qt::LeftButton, {}, at);
        if (answer == QMessageBox::Retry)
            m_rig->board.setFault(BoardSim::Fault::None);
        QAbstractButton* choice = box->button(answer);
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                          choice->mapTo(box, choice->rect().center()));
    });
    answering.start(10);
    page.refreshStep();
    QCOMPARE(shown, QStringLiteral("WARNING - Communication Error!"));
    QCOMPARE(link.heldOutputs().owed(), QStringList{QStringLiteral("Reset Trips (B1016.0)")});
    QCOMPARE(m_rig->board.memory(1016) & 1, 1);

    m_rig->port.clearWire();
    m_rig->board.setFault(BoardSim::Fault::None);
    if (answer == QMessageBox::Cancel)
        link.OpenRSComm(m_rig->port);
    else
        page.refreshStep();
    QVERIFY(m_rig->port.sentBytes().startsWith(releaseWire));
    QCOMPARE(m_rig->board.memory(1016) & 1, 0);
    // The next press is a press again.
    QTest::mousePress(page.windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(m_rig->board.memory(1016) & 1, 1);
}

void TestDataPage::closingWhileHeldWritesRelease() {
    QVERIFY(m_rig->goOnline());
    openPage();
    tabs()->setCurrentIndex(1);
    QTest::mousePress(child<QPushButton>(QStringLiteral("cmdEndofShift")), Qt::LeftButton);
    QCOMPARE(m_rig->board.memory(48) & 32, 32);
    m_page.reset();
    QCOMPARE(m_rig->board.memory(48) & 32, 0);
}

void TestDataPage::offlineShowsDocument() {
    for (int i = 1; i < DataPage::kValueCount; ++i)
        m_rig->state.CurrentDocument.Values[i] = i;
    m_rig->state.CurrentDocument.Values[0] = 9;
    openPage();
    steps(1);
    QVERIFY(m_rig->port.wire().isEmpty());
    QCOMPARE(value(0), QStringLiteral("-"));
    QCOMPARE(value(1), QStringLiteral("1"));
    QCOMPARE(value(160), QStringLiteral("160"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtSpindleTripOffset"))->text(), QStringLiteral("9"));
    QVERIFY(!child<QLineEdit>(QStringLiteral("txtSpindleTripOffset"))->isEnabled());
    QVERIFY(!child<QGroupBox>(QStringLiteral("fraShiftData0"))->isEnabled());
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdResetTrips"))->isEnabled());
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdEndofShift"))->isEnabled());
    // Offline editing opens the trip offset within one more step.
    m_rig->state.OfflineEditing = true;
    steps(1);
    QVERIFY(child<QLineEdit>(QStringLiteral("txtSpindleTripOffset"))->isEnabled());
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdResetTrips"))->isEnabled());
}

void TestDataPage::goingOfflineMidPass() {
    QVERIFY(m_rig->goOnline());
    m_rig->state.CurrentDocument.Values[5] = 55;
    m_rig->board.memoryMap().setWord(1700, 31);
    openPage();
    steps(3);
    QCOMPARE(value(1), QStringLiteral("31"));
    m_rig->board.setFault(BoardSim::Fault::Silent);
    m_rig->prompts.answerMessage(Prompts::Answer::Cancel);
    steps(1);
    QCOMPARE(value(2), QStringLiteral("-")); // the failed read shows nothing
    steps(1);
    QVERIFY(!m_rig->link.OnlineMode);
    QCOMPARE(m_rig->onlineChanges, 1);
    QCOMPARE(value(5), QStringLiteral("55"));
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdResetTrips"))->isEnabled());
}

QTEST_MAIN(TestDataPage)
#include "tst_datapage.moc"

// The wheel is drawn from the values the fields show and reads nothing of
// its own: a whole pass of the first tab reads exactly the tab's addresses.
void TestDataPage::wheelDrawsWhatTheFieldsShow() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(598, 9);
    m_rig->board.memoryMap().setWord(1700 + 2 * 8, 26); // spindle 9, drive side
    m_rig->board.memoryMap().setWord(1748 + 2 * 22, 3); // spindle 23, off side
    openPage();
    auto* wheel = child<SpindleWheelChart>(QStringLiteral("picSpindleWheel0"));
    QVERIFY(!wheel->isOffline());
    steps(1 + 1 + 48);
    QStringList expected{QStringLiteral("read 598"), QStringLiteral("read 1011")};
    for (int address = 1700; address < 1796; ++address)
        expected << QStringLiteral("read %1").arg(address);
    QCOMPARE(m_rig->transactions(), expected);
    for (int i = 0; i < 48; ++i)
        QCOMPARE(QString::number(wheel->counts()[i]), value(1 + i));
    QCOMPARE(wheel->tripped(), std::optional<int>(9));

    // The keyboard walks it, and says what it stands on.
    wheel->setFocus();
    QTest::keyClick(wheel, Qt::Key_Left);
    QTest::keyClick(wheel, Qt::Key_Up);
    QCOMPARE(wheel->accessibleDescription(), QStringLiteral("Spindle 24, off side: 0 trips"));
    for (int i = 0; i < 25; ++i)
        QTest::keyClick(wheel, Qt::Key_Left);
    QCOMPARE(wheel->accessibleDescription(), QStringLiteral("Spindle 23, off side: 3 trips"));

    // Offline: the document's counts, greyed, no spindle outlined.
    m_rig->state.CurrentDocument.Values[57 + 8] = 14; // current shift, spindle 9 drive side
    m_rig->online.goOffline();
    steps(2);
    auto* shift = child<SpindleWheelChart>(QStringLiteral("picSpindleWheel1"));
    QVERIFY(wheel->isOffline() && shift->isOffline());
    QCOMPARE(wheel->tripped(), std::nullopt);
    QCOMPARE(shift->counts()[8], 14);
}
