#include "namedchild.h"
#include "pagerig.h"
#include "spinner.h"
#include "timingchart.h"
#include "timingpage.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>

#include <memory>

namespace {
// The PLS command bytes the program sent: the byte after each attention
// byte (the values the tests use never contain 0xFF).
QList<int> plsCommands(const QByteArray& sent) {
    QList<int> commands;
    for (int i = 0; i + 1 < sent.size(); ++i)
        if (quint8(sent.at(i)) == 0xFF)
            commands << quint8(sent.at(i + 1));
    return commands;
}

constexpr int kReadPosition = 0x48;
constexpr int kReadScale = 0x18;
constexpr int kChannelCommand = 0x1B;
// A step that reads the configuration, then two recalls for each of the
// nine rows (the new board programs all nine as single setpoints).
constexpr int kOnlineAppearanceSteps = 1 + 2 * TimingPage::kRowCount;
} // namespace

class TestTimingPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutCarriesNamesAndCaptions();
    void onlineAppearanceShowsBoardOneExchangePerStep();
    void leavingAField_data();
    void leavingAField();
    void notProgrammedFieldLeftWithoutCheck();
    void channelNumberRewritten_data();
    void channelNumberRewritten();
    void clearChannelTenClearsChannelEight();
    void offsetGroupFollowsRpm();
    void positionPanel_data();
    void positionPanel();
    void setpointRefusalNamesChannel_data();
    void setpointRefusalNamesChannel();
    void offlineAppearance_data();
    void offlineAppearance();
    void documentOpenedShowsNewDocument();
    void channelsDownloadedRecallsAll();

private:
    void openPage();
    void openOnline();
    // Runs status passes (four steps each).
    void statusPasses(int count);
    // Types into a field and leaves it with Enter.
    void typeAndLeave(QLineEdit* edit, const QString& text);
    template <class T> T* child(const QString& name) const { return namedChild<T>(*m_page, name); }
    QLineEdit* channelField(int index) const {
        return child<QLineEdit>(QStringLiteral("txtChannel%1").arg(index));
    }
    QString panel(int n) const {
        return child<QLabel>(QStringLiteral("sbrMachineTimingPanel%1").arg(n))->text();
    }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<TimingPage> m_page;
};

void TestTimingPage::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestTimingPage::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestTimingPage::openPage() {
    m_page = std::make_unique<TimingPage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    m_rig->clearWire();
}

void TestTimingPage::openOnline() {
    QVERIFY(m_rig->goOnline());
    openPage();
    for (int step = 0; step < kOnlineAppearanceSteps; ++step)
        m_page->refreshStep();
    m_rig->clearWire();
}

void TestTimingPage::statusPasses(int count) {
    // A pass ends with the scale read; it takes four or five steps.
    const auto scaleReads = [this] {
        return plsCommands(m_rig->port.sentBytes()).count(kReadScale);
    };
    const qsizetype target = scaleReads() + count;
    for (int step = 0; step < 5 * count && scaleReads() < target; ++step)
        m_page->refreshStep();
    QCOMPARE(scaleReads(), target);
}

