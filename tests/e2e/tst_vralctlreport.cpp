// vralctl report end to end: the PDF of a golden set-up file, read back as
// text with pdftotext, holds the report's headings, labels and values in
// reading order on the expected number of pages.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestVralctlReport : public QObject {
    Q_OBJECT
private slots:
    void pdfTextInReadingOrder_data();
    void pdfTextInReadingOrder();
};

namespace {

QString pdfText(const QString& pdf) {
    QProcess extract;
    extract.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!extract.waitForFinished(30000) || extract.exitCode() != 0)
        return {};
    return QString::fromUtf8(extract.readAllStandardOutput());
}

} // namespace

void TestVralctlReport::pdfTextInReadingOrder_data() {
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<int>("pages");
    QTest::newRow("A4") << "A4" << 3;
    QTest::newRow("Letter") << "Letter" << 4;
}

void TestVralctlReport::pdfTextInReadingOrder() {
    QFETCH(QString, pageSize);
    QFETCH(int, pages);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QFAIL("pdftotext (poppler-utils) is not installed; scripts/test installs it");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const QString sdt =
        QDir(qEnvironmentVariable("VRAL_TEST_DATA")).filePath(QStringLiteral("new-document.sdt"));
    QProcess vralctl;
    vralctl.start(QStringLiteral(VRALCTL_PATH),
                  {QStringLiteral("report"), sdt, pdf, QStringLiteral("--page-size"), pageSize});
    QVERIFY(vralctl.waitForFinished(30000));
    QCOMPARE(vralctl.exitCode(), 0);

    const QString text = pdfText(pdf);
    QCOMPARE(text.count(u'\f'), pages);
    // Each expected piece after the one before it, as a reader meets them.
    const QStringList order = {
        "VRAL Report: [new-document.sdt]",
        "Set-up Parameters",
        "A. Print/Varnish Response Times",
        "1. Print Trip Retract Response Time (msec):",
        "20",
        "5. Number of Shifts to Varnish Unit:",
        "5",
        "B. Blow-off Parameters",
        "10. Q.C. Can Blow-off Solenoid Off Response Time (msec):",
        "C. PLS Configuration & Channel Setpoints",
        "2. PLS Scale Factor:",
        "360",
        "CH07: 0 - 40",
        "CH10: 0 - 180",
        "CH17: 0 - 0",
        "Data Collection Counts (shift data)",
        "1. Spindle No.1 Trip Shift Offset:",
        "22",
        "B. Current Shift Data",
        "3. Bad Can Blow-off:",
        "9. Trips Per Spindle - Drive Side:",
        "01: 0",
        "13: 0",
        "C. Last (previous) Shift Data",
        "10. Trips Per Spindle - Off Side:",
        "12: 0",
        "24: 0",
    };
    qsizetype at = 0;
    for (const QString& piece : order) {
        const qsizetype found = text.indexOf(piece, at);
        QVERIFY2(found >= 0,
                 qPrintable(QStringLiteral("\"%1\" not found after offset %2").arg(piece).arg(at)));
        at = found + piece.size();
    }
    // Every page has its footer, numbered in order, and no more pages than that.
    at = 0;
    for (int page = 1; page <= pages; ++page) {
        at = text.indexOf(QStringLiteral("Page %1").arg(page), at);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("no footer \"Page %1\"").arg(page)));
    }
    QVERIFY(!text.contains(QStringLiteral("Page %1").arg(pages + 1)));
}

QTEST_GUILESS_MAIN(TestVralctlReport)
#include "tst_vralctlreport.moc"
