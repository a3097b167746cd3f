#include "programfileformats.h"

#include <QTest>

// The readers and writers of a program file set, byte for byte: what they
// take from a file, what they refuse, and what goes on the wire.
class TestProgramFileFormats : public QObject {
    Q_OBJECT

private slots:
    void firstField_data();
    void firstField();
    void boardCode_data();
    void boardCode();
    void boardClasses_data();
    void boardClasses();
    void markHexConversions_data();
    void markHexConversions();
    void markHexByteDigits_data();
    void markHexByteDigits();
    void revisionFile_data();
    void revisionFile();
    void revisionFileWritten();
    void configFile_data();
    void configFile();
    void configTranslations();
    void configFileWritten();
    void imageCheck_data();
    void imageCheck();
    void imageLineEndsAlike();
    void recordWire_data();
    void recordWire();
    void uploadLine();
    void uploadRanges_data();
    void uploadRanges();
};

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

// A configuration line of `length` characters with the three value digits
// at positions 36, 39 and 40 (1-based).
QByteArray configLine(char at36, char at39, char at40, int length = 44) {
    QByteArray line = "8" + QByteArray(34, '0') + at36 + "00" + at39 + at40 + "000%";
    line.resize(length, '0');
    return line + "\r\n";
}

// A configuration line whose B8189 value is written with all its digits.
QByteArray configWithValue(char code8190, const char* value8189, char code8188) {
    return "8" + QByteArray(34, '0') + code8190 + "00" + value8189 + code8188 + "000%";
}

} // namespace

void TestProgramFileFormats::firstField_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("up to the comma") << QByteArray("8,rest of the line\r\n") << QByteArray("8");
    QTest::newRow("no comma") << QByteArray("PROG0:05\r\n") << QByteArray("PROG0:05");
    QTest::newRow("blanks around") << QByteArray("  8 ,x") << QByteArray("8");
    QTest::newRow("quoted") << QByteArray("\"A\",1,2\r\n") << QByteArray("A");
    QTest::newRow("quoted with comma") << QByteArray("\"a,b\",c") << QByteArray("a,b");
    QTest::newRow("quote never closed") << QByteArray("\"abc") << QByteArray("abc");
    QTest::newRow("first line only, LF") << QByteArray("one\ntwo") << QByteArray("one");
    QTest::newRow("first line only, CR LF") << QByteArray("one\r\ntwo") << QByteArray("one");
    QTest::newRow("NULs kept") << QByteArray("A\0\0B0102\r\n", 10) << QByteArray("A\0\0B0102", 8);
    QTest::newRow("empty file") << QByteArray() << QByteArray();
    QTest::newRow("empty first line") << QByteArray("\r\n8") << QByteArray();
}

void TestProgramFileFormats::firstField() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, field);
    QCOMPARE(firstFieldOf(file), field);
}

void TestProgramFileFormats::boardCode_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("code"); // -1: no code
    QTest::newRow("plain") << QByteArray("8,Wendax data") << int('8');
    QTest::newRow("quoted") << QByteArray("\"D\",x") << int('D');
    QTest::newRow("first character of a longer field") << QByteArray("A12,x") << int('A');
    QTest::newRow("byte above 127 is its code") << QByteArray("\xC4,x") << 0xC4;
    QTest::newRow("empty file") << QByteArray() << -1;
    QTest::newRow("empty field") << QByteArray(",8") << -1;
    QTest::newRow("blank line") << QByteArray("   \r\n") << -1;
}

void TestProgramFileFormats::boardCode() {
    QFETCH(QByteArray, file);
    QFETCH(int, code);
    const std::optional<int> read = programBoardCode(file);
    QCOMPARE(read.value_or(-1), code);
}

void TestProgramFileFormats::boardClasses_data() {
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<int>("boardClass");
    QTest::addColumn<bool>("configuration");
    QTest::newRow("plain") << QByteArray("23456BD") << int(BoardClass::Plain) << false;
    QTest::newRow("configured") << QByteArray("8:;<=A") << int(BoardClass::Configured) << true;
    QTest::newRow("PLS, outside 8..A") << QByteArray("7CE") << int(BoardClass::Pls) << false;
    QTest::newRow("PLS, inside 8..A") << QByteArray(">?@") << int(BoardClass::Pls) << true;
    QTest::newRow("incompatible 9") << QByteArray("9") << int(BoardClass::Incompatible) << true;
    QTest::newRow("incompatible outside 2..E")
        << QByteArray("01FZa\x7F") << int(BoardClass::Incompatible) << false;
}

