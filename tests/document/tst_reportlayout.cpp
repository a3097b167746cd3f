// The report's page layout without a printer: what it prints, where the
// spindle counts go, what it never prints, and how it breaks pages.
#include "appstate.h"
#include "reportlayout.h"
#include "setupdocument.h"

#include <QTest>

namespace {

// Every font 0.2 in high, every character 0.1 in wide.
class FixedMetrics : public ReportMetrics {
public:
    double width(ReportFont, const QString& text) const override { return 0.1 * text.size(); }
    double lineHeight(ReportFont) const override { return 0.2; }
};

QVector<ReportPage> layout(const SetupDocument& doc, QSizeF page = QSizeF(7.5, 10)) {
    return layoutReport(doc,
                        {QStringLiteral("[unnamed]"), page, QStringLiteral("12/7/2026"),
                         QLocale(QLocale::English, QLocale::UnitedStates)},
                        FixedMetrics());
}

QStringList allTexts(const QVector<ReportPage>& pages) {
    QStringList texts;
    for (const ReportPage& page : pages)
        for (const ReportText& text : page.texts)
            texts << text.text;
    return texts;
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT

private slots:
    void channelsCountInOctal();
    void spindleCountsInTheirColumns();
    void driverSettingsNeverPrinted();
    void everyPageHasHeaderAndFooter();
};

void TestReportLayout::channelsCountInOctal() {
    const QStringList texts = allTexts(layout(makeDefaultDocument(programVersionText())));
    QVERIFY(texts.contains(QStringLiteral("CH07:  0  - 40")));
    QVERIFY(texts.contains(QStringLiteral("CH10:  0  - 180"))); // channel 8
    QVERIFY(texts.contains(QStringLiteral("CH17:  0  - 0")));   // channel 15
    QVERIFY(!texts.contains(QStringLiteral("CH08:  0  - 180")));
}

void TestReportLayout::spindleCountsInTheirColumns() {
    SetupDocument doc = makeDefaultDocument(programVersionText());
    doc.Values[63] = 1234;  // current shift, drive side, spindle 7
    doc.Values[75] = 98765; // spindle 19
    const QVector<ReportPage> pages = layout(doc);
    const ReportText* seven = nullptr;
    const ReportText* nineteen = nullptr;
    for (const ReportPage& page : pages)
        for (const ReportText& text : page.texts) {
            if (text.text == QStringLiteral("07: 1,234") && !seven)
                seven = &text;
            if (text.text == QStringLiteral("19: 98,765") && !nineteen)
                nineteen = &text;
        }
    QVERIFY(seven);
    QVERIFY(nineteen);
    QCOMPARE(seven->y, nineteen->y); // side by side on the same line
    QVERIFY(seven->x < nineteen->x);
}

void TestReportLayout::driverSettingsNeverPrinted() {
    SetupDocument doc = makeDefaultDocument(programVersionText());
    doc.Values[176] = 917171;
    doc.Values[177] = 927272;
    doc.Values[178] = 937373;
    const QString texts = allTexts(layout(doc)).join(QLatin1Char('\n'));
    for (const char* value : {"917171", "917,171", "927272", "927,272", "937373", "937,373"})
        QVERIFY2(!texts.contains(QLatin1String(value)), value);
}

void TestReportLayout::everyPageHasHeaderAndFooter() {
    const SetupDocument doc = makeDefaultDocument(programVersionText());
    const QVector<ReportPage> tall = layout(doc, QSizeF(7.5, 14));
    const QVector<ReportPage> short_ = layout(doc, QSizeF(7.5, 8.6));
    QVERIFY(short_.size() > tall.size()); // blocks that do not fit go to a new page
    // (8.6 in still holds the largest block, 35 lines, below the header.)
    for (int i = 0; i < short_.size(); ++i) {
        const QStringList texts = allTexts({short_[i]});
        QVERIFY(!texts.isEmpty());
        QCOMPARE(texts.first(), QStringLiteral("VRAL Report: [unnamed]"));
        QVERIFY2(texts.contains(QStringLiteral("Page %1").arg(i + 1)), qPrintable(texts.join('|')));
        for (const ReportText& text : short_[i].texts)
            QVERIFY2(text.y >= 0 && text.y + 0.2 <= 8.6 + 1e-9, qPrintable(text.text));
    }
}

QTEST_APPLESS_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
