#include "maindisplaypage.h"
#include "namedchild.h"
#include "pagerig.h"
#include "spinner.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

class TestMainDisplayPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutCarriesNamesAndCaptions();
    void countersUseLocaleGrouping_data();
    void countersUseLocaleGrouping();
    void machineSpeedIsDoubled();
    void blowoffRequestsWriteInOrder_data();
    void blowoffRequestsWriteInOrder();
    void badCanTestWritesF830();
    void spindlePresetFromSelection_data();
    void spindlePresetFromSelection();
    void offlineShowsDashesThenStoredCounters();
    void spindleFieldRangeMessage();
    void spindleFieldAcceptedValueIsNotWritten();
    void spindleSpinnerWritesSelectionOnline();
    void statusTextShownWithLineBreaks();
    void alarmStandsOut();
    void trendRecordsTheSpeedItShows();

private:
    void openPage();
    template <class T> T* child(const QString& name) const { return namedChild<T>(*m_page, name); }
    QString label(int i) const {
        return child<QLabel>(QStringLiteral("lblDisplay%1").arg(i))->text();
    }
    QLineEdit* spindle() const { return child<QLineEdit>(QStringLiteral("txtSpindleBlowoff")); }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<MainDisplayPage> m_page;
};

void TestMainDisplayPage::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestMainDisplayPage::cleanup() {
    m_page.reset();
    m_rig.reset();
    QLocale::setDefault(QLocale::c());
}

void TestMainDisplayPage::openPage() {
    m_page = std::make_unique<MainDisplayPage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    m_rig->clearWire();
}

void TestMainDisplayPage::layoutCarriesNamesAndCaptions() {
    openPage();
    QCOMPARE(m_page->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(m_page->windowTitle(), QStringLiteral("Main Display"));
    const QList<QPair<QString, QString>> frames = {{"fraDisplay0", "Machine CPM"},
                                                   {"fraDisplay1", "Good Cans"},
                                                   {"fraDisplay2", "Blow-offs"},
                                                   {"fraMessageDisplay", "Messages"},
                                                   {"fraQCBlowoff", "Q.C. Blow-off"},
                                                   {"fraSpindleNumber", "Spindle Number"},
                                                   {"fraBadCanBlowoff", "Bad Can Blow-off"}};
    for (const auto& [name, caption] : frames)
        QCOMPARE(child<QGroupBox>(name)->title(), caption);
    const QList<QPair<QString, QString>> buttons = {{"cmdSingleBlowoff", "S&ingle Blow-off"},
                                                    {"cmdBlanketBlowoff", "&Blanket Blow-off"},
                                                    {"cmdMandrelBlowoff", "&Mandrel Blowoff"},
                                                    {"cmdBadCanBlowoff", "&Test Trip/Blow-off"},
                                                    {"cmdDefault", "-"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(child<QPushButton>(name)->text(), caption);
    auto* spinner = child<Spinner>(QStringLiteral("updSpindleNumber"));
    QCOMPARE(qMakePair(spinner->minimum(), spinner->maximum()), qMakePair(1, 24));
    QVERIFY(child<QPlainTextEdit>(QStringLiteral("txtMessageDisplay"))->isReadOnly());
}

void TestMainDisplayPage::countersUseLocaleGrouping_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("goodCans");
    QTest::addColumn<QString>("blowoffs");
    QTest::newRow("English (US)") << QLocale(QLocale::English, QLocale::UnitedStates)
                                  << QStringLiteral("1,234,567") << QStringLiteral("655,359,999");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringLiteral("1.234.567") << QStringLiteral("655.359.999");
}

void TestMainDisplayPage::countersUseLocaleGrouping() {
    QFETCH(QLocale, locale);
    QFETCH(QString, goodCans);
    QFETCH(QString, blowoffs);
    QLocale::setDefault(locale);
    QVERIFY(m_rig->goOnline());
    m_rig->board.memoryMap().setDoubleWord(1100, 1234567);
    m_rig->board.memoryMap().setDoubleWord(1104, 655359999);
    openPage();

    for (int step = 0; step < 3; ++step)
        m_page->refreshStep();

    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 182", "read 183", "read 1100", "read 1101", "read 1102",
                          "read 1103", "read 1104", "read 1105", "read 1106", "read 1107"}));
    QCOMPARE(label(1), goodCans);
    QCOMPARE(label(2), blowoffs);
}

