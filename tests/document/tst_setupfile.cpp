#include "appstate.h"
#include "filebytes.h"
#include "filesizelimit.h"
#include "setupfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>

Q_DECLARE_METATYPE(SetupFileError)

namespace {

QByteArray le16(quint16 value) {
    const quint16 le = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&le), 2);
}

QByteArray le32(quint32 value) {
    const quint32 le = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&le), 4);
}

// The golden file is a new document as release 2.1.3 wrote it; its version
// text is part of its bytes, whatever release reads it now.
const QString kGoldenVersion = QStringLiteral("VRAL_R2.1.3");

QByteArray goldenNewDocument() {
    return fileBytes(qEnvironmentVariable("VRAL_TEST_DATA") + QStringLiteral("/new-document.sdt"));
}

QByteArray patched(QByteArray bytes, int offset, const QByteArray& with) {
    bytes.replace(offset, with.size(), with);
    return bytes;
}

// Offsets in the record of a new document of this release.
constexpr int kAddressDescriptor = 13;
constexpr int kFirstAddress = 23;
constexpr int kValueDescriptor = 1278;
constexpr int kFirstValue = 1288;
constexpr int kPlsMembers = 2004;
constexpr int kNewDocumentSize = 2092;

// A document that differs from the default in every member, with values at
// the edges of their types.
SetupDocument unusualDocument() {
    SetupDocument doc = makeDefaultDocument(QStringLiteral("VRAL_R9.8.7"));
    doc.Addresses[0] = QString();
    doc.Addresses[1] = QStringLiteral("B1016.7");
    doc.Addresses[2] = QString::fromLatin1("W\xe9\xff");
    doc.Values[0] = std::numeric_limits<qint32>::min();
    doc.Values[1] = std::numeric_limits<qint32>::max();
    doc.Values[49] = 655359999;
    doc.Values[178] = -1;
    doc.PLSChannelCount = 8;
    doc.PLSScale = -360;
    // Not the 16-bit minimum: negating that gives itself, so a sign fault would pass.
    doc.ResolverOffset = -1234;
    doc.PLSProgram = std::numeric_limits<qint16>::max();
    for (int i = 0; i < 8; ++i)
        doc.SpeedCompensation[i] = qint16(i * 3 - 7);
    for (int ch = 0; ch < 16; ++ch) {
        doc.OnSetpoints[ch] = qint16(ch * 20 + 1);
        doc.OffSetpoints[ch] = qint16(359 - ch);
    }
    return doc;
}

void compareFieldByField(const SetupDocument& actual, const SetupDocument& expected) {
    QCOMPARE(actual.Version, expected.Version);
    QCOMPARE(actual.Addresses, expected.Addresses);
    QCOMPARE(actual.Values, expected.Values);
    QCOMPARE(actual.PLSChannelCount, expected.PLSChannelCount);
    QCOMPARE(actual.PLSScale, expected.PLSScale);
    QCOMPARE(actual.ResolverOffset, expected.ResolverOffset);
    QCOMPARE(actual.PLSProgram, expected.PLSProgram);
    QCOMPARE(actual.SpeedCompensation, expected.SpeedCompensation);
    QCOMPARE(actual.OnSetpoints, expected.OnSetpoints);
    QCOMPARE(actual.OffSetpoints, expected.OffSetpoints);
}

} // namespace

// The set-up file record: byte layout, reading back, damaged files and
// writes that fail half-way.
class TestSetupFile : public QObject {
    Q_OBJECT

private slots:
    void newDocumentMatchesGoldenFile() {
        const QByteArray golden = goldenNewDocument();
        QCOMPARE(golden.size(), kNewDocumentSize);
        QCOMPARE(encodeSetupDocument(makeDefaultDocument(kGoldenVersion)), golden);
    }

    void goldenFileReadsAsNewDocument() {
        const SetupFileReadResult read = decodeSetupDocument(goldenNewDocument());
        QVERIFY2(read.ok(), qPrintable(read.errorText));
        compareFieldByField(read.document, makeDefaultDocument(kGoldenVersion));
    }