void TestProgramFileFormats::boardClasses() {
    QFETCH(QByteArray, codes);
    QFETCH(int, boardClass);
    QFETCH(bool, configuration);
    for (const char code : codes) {
        QCOMPARE(int(boardClassOf(code)), boardClass);
        QCOMPARE(carriesConfiguration(code), configuration);
    }
}

void TestProgramFileFormats::markHexConversions_data() {
    QTest::addColumn<QString>("hexText");
    QTest::addColumn<QString>("markHexText");
    QTest::addColumn<bool>("toMarkHex"); // direction of the conversion tested
    QTest::newRow("to MarkHex: lower case left") << "A0f"
                                                 << ":0f" << true;
    QTest::newRow("to MarkHex: every letter") << "ABCDEF09"
                                              << ":;<=>?09" << true;
    QTest::newRow("to MarkHex: G and beyond left") << "GZ@"
                                                   << "GZ@" << true;
    QTest::newRow("to hex") << "A0F"
                            << ":0?" << false;
    QTest::newRow("to hex: every digit") << "ABCDEF09"
                                         << ":;<=>?09" << false;
    QTest::newRow("to hex: neighbours left") << "9@"
                                             << "9@" << false;
}

void TestProgramFileFormats::markHexConversions() {
    QFETCH(QString, hexText);
    QFETCH(QString, markHexText);
    QFETCH(bool, toMarkHex);
    QString text = toMarkHex ? hexText : markHexText;
    const QString& result = toMarkHex ? HEX2MarkHEX(text) : MarkHex2HEX(text);
    QCOMPARE(text, toMarkHex ? markHexText : hexText); // changed in place
    QCOMPARE(&result, &text);
}

void TestProgramFileFormats::markHexByteDigits_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("digits");
    QTest::newRow("0") << 0 << "00";
    QTest::newRow("10") << 10 << "0:";
    QTest::newRow("0x1C") << 0x1C << "1<";
    QTest::newRow("0xAF") << 0xAF << ":?";
    QTest::newRow("255") << 255 << "??";
}

void TestProgramFileFormats::markHexByteDigits() {
    QFETCH(int, value);
    QFETCH(QString, digits);
    QCOMPARE(markHexByte(value), digits);
}

void TestProgramFileFormats::revisionFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("error"); // 0: read
    QTest::addColumn<QString>("ident");
    QTest::addColumn<int>("checksum");
    QTest::addColumn<int>("revision");
    QTest::newRow("eight letters") << QByteArray("ABCDEFGH1<05\r\n") << 0 << "ABCDEFGH" << 28 << 5;
    QTest::newRow("digits only") << QByteArray("0102") << 0 << "" << 1 << 2;
    QTest::newRow("rest of the line ignored")
        << QByteArray("PROG??00,whatever\r\nsecond") << 0 << "PROG" << 255 << 0;
    QTest::newRow("plain hex digits read too") << QByteArray("X0a0F") << 0 << "X" << 10 << 15;
    QTest::newRow("NULs in the ident") << QByteArray("AB\0\0\0\0\0\0"
                                                     "0:05\r\n",
                                                     14)
                                       << 0 << QString::fromLatin1("AB\0\0\0\0\0\0", 8) << 10 << 5;
    QTest::newRow("three characters")
        << QByteArray("012\r\n") << FileErrors::kRevisionTooShort << "" << 0 << 0;
    QTest::newRow("empty first line")
        << QByteArray("\r\nABCD0102") << FileErrors::kRevisionTooShort << "" << 0 << 0;
    QTest::newRow("bad checksum digit")
        << QByteArray("ABCD1G05") << FileErrors::kNotMarkHex << "" << 0 << 0;
    QTest::newRow("bad revision digit")
        << QByteArray("ABCD100@") << FileErrors::kNotMarkHex << "" << 0 << 0;
    QTest::newRow("blank among the digits")
        << QByteArray("ABCD1 05") << FileErrors::kNotMarkHex << "" << 0 << 0;
}

void TestProgramFileFormats::revisionFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, error);
    QFETCH(QString, ident);
    QFETCH(int, checksum);
    QFETCH(int, revision);
    const RevisionRead read = parseRevisionFile(file);
    if (error) {
        QVERIFY(!read.ident);
        QVERIFY(read.error);
        QCOMPARE(read.error->number, error);
        QVERIFY(!read.error->description.isEmpty());
        return;
    }
    QVERIFY(!read.error);
    QVERIFY(read.ident);
    QCOMPARE(read.ident->ident, ident);
    QCOMPARE(read.ident->checksum, checksum);
    QCOMPARE(read.ident->revision, revision);
}

