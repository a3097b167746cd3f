// The report commands from the File menu: the print set-up dialog, the wait
// window, the print job on a scripted printer, the preview and the PDF file,
// and the box that tells of a printer or file that failed.
#include "appstate.h"
#include "boardrig.h"
#include "commandcontext.h"
#include "frmwaitdisplay.h"
#include "namedchild.h"
#include "onlinesession.h"
#include "reportcommands.h"
#include "reportjob.h"
#include "reportprinters.h"
#include "stepdriver.h"

#include <QLabel>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kPrinter = QStringLiteral("Plant Printer");

// What the scripted printer was asked to do, and how it is to fail.
struct PrinterScript {
    bool failOpen = false;
    int failAtPage = 0; // the page whose start fails; 0: none
    bool failFinish = false;
    bool printerMakesCopies = true; // false: the program draws each copy

    QList<Prompts::PrintDialog> jobsOpened;
    QStringList titles;
    int pagesStarted = 0;
    bool finished = false;
    QStringList previews;
};

// A PDF writer whose page starts can fail, counting the pages it began.
class ScriptedWriter : public QPdfWriter {
public:
    ScriptedWriter(const QString& path, PrinterScript& script)
        : QPdfWriter(path), m_script(script) {
        setPageSize(QPageSize(QPageSize::A4));
        setResolution(600);
        m_script.pagesStarted = 1;
    }
    bool newPage() override {
        if (m_script.pagesStarted + 1 == m_script.failAtPage)
            return false;
        ++m_script.pagesStarted;
        return QPdfWriter::newPage();
    }

private:
    PrinterScript& m_script;
};

class ScriptedJob : public ReportJob {
public:
    ScriptedJob(const QString& path, const Prompts::PrintDialog& choice, PrinterScript& script)
        : m_script(script), m_name(choice.printerName), m_copies(choice.copies) {
        if (!script.failOpen)
            m_writer = std::make_unique<ScriptedWriter>(path, script);
    }
    bool isFile() const override { return false; }
    QString target() const override { return m_name; }
    QPagedPaintDevice* device() override { return m_writer.get(); }
    int copiesToDraw() const override { return m_script.printerMakesCopies ? 1 : m_copies; }
    bool finish() override {
        m_script.finished = !m_script.failFinish;
        return m_script.finished;
    }

private:
    PrinterScript& m_script;
    QString m_name;
    int m_copies;
    std::unique_ptr<ScriptedWriter> m_writer;
};

class ScriptedPrinters : public ReportPrinters {
public:
    ScriptedPrinters(const QString& spoolPath, PrinterScript& script)
        : m_spool(spoolPath), m_script(script) {}
    std::unique_ptr<ReportJob> openJob(const Prompts::PrintDialog& choice,
                                       const QString& title) override {
        m_script.jobsOpened.append(choice);
        m_script.titles.append(title);
        return std::make_unique<ScriptedJob>(m_spool, choice, m_script);
    }
    void preview(const QString& title,
                 const std::function<void(QPagedPaintDevice&)>& draw) override {
        m_script.previews.append(title);
        ScriptedWriter device(m_spool, m_script);
        draw(device);
    }

private:
    QString m_spool;
    PrinterScript& m_script;
};

struct Rig : BoardRig {
    AppState state;
    QTemporaryDir dir;
    PrinterScript script;
    ScriptedPrinters printers{dir.filePath(QStringLiteral("spool.pdf")), script};
    OnlineSession online{link, port};
    StepDriver poll{link, [] {}, StepDriver::every(500)};
    CommandContext context{state, link, prompts, clock, folder, online, poll, nullptr};
    ReportCommands commands{context, printers};

    Rig() {
        state.InitDefaultDocument();
        state.gFileNameCaption = QStringLiteral("[a.sdt]");
        state.gFileNamePath = dir.filePath(QStringLiteral("a.sdt"));
        state.DocumentUntitled = false;
    }
    static Prompts::PrintDialog plantPrinter(int copies) {
        Prompts::PrintDialog choice;
        choice.printerName = kPrinter;
        choice.copies = copies;
        return choice;
    }
    void waitForReport() { QTRY_VERIFY_WITH_TIMEOUT(!commands.isRunning(), 10000); }
};

} // namespace

class TestReportCommands : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    void cancelEndsSilently();
    void printsOnChosenPrinter();
    void copiesDrawnWhenThePrinterCannot_data();
    void copiesDrawnWhenThePrinterCannot();
    void nextPrintProposesLastChoice();
    void failedPrintJobIsReported_data();
    void failedPrintJobIsReported();
    void previewDrawsTheReport();
    void exportWritesPdf_data();
    void exportWritesPdf();
    void exportToUnwritablePathIsReported();
    void exportCancelledWritesNothing();
};

