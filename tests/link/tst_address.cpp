#include "address.h"
#include "rscomm.h"

#include <QTest>

#include <stdexcept>

class TestAddress : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void validAdd_data();
    void validAdd();
    void equateAdd_data();
    void equateAdd();
    void octal_data();
    void octal();
    void octalOverflow();
    void boardLocation_data();
    void boardLocation();
};

void TestAddress::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("access");
    QTest::addColumn<int>("byteAddress");
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("bitFlag");

    QTest::newRow("hex 1FF0H") << "1FF0H"
                               << "B" << 8176 << 0 << false;
    QTest::newRow("hex FFFFH stays positive") << "FFFFH"
                                              << "B" << 65535 << 0 << false;
    QTest::newRow("hex lower-case h") << "20h"
                                      << "B" << 32 << 0 << false;
    QTest::newRow("hex without digits") << "H"
                                        << "B" << 0 << 0 << false;
    QTest::newRow("dotted byte bit") << "B1016.0"
                                     << "B" << 1016 << 1 << true;
    QTest::newRow("dotted on a W text") << "W170.3"
                                        << "B" << 170 << 8 << true;
    QTest::newRow("dotted bit 7") << "B46.7"
                                  << "B" << 46 << 128 << true;
    QTest::newRow("byte") << "B2088"
                          << "B" << 2088 << 0 << false;
    QTest::newRow("byte lower-case") << "b100"
                                     << "B" << 100 << 0 << false;
    QTest::newRow("word") << "W170"
                          << "W" << 170 << 0 << false;
    QTest::newRow("double word") << "D1100"
                                 << "D" << 1100 << 0 << false;
    QTest::newRow("flag F0") << "F0"
                             << "B" << 32 << 1 << true;
    QTest::newRow("flag f0") << "f0"
                             << "B" << 32 << 1 << true;
    QTest::newRow("flag F119") << "F119"
                               << "B" << 46 << 128 << true;
    QTest::newRow("flag F830") << "F830"
                               << "B" << 135 << 64 << true;
    QTest::newRow("other letter is byte 32") << "Q5"
                                             << "B" << 32 << 0 << false;
    QTest::newRow("empty text is byte 32") << ""
                                           << "B" << 32 << 0 << false;
    QTest::newRow("byte beyond 64 KiB names nothing") << "B65536"
                                                      << "" << 0 << 0 << false;
    QTest::newRow("negative byte names nothing") << "B-1"
                                                 << "" << 0 << 0 << false;
    QTest::newRow("negative flag names nothing") << "F-1"
                                                 << "" << 0 << 0 << false;
}

void TestAddress::parse() {
    QFETCH(QString, text);
    QFETCH(QString, access);
    QFETCH(int, byteAddress);
    QFETCH(int, mask);
    QFETCH(bool, bitFlag);
    const ParsedAddress parsed = ParseAddress(text);
    QCOMPARE(parsed.isValid() ? QString(parsed.access) : QString(), access);
    if (!parsed.isValid())
        return;
    QCOMPARE(parsed.byteAddress, byteAddress);
    QCOMPARE(int(parsed.bitMask), mask);
    QCOMPARE(parsed.bitFlag, bitFlag);
}