void TestMainDisplayPage::machineSpeedIsDoubled() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.memoryMap().setWord(182, 150);
    openPage();

    m_page->refreshStep();

    QCOMPARE(label(0), QStringLiteral("300"));
}

void TestMainDisplayPage::blowoffRequestsWriteInOrder_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("acknowledgement");
    QTest::newRow("single blow-off, spindle 7")
        << QStringLiteral("cmdSingleBlowoff") << 7
        << QStringLiteral("Q.C. blow-off requested (spindle 7)");
    QTest::newRow("blanket blow-off") << QStringLiteral("cmdBlanketBlowoff") << 25
                                      << QStringLiteral("Q.C. blanket blow-off requested");
    QTest::newRow("mandrel blow-off") << QStringLiteral("cmdMandrelBlowoff") << 26
                                      << QStringLiteral("Q.C. mandrel blow-off requested");
}

void TestMainDisplayPage::blowoffRequestsWriteInOrder() {
    QFETCH(QString, button);
    QFETCH(int, selection);
    QFETCH(QString, acknowledgement);
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(2088, 7); // the spindle field is preset from B2088
    openPage();
    QCOMPARE(spindle()->text(), QStringLiteral("7"));
    m_rig->clearWire();

    QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);

    // B2088 := selection, then F825 (byte 135 bit 1), then F102 (byte 44 bit 6).
    QCOMPARE(m_rig->writtenAddresses(), (QStringList{"2088", "135", "44"}));
    QCOMPARE(int(m_rig->board.memory(2088)), selection);
    QVERIFY(m_rig->board.memoryMap().bit(135, 1));
    QVERIFY(m_rig->board.memoryMap().bit(44, 6));
    QCOMPARE(m_rig->acknowledgements, QStringList{acknowledgement});
}

void TestMainDisplayPage::badCanTestWritesF830() {
    QVERIFY(m_rig->goOnline());
    openPage();

    QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdBadCanBlowoff")), Qt::LeftButton);

    QCOMPARE(m_rig->writtenAddresses(), QStringList{"135"});
    QVERIFY(m_rig->board.memoryMap().bit(135, 6));
}

void TestMainDisplayPage::spindlePresetFromSelection_data() {
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("shown");
    QTest::newRow("mandrel 26 shows maximum") << 26 << QStringLiteral("24");
    QTest::newRow("blanket 25 shows maximum") << 25 << QStringLiteral("24");
    QTest::newRow("0 shows 1") << 0 << QStringLiteral("1");
    QTest::newRow("spindle 13 as read") << 13 << QStringLiteral("13");
    QTest::newRow("maximum 24 as read") << 24 << QStringLiteral("24");
}

void TestMainDisplayPage::spindlePresetFromSelection() {
    QFETCH(int, selection);
    QFETCH(QString, shown);
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(2088, selection);

    openPage();

    QCOMPARE(spindle()->text(), shown);
    QVERIFY(child<QPushButton>(QStringLiteral("cmdSingleBlowoff"))->hasFocus());
}

void TestMainDisplayPage::offlineShowsDashesThenStoredCounters() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_rig->state.CurrentDocument.Values[49] = 1234567;
    m_rig->state.CurrentDocument.Values[50] = 4321;
    openPage();

    for (int i = 0; i < 3; ++i)
        QCOMPARE(label(i), QStringLiteral("-"));
    QCOMPARE(spindle()->text(), QStringLiteral("-"));
    for (const char* name :
         {"cmdSingleBlowoff", "cmdBlanketBlowoff", "cmdMandrelBlowoff", "cmdBadCanBlowoff"})
        QVERIFY(!child<QPushButton>(name)->isEnabled());
    QVERIFY(!spindle()->isEnabled());

    m_page->refreshStep();

    QCOMPARE(label(0), QStringLiteral("-"));
    QCOMPARE(label(1), QStringLiteral("1,234,567"));
    QCOMPARE(label(2), QStringLiteral("4,321"));
    QVERIFY(m_rig->port.wire().isEmpty());
}

void TestMainDisplayPage::spindleFieldRangeMessage() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(2088, 9);
    openPage();
    spindle()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(spindle(), Qt::Key_Backspace);
    QTest::keyClicks(spindle(), QStringLiteral("25"));
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);

    QTest::keyClick(spindle(), Qt::Key_Return);

    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Q.C. Blow-off"));
    QCOMPARE(messages[0].text, QStringLiteral("Only a Number Between 1 and 24 can be Entered"));
    QCOMPARE(messages[0].icon, Prompts::Icon::Information);
    QCOMPARE(spindle()->text(), QStringLiteral("9"));
    QVERIFY(spindle()->hasFocus());
    QVERIFY(m_rig->port.wire().isEmpty());
}

