// The comparison of two set-up documents: exactly the items that differ,
// named as the report names them; and the board side, read by the "&All"
// upload's exchanges without writing a byte.
#include "appstate.h"
#include "boardreadback.h"
#include "linkrig.h"
#include "reportlayout.h"
#include "setupcomparison.h"
#include "transferwire.h"

#include <QtTest>

#include <functional>

namespace {

using Change = std::function<void(SetupDocument&)>;

SetupDocument defaults() {
    return makeDefaultDocument(programVersionText());
}

// "section | label | left | right" of each differing item, counters included.
QStringList differing(const SetupDocument& left, const SetupDocument& right) {
    QStringList result;
    for (const ComparisonItem& item : compareDocuments(left, right))
        if (item.differs())
            result << QStringLiteral("%1 | %2 | %3 | %4")
                          .arg(item.section, item.label)
                          .arg(item.left)
                          .arg(item.right);
    return result;
}

class FixedMetrics : public ReportMetrics {
public:
    double width(ReportFont, const QString& text) const override { return 0.1 * text.size(); }
    double lineHeight(ReportFont) const override { return 0.2; }
};

// Every text the report prints, trimmed.
QSet<QString> reportTexts(const SetupDocument& document) {
    QSet<QString> texts;
    const ReportSetting setting{QStringLiteral("[unnamed]"), QSizeF(8.27, 11.69), QString(),
                                QLocale::c()};
    for (const ReportPage& page : layoutReport(document, setting, FixedMetrics()))
        for (const ReportText& text : page.texts)
            texts << text.text.trimmed();
    return texts;
}

} // namespace

class TestSetupComparison : public QObject {
    Q_OBJECT

private slots:
    void oneElementPerSection_data();
    void oneElementPerSection();
    void labelsAreTheReports();
    void boardReadOnlyReads();
};

void TestSetupComparison::oneElementPerSection_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("counter");
    QTest::addColumn<QString>("expected");

    const QString pls = "C. PLS Configuration & Channel Setpoints | ";
    QTest::newRow("set-up value, last of the blow-off parameters")
        << Change([](SetupDocument& d) { d.Values[175] = 33; }) << false
        << "B. Blow-off Parameters | 10. Q.C. Can Blow-off Solenoid Off Response Time (msec): "
           "| 20 | 33";
    QTest::newRow("resolver offset, which the report leaves out")
        << Change([](SetupDocument& d) { d.ResolverOffset = -5; }) << false
        << pls + "Resolver Offset: | 0 | -5";
    QTest::newRow("speed compensation of CH03")
        << Change([](SetupDocument& d) { d.SpeedCompensation[3] = 7; }) << false
        << pls + "4. Speed Compensation (advance): CH03 (msec): | 0 | 7";
    QTest::newRow("channel 8's ON, named CH10")
        << Change([](SetupDocument& d) { d.OnSetpoints[8] = 45; }) << false
        << pls + "5. Channel Setpoints (ON - OFF): CH10: ON | 0 | 45";
    QTest::newRow("channel 2's OFF")
        << Change([](SetupDocument& d) { d.OffSetpoints[2] = 90; }) << false
        << pls + "5. Channel Setpoints (ON - OFF): CH02: OFF | 0 | 90";
    QTest::newRow("machine trips, off side spindle 13 (slot 37, not in the report)")
        << Change([](SetupDocument& d) { d.Values[37] = 4; }) << true
        << "A. Trips Per Spindle | 10. Trips Per Spindle - Off Side: 13: | 0 | 4";
    QTest::newRow("current shift, drive side spindle 7 (slot 63)")
        << Change([](SetupDocument& d) { d.Values[63] = 1234; }) << true
        << "B. Current Shift Data | 9. Trips Per Spindle - Drive Side: 07: | 0 | 1234";
    QTest::newRow("DF1 destination node") << Change([](SetupDocument& d) { d.Values[177] = 7; })
                                          << false << "DF1 Bridge | Destination Node: | 1 | 7";
}

void TestSetupComparison::oneElementPerSection() {
    QFETCH(Change, change);
    QFETCH(bool, counter);
    QFETCH(QString, expected);
    const SetupDocument left = defaults();
    SetupDocument right = left;
    change(right);

    QCOMPARE(differing(left, right), QStringList{expected});
    QCOMPARE(differing(right, left).size(), 1);
    const QVector<ComparisonItem> items = compareDocuments(left, right);
    QCOMPARE(countItems(items, true).differing, 1);
    QCOMPARE(countItems(items, false).differing, counter ? 0 : 1);
    // The address table and the version are no items: they are not settings.
    right.Addresses[161] = QStringLiteral("B9999");
    right.Version = QStringLiteral("VRAL_R1.0.0");
    QCOMPARE(differing(left, right), QStringList{expected});
}