void TestProgramFileFormats::revisionFileWritten() {
    // An empty file is neither read nor an error: the caller says so.
    const RevisionRead empty = parseRevisionFile(QByteArray());
    QVERIFY(!empty.ident && !empty.error);

    const QByteArray ident("K7\0\0\0\0\0\0", 8);
    const QByteArray file = revisionFileBytes(ident, 10, 0xAF);
    QCOMPARE(file, QByteArray("K7\0\0\0\0\0\0"
                              "0::?\r\n",
                              14));
    const RevisionRead back = parseRevisionFile(file);
    QVERIFY(back.ident);
    QCOMPARE(back.ident->ident.toLatin1(), ident);
    QCOMPARE(back.ident->checksum, 10);
    QCOMPARE(back.ident->revision, 0xAF);
}

void TestProgramFileFormats::configFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("error"); // 0: read
    QTest::addColumn<int>("code8190");
    QTest::addColumn<int>("value8189");
    QTest::addColumn<int>("code8188");
    QTest::newRow("44 characters") << configLine('1', '4', '2') << 0 << 1 << 4 << 2;
    QTest::newRow("40 characters are enough") << configLine('3', '0', '1', 40) << 0 << 3 << 0 << 1;
    QTest::newRow("8189 of two digits, as an upload writes it")
        << configWithValue('2', "12", '3') + "\r\n"
        << 0 << 2 << 12 << 3;
    QTest::newRow("8189 of three digits") << configWithValue('1', "255", '2') << 0 << 1 << 255 << 2;
    QTest::newRow("8189 above a byte")
        << configWithValue('1', "256", '2') << FileErrors::kConfigNotDigit << 0 << 0 << 0;
    QTest::newRow("8189 of four digits")
        << configWithValue('1', "1000", '2') << FileErrors::kConfigNotDigit << 0 << 0 << 0;
    QTest::newRow("8189 digits with a letter")
        << configWithValue('1', "1x", '2') << FileErrors::kConfigNotDigit << 0 << 0 << 0;
    QTest::newRow("longer line without the closing 000%: single characters")
        << configWithValue('1', "4", '2') + "extra" << 0 << 1 << 4 << 2;
    QTest::newRow("39 characters")
        << configLine('1', '4', '2', 39) << FileErrors::kConfigTooShort << 0 << 0 << 0;
    QTest::newRow("one character")
        << QByteArray("8\r\n") << FileErrors::kConfigTooShort << 0 << 0 << 0;
    QTest::newRow("letter at 36") << configLine('x', '4', '2') << FileErrors::kConfigNotDigit << 0
                                  << 0 << 0;
    QTest::newRow("blank at 39") << configLine('1', ' ', '2') << FileErrors::kConfigNotDigit << 0
                                 << 0 << 0;
    QTest::newRow("sign at 40") << configLine('1', '4', '-') << FileErrors::kConfigNotDigit << 0
                                << 0 << 0;
}

void TestProgramFileFormats::configFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, error);
    QFETCH(int, code8190);
    QFETCH(int, value8189);
    QFETCH(int, code8188);
    const ConfigRead read = parseConfigFile(file);
    if (error) {
        QVERIFY(!read.config);
        QVERIFY(read.error);
        QCOMPARE(read.error->number, error);
        return;
    }
    QVERIFY(!read.error);
    QVERIFY(read.config);
    QCOMPARE(read.config->code8190, code8190);
    QCOMPARE(read.config->value8189, value8189);
    QCOMPARE(read.config->code8188, code8188);
}

void TestProgramFileFormats::configTranslations() {
    // File value -> board value -> file value, and what anything else gives.
    const int to8190[] = {12, 3, 5, 12, 12};
    const int to8188[] = {20, 5, 10, 20, 20};
    for (int file = 0; file <= 4; ++file) {
        QCOMPARE(boardValue8190(file), to8190[file]);
        QCOMPARE(boardValue8188(file), to8188[file]);
    }
    QCOMPARE(fileCode8190("3"), 1);
    QCOMPARE(fileCode8190("5"), 2);
    QCOMPARE(fileCode8190("12"), 3);
    QCOMPARE(fileCode8190("03"), 3);
    QCOMPARE(fileCode8188("5"), 1);
    QCOMPARE(fileCode8188("10"), 2);
    QCOMPARE(fileCode8188("20"), 3);
    QCOMPARE(fileCode8188(""), 3);
}