void TestTimingPage::typeAndLeave(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void TestTimingPage::layoutCarriesNamesAndCaptions() {
    openPage();
    QCOMPARE(m_page->objectName(), QStringLiteral("frmTiming"));
    QCOMPARE(m_page->windowTitle(), QStringLiteral("Machine Timing"));
    auto* tabs = child<QTabBar>(QStringLiteral("tbsTiming"));
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("&Timing Channels"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("&PLS Configuration"));
    const QList<QPair<QString, QString>> frames = {{"fraTiming0", "Set Timing Channels"},
                                                   {"fraTiming1", "PLS Configuration"},
                                                   {"fraTmg0", "Timing Channels"},
                                                   {"fraTmg1", "Resolver Offset"},
                                                   {"fraTmg2", "PLS Channel"},
                                                   {"fraTmg3", "Test Blow-off"},
                                                   {"fraTmg4", "Speed Compensation"},
                                                   {"fraTmg5", "PLS Configuration"}};
    for (const auto& [name, title] : frames)
        QCOMPARE(child<QGroupBox>(name)->title(), title);
    QCOMPARE(child<QLabel>(QStringLiteral("lblChannel0"))->text(),
             QStringLiteral("Print Trip Timing (CH0&0):"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblChannel8"))->text(),
             QStringLiteral("PLC Cloc&k Timing (CH10):"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblChannel9"))->text(), QStringLiteral("ON"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblChannel10"))->text(), QStringLiteral("OFF"));
    const QList<QPair<QString, QString>> buttons = {
        {"cmdSetOffset", "Set &Offset"},     {"cmdRecallChan", "&Recall Channel"},
        {"cmdClearChan", "&Clear Channel"},  {"cmdBadCanTest", "B&ad Can Blow-off"},
        {"cmdQCTest", "&Q.C. Can Blow-off"}, {"cmdResetPLSConfig", "&Reset PLS Config"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(child<QPushButton>(name)->text(), caption);
    for (int row = 0; row < TimingPage::kRowCount; ++row)
        for (const int field : {row, row + TimingPage::kOffField}) {
            auto* spinner = child<Spinner>(QStringLiteral("updChannel%1").arg(field));
            QCOMPARE(qMakePair(spinner->minimum(), spinner->maximum()), qMakePair(0, 359));
        }
    QCOMPARE(child<Spinner>(QStringLiteral("updTmg0"))->maximum(), 359);
    QCOMPARE(child<Spinner>(QStringLiteral("updTmg1"))->maximum(), 10);
    QVERIFY(m_page->findChild<QStatusBar*>(QStringLiteral("sbrMachineTiming")));
    const QStringList hints = {"Resolver RPM", "Machine Position", "Resolver Offset",
                               "PLS Scale Factor"};
    for (int n = 0; n < 4; ++n)
        QCOMPARE(child<QLabel>(QStringLiteral("sbrMachineTimingPanel%1").arg(n + 1))->toolTip(),
                 hints[n]);
}

void TestTimingPage::onlineAppearanceShowsBoardOneExchangePerStep() {
    m_rig->board.pls().setConfigBlock(0, {3, 11, 12, 13, 14, 0});
    m_rig->board.pls().clear(7);
    QVERIFY(m_rig->goOnline());
    openPage();
    QCOMPARE(channelField(0)->text(), QStringLiteral("-"));
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdRecallChan"))->isEnabled());

    // Each step starts one exchange, with its own attention byte; channel 7
    // answers "not programmed" at once, so it takes one recall. Then a
    // status pass of five reads.
    const int steps = kOnlineAppearanceSteps - 1 + 5;
    for (int step = 0; step < steps; ++step) {
        const qsizetype before = plsCommands(m_rig->port.sentBytes()).size();
        m_page->refreshStep();
        QCOMPARE(plsCommands(m_rig->port.sentBytes()).size(), before + 1);
    }
    QCOMPARE(plsCommands(m_rig->port.sentBytes()).mid(0, 3), (QList<int>{0x0C, 0x09, 0x09}));
    QCOMPARE(plsCommands(m_rig->port.sentBytes()).mid(steps - 5),
             (QList<int>{0x58, 0x58, kReadPosition, 0x28, kReadScale}));

    QCOMPARE(channelField(2)->text(), QStringLiteral("180"));
    QCOMPARE(channelField(2 + TimingPage::kOffField)->text(), QStringLiteral("0"));
    QCOMPARE(channelField(8)->text(), QStringLiteral("0"));
    QCOMPARE(channelField(8 + TimingPage::kOffField)->text(), QStringLiteral("180"));
    QCOMPARE(channelField(7)->text(), QStringLiteral("****"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblPLSCfg0"))->text(), QStringLiteral("16"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblPLSCfg1"))->text(), QStringLiteral("3"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblPLSCfg5"))->text(), QStringLiteral("14"));
    for (const char* name :
         {"cmdRecallChan", "cmdClearChan", "cmdBadCanTest", "cmdQCTest", "cmdResetPLSConfig"})
        QVERIFY2(child<QPushButton>(QString::fromLatin1(name))->isEnabled(), name);
    QCOMPARE(m_rig->prompts.messageCount(), 0);
    // Shown only: the recall of the appearance does not store.
    QCOMPARE(m_rig->state.CurrentDocument.OnSetpoints[7], 0);
}

void TestTimingPage::leavingAField_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("sent");
    QTest::newRow("ON equal to OFF refused")
        << 0 << QStringLiteral("160") << QStringLiteral("ON Setpoint cannot Equal OFF Setpoint")
        << QStringLiteral("120") << false;
    QTest::newRow("OFF equal to ON refused")
        << 16 << QStringLiteral("120") << QStringLiteral("ON Setpoint cannot Equal OFF Setpoint")
        << QStringLiteral("160") << false;
    QTest::newRow("unchanged sends nothing")
        << 0 << QStringLiteral("120") << QString() << QStringLiteral("120") << false;
    QTest::newRow("decimals dropped, unchanged")
        << 0 << QStringLiteral("120.2") << QString() << QStringLiteral("120") << false;
    QTest::newRow("new value programmed")
        << 0 << QStringLiteral("130") << QString() << QStringLiteral("130") << true;
    QTest::newRow("out of range") << 0 << QStringLiteral("360")
                                  << QStringLiteral(
                                         "Only a Number Between 0 and 359 can be Entered")
                                  << QStringLiteral("120") << false;
}

void TestTimingPage::leavingAField() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QFETCH(bool, sent);
    openOnline();
    if (!message.isEmpty())
        m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    const SetupDocument before = m_rig->state.CurrentDocument;

    typeAndLeave(channelField(field), typed);

    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(messages[0].title, QStringLiteral("Set-up"));
        QCOMPARE(messages[0].text, message);
        QCOMPARE(messages[0].icon, Prompts::Icon::Information);
    }
    QCOMPARE(channelField(field)->text(), shown);
    const QList<int> commands = plsCommands(m_rig->port.sentBytes());
    if (!sent) {
        QVERIFY(m_rig->port.sentBytes().isEmpty());
        QVERIFY(m_rig->state.CurrentDocument.OnSetpoints == before.OnSetpoints);
        QVERIFY(m_rig->state.CurrentDocument.OffSetpoints == before.OffSetpoints);
        return;
    }
    // Scale read, clear, then the setpoints.
    QCOMPARE(commands, (QList<int>{kReadScale, kChannelCommand, kChannelCommand}));
    QCOMPARE(m_rig->board.pls().channel(0).on, 130);
    QCOMPARE(m_rig->board.pls().channel(0).off, 160);
    QCOMPARE(m_rig->state.CurrentDocument.OnSetpoints[0], 130);
}

void TestTimingPage::notProgrammedFieldLeftWithoutCheck() {
    m_rig->board.pls().clear(4);
    openOnline();
    QCOMPARE(channelField(4)->text(), QStringLiteral("****"));

    channelField(4)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(channelField(4), Qt::Key_Return);

    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QVERIFY(m_rig->port.sentBytes().isEmpty());
    QCOMPARE(channelField(4)->text(), QStringLiteral("****"));
}

void TestTimingPage::channelNumberRewritten_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("spinnerSteps"); // 0: typed and left
    QTest::newRow("8 becomes 10") << QStringLiteral("8") << QStringLiteral("10") << 0;
    QTest::newRow("9 becomes 10") << QStringLiteral("9") << QStringLiteral("10") << 0;
    QTest::newRow("7 stays") << QStringLiteral("7") << QStringLiteral("7") << 0;
    QTest::newRow("10 stays") << QStringLiteral("10") << QStringLiteral("10") << 0;
    // The spinner steps over the gap; down from 10 its 9 becomes 7, or 10 could not be left.
    QTest::newRow("spinner up from 7") << QStringLiteral("7") << QStringLiteral("10") << 1;
    QTest::newRow("spinner down from 10") << QStringLiteral("10") << QStringLiteral("7") << -1;
}