void TestSetupComparison::labelsAreTheReports() {
    // Every item the report prints is named by the report's own text: its
    // heading, its label, and for a sub-item the item's label followed by
    // the sub-item's ("CH03 (msec):" ahead of the value, "CH10:" ahead of
    // ON - OFF, "07:" ahead of a spindle's count).
    const SetupDocument document = defaults();
    const QSet<QString> texts = reportTexts(document);
    const QVector<ComparisonItem> items = compareDocuments(document, document);
    QCOMPARE(items.size(), 15 + 4 + 8 + 32 + 1 + 48 + 2 * (8 + 48) + 3);
    QCOMPARE(countItems(items, false).items, 15 + 4 + 8 + 32 + 1 + 3);
    QCOMPARE(countItems(items, true).differing, 0);

    const QStringList notInReport = {
        "Resolver Offset:", "PLC Type:", "Destination Node:", "Desination File Number:"};
    for (const ComparisonItem& item : items) {
        if (notInReport.contains(item.label))
            continue;
        QVERIFY2(texts.contains(item.part) && texts.contains(item.section),
                 qPrintable(item.part + " / " + item.section));
        if (texts.contains(item.label))
            continue;
        const auto parent = std::find_if(texts.begin(), texts.end(), [&item](const QString& t) {
            return t.endsWith(QLatin1Char(':')) && item.label.startsWith(t + QLatin1Char(' '));
        });
        QVERIFY2(parent != texts.end(), qPrintable(item.label));
        QString sub = item.label.mid(parent->size() + 1);
        sub.remove(QRegularExpression(QStringLiteral(" (ON|OFF)$")));
        const bool printed = std::any_of(texts.begin(), texts.end(), [&sub](const QString& t) {
            return t.startsWith(sub + QLatin1Char(' '));
        });
        QVERIFY2(printed, qPrintable(item.label));
    }
}

void TestSetupComparison::boardReadOnlyReads() {
    LinkRig rig;
    const SetupDocument document = defaults();
    // A new board holds the new document; this one differs from it in a
    // set-up value, a DF1 setting, a speed compensation, a channel and the
    // resolver offset.
    rig.board.setMemory(1012, 25);
    rig.board.setMemory(4050, 3);
    rig.board.pls().setConfigBlock(0, {0, 0, 0, 0, 9, 0});
    rig.board.pls().setOffset(12);
    rig.board.pls().setSingle(5, 100, 150);
    QVERIFY(rig.goOnline());
    const QByteArray memoryBefore = rig.board.memoryImage();
    const auto configBefore = rig.board.pls().configReadValues();

    BoardReadback readback(document, rig.link, rig.prompts);
    while (readback.step()) {
    }
    QVERIFY(readback.completed());
    QCOMPARE(readback.progressMaximum(), 211);
    QCOMPARE(rig.prompts.messageCount(), 0);

    // Memory reads, the PLS scale and offset register reads, the
    // configuration read and recalls: nothing that changes the board. The
    // filter keeps any transaction that is none of those.
    const QStringList wire = transferTransactions(rig.port.sentBytes());
    QVERIFY(!wire.isEmpty());
    QCOMPARE(
        wire.filter(QRegularExpression("^(?!(read \\d+|word 0x[12]8|readconfig|recall \\d+)$)")),
        QStringList());
    QCOMPARE(rig.board.memoryImage(), memoryBefore);
    QCOMPARE(rig.board.pls().configReadValues(), configBefore);
    QCOMPARE(rig.board.pls().offset(), 12);

    // Values as the board holds them; its shift counters match the new document's.
    const QString pls = "C. PLS Configuration & Channel Setpoints | ";
    QCOMPARE(differing(document, readback.document()),
             (QStringList{
                 "A. Print/Varnish Response Times | 1. Print Trip Retract Response Time (msec): | "
                 "20 | 25",
                 pls + "Resolver Offset: | 0 | 12",
                 pls + "4. Speed Compensation (advance): CH03 (msec): | 0 | 9",
                 pls + "5. Channel Setpoints (ON - OFF): CH05: ON | 155 | 100",
                 pls + "5. Channel Setpoints (ON - OFF): CH05: OFF | 195 | 150",
                 "DF1 Bridge | Destination Node: | 1 | 3",
             }));
}

QTEST_GUILESS_MAIN(TestSetupComparison)
#include "tst_setupcomparison.moc"
