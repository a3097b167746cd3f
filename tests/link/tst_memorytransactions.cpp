#include "linkrig.h"

class TestMemoryTransactions : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void entryAlerts_data();
    void entryAlerts();
    void handshakes();
    void writeRepeatedOnceAfterBadEcho();
    void secondBadEchoIsSilent();
    void bitWriteKeepsOtherBits();
    void readMismatchIsFlagged();
};

void TestMemoryTransactions::read_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("memory");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("byte") << "B2088" << 2088 << bytes({0x01}) << "1"
                          << bytes({0xFF, 0x01, 0x08, 0x28});
    QTest::newRow("word low byte first") << "W182" << 182 << bytes({0x2C, 0x01}) << "300"
                                         << bytes({0xFF, 0x01, 0x00, 0xB6, 0x00, 0xB7});
    QTest::newRow("double word counts ten-thousands")
        << "D1100" << 1100 << bytes({0x0F, 0x27, 0x01, 0x00}) << "19999"
        << bytes({0xFF, 0x01, 0x04, 0x4C, 0x04, 0x4D, 0x04, 0x4E, 0x04, 0x4F});
    QTest::newRow("largest double word")
        << "D1100" << 1100 << bytes({0x0F, 0x27, 0xFF, 0xFF}) << "655359999"
        << bytes({0xFF, 0x01, 0x04, 0x4C, 0x04, 0x4D, 0x04, 0x4E, 0x04, 0x4F});
    QTest::newRow("bit set") << "B1016.3" << 1016 << bytes({0x08}) << "1"
                             << bytes({0xFF, 0x01, 0x03, 0xF8});
    QTest::newRow("bit clear") << "B1016.3" << 1016 << bytes({0xF7}) << "0"
                               << bytes({0xFF, 0x01, 0x03, 0xF8});
    QTest::newRow("flag F830 is bit 6 of byte 135")
        << "F830" << 135 << bytes({0x40}) << "1" << bytes({0xFF, 0x01, 0x00, 0x87});
    QTest::newRow("hexadecimal byte")
        << "1FF0H" << 8176 << bytes({0x7B}) << "123" << bytes({0xFF, 0x01, 0x1F, 0xF0});
}

void TestMemoryTransactions::read() {
    QFETCH(QString, address);
    QFETCH(int, at);
    QFETCH(QByteArray, memory);
    QFETCH(QString, value);
    QFETCH(QByteArray, sent);

    LinkRig rig;
    for (int i = 0; i < memory.size(); ++i)
        rig.board.setMemory(at + i, static_cast<std::uint8_t>(memory.at(i)));
    QVERIFY(rig.goOnline());
    QCOMPARE(rig.link.RSRead(address), value);
    QCOMPARE(rig.port.sentBytes(), sent);
    QCOMPARE(rig.link.linkMode(), 1);
    QVERIFY(!rig.link.CommError);
}

void TestMemoryTransactions::write_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("byte") << "B1012"
                          << "25" << 1012 << bytes({25}) << bytes({0xFF, 0x02, 0x03, 0xF4, 0x19});
    QTest::newRow("byte 255") << "B1012"
                              << "255" << 1012 << bytes({0xFF})
                              << bytes({0xFF, 0x02, 0x03, 0xF4, 0xFF});
    QTest::newRow("word") << "W1004"
                          << "65535" << 1004 << bytes({0xFF, 0xFF})
                          << bytes({0xFF, 0x02, 0x03, 0xEC, 0xFF, 0x03, 0xED, 0xFF});
    QTest::newRow("largest double word") << "D1100"
                                         << "655359999" << 1100 << bytes({0x0F, 0x27, 0xFF, 0xFF})
                                         << bytes({0xFF, 0x02, 0x04, 0x4C, 0x0F, 0x04, 0x4D, 0x27,
                                                   0x04, 0x4E, 0xFF, 0x04, 0x4F, 0xFF});
    QTest::newRow("percent sign dropped")
        << "B1012"
        << "45 %" << 1012 << bytes({45}) << bytes({0xFF, 0x02, 0x03, 0xF4, 45});
    QTest::newRow("empty text writes 0")
        << "B1012"
        << "" << 1012 << bytes({0}) << bytes({0xFF, 0x02, 0x03, 0xF4, 0});
    QTest::newRow("decimal point dropped, not honoured")
        << "B1012"
        << "12.5" << 1012 << bytes({125}) << bytes({0xFF, 0x02, 0x03, 0xF4, 125});
    QTest::newRow("grouping and degree sign dropped")
        << "W1004" << QString::fromUtf8("1,000\u00B0") << 1004 << bytes({0xE8, 0x03})
        << bytes({0xFF, 0x02, 0x03, 0xEC, 0xE8, 0x03, 0xED, 0x03});
}