void TestReportCommands::cancelEndsSilently() {
    Rig rig;
    rig.prompts.answerPrintSetup(std::nullopt);
    rig.commands.printReport();
    QCOMPARE(rig.prompts.records().size(), 1);
    QCOMPARE(rig.prompts.records().first().kind, ScriptedPrompts::Kind::PrintSetup);
    QVERIFY(rig.script.jobsOpened.isEmpty());
    QVERIFY(!rig.commands.isRunning());
    QVERIFY(!rig.commands.waitWindow());
    QCOMPARE(rig.state.ReportMode, 0);
}

void TestReportCommands::printsOnChosenPrinter() {
    Rig rig;
    rig.prompts.answerPrintSetup(Rig::plantPrinter(3));
    rig.commands.printReport();

    // The wait window is up while the pages go out, one step at a time.
    QVERIFY(rig.commands.isRunning());
    QCOMPARE(rig.state.ReportMode, 1);
    frmWaitDisplay* wait = rig.commands.waitWindow();
    QVERIFY(wait);
    QVERIFY(wait->isVisible());
    QCOMPARE(namedChild<QLabel>(*wait, "lblWaitDisplay")->text(),
             QStringLiteral("Generating Report, Please Standby ..."));
    QVERIFY(namedChild<QFrame>(*wait, "fraWaitDisplay"));

    rig.waitForReport();
    QCOMPARE(rig.script.jobsOpened.size(), 1);
    QCOMPARE(rig.script.jobsOpened.first().printerName, kPrinter);
    QCOMPARE(rig.script.jobsOpened.first().copies, 3);
    QCOMPARE(rig.script.titles, QStringList{"VRAL Report: [a.sdt]"});
    QCOMPARE(rig.script.pagesStarted, 3);
    QVERIFY(rig.script.finished);
    QCOMPARE(rig.prompts.messageCount(), 0);
    QCOMPARE(rig.state.ReportMode, 0);
    QVERIFY(!rig.commands.waitWindow());
}

void TestReportCommands::copiesDrawnWhenThePrinterCannot_data() {
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("failAtPage");
    QTest::addColumn<int>("pagesStarted");
    QTest::addColumn<QString>("text");
    QTest::newRow("two copies, all pages") << 2 << 0 << 6 << QString();
    QTest::newRow("three copies, all pages") << 3 << 0 << 9 << QString();
    QTest::newRow("second copy's first page refused")
        << 2 << 4 << 3
        << "The report could not be printed on \"Plant Printer\": page 4 of 6 could not be "
           "started.\r\n\r\n3 of 6 pages had already gone to the printer; they are not withdrawn.";
}

// The toolkit's PDF printer makes no copies of its own: each copy is drawn,
// the whole report after the whole report.
void TestReportCommands::copiesDrawnWhenThePrinterCannot() {
    QFETCH(int, copies);
    QFETCH(int, failAtPage);
    QFETCH(int, pagesStarted);
    QFETCH(QString, text);
    Rig rig;
    rig.script.printerMakesCopies = false;
    rig.script.failAtPage = failAtPage;
    rig.prompts.answerPrintSetup(Rig::plantPrinter(copies));
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.printReport();
    rig.waitForReport();
    QCOMPARE(rig.script.pagesStarted, pagesStarted);
    QCOMPARE(rig.script.finished, text.isEmpty());
    QCOMPARE(rig.prompts.messageCount(), text.isEmpty() ? 0 : 1);
    if (!text.isEmpty())
        QCOMPARE(rig.prompts.messages().first().text, text);
}

void TestReportCommands::nextPrintProposesLastChoice() {
    Rig rig;
    rig.prompts.answerPrintSetup(Rig::plantPrinter(2));
    rig.commands.printReport();
    rig.waitForReport();
    rig.prompts.answerPrintSetup(std::nullopt);
    rig.commands.printReport();
    const ScriptedPrompts::Record second = rig.prompts.records().last();
    QCOMPARE(second.kind, ScriptedPrompts::Kind::PrintSetup);
    QCOMPARE(second.printDialog.printerName, kPrinter);
    QCOMPARE(second.printDialog.copies, 2);
    QCOMPARE(rig.prompts.records().first().printDialog.printerName, QString());
}