void TestMainDisplayPage::spindleFieldAcceptedValueIsNotWritten() {
    QVERIFY(m_rig->goOnline());
    openPage();
    const auto documentBefore = m_rig->state.CurrentDocument;
    spindle()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(spindle(), Qt::Key_Backspace);
    QTest::keyClicks(spindle(), QStringLiteral("12"));

    QTest::keyClick(spindle(), Qt::Key_Tab);

    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QVERIFY(m_rig->port.wire().isEmpty());
    QVERIFY(m_rig->state.CurrentDocument == documentBefore);
    // Used by the next single blow-off.
    QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdSingleBlowoff")), Qt::LeftButton);
    QCOMPARE(int(m_rig->board.memory(2088)), 12);
}

void TestMainDisplayPage::spindleSpinnerWritesSelectionOnline() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(2088, 5);
    openPage();

    child<Spinner>(QStringLiteral("updSpindleNumber"))->stepUp();

    QCOMPARE(spindle()->text(), QStringLiteral("6"));
    QCOMPARE(m_rig->transactions(), QStringList{"write 2088 6"});
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdDefault"));
}

void TestMainDisplayPage::statusTextShownWithLineBreaks() {
    openPage();
    m_rig->state.SystemStatusText =
        QStringLiteral("-- System Normal --\r\nSet-up Program is Currently ONLINE");

    m_page->refreshStep();

    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("txtMessageDisplay"))->toPlainText(),
             QStringLiteral("-- System Normal --\nSet-up Program is Currently ONLINE"));
}

void TestMainDisplayPage::alarmStandsOut() {
    openPage();
    auto* display = child<QPlainTextEdit>(QStringLiteral("txtMessageDisplay"));
    const qreal normalSize = display->font().pointSizeF();
    m_rig->state.SystemStatusText =
        QStringLiteral("***** SYSTEM ALARM *****\r\n Infeed Track Jam \r\n\r\n");
    m_page->refreshStep();
    QVERIFY(display->property("alarm").toBool());
    QVERIFY(display->font().bold());
    QVERIFY(display->font().pointSizeF() > 1.5 * normalSize);
    QCOMPARE(display->palette().color(QPalette::Text), QColor(0xc0, 0, 0));
    // A greyed page (offline, paused) greys the alarm too.
    QCOMPARE(display->palette().color(QPalette::Disabled, QPalette::Text),
             QApplication::palette(display).color(QPalette::Disabled, QPalette::Text));
    QCOMPARE(display->toPlainText(),
             QStringLiteral("***** SYSTEM ALARM *****\n Infeed Track Jam \n\n"));

    m_rig->state.SystemStatusText =
        QStringLiteral("-- System Normal --\r\nSet-up Program is Currently ONLINE");
    m_page->refreshStep();
    QVERIFY(!display->property("alarm").toBool());
    QVERIFY(!display->font().bold());
    QCOMPARE(display->font().pointSizeF(), normalSize);
}

QTEST_MAIN(TestMainDisplayPage)
#include "tst_maindisplaypage.moc"

// The trend keeps the speed the page reads (no read of its own), one sample
// a second, and shows a gap where the page was closed.
void TestMainDisplayPage::trendRecordsTheSpeedItShows() {
    QVERIFY(m_rig->goOnline());
    const SpeedTrend& trend = m_rig->state.speedTrend;
    openPage();
    auto pass = [this](int rpm) {
        m_rig->board.memoryMap().setWord(182, rpm);
        m_rig->clock.advance(1000);
        for (int i = 0; i < 3; ++i)
            m_page->refreshStep();
    };
    pass(300);
    pass(0);
    QCOMPARE(m_rig->transactions().mid(0, 8),
             (QStringList{"read 182", "read 183", "read 1100", "read 1101", "read 1102",
                          "read 1103", "read 1104", "read 1105"}));
    QCOMPARE(trend.size(), 2);
    QCOMPARE(trend.latest()->cpm, 0);

    m_page.reset();
    m_rig->clock.advance(2000);
    openPage();
    pass(300);
    const auto runs = trend.runs(m_rig->clock.now().toMSecsSinceEpoch());
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.first().size(), 2);
    QCOMPARE(runs.last().first().cpm, 600);
}
