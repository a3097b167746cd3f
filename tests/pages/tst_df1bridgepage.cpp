#include "df1bridgepage.h"
#include "namedchild.h"
#include "pagerig.h"
#include "spinner.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>

class TestDF1BridgePage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void passReadsTwelveLocationsInOrder();
    void linkLayerErrorReadsStatusBytes();
    void driverOffWarnsOnGoingOnline();
    void destinationNodeRefuses256();
    void plcTypeWritesItsBit();
    void offlineAppearance_data();
    void offlineAppearance();

private:
    void openPage();
    void steps(int count) {
        for (int i = 0; i < count; ++i)
            m_page->refreshStep();
    }
    QLabel* display(int i) const {
        return namedChild<QLabel>(*m_page, QStringLiteral("lblDisplay%1").arg(i));
    }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<DF1BridgePage> m_page;
};

void TestDF1BridgePage::init() {
    m_rig = std::make_unique<PageRig>();
    m_rig->board.setMemory(32 + 152 / 8, 1 << (152 % 8)); // F152: the DF1 driver is on
}

void TestDF1BridgePage::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestDF1BridgePage::openPage() {
    m_page = std::make_unique<DF1BridgePage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    m_rig->clearWire();
}

void TestDF1BridgePage::passReadsTwelveLocationsInOrder() {
    QVERIFY(m_rig->goOnline());
    openPage();
    QCOMPARE(m_page->windowTitle(), QStringLiteral("R8830DF1"));
    QCOMPARE(namedChild<QLabel>(*m_page, QStringLiteral("lblDescription11"))->text(),
             QStringLiteral("Desination File &Number:"));
    m_rig->board.setMemory(4023, 7);
    m_rig->board.setMemory(4014, 1);
    m_rig->board.setMemory(4050, 12);
    m_rig->board.setMemory(4001, 1);
    steps(1 + DF1BridgePage::kLocationCount);
    // F152 first (byte 51), then the twelve; B4303 = 0 needs no status byte.
    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 51", "read 4023", "read 4021", "read 4022", "read 4016",
                          "read 4017", "read 4014", "read 4026", "read 4302", "read 4303",
                          "read 4304", "read 4305", "read 4001", "read 4050", "read 4011"}));
    QCOMPARE(display(0)->text(), QStringLiteral("(7) Unknown Status"));
    QCOMPARE(display(4)->text(), QStringLiteral("Write"));
    QCOMPARE(display(7)->text(), QStringLiteral("(00) Success - No Error"));
    QCOMPARE(namedChild<QComboBox>(*m_page, QStringLiteral("cboSetup"))->currentText(),
             QStringLiteral("SLC500"));
    QCOMPARE(namedChild<QLineEdit>(*m_page, QStringLiteral("txtSetup0"))->text(),
             QStringLiteral("12"));
    QVERIFY(m_rig->prompts.messages().isEmpty());
}

void TestDF1BridgePage::linkLayerErrorReadsStatusBytes() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(4303, 2);
    m_rig->board.setMemory(4018, 0xF0);
    m_rig->board.setMemory(4019, 0x06);
    openPage();
    steps(1 + 7);
    m_rig->clearWire();
    steps(4); // B4303, STS, EXT STS, then the pass goes on
    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 4303", "read 4018", "read 4019", "read 4304", "read 4305"}));
    QCOMPARE(display(7)->text(),
             QStringLiteral("(F0-6) Address Dosen't Point to Something Usable"));
    // An STS other than F0 needs no extended status.
    m_rig->board.setMemory(4018, 0x10);
    steps(DF1BridgePage::kLocationCount - 9 + 7); // indices 9..11, then 0..6
    m_rig->clearWire();
    steps(3);
    QCOMPARE(m_rig->transactions(),
             (QStringList{"read 4303", "read 4018", "read 4304", "read 4305"}));
    QCOMPARE(display(7)->text(), QStringLiteral("(10) Illegal Command or Format"));
}