void TestProgramFileFormats::configFileWritten() {
    // Every value of B8189 a board can hold reads back as written.
    for (const int value : {0, 9, 10, 99, 100, 255}) {
        const ConfigRead read = parseConfigFile(configFileBytes("F", ProgramConfig{1, value, 2}));
        QVERIFY(read.config);
        QCOMPARE(read.config->value8189, value);
        QCOMPARE(read.config->code8190, 1);
        QCOMPARE(read.config->code8188, 2);
    }
    const QByteArray line = configFileBytes("3", ProgramConfig{2, 7, 1});
    QCOMPARE(line, QByteArray("3" + QByteArray(34, '0') +
                              "2"
                              "00"
                              "7"
                              "1"
                              "000%\r\n"));
    QCOMPARE(line.size(), 44 + 2);
    const ConfigRead back = parseConfigFile(line);
    QVERIFY(back.config);
    QCOMPARE(back.config->code8190, 2);
    QCOMPARE(back.config->value8189, 7);
    QCOMPARE(back.config->code8188, 1);
}

void TestProgramFileFormats::imageCheck_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("badLine"); // 0: accepted
    QTest::addColumn<int>("records");
    const QByteArray end(":00000001FF\r\n");
    const QByteArray good(":03200000010203D7\r\n");
    QTest::newRow("end record alone") << end << 0 << 0;
    QTest::newRow("data with record checksum") << good + end << 0 << 1;
    QTest::newRow("data without record checksum")
        << QByteArray(":1020000000112233445566778899AABBCCDDEEFF\r\n") + end << 0 << 1;
    QTest::newRow("lower-case digits") << QByteArray(":0220ab00ff0a\r\n") + end << 0 << 1;
    QTest::newRow("trailing empty lines") << good + end + "\r\n\r\n\n" << 0 << 1;
    QTest::newRow("no line end at all") << QByteArray(":00000001FF") << 0 << 0;
    QTest::newRow("count 0 skipped") << QByteArray(":00200000E0\r\n") + good << 0 << 1;
    QTest::newRow("record ending at FFFF") << QByteArray(":01FFFF0011\r\n") << 0 << 1;
    QTest::newRow("extended segment, base 0, skipped")
        << QByteArray(":020000020000FC\r\n") + good + end << 0 << 1;
    QTest::newRow("extended linear, base 0, skipped")
        << QByteArray(":020000040000FA\r\n") + good + end << 0 << 1;
    QTest::newRow("start segment address skipped")
        << good + ":0400000300003800C1\r\n" + end << 0 << 1;
    QTest::newRow("start linear address skipped")
        << good + ":04000005000000CD2A\r\n" + end << 0 << 1;

    QTest::newRow("empty line in between") << good + "\r\n" + end << 2 << 0;
    QTest::newRow("no colon after good records")
        << good + good + "03200000010203\r\n" + end << 3 << 0;
    QTest::newRow("blank before the colon") << QByteArray(" :00000001FF") << 1 << 0;
    QTest::newRow("only empty lines") << QByteArray("\r\n\r\n") << 1 << 0;
    QTest::newRow("count not hex") << good + ":0G200000010203\r\n" << 2 << 0;
    QTest::newRow("count with a sign") << QByteArray(":+1200000FF\r\n") << 1 << 0;
    QTest::newRow("address not hex") << QByteArray(":0120X00001\r\n") << 1 << 0;
    QTest::newRow("type not hex") << QByteArray(":012000 001\r\n") << 1 << 0;
    QTest::newRow("data byte not hex") << QByteArray(":022000000Z01\r\n") << 1 << 0;
    QTest::newRow("blank in the data") << QByteArray(":02200000 101\r\n") << 1 << 0;
    QTest::newRow("last data byte half there") << QByteArray(":02200000010\r\n") << 1 << 0;
    QTest::newRow("count longer than the line") << QByteArray(":04200000010203\r\n") << 1 << 0;
    QTest::newRow("header cut short") << QByteArray(":002000") << 1 << 0;
    QTest::newRow("colon alone") << good + ":" << 2 << 0;
    QTest::newRow("extended segment elsewhere")
        << QByteArray(":020000021000EC\r\n") + good + end << 1 << 0;
    QTest::newRow("extended linear elsewhere")
        << good + ":020000040001F9\r\n" + good + end << 2 << 0;
    QTest::newRow("extended address of 4 bytes") << QByteArray(":0400000400000000F8\r\n") << 1 << 0;
    QTest::newRow("count 255") << QByteArray(":FF200000") + QByteArray(510, '0') << 1 << 0;
    QTest::newRow("record past 64 KiB") << QByteArray(":02FFFF000102\r\n") << 1 << 0;
}