void TestAddress::validAdd_data() {
    QTest::addColumn<QString>("var");
    QTest::addColumn<QString>("board");
    QTest::addColumn<bool>("valid");

    QTest::newRow("W33 odd on 1") << "W33"
                                  << "1" << false;
    QTest::newRow("W33 odd on 2") << "W33"
                                  << "2" << false;
    QTest::newRow("W33 odd on 7") << "W33"
                                  << "7" << false;
    QTest::newRow("W33 odd on D") << "W33"
                                  << "D" << false;
    QTest::newRow("W34 on 1") << "W34"
                              << "1" << true;
    QTest::newRow("W254 on 1") << "W254"
                               << "1" << true;
    QTest::newRow("W256 on 1") << "W256"
                               << "1" << false;
    QTest::newRow("D8274 on D") << "D8274"
                                << "D" << true;
    QTest::newRow("D8276 on D") << "D8276"
                                << "D" << false;
    QTest::newRow("W65534 on C") << "W65534"
                                 << "C" << true;
    QTest::newRow("W30 below 32 on 7") << "W30"
                                       << "7" << false;
    QTest::newRow("B256 on 1") << "B256"
                               << "1" << false;
    QTest::newRow("B256 on 2") << "B256"
                               << "2" << true;
    QTest::newRow("B255 on B") << "B255"
                               << "B" << true;
    QTest::newRow("B31 on 2") << "B31"
                              << "2" << false;
    QTest::newRow("B8275 on 2") << "B8275"
                                << "2" << true;
    QTest::newRow("B8276 on 2") << "B8276"
                                << "2" << false;
    QTest::newRow("B65535 on 9") << "B65535"
                                 << "9" << true;
    QTest::newRow("B65535 on code outside the table") << "B65535"
                                                      << "Z" << true;
    QTest::newRow("dotted B1016.0 on 2") << "B1016.0"
                                         << "2" << true;
    QTest::newRow("dotted bit digit not checked") << "B100.9"
                                                  << "1" << true;
    QTest::newRow("F120 on 1") << "F120"
                               << "1" << true;
    QTest::newRow("F121 on 1") << "F121"
                               << "1" << false;
    QTest::newRow("F991 on 2") << "F991"
                               << "2" << true;
    QTest::newRow("F992 on 2") << "F992"
                               << "2" << false;
    QTest::newRow("I151 on 2") << "I151"
                               << "2" << true;
    QTest::newRow("I21 on 3") << "I21"
                              << "3" << true;
    QTest::newRow("I30 on 3") << "I30"
                              << "3" << false;
    QTest::newRow("I0 on 7 never") << "I0"
                                   << "7" << false;
    QTest::newRow("X12 units digit 2") << "X12"
                                       << "1" << false;
    QTest::newRow("X151 on 2") << "X151"
                               << "2" << true;
    QTest::newRow("X151 on 3") << "X151"
                               << "3" << false;
    QTest::newRow("X21 on 3") << "X21"
                              << "3" << true;
    QTest::newRow("Y0 on D never") << "Y0"
                                   << "D" << false;
    QTest::newRow("x10 lower-case on 9") << "x10"
                                         << "9" << true;
    QTest::newRow("other letter Q0") << "Q0"
                                     << "1" << true;
    QTest::newRow("other letter Q5") << "Q5"
                                     << "1" << false;
}

void TestAddress::validAdd() {
    QFETCH(QString, var);
    QFETCH(QString, board);
    QFETCH(bool, valid);
    QCOMPARE(RSComm::ValidAdd(var, board.at(0).unicode()), valid);
}

