#include "textnumber.h"

#include <QTest>

#include <limits>

class TestTextNumber : public QObject {
    Q_OBJECT

private slots:
    void wholeNumber_data();
    void wholeNumber();
    void nearestInt_data();
    void nearestInt();
    void numericValue_data();
    void numericValue();
};

void TestTextNumber::wholeNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << QStringLiteral("25") << true << 25.0;
    QTest::newRow("negative") << QStringLiteral("-3") << true << -3.0;
    QTest::newRow("plus sign") << QStringLiteral("+7") << true << 7.0;
    QTest::newRow("decimal") << QStringLiteral("12.5") << true << 12.5;
    QTest::newRow("bare fraction") << QStringLiteral(".5") << true << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("12.") << true << 12.0;
    QTest::newRow("blanks around") << QStringLiteral("  40 ") << true << 40.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << false << 0.0;
    QTest::newRow("trailing letters") << QStringLiteral("12a") << false << 0.0;
    QTest::newRow("dash") << QStringLiteral("-") << false << 0.0;
    QTest::newRow("stars") << QStringLiteral("****") << false << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1e2") << false << 0.0;
    QTest::newRow("grouped digits") << QStringLiteral("1,000") << false << 0.0;
    QTest::newRow("inner blank") << QStringLiteral("1 2") << false << 0.0;
    QTest::newRow("infinity spelled") << QStringLiteral("inf") << false << 0.0;
}

void TestTextNumber::wholeNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> result = ::wholeNumber(text);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, value);
}

void TestTextNumber::nearestInt_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("12.5 to even 12") << 12.5 << 12;
    QTest::newRow("13.5 to even 14") << 13.5 << 14;
    QTest::newRow("0.5 to even 0") << 0.5 << 0;
    QTest::newRow("-0.5 to even 0") << -0.5 << 0;
    QTest::newRow("-1.5 to even -2") << -1.5 << -2;
    QTest::newRow("12.6 up") << 12.6 << 13;
    QTest::newRow("12.4 down") << 12.4 << 12;
    QTest::newRow("above 32 bits clamps") << 1e12 << int(std::numeric_limits<qint32>::max());
    QTest::newRow("below 32 bits clamps") << -1e12 << int(std::numeric_limits<qint32>::min());
    QTest::newRow("not a number is 0") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestTextNumber::nearestInt() {
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(::nearestInt(value), expected);
}

void TestTextNumber::numericValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("leading number of 12a") << QStringLiteral("12a") << 12;
    QTest::newRow("dash is 0") << QStringLiteral("-") << 0;
    QTest::newRow("empty is 0") << QString() << 0;
    QTest::newRow("half to even") << QStringLiteral("2.5 msec") << 2;
    QTest::newRow("huge clamps") << QStringLiteral("99999999999999")
                                 << int(std::numeric_limits<qint32>::max());
    // Replies from the board read the same way (the status poll's alarm word).
    QTest::newRow("reply plain") << QStringLiteral("96") << 96;
    QTest::newRow("reply with letters first") << QStringLiteral("x12") << 0;
    QTest::newRow("reply, blanks and trailing text") << QStringLiteral("  64abc") << 64;
    QTest::newRow("reply half rounds to even, down") << QStringLiteral("32.5") << 32;
    QTest::newRow("reply half rounds to even, up") << QStringLiteral("33.5") << 34;
    QTest::newRow("reply negative") << QStringLiteral("-7") << -7;
    QTest::newRow("reply held to 32 bits, negative")
        << QStringLiteral("-99999999999") << int(std::numeric_limits<qint32>::min());
}

void TestTextNumber::numericValue() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(::numericValue(text), expected);
}

QTEST_APPLESS_MAIN(TestTextNumber)
#include "tst_textnumber.moc"