void TestTimingPage::channelNumberRewritten() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, spinnerSteps);
    openOnline();
    if (spinnerSteps == 0) {
        typeAndLeave(child<QLineEdit>(QStringLiteral("txtTmg1")), typed);
    } else {
        child<QLineEdit>(QStringLiteral("txtTmg1"))->setText(typed);
        child<Spinner>(QStringLiteral("updTmg1"))->stepBy(spinnerSteps);
    }
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtTmg1"))->text(), shown);
    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QVERIFY(m_rig->port.sentBytes().isEmpty()); // the field only feeds its buttons
}

void TestTimingPage::clearChannelTenClearsChannelEight() {
    openOnline();
    typeAndLeave(child<QLineEdit>(QStringLiteral("txtTmg1")), QStringLiteral("9"));
    m_rig->prompts.answerMessage(Prompts::Answer::Yes);

    QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdClearChan")), Qt::LeftButton);

    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Clear Channel"));
    QCOMPARE(messages[0].text, QStringLiteral("You are about to Clear Channel CH10.\r\n\r\n"
                                              "Do you wish to continue?"));
    QCOMPARE(messages[0].icon, Prompts::Icon::Question);
    QCOMPARE(messages[0].buttons, Prompts::Buttons::YesNoCancel);
    QCOMPARE(m_rig->board.pls().channel(8).kind, PlsUnit::Channel::Kind::Cleared);
    QCOMPARE(m_rig->board.pls().channel(7).kind, PlsUnit::Channel::Kind::Single);
    // The recall that follows finds it cleared; the document follows the board.
    QCOMPARE(channelField(8)->text(), QStringLiteral("****"));
    QCOMPARE(channelField(8 + TimingPage::kOffField)->text(), QStringLiteral("****"));
    QCOMPARE(m_rig->state.CurrentDocument.OffSetpoints[8], 0);
}

