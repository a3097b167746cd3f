#include "appstate.h"
#include "documentjson.h"
#include "vralversion.h"

#include <QJsonArray>
#include <QTest>

// A set-up document as JSON, for scripts working on set-up files.
class TestDocumentJson : public QObject {
    Q_OBJECT

private slots:
    void everyMemberIsWritten() {
        SetupDocument doc = makeDefaultDocument(programVersionText());
        doc.Values[49] = 655359999;
        doc.Values[50] = -7;
        doc.ResolverOffset = -12;
        doc.PLSProgram = 3;
        doc.SpeedCompensation[7] = 9;
        const QJsonObject json = documentToJson(doc);

        QCOMPARE(json.value("Version").toString(), QStringLiteral("VRAL_R" VRAL_VERSION_TEXT));
        const QJsonArray addresses = json.value("Addresses").toArray();
        QCOMPARE(addresses.size(), 179);
        QCOMPARE(addresses.at(176).toString(), QStringLiteral("B4001.0"));
        const QJsonArray values = json.value("Values").toArray();
        QCOMPARE(values.size(), 179);
        QCOMPARE(values.at(0).toInteger(), 22);
        QCOMPARE(values.at(49).toInteger(), 655359999);
        QCOMPARE(values.at(50).toInteger(), -7);
        QCOMPARE(json.value("PLSChannelCount").toInt(), 16);
        QCOMPARE(json.value("PLSScale").toInt(), 360);
        QCOMPARE(json.value("ResolverOffset").toInt(), -12);
        QCOMPARE(json.value("PLSProgram").toInt(), 3);
        QCOMPARE(json.value("SpeedCompensation").toArray().size(), 8);
        QCOMPARE(json.value("SpeedCompensation").toArray().at(7).toInt(), 9);
        const QJsonArray on = json.value("OnSetpoints").toArray();
        const QJsonArray off = json.value("OffSetpoints").toArray();
        QCOMPARE(on.size(), 16);
        QCOMPARE(off.size(), 16);
        QCOMPARE(on.at(1).toInt(), 275);
        QCOMPARE(off.at(8).toInt(), 180);
        QCOMPARE(json.size(), 10);
    }
};

QTEST_APPLESS_MAIN(TestDocumentJson)
#include "tst_documentjson.moc"