void TestAddress::equateAdd_data() {
    QTest::addColumn<QString>("var");
    QTest::addColumn<QString>("board");
    QTest::addColumn<QString>("result");

    QTest::newRow("X30 on 1") << "X30"
                              << "1"
                              << "B49";
    QTest::newRow("X30.3 on 1") << "X30.3"
                                << "1"
                                << "B49.3";
    QTest::newRow("bit above 7 becomes 7") << "X30.9"
                                           << "1"
                                           << "B49.7";
    QTest::newRow("Y141 on 1") << "Y141"
                               << "1"
                               << "B67";
    QTest::newRow("Y81 on 1") << "Y81"
                              << "1"
                              << "B58";
    QTest::newRow("X40 on 1 unchanged") << "X40"
                                        << "1"
                                        << "X40";
    QTest::newRow("I30 on 1 unchanged") << "I30"
                                        << "1"
                                        << "I30";
    QTest::newRow("X0 on 2") << "X0"
                             << "2"
                             << "B160";
    QTest::newRow("x151 on 2") << "x151"
                               << "2"
                               << "B191";
    QTest::newRow("Y10 on 2") << "Y10"
                              << "2"
                              << "B162";
    QTest::newRow("I0 on 2") << "I0"
                             << "2"
                             << "B192";
    QTest::newRow("I151.2 on 2") << "I151.2"
                                 << "2"
                                 << "B223.2";
    QTest::newRow("X161 on 2 unchanged") << "X161"
                                         << "2"
                                         << "X161";
    QTest::newRow("X12 on 2 unchanged") << "X12"
                                        << "2"
                                        << "X12";
    QTest::newRow("Y0 on :") << "Y0"
                             << ":"
                             << "B49";
    QTest::newRow("X11 on :") << "X11"
                              << ":"
                              << "B52";
    QTest::newRow("X21 on ;") << "X21"
                              << ";"
                              << "B54";
    QTest::newRow("X21 on B") << "X21"
                              << "B"
                              << "B54";
    QTest::newRow("Y21 on <") << "Y21"
                              << "<"
                              << "B54";
    QTest::newRow("X20 on A") << "X20"
                              << "A"
                              << "B53";
    QTest::newRow("X21 on A unchanged") << "X21"
                                        << "A"
                                        << "X21";
    QTest::newRow("Y11 on =") << "Y11"
                              << "="
                              << "B52";
    QTest::newRow("X10 on 3 unchanged") << "X10"
                                        << "3"
                                        << "X10";
    QTest::newRow("B100 on 2 unchanged") << "B100"
                                         << "2"
                                         << "B100";
}

void TestAddress::equateAdd() {
    QFETCH(QString, var);
    QFETCH(QString, board);
    QFETCH(QString, result);
    QCOMPARE(RSComm::EquateAdd(var, board.at(0).unicode()), result);
}

void TestAddress::octal_data() {
    QTest::addColumn<int>("decimal");
    QTest::addColumn<int>("octalDigits");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("9") << 9 << 11;
    QTest::newRow("64") << 64 << 80;
    QTest::newRow("99") << 99 << 123;
    QTest::newRow("negative") << -9 << -11;
}

void TestAddress::octal() {
    QFETCH(int, decimal);
    QFETCH(int, octalDigits);
    QCOMPARE(int(RSComm::Dec2Octal(decimal)), octalDigits);
    QCOMPARE(int(RSComm::Octal2Dec(octalDigits)), decimal);
}

void TestAddress::octalOverflow() {
    // 32767 decimal has the octal digits 77777: beyond 16 bits.
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, RSComm::Dec2Octal(32767));
    QCOMPARE(int(RSComm::Dec2Octal(26208)), 32760);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, RSComm::Octal2Dec(40000));
}

void TestAddress::boardLocation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("location");
    QTest::newRow("byte") << "B2088" << true;
    QTest::newRow("last byte") << "B65535" << true;
    QTest::newRow("word") << "W182" << true;
    QTest::newRow("last word") << "W65534" << true;
    QTest::newRow("word past the end") << "W65535" << false;
    QTest::newRow("double word past the end") << "D65533" << false;
    QTest::newRow("flag") << "F830" << true;
    QTest::newRow("bit of a byte") << "B1016.0" << true;
    QTest::newRow("bit 8 does not exist") << "B1016.8" << false;
    QTest::newRow("hexadecimal") << "1FF0H" << true;
    QTest::newRow("lower case") << "b12" << true;
    QTest::newRow("unknown letter") << "X100" << false;
    QTest::newRow("beyond 64 KiB") << "B99999" << false;
    QTest::newRow("trailing text") << "B10x" << false;
    QTest::newRow("letter only") << "B" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank inside") << "B 12" << false;
    QTest::newRow("negative") << "B-1" << false;
}

void TestAddress::boardLocation() {
    QFETCH(QString, text);
    QFETCH(bool, location);
    QCOMPARE(isBoardLocation(text), location);
}

QTEST_GUILESS_MAIN(TestAddress)
#include "tst_address.moc"