void TestTimingPage::offsetGroupFollowsRpm() {
    m_rig->board.pls().setRpm(120);
    openOnline();
    auto* group = child<QGroupBox>(QStringLiteral("fraTmg1"));
    auto* button = child<QPushButton>(QStringLiteral("cmdSetOffset"));
    auto* field = child<QLineEdit>(QStringLiteral("txtTmg0"));
    statusPasses(1);
    QCOMPARE(panel(1), QStringLiteral("RPM: 120"));
    QVERIFY(!group->isEnabled());
    QVERIFY(!button->isEnabled());

    m_rig->board.pls().setRpm(0);
    statusPasses(1);
    QCOMPARE(panel(1), QStringLiteral("RPM: 0"));
    QVERIFY(group->isEnabled());
    QVERIFY(button->isEnabled());
    QVERIFY(field->isEnabled());

    m_rig->board.pls().setRpm(1);
    statusPasses(1);
    QVERIFY(!group->isEnabled());
    QVERIFY(!button->isEnabled());
    QVERIFY(!field->isEnabled());
}

void TestTimingPage::positionPanel_data() {
    QTest::addColumn<int>("rpm");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("read");
    QTest::newRow("standing") << 0 << QStringLiteral("Position: 75") << true;
    QTest::newRow("50 RPM") << 50 << QStringLiteral("Position: 75") << true;
    QTest::newRow("51 RPM") << 51 << QStringLiteral("Position: 888") << false;
}

void TestTimingPage::positionPanel() {
    QFETCH(int, rpm);
    QFETCH(QString, shown);
    QFETCH(bool, read);
    m_rig->board.pls().turnResolver(75);
    m_rig->board.pls().setRpm(rpm);
    openOnline();
    statusPasses(1);
    QCOMPARE(panel(2), shown);
    QCOMPARE(plsCommands(m_rig->port.sentBytes()).contains(kReadPosition), read);
    QCOMPARE(panel(3), QStringLiteral("Offset: 0"));
    QCOMPARE(panel(4), QStringLiteral("Scale: 360"));
    // The chart's cursor is the position just read, and none while unread.
    auto* chart = m_page->findChild<TimingChart*>();
    QVERIFY(chart);
    QCOMPARE(chart->position(), read ? std::optional<int>(75) : std::nullopt);
}

void TestTimingPage::setpointRefusalNamesChannel_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("spinner");
    QTest::addColumn<QString>("channel");
    // Row 8 is CH10 on both paths; the other rows keep their two spellings.
    QTest::newRow("row 8, field") << 8 << false << QStringLiteral("CH10");
    QTest::newRow("row 8, spinner") << 24 << true << QStringLiteral("CH10");
    QTest::newRow("row 1, field") << 1 << false << QStringLiteral("CH01");
    QTest::newRow("row 1, spinner") << 17 << true << QStringLiteral("CH1");
}

void TestTimingPage::setpointRefusalNamesChannel() {
    QFETCH(int, field);
    QFETCH(bool, spinner);
    QFETCH(QString, channel);
    openOnline();
    // A board whose revolution is shorter than the setpoints refuses them.
    m_rig->board.pls().setScale(100);
    m_rig->prompts.answerMessage(Prompts::Answer::Ok); // the scale factor box
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    if (spinner)
        child<Spinner>(QStringLiteral("updChannel%1").arg(field))->stepUp();
    else
        typeAndLeave(channelField(field), QStringLiteral("150"));

    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].title, QStringLiteral("PLS Single Setpoint"));
    QCOMPARE(messages[1].title, QStringLiteral("Channel Setpoint"));
    QCOMPARE(
        messages[1].text,
        QStringLiteral("Unable to Successfully Program Setpoint for Channel %1.").arg(channel));
    QCOMPARE(messages[1].icon, Prompts::Icon::Critical);
    // Nothing but the scale read went out; the document keeps the new value.
    QCOMPARE(plsCommands(m_rig->port.sentBytes()), QList<int>{kReadScale});
    const int row = field % TimingPage::kOffField;
    const SetupDocument& document = m_rig->state.CurrentDocument;
    QCOMPARE(field < TimingPage::kOffField ? document.OnSetpoints[row] : document.OffSetpoints[row],
             channelField(field)->text().toInt());
}