void TestProgramFileFormats::imageCheck() {
    QFETCH(QByteArray, image);
    QFETCH(int, badLine);
    QFETCH(int, records);
    const ImageCheck check = checkImage(image);
    QCOMPARE(check.badLine, badLine);
    QCOMPARE(check.ok(), badLine == 0);
    QCOMPARE(int(check.records.size()), records);
    if (badLine)
        QVERIFY(!check.reason.isEmpty());
}

void TestProgramFileFormats::imageLineEndsAlike() {
    const QByteArray crlf(":03200000010203D7\r\n:0220ab00ff0a\r\n:00000001FF\r\n");
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    const ImageCheck a = checkImage(crlf);
    const ImageCheck b = checkImage(lf);
    QVERIFY(a.ok() && b.ok());
    QCOMPARE(a.records.size(), size_t(2));
    QCOMPARE(b.records.size(), a.records.size());
    for (size_t i = 0; i < a.records.size(); ++i) {
        QCOMPARE(b.records[i].address, a.records[i].address);
        QCOMPARE(b.records[i].data, a.records[i].data);
        QCOMPARE(b.records[i].lineNumber, a.records[i].lineNumber);
    }
    QCOMPARE(a.records[1].address, 0x20AB);
    QCOMPARE(a.records[1].data, hex("ff0a"));
    QCOMPARE(a.records[1].lineNumber, 2);
}

void TestProgramFileFormats::recordWire_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<int>("reply");
    QTest::addColumn<QString>("address");
    QTest::newRow("three bytes") << QByteArray(":03200000010203D7") << hex("032000010203") << 0x29
                                 << "2000H";
    // 2 + 0x20 + 0 + 0xFF + 0x0B = 300: only the low 8 bits count.
    QTest::newRow("sum of 300 answers 44")
        << QByteArray(":02200000FF0B") << hex("022000FF0B") << 44 << "2000H";
    QTest::newRow("type and checksum never sent")
        << QByteArray(":0100a0011234") << hex("0100a012") << 0xB3 << "00A0H";
    QTest::newRow("0xFF as address and data")
        << QByteArray(":01FFFF00FF") << hex("01FFFFFF") << 0xFE << "FFFFH";
}

void TestProgramFileFormats::recordWire() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, wire);
    QFETCH(int, reply);
    QFETCH(QString, address);
    const ImageCheck check = checkImage(line);
    QVERIFY2(check.ok(), qPrintable(check.reason));
    QCOMPARE(check.records.size(), size_t(1));
    const ImageRecord& record = check.records.front();
    QCOMPARE(record.wireBytes(), wire);
    QCOMPARE(record.expectedReply(), reply);
    QCOMPARE(record.addressText(), address);
}

void TestProgramFileFormats::uploadLine() {
    QByteArray sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.append(char(i == 3 ? 10 : i == 15 ? 0xFF : i));
    const QByteArray line = uploadImageLine(0x5000, sixteen);
    QCOMPARE(line, QByteArray(":10500000000102"
                              "0A"
                              "0405060708090A0B0C0D0E"
                              "FF"));
    QCOMPARE(line.size(), 41);
    // An upload line reads back as the same record.
    const ImageCheck back = checkImage(line);
    QVERIFY(back.ok());
    QCOMPARE(back.records.front().address, 0x5000);
    QCOMPARE(back.records.front().data, sixteen);
}

void TestProgramFileFormats::uploadRanges_data() {
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::newRow("2") << QByteArray("2") << 0x5000 << 0xB000;
    QTest::newRow("24 KiB boards") << QByteArray("36:;<=AB") << 0x2000 << 0x6000;
    QTest::newRow("8 KiB boards") << QByteArray("458") << 0x2000 << 0x2000;
    QTest::newRow("D") << QByteArray("D") << 0x4000 << 0x8000;
    QTest::newRow("PLS and others read nothing") << QByteArray("7>?@CE91F\x01") << 0 << 0;
}

void TestProgramFileFormats::uploadRanges() {
    QFETCH(QByteArray, codes);
    QFETCH(int, first);
    QFETCH(int, count);
    for (const char code : codes) {
        const MemoryRange range = uploadRange(code);
        QCOMPARE(range.first, first);
        QCOMPARE(range.count, count);
        QVERIFY(range.first + range.count <= 0x10000);
    }
}

QTEST_APPLESS_MAIN(TestProgramFileFormats)
#include "tst_programfileformats.moc"