    // Fixed points of the layout, independent of the writer.
    void layout_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("version length") << 0 << le16(11);
        QTest::newRow("version text") << 2 << QByteArray("VRAL_R2.1.3");
        QTest::newRow("address descriptor")
            << kAddressDescriptor << QByteArray(le16(1) + le32(179) + le32(0));
        QTest::newRow("first address") << kFirstAddress << QByteArray(le16(5) + "B1011");
        QTest::newRow("DF1 bit address")
            << kValueDescriptor - 23 << QByteArray(le16(7) + "B4001.0");
        QTest::newRow("last address") << kValueDescriptor - 7 << QByteArray(le16(5) + "B4011");
        QTest::newRow("value descriptor")
            << kValueDescriptor << QByteArray(le16(1) + le32(179) + le32(0));
        QTest::newRow("first value") << kFirstValue << le32(22);
        QTest::newRow("last value") << kPlsMembers - 4 << le32(10);
        QTest::newRow("PLS numbers")
            << kPlsMembers << QByteArray(le16(16) + le16(360) + le16(0) + le16(0));
        QTest::newRow("speed compensation") << kPlsMembers + 8 << QByteArray(16, '\0');
        QTest::newRow("channel 0 and 1 ON")
            << kPlsMembers + 24 << QByteArray(le16(120) + le16(275));
        QTest::newRow("channel 8 OFF") << kPlsMembers + 56 + 16 << le16(180);
        QTest::newRow("channel 15 OFF, end of record") << kNewDocumentSize - 2 << le16(0);
    }
    void layout() {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        const QByteArray record = encodeSetupDocument(makeDefaultDocument(kGoldenVersion));
        QCOMPARE(record.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void negativeNumbersAreTwosComplement() {
        SetupDocument doc = makeDefaultDocument(programVersionText());
        doc.Values[0] = -2;
        doc.PLSChannelCount = -1;
        const QByteArray record = encodeSetupDocument(doc);
        QCOMPARE(record.mid(kFirstValue, 4), QByteArray("\xfe\xff\xff\xff", 4));
        QCOMPARE(record.mid(kPlsMembers, 2), QByteArray("\xff\xff", 2));
    }

    void roundTripKeepsEveryField() {
        const SetupDocument doc = unusualDocument();
        const QByteArray record = encodeSetupDocument(doc);
        const SetupFileReadResult read = decodeSetupDocument(record);
        QVERIFY2(read.ok(), qPrintable(read.errorText));
        compareFieldByField(read.document, doc);
        QCOMPARE(encodeSetupDocument(read.document), record);
    }

    // Other releases wrote other table lengths; the reader takes what the file says.
    void tableLengthsFromTheFile_data() {
        QTest::addColumn<int>("addresses");
        QTest::addColumn<int>("values");
        QTest::newRow("empty tables") << 0 << 0;
        QTest::newRow("shorter tables") << 100 << 100;
        QTest::newRow("longer tables") << 200 << 200;
        QTest::newRow("different lengths") << 150 << 190;
    }
    void tableLengthsFromTheFile() {
        QFETCH(int, addresses);
        QFETCH(int, values);
        SetupDocument doc = unusualDocument();
        doc.Version = QStringLiteral("VRAL_R1.9.0");
        doc.Addresses.resize(addresses);
        doc.Values.resize(values);
        for (int i = 0; i < addresses; ++i)
            doc.Addresses[i] = QStringLiteral("B%1").arg(3000 + i);
        for (int i = 0; i < values; ++i)
            doc.Values[i] = 7 * i - 300;
        const SetupFileReadResult read = decodeSetupDocument(encodeSetupDocument(doc));
        QVERIFY2(read.ok(), qPrintable(read.errorText));
        compareFieldByField(read.document, doc);
    }

    void bytesAfterTheRecordAreIgnored() {
        const SetupFileReadResult read =
            decodeSetupDocument(goldenNewDocument() + QByteArray("trailing junk\0\xff", 15));
        QVERIFY2(read.ok(), qPrintable(read.errorText));
        QVERIFY(read.document == makeDefaultDocument(kGoldenVersion));
    }

    void damagedRecordIsRejected_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SetupFileError>("error");
        const QByteArray good = goldenNewDocument();
        QCOMPARE(good.size(), kNewDocumentSize);

        QTest::newRow("address table with two dimensions")
            << patched(good, kAddressDescriptor, le16(2)) << SetupFileError::BadDimensionCount;
        QTest::newRow("address table with no dimension")
            << patched(good, kAddressDescriptor, le16(0)) << SetupFileError::BadDimensionCount;
        QTest::newRow("value table with two dimensions")
            << patched(good, kValueDescriptor, le16(2)) << SetupFileError::BadDimensionCount;
        QTest::newRow("address table from index 1")
            << patched(good, kAddressDescriptor + 6, le32(1)) << SetupFileError::BadLowerBound;
        QTest::newRow("value table from index -1")
            << patched(good, kValueDescriptor + 6, le32(quint32(-1)))
            << SetupFileError::BadLowerBound;
        QTest::newRow("huge address count")
            << patched(good, kAddressDescriptor + 2, le32(0xFFFFFFFF))
            << SetupFileError::CountTooLarge;
        QTest::newRow("huge value count") << patched(good, kValueDescriptor + 2, le32(0xFFFFFFFF))
                                          << SetupFileError::CountTooLarge;
        // After the value descriptor 804 bytes are left: room for 201 values at most.
        QTest::newRow("value count one beyond the file")
            << patched(good, kValueDescriptor + 2, le32(202)) << SetupFileError::CountTooLarge;
        QTest::newRow("values fill the file, PLS members missing")
            << patched(good, kValueDescriptor + 2, le32(201)) << SetupFileError::Truncated;
        // 2,069 bytes follow the address descriptor: 1,034 two-byte lengths at most.
        QTest::newRow("address count one beyond the file")
            << patched(good, kAddressDescriptor + 2, le32(1035)) << SetupFileError::CountTooLarge;
        QTest::newRow("version length beyond the file")
            << patched(good, 0, le16(0xFFFF)) << SetupFileError::Truncated;
        QTest::newRow("address length beyond the file")
            << patched(good, kFirstAddress, le16(0xFFFF)) << SetupFileError::Truncated;
        // Cut after a table descriptor, the table no longer fits: caught before reading it.
        const int lostTable[] = {kFirstAddress, 1500};
        for (int size : lostTable)
            QTest::addRow("truncated to %d bytes", size)
                << good.left(size) << SetupFileError::CountTooLarge;
        // Cut inside a length, a descriptor, a text, a value or the PLS members.
        const int cutInsideAField[] = {0, 1, 2, 12, 13, 14, 22, 600, 1278, 1287, 2004, 2091};
        for (int size : cutInsideAField)
            QTest::addRow("truncated to %d bytes", size)
                << good.left(size) << SetupFileError::Truncated;
    }
    void damagedRecordIsRejected() {
        QFETCH(QByteArray, bytes);
        QFETCH(SetupFileError, error);
        const SetupFileReadResult read = decodeSetupDocument(bytes);
        QCOMPARE(read.error, error);
        QVERIFY(!read.ok());
        QVERIFY(!read.errorText.isEmpty());
    }

    void readMissingFile() {
        QTemporaryDir dir;
        const SetupFileReadResult read = readSetupFile(dir.filePath("missing.sdt"));
        QCOMPARE(read.error, SetupFileError::CannotOpen);
        QVERIFY(!read.errorText.isEmpty());
    }

    void writeThenRead() {
        QTemporaryDir dir;
        const QString path = dir.filePath("line 3.sdt");
        const SetupFileResult written = writeSetupFile(path, unusualDocument());
        QVERIFY2(written.ok(), qPrintable(written.errorText));
        QCOMPARE(fileBytes(path), encodeSetupDocument(unusualDocument()));
        const SetupFileReadResult read = readSetupFile(path);
        QVERIFY2(read.ok(), qPrintable(read.errorText));
        compareFieldByField(read.document, unusualDocument());
    }

    void writeReplacesLongerFileCompletely() {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.sdt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
        old.close();
        QVERIFY(writeSetupFile(path, makeDefaultDocument(kGoldenVersion)).ok());
        QCOMPARE(fileBytes(path), goldenNewDocument());
    }

    void writeIntoMissingFolderFails() {
        QTemporaryDir dir;
        const SetupFileResult written =
            writeSetupFile(dir.filePath("no/such/folder/a.sdt"), unusualDocument());
        QCOMPARE(written.error, SetupFileError::CannotWrite);
        QVERIFY(!written.errorText.isEmpty());
    }

    // A disk that fills up half-way: the old file must survive untouched and
    // no temporary file may be left behind.
    void failedWriteKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("line 3.sdt");
        const QByteArray oldBytes = encodeSetupDocument(unusualDocument());
        QVERIFY(writeSetupFile(path, unusualDocument()).ok());

        SetupFileResult written;
        {
            FileSizeLimit limit(1000);
            QVERIFY(limit.active());
            written = writeSetupFile(path, makeDefaultDocument(programVersionText()));
        }
        QCOMPARE(written.error, SetupFileError::CannotWrite);
        QVERIFY(!written.errorText.isEmpty());
        QCOMPARE(fileBytes(path), oldBytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"line 3.sdt"});
    }
};

QTEST_APPLESS_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