void TestMemoryTransactions::write() {
    QFETCH(QString, address);
    QFETCH(QString, value);
    QFETCH(int, at);
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, sent);

    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.link.RSWrite(address, value);
    QCOMPARE(rig.port.sentBytes(), sent);
    for (int i = 0; i < stored.size(); ++i)
        QCOMPARE(int(rig.board.memory(at + i)), int(quint8(stored.at(i))));
    QCOMPARE(rig.link.linkMode(), 2);
    QVERIFY(!rig.link.writeMismatch());
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestMemoryTransactions::entryAlerts_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sentence");

    QTest::newRow("minus sign") << "B1012"
                                << "-5"
                                << "Only Numerical Data Allowed.";
    QTest::newRow("letter") << "W1004"
                            << "12a"
                            << "Only Numerical Data Allowed.";
    QTest::newRow("bit takes 0 or 1 only") << "B1016.0"
                                           << "2"
                                           << "Enter 0 or 1 Only.";
    QTest::newRow("flag takes 0 or 1 only") << "F119"
                                            << "5"
                                            << "Enter 0 or 1 Only.";
    QTest::newRow("byte above 255") << "B1012"
                                    << "256"
                                    << "Entry out of Range (0-255).";
    QTest::newRow("word above 65535") << "W1004"
                                      << "65536"
                                      << "Entry out of Range (0-65,535).";
    QTest::newRow("double word above 655359999") << "D1100"
                                                 << "655360000"
                                                 << "Entry out of Range (0-655,359,999).";
    QTest::newRow("huge digit run") << "D1100"
                                    << "99999999999999999999999"
                                    << "Entry out of Range (0-655,359,999).";
}

void TestMemoryTransactions::entryAlerts() {
    QFETCH(QString, address);
    QFETCH(QString, value);
    QFETCH(QString, sentence);

    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.link.RSWrite(address, value);
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.prompts.messageCount(), 1);
    const auto box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("ENTRY ALERT"));
    QCOMPARE(box.text, QStringLiteral("Error:\r") + sentence);
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QVERIFY(!rig.link.CommError);
}

void TestMemoryTransactions::handshakes() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.link.RSRead(QStringLiteral("B100"));
    rig.link.RSRead(QStringLiteral("B101"));
    rig.link.RSWrite(QStringLiteral("B102"), QStringLiteral("7"));
    rig.link.RSWrite(QStringLiteral("B103"), QStringLiteral("8"));
    rig.link.RSRead(QStringLiteral("B102"));
    QCOMPARE(rig.port.sentBytes(),
             bytes({0xFF, 0x01, 0x00, 100, 0x00, 101,       // one read handshake
                    0xFF, 0x02, 0x00, 102, 7, 0x00, 103, 8, // one write handshake
                    0xFF, 0x01, 0x00, 102}));
    QCOMPARE(rig.port.receivedBytes(), bytes({0x55, 0x55, 0x00, 0, 0x00, 0, 0x55, 0x55, 0x00, 102,
                                              7, 0x00, 103, 8, 0x55, 0x55, 0x00, 7}));
}

void TestMemoryTransactions::writeRepeatedOnceAfterBadEcho() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::WrongEcho, 1);
    rig.link.RSWrite(QStringLiteral("B1012"), QStringLiteral("25"));
    // The address high byte comes back wrong: the byte is dropped, the mode
    // forgotten, and the whole write goes again with a fresh handshake.
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x02, 0x03, 0xFF, 0x02, 0x03, 0xF4, 0x19}));
    QCOMPARE(int(rig.board.memory(1012)), 25);
    QVERIFY(!rig.link.writeMismatch());
    QVERIFY(!rig.link.CommError);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestMemoryTransactions::secondBadEchoIsSilent() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setMemory(1012, 9);
    rig.board.setFault(BoardSim::Fault::WrongEcho, 2);
    rig.link.RSWrite(QStringLiteral("B1012"), QStringLiteral("25"));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x02, 0x03, 0xFF, 0x02, 0x03}));
    QCOMPARE(int(rig.board.memory(1012)), 9);
    QVERIFY(rig.link.writeMismatch());
    QCOMPARE(rig.link.linkMode(), 0);
    QVERIFY(!rig.link.CommError);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestMemoryTransactions::bitWriteKeepsOtherBits() {
    LinkRig rig;
    rig.board.setMemory(1016, 0xA4);
    QVERIFY(rig.goOnline());
    rig.link.RSWrite(QStringLiteral("B1016.0"), QStringLiteral("1"));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x01, 0x03, 0xF8,          // the whole byte read
                                          0xFF, 0x02, 0x03, 0xF8, 0xA5})); // written with bit 0
    QCOMPARE(int(rig.board.memory(1016)), 0xA5);

    rig.port.clearWire();
    rig.link.RSWrite(QStringLiteral("B1016.7"), QStringLiteral("0"));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0x01, 0x03, 0xF8, 0xFF, 0x02, 0x03, 0xF8, 0x25}));
    QCOMPARE(int(rig.board.memory(1016)), 0x25);
}

void TestMemoryTransactions::readMismatchIsFlagged() {
    LinkRig rig;
    rig.board.setMemory(1012, 25);
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::WrongEcho, 1);
    // The board holds 25, yet the read gives "0" as it always has; only the
    // flag says that the 0 is no value.
    QCOMPARE(rig.link.RSRead(QStringLiteral("B1012")), QStringLiteral("0"));
    QVERIFY(rig.link.readMismatch());
    QVERIFY(!rig.link.CommError);
    QCOMPARE(rig.link.linkMode(), 0);
    QCOMPARE(rig.prompts.messageCount(), 0);
    // The next read starts afresh and clears the flag.
    QCOMPARE(rig.link.RSRead(QStringLiteral("B1012")), QStringLiteral("25"));
    QVERIFY(!rig.link.readMismatch());
}

QTEST_GUILESS_MAIN(TestMemoryTransactions)
#include "tst_memorytransactions.moc"