void TestDF1BridgePage::driverOffWarnsOnGoingOnline() {
    m_rig->board.setMemory(32 + 152 / 8, 0);
    QVERIFY(m_rig->goOnline());
    openPage();
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    steps(2);
    const auto records = m_rig->prompts.records();
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].title, QStringLiteral("WARNING!!"));
    QCOMPARE(records[0].text,
             QStringLiteral("The DF1 Serial Communications Driver is Not Enabled in the K7600."));
    QCOMPARE(records[0].icon, Prompts::Icon::Exclamation);
    QCOMPARE(records[0].buttons, Prompts::Buttons::Ok);
}

void TestDF1BridgePage::destinationNodeRefuses256() {
    QVERIFY(m_rig->goOnline());
    m_rig->board.setMemory(4050, 12);
    openPage();
    steps(1 + DF1BridgePage::kLocationCount);
    auto* edit = namedChild<QLineEdit>(*m_page, QStringLiteral("txtSetup0"));
    QCOMPARE(edit->text(), QStringLiteral("12"));
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("256"));
    m_rig->clearWire();
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    QTest::keyClick(edit, Qt::Key_Return);
    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("R8830DF1 Set-up"));
    QCOMPARE(messages[0].text, QStringLiteral("Only a Number Between 0 and 255 can be Entered"));
    QCOMPARE(edit->text(), QStringLiteral("12"));
    QCOMPARE(edit->selectedText(), QStringLiteral("12"));
    QVERIFY(m_rig->writtenAddresses().isEmpty());
    QCOMPARE(m_rig->board.memory(4050), 12);
    // 255 is accepted: document and board.
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("255"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(m_rig->board.memory(4050), 255);
    QCOMPARE(m_rig->state.CurrentDocument.Values[177], 255);
}

void TestDF1BridgePage::plcTypeWritesItsBit() {
    QVERIFY(m_rig->goOnline());
    openPage();
    auto* list = namedChild<QComboBox>(*m_page, QStringLiteral("cboSetup"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QStringLiteral("PLC5"));
    list->setCurrentIndex(1);
    emit list->activated(1);
    QCOMPARE(m_rig->board.memory(4001) & 1, 1);
    QCOMPARE(m_rig->state.CurrentDocument.Values[176], 1);
}

void TestDF1BridgePage::offlineAppearance_data() {
    QTest::addColumn<bool>("offlineEditing");
    QTest::newRow("offline editing off") << false;
    QTest::newRow("offline editing on") << true;
}

void TestDF1BridgePage::offlineAppearance() {
    QFETCH(bool, offlineEditing);
    m_rig->state.OfflineEditing = offlineEditing;
    m_rig->state.CurrentDocument.Values[176] = 1;
    m_rig->state.CurrentDocument.Values[177] = 40;
    m_rig->state.CurrentDocument.Values[178] = 7;
    openPage();
    steps(1);
    QVERIFY(m_rig->port.wire().isEmpty());
    for (int i = 0; i < DF1BridgePage::kDisplayCount; ++i) {
        QCOMPARE(display(i)->text(), QStringLiteral("-"));
        QVERIFY(!display(i)->isEnabled());
    }
    QVERIFY(!namedChild<QGroupBox>(*m_page, QStringLiteral("fraSetup0"))->isEnabled());
    QCOMPARE(namedChild<QGroupBox>(*m_page, QStringLiteral("fraSetup2"))->isEnabled(),
             offlineEditing);
    QCOMPARE(namedChild<QComboBox>(*m_page, QStringLiteral("cboSetup"))->isEnabled(),
             offlineEditing);
    QCOMPARE(namedChild<Spinner>(*m_page, QStringLiteral("updSetup1"))->isEnabled(),
             offlineEditing);
    QCOMPARE(namedChild<QComboBox>(*m_page, QStringLiteral("cboSetup"))->currentText(),
             QStringLiteral("SLC500"));
    QCOMPARE(namedChild<QLineEdit>(*m_page, QStringLiteral("txtSetup0"))->text(),
             QStringLiteral("40"));
    QCOMPARE(namedChild<QLineEdit>(*m_page, QStringLiteral("txtSetup1"))->text(),
             QStringLiteral("7"));
}

QTEST_MAIN(TestDF1BridgePage)
#include "tst_df1bridgepage.moc"