void TestTimingPage::offlineAppearance_data() {
    QTest::addColumn<bool>("editing");
    QTest::newRow("offline editing off") << false;
    QTest::newRow("offline editing on") << true;
}

void TestTimingPage::offlineAppearance() {
    QFETCH(bool, editing);
    m_rig->state.OfflineEditing = editing;
    m_rig->state.CurrentDocument.ResolverOffset = 12;
    m_rig->state.CurrentDocument.SpeedCompensation[3] = 7;
    openPage();
    m_page->refreshStep();
    QVERIFY(m_rig->port.sentBytes().isEmpty());
    QCOMPARE(channelField(0)->text(), QStringLiteral("120"));
    QCOMPARE(channelField(2 + TimingPage::kOffField)->text(), QStringLiteral("0"));
    QCOMPARE(channelField(8 + TimingPage::kOffField)->text(), QStringLiteral("180"));
    QCOMPARE(channelField(0)->isEnabled(), editing);
    QCOMPARE(child<QGroupBox>(QStringLiteral("fraTmg0"))->isEnabled(), editing);
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdClearChan"))->isEnabled(), editing);
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdRecallChan"))->isEnabled());
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdResetPLSConfig"))->isEnabled());
    QVERIFY(!child<QGroupBox>(QStringLiteral("fraTmg1"))->isEnabled());
    QCOMPARE(panel(1), QStringLiteral("RPM: -"));
    QCOMPARE(panel(2), QStringLiteral("Position: -"));
    QCOMPARE(panel(3), QStringLiteral("Offset: 12"));
    QCOMPARE(panel(4), QStringLiteral("Scale: 360"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblPLSCfg0"))->text(), QStringLiteral("16"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblPLSCfg5"))->text(), QStringLiteral("7"));
    if (!editing)
        return;
    // Offline Clear Channel: the row shows "****" and the document loses it.
    child<QLineEdit>(QStringLiteral("txtTmg1"))->setText(QStringLiteral("3"));
    m_rig->prompts.answerMessage(Prompts::Answer::Yes);
    QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdClearChan")), Qt::LeftButton);
    QCOMPARE(
        m_rig->prompts.messages().at(0).text,
        QStringLiteral("You are about to Clear Channel CH03.\r\n\r\nDo you wish to continue?"));
    QCOMPARE(channelField(3)->text(), QStringLiteral("****"));
    QCOMPARE(m_rig->state.CurrentDocument.OnSetpoints[3], 0);
    QCOMPARE(m_rig->state.CurrentDocument.OffSetpoints[3], 0);
    QVERIFY(m_rig->port.sentBytes().isEmpty());
}

void TestTimingPage::documentOpenedShowsNewDocument() {
    openPage();
    m_page->refreshStep();
    m_rig->state.CurrentDocument.OnSetpoints[5] = 77;
    m_page->refreshStep();
    QCOMPARE(channelField(5)->text(), QStringLiteral("155")); // not told yet

    m_rig->state.DocumentOpened = true;
    m_page->refreshStep();
    QCOMPARE(channelField(5)->text(), QStringLiteral("77"));
    QVERIFY(!m_rig->state.DocumentOpened);
}

void TestTimingPage::channelsDownloadedRecallsAll() {
    openOnline();
    m_rig->board.pls().setSingle(3, 10, 20);
    statusPasses(1);
    QCOMPARE(channelField(3)->text(), QStringLiteral("120")); // not told yet

    m_rig->state.ChannelsDownloaded = true;
    for (int step = 0; step < 2 * TimingPage::kRowCount; ++step)
        m_page->refreshStep();
    QVERIFY(!m_rig->state.ChannelsDownloaded);
    QCOMPARE(channelField(3)->text(), QStringLiteral("10"));
    QCOMPARE(channelField(3 + TimingPage::kOffField)->text(), QStringLiteral("20"));
    QCOMPARE(m_rig->state.CurrentDocument.OnSetpoints[3], 120); // shown, not stored
}

QTEST_MAIN(TestTimingPage)
#include "tst_timingpage.moc"