void TestReportCommands::failedPrintJobIsReported_data() {
    QTest::addColumn<bool>("failOpen");
    QTest::addColumn<int>("failAtPage");
    QTest::addColumn<bool>("failFinish");
    QTest::addColumn<int>("pagesStarted");
    QTest::addColumn<QString>("text");
    QTest::newRow("printer does not open")
        << true << 0 << false << 0
        << "The report could not be printed on \"Plant Printer\": the printer could not be "
           "opened.";
    QTest::newRow("second page refused")
        << false << 2 << false << 1
        << "The report could not be printed on \"Plant Printer\": page 2 of 3 could not be "
           "started.\r\n\r\n1 of 3 pages had already gone to the printer; they are not withdrawn.";
    QTest::newRow("last page refused")
        << false << 3 << false << 2
        << "The report could not be printed on \"Plant Printer\": page 3 of 3 could not be "
           "started.\r\n\r\n2 of 3 pages had already gone to the printer; they are not withdrawn.";
    QTest::newRow("job not completed")
        << false << 0 << true << 3
        << "The report could not be printed on \"Plant Printer\": the print job could not be "
           "completed.\r\n\r\n3 of 3 pages had already gone to the printer; they are not "
           "withdrawn.";
}

void TestReportCommands::failedPrintJobIsReported() {
    QFETCH(bool, failOpen);
    QFETCH(int, failAtPage);
    QFETCH(bool, failFinish);
    QFETCH(int, pagesStarted);
    QFETCH(QString, text);
    Rig rig;
    rig.script.failOpen = failOpen;
    rig.script.failAtPage = failAtPage;
    rig.script.failFinish = failFinish;
    rig.prompts.answerPrintSetup(Rig::plantPrinter(1));
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.printReport();
    rig.waitForReport();

    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("VRAL"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    QCOMPARE(rig.script.pagesStarted, pagesStarted);
    QVERIFY(!rig.script.finished);
    QCOMPARE(rig.state.ReportMode, 0);
    QVERIFY(!rig.commands.waitWindow());
}

void TestReportCommands::previewDrawsTheReport() {
    Rig rig;
    rig.state.gFileNameCaption = QStringLiteral("[unnamed]");
    rig.commands.printPreview();
    QCOMPARE(rig.script.previews, QStringList{"VRAL Report: [unnamed]"});
    QCOMPARE(rig.script.pagesStarted, 3);
    QVERIFY(rig.prompts.records().isEmpty());
}

void TestReportCommands::exportWritesPdf_data() {
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<QString>("proposed"); // relative to the rig's folder, or a bare name
    QTest::newRow("opened file: its name as .pdf") << false << "a.pdf";
    QTest::newRow("untitled document") << true << "Report.pdf";
}

void TestReportCommands::exportWritesPdf() {
    QFETCH(bool, untitled);
    QFETCH(QString, proposed);
    Rig rig;
    rig.state.DocumentUntitled = untitled;
    const QString path = rig.dir.filePath(QStringLiteral("out.pdf"));
    rig.prompts.answerSaveFile(path);
    rig.commands.exportPdf();
    QVERIFY(rig.commands.isRunning());
    QCOMPARE(namedChild<QLabel>(*rig.commands.waitWindow(), "lblWaitDisplay")->text(),
             QStringLiteral("Generating Report, Please Standby ..."));
    rig.waitForReport();

    const Prompts::FileDialog dialog = rig.prompts.records().first().fileDialog;
    QCOMPARE(dialog.title, QStringLiteral("Export Report as PDF"));
    QCOMPARE(dialog.filter, QStringLiteral("PDF Files(*.pdf)|*.pdf|"));
    QCOMPARE(dialog.defaultSuffix, QStringLiteral("pdf"));
    QCOMPARE(dialog.fileName, untitled ? proposed : rig.dir.filePath(proposed));
    QVERIFY(dialog.overwritePrompt);
    QCOMPARE(rig.prompts.messageCount(), 0);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    QVERIFY(rig.script.jobsOpened.isEmpty());
}

void TestReportCommands::exportToUnwritablePathIsReported() {
    Rig rig;
    const QString path = rig.dir.filePath(QStringLiteral("no such folder/out.pdf"));
    rig.prompts.answerSaveFile(path);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.exportPdf();
    rig.waitForReport();
    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("VRAL"));
    QCOMPARE(box.text, QStringLiteral("The report could not be written to \"") + path +
                           QStringLiteral("\": the file could not be created."));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(rig.state.ReportMode, 0);
}

void TestReportCommands::exportCancelledWritesNothing() {
    Rig rig;
    rig.prompts.answerSaveFile(std::nullopt);
    rig.commands.exportPdf();
    QVERIFY(!rig.commands.isRunning());
    QCOMPARE(rig.prompts.records().size(), 1);
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestReportCommands)
#include "tst_reportcommands.moc"
