#include "df1bridgepage.h"
#include "df1status.h"
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

    void configurationStatus_data();
    void configurationStatus();
    void transmitStatus_data();
    void transmitStatus();
    void activeCommandAndReceivedBit_data();
    void activeCommandAndReceivedBit();
    void linkLayerStatus_data();
    void linkLayerStatus();

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

void TestDF1BridgePage::configurationStatus_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "(1) Busy";
    QTest::newRow("2") << 2 << "(2) Success";
    QTest::newRow("3") << 3 << "(3) Invalid Parameter";
    QTest::newRow("4") << 4 << "(4) Timeout - No Response";
    QTest::newRow("32") << 32 << "(32) Hardware ACK Error";
    QTest::newRow("34") << 34 << "(34) Invalid Slot ADD";
    QTest::newRow("other: 0") << 0 << "(0) Unknown Status";
    QTest::newRow("other: 7") << 7 << "(7) Unknown Status";
    QTest::newRow("other: 33") << 33 << "(33) Unknown Status";
}

void TestDF1BridgePage::configurationStatus() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(configurationStatusText(value), text);
}

void TestDF1BridgePage::transmitStatus_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "(1) Busy";
    QTest::newRow("2") << 2 << "(2) Done";
    QTest::newRow("3") << 3 << "(3) DLE NAK Received";
    QTest::newRow("4") << 4 << "(4) DLE ENQ Timeout";
    QTest::newRow("5") << 5 << "(5) No Response Timeout";
    QTest::newRow("6") << 6 << "(6) Message Packet Error";
    QTest::newRow("other: 0") << 0 << "(0) Unknown Status";
    QTest::newRow("other: 7") << 7 << "(7) Unknown Status";
    QTest::newRow("other: 255") << 255 << "(255) Unknown Status";
}

void TestDF1BridgePage::transmitStatus() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(transmitStatusText(value), text);
}

void TestDF1BridgePage::activeCommandAndReceivedBit_data() {
    QTest::addColumn<bool>("command"); // true: active command, false: received bit
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("active command 0") << true << 0 << "Read";
    QTest::newRow("active command 1") << true << 1 << "Write";
    QTest::newRow("active command other: 2") << true << 2 << "(2) Unknown";
    QTest::newRow("active command other: 200") << true << 200 << "(200) Unknown";
    QTest::newRow("received bit 0") << false << 0 << "Command";
    QTest::newRow("received bit 1") << false << 1 << "Reply";
}

void TestDF1BridgePage::activeCommandAndReceivedBit() {
    QFETCH(bool, command);
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(command ? activeCommandText(value) : receivedBitText(value), text);
}

void TestDF1BridgePage::linkLayerStatus_data() {
    QTest::addColumn<int>("sts");
    QTest::addColumn<int>("ext");
    QTest::addColumn<QString>("text");
    const QList<QPair<int, const char*>> sts = {
        {0x01, "(01) Not Used"},
        {0x02, "(02) Cannot Guarantee Delivery: Link Layer"},
        {0x03, "(03) Duplicate Token Holder Detected"},
        {0x04, "(04) Local Port is Disconnected"},
        {0x05, "(05) Application Layer Timed out waiting for a response"},
        {0x06, "(06) Duplicate Node Detected"},
        {0x07, "(07) Station is Off-Line"},
        {0x08, "(08) Hardware Fault"},
        {0x10, "(10) Illegal Command or Format"},
        {0x20, "(20) Host has a Problem and Will Not Communicate"},
        {0x30, "(30) Remote Node Host is Missing, Disconnected or Shut Down"},
        {0x40, "(40) Host Could Not Complete Function Due to Hardware Fault"},
        {0x50, "(50) Addressing Problem or Memory Protect Rungs"},
        {0x60, "(60) Function Disallowed due to Command Protection Selection"},
        {0x70, "(70) Processor is in Program Mode"},
        {0x80, "(80) Compatibility Mode File Missing or Communication Zone Problem"},
        {0x90, "(90) Remote Node Cannot Buffer Command"},
        {0xA0, "(A0) Not Used"},
        {0xB0, "(B0) Remote Node Problem Due to Download"},
        {0xC0, "(C0) Cannot Execute Command Due to Active IPBs"},
        {0xD0, "(D0) Not Used"},
        {0xE0, "(E0) Not Used"},
        {0x09, "(9) - Not Used"},
        {0x00, "(0) - Not Used"},
        {0xFF, "(FF) - Not Used"},
    };
    for (const auto& [value, text] : sts)
        QTest::addRow("STS %02X", value) << value << 0 << QString::fromLatin1(text);
    const QList<QPair<int, const char*>> ext = {
        {0x00, "(F0-0) Not Used"},
        {0x01, "(F0-1) A Field has an Illegal Value"},
        {0x02, "(F0-2) Less Levels Specified in Address than Minimum for any Address"},
        {0x03, "(F0-3) More Levels Specified in Address than System Supports"},
        {0x04, "(F0-4) Symbol Not Found"},
        {0x05, "(F0-5) Symbol is of Improper Format"},
        {0x06, "(F0-6) Address Dosen't Point to Something Usable"},
        {0x07, "(F0-7) File is Wrong Size"},
        {0x08, "(F0-8) Cannot Complete Request, Situation has Changed since the Start of the "
               "Command"},
        {0x09, "(F0-9) Data or File is Too Large"},
        {0x0A, "(F0-A) Transaction Size plus Word Address is Too Large"},
        {0x0B, "(F0-B) Access Denied, Improper Privilege"},
        {0x0C, "(F0-C) Condition cannot be Generated - Resource is Not Available"},
        {0x0D, "(F0-D) Condition already exists - Resource is already available"},
        {0x0E, "(F0-E) Command Cannot be Executed"},
        {0x0F, "(F0-F) Histogram Overflow"},
        {0x10, "(F0-10) No Access"},
        {0x11, "(F0-11) Illegal Data Type"},
        {0x12, "(F0-12) Invalid Parameter or Invalid Data"},
        {0x13, "(F0-13) Address Reference exists to Deleted Area"},
        {0x14, "(F0-14) Command Execution Failure for unknown reason; Possible PLC-3 Histogram "
               "Overflow"},
        {0x15, "(F0-15) Data Conversion Error"},
        {0x16, "(F0-16) Scanner Not Able to Communicate with 1771 Rack Adapter"},
        {0x17, "(F0-17) Adapter cannot Communicate with module"},
        {0x18, "(F0-18) 1771 Module Response was not Valid"},
        {0x19, "(F0-19) Duplicate Label"},
        {0x1A, "(F0-1A) File is Open; Another Node Owns it"},
        {0x1B, "(F0-1B) Another Node is the Program Owner"},
        {0x1C, "(F0-1C) - Not Used"},
        {0xFF, "(F0-FF) - Not Used"},
    };
    for (const auto& [value, text] : ext)
        QTest::addRow("STS F0, EXT STS %02X", value) << 0xF0 << value << QString::fromLatin1(text);
}

void TestDF1BridgePage::linkLayerStatus() {
    QFETCH(int, sts);
    QFETCH(int, ext);
    QFETCH(QString, text);
    QCOMPARE(linkLayerStatusText(sts, ext), text);
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
