#include "appstate.h"
#include "setupdocument.h"
#include "vralversion.h"

#include <QTest>

// A new document: the values, addresses and setpoints every fresh set-up
// starts from, and the program version it carries.
class TestDefaultDocument : public QObject {
    Q_OBJECT

private slots:
    void programVersion() {
        QCOMPARE(programVersionText(), QStringLiteral("VRAL_R" VRAL_VERSION_TEXT));
    }

    // The general date: four-digit year, seconds, no time zone, in the
    // user's own order of day, month and year.
    void generalDate_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("United States") << "en_US"
                                       << "12/7/2026 9:05:07 AM";
        QTest::newRow("Germany") << "de_DE"
                                 << "07.12.2026 09:05:07";
        QTest::newRow("United Kingdom") << "en_GB"
                                        << "07/12/2026 09:05:07";
    }
    void generalDate() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const QDateTime when(QDate(2026, 12, 7), QTime(9, 5, 7));
        QString shown = generalDateText(when, QLocale(locale));
        shown.replace(QChar(0x202F), QLatin1Char(' ')); // newer locale data use a narrow space
        QCOMPARE(shown, text);
    }

    void tablesHold179Elements() {
        const SetupDocument doc = makeDefaultDocument(programVersionText());
        QCOMPARE(doc.Addresses.size(), 179);
        QCOMPARE(doc.Values.size(), 179);
    }

    void defaultValue_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::newRow("spindle 1 trip shift offset") << 0 << 22;
        QTest::newRow("first trip counter") << 1 << 0;
        QTest::newRow("current shift good cans") << 49 << 0;
        QTest::newRow("last off side trip counter") << 160 << 0;
        QTest::newRow("print trip retract") << 161 << 20;
        QTest::newRow("varnish trip extend") << 164 << 20;
        QTest::newRow("shifts to varnish unit") << 165 << 5;
        QTest::newRow("pins to blow-off port") << 166 << 28;
        QTest::newRow("cans per misload") << 167 << 1;
        QTest::newRow("cans at infeed open") << 168 << 5;
        QTest::newRow("print restart cans") << 169 << 0;
        QTest::newRow("varnish restart cans") << 170 << 33;
        QTest::newRow("QC port offset") << 171 << 17;
        QTest::newRow("bad can solenoid on") << 172 << 15;
        QTest::newRow("QC solenoid off") << 175 << 20;
        QTest::newRow("DF1 PLC type") << 176 << 0;
        QTest::newRow("DF1 destination node") << 177 << 1;
        QTest::newRow("DF1 file number") << 178 << 10;
    }
    void defaultValue() {
        QFETCH(int, index);
        QFETCH(int, value);
        QCOMPARE(makeDefaultDocument(programVersionText()).Values.at(index), value);
    }

    void defaultAddress_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("address");
        QTest::newRow("trip shift offset") << 0 << "B1011";
        QTest::newRow("drive side spindle 1") << 1 << "W1700";
        QTest::newRow("drive side spindle 24") << 24 << "W1746";
        QTest::newRow("off side spindle 1") << 25 << "W1748";
        QTest::newRow("off side spindle 24") << 48 << "W1794";
        QTest::newRow("current good cans") << 49 << "D1100";
        QTest::newRow("current manual blow-offs") << 52 << "D1116";
        QTest::newRow("current restart blow-offs") << 54 << "D1112";
        QTest::newRow("current off side trips") << 56 << "W1126";
        QTest::newRow("current drive spindle 1") << 57 << "W1128";
        QTest::newRow("current drive spindle 24") << 80 << "W1174";
        QTest::newRow("current off spindle 1") << 81 << "W1176";
        QTest::newRow("current off spindle 24") << 104 << "W1222";
        QTest::newRow("last good cans") << 105 << "D1300";
        QTest::newRow("last QC blow-offs") << 109 << "D1320";
        QTest::newRow("last drive side trips") << 111 << "W1324";
        QTest::newRow("last drive spindle 1") << 113 << "W1328";
        QTest::newRow("last off spindle 1") << 137 << "W1376";
        QTest::newRow("last off spindle 24") << 160 << "W1422";
        QTest::newRow("print trip retract") << 161 << "B1012";
        QTest::newRow("shifts to varnish") << 165 << "B1017";
        QTest::newRow("pins to blow-off port") << 166 << "W1004";
        QTest::newRow("QC solenoid off") << 175 << "B1009";
        QTest::newRow("DF1 PLC type bit") << 176 << "B4001.0";
        QTest::newRow("DF1 destination node") << 177 << "B4050";
        QTest::newRow("DF1 file number") << 178 << "B4011";
    }
    void defaultAddress() {
        QFETCH(int, index);
        QFETCH(QString, address);
        QCOMPARE(makeDefaultDocument(programVersionText()).Addresses.at(index), address);
    }

    // Every address has five characters but the DF1 bit, which has seven:
    // the set-up file of a new document depends on exactly 897 characters.
    void addressLengths() {
        const SetupDocument doc = makeDefaultDocument(programVersionText());
        int total = 0;
        for (int i = 0; i < doc.Addresses.size(); ++i) {
            QCOMPARE(doc.Addresses.at(i).size(), i == 176 ? 7 : 5);
            total += int(doc.Addresses.at(i).size());
        }
        QCOMPARE(total, 897);
    }

    void defaultSetpoints_data() {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("off");
        const int expected[9][2] = {{120, 160}, {275, 315}, {180, 0}, {120, 230}, {80, 220},
                                    {155, 195}, {160, 200}, {0, 40},  {0, 180}};
        for (int ch = 0; ch < 16; ++ch)
            QTest::addRow("channel %d", ch)
                << ch << (ch < 9 ? expected[ch][0] : 0) << (ch < 9 ? expected[ch][1] : 0);
    }
    void defaultSetpoints() {
        QFETCH(int, channel);
        QFETCH(int, on);
        QFETCH(int, off);
        const SetupDocument doc = makeDefaultDocument(programVersionText());
        QCOMPARE(doc.OnSetpoints.at(channel), on);
        QCOMPARE(doc.OffSetpoints.at(channel), off);
    }

    void defaultPlsMembers() {
        const SetupDocument doc = makeDefaultDocument(programVersionText());
        QCOMPARE(doc.PLSChannelCount, 16);
        QCOMPARE(doc.PLSScale, 360);
        QCOMPARE(doc.ResolverOffset, 0);
        QCOMPARE(doc.PLSProgram, 0);
        for (qint16 msec : doc.SpeedCompensation)
            QCOMPARE(msec, 0);
    }

    void initDefaultDocument() {
        AppState state;
        state.DocumentUntitled = false;
        state.InitDefaultDocument();
        QCOMPARE(state.ProgramVersion, QStringLiteral("VRAL_R" VRAL_VERSION_TEXT));
        QCOMPARE(state.DefaultDocument.Version, state.ProgramVersion);
        QVERIFY(state.DefaultDocument == makeDefaultDocument(state.ProgramVersion));
        QVERIFY(state.CurrentDocument == state.DefaultDocument);
        QVERIFY(state.SavedDocument == state.DefaultDocument);
        QVERIFY(state.DocumentUntitled);
    }

    // Tables of another release are cut or padded to this program's 179.
    void fitTables_data() {
        QTest::addColumn<int>("fileCount");
        QTest::newRow("empty") << 0;
        QTest::newRow("shorter") << 100;
        QTest::newRow("exact") << 179;
        QTest::newRow("longer") << 250;
    }
    void fitTables() {
        QFETCH(int, fileCount);
        SetupDocument doc;
        for (int i = 0; i < fileCount; ++i) {
            doc.Addresses.append(QStringLiteral("W%1").arg(i));
            doc.Values.append(i + 1);
        }
        doc.fitTables();
        QCOMPARE(doc.Addresses.size(), 179);
        QCOMPARE(doc.Values.size(), 179);
        for (int i = 0; i < 179; ++i) {
            QCOMPARE(doc.Addresses.at(i), i < fileCount ? QStringLiteral("W%1").arg(i) : QString());
            QCOMPARE(doc.Values.at(i), i < fileCount ? i + 1 : 0);
        }
    }
};

QTEST_APPLESS_MAIN(TestDefaultDocument)
#include "tst_defaultdocument.moc"
