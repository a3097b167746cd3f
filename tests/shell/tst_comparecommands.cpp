// File > "Compare with &Board..." and "Compare with &File..." as the user
// meets them: the board read in the progress window, the Open dialog, the
// comparison window's count, marks, filters, Copy and Save As; and that
// nothing of it changes the documents, the files or the board.
#include "appstate.h"
#include "boardrig.h"
#include "commandcontext.h"
#include "comparecommands.h"
#include "datatransfer.h"
#include "frmcompare.h"
#include "frmprocessing.h"
#include "onlinesession.h"
#include "setupfile.h"
#include "stepdriver.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString kRetractLabel = QStringLiteral("1. Print Trip Retract Response Time (msec):");

struct CompareRig : BoardRig {
    AppState state;
    OnlineSession online{link, port};
    StepDriver statusPoll{link, [] {}, StepDriver::every(500)};
    CommandContext context{state, link, prompts, clock, folder, online, statusPoll, nullptr};
    CompareCommands commands{context, nullptr};

    CompareRig() {
        state.InitDefaultDocument();
        // An unsaved edit, which a comparison must neither save nor lose.
        state.CurrentDocument.Values[170] = 40;
    }
    // The board holds the document, as after a download of "&All".
    bool holdDocument() {
        link.OpenRSComm(port);
        DataTransfer download(state, link, prompts, 14);
        while (download.step()) {
        }
        port.clearWire();
        return download.outcome() == DataTransfer::Outcome::Completed;
    }
    QString readBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

template <class T> T* child(QWidget* parent, const char* name) {
    return parent ? parent->findChild<T*>(QLatin1String(name)) : nullptr;
}

QString countText(frmCompare* window) {
    return child<QLabel>(window, "lblCount")->text();
}

// The item rows under their section rows: "mark | item | left | right".
QStringList rows(frmCompare* window) {
    QStringList result;
    auto* table = child<QTreeWidget>(window, "tvwCompare");
    for (int s = 0; s < table->topLevelItemCount(); ++s)
        for (int r = 0; r < table->topLevelItem(s)->childCount(); ++r) {
            const QTreeWidgetItem* row = table->topLevelItem(s)->child(r);
            result << QStringLiteral("%1 | %2 | %3 | %4")
                          .arg(row->text(0), row->text(1), row->text(2), row->text(3));
        }
    return result;
}

} // namespace

class TestCompareCommands : public QObject {
    Q_OBJECT

private slots:
    void boardComparisonOnlyReads();
    void fileComparisonCopyAndSave();
};

void TestCompareCommands::boardComparisonOnlyReads() {
    CompareRig rig;
    QVERIFY(rig.holdDocument());
    rig.board.setMemory(1012, 25);
    rig.board.setMemory(1104, 7); // a shift counter: total blow-offs
    const QByteArray memory = rig.board.memoryImage();
    const AppState before = rig.state;

    rig.commands.compareWithBoard();
    frmProcessing* progress = rig.commands.processingWindow();
    QVERIFY(progress);
    QCOMPARE(child<QLabel>(progress, "lblProcessing")->text(),
             QStringLiteral("Uploading Data, Please Standby..."));
    QVERIFY(QTest::qWaitFor([&rig] { return rig.commands.comparisonWindow() != nullptr; }, 10000));
    frmCompare* window = rig.commands.comparisonWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Compare with Board"));
    QCOMPARE(countText(window), QStringLiteral("1 of 63 items differ"));
    QCOMPARE(rows(window), QStringList{QStringLiteral("\u2260 | ") + kRetractLabel + " | 20 | 25"});

    child<QCheckBox>(window, "chkIncludeShift")->setChecked(true);
    QCOMPARE(countText(window), QStringLiteral("2 of 223 items differ"));
    QCOMPARE(rows(window).last(), QStringLiteral("\u2260 | 2. Total Blow-offs: | 0 | 7"));
    child<QCheckBox>(window, "chkOnlyDifferences")->setChecked(false);
    QCOMPARE(rows(window).size(), 223);
    QCOMPARE(rows(window).first(), QStringLiteral("\u2260 | ") + kRetractLabel + " | 20 | 25");

    // The board, the documents and the unsaved edit are as they were (the
    // wire itself is checked where the read is tested).
    QCOMPARE(rig.board.memoryImage(), memory);
    QCOMPARE(rig.state.CurrentDocument, before.CurrentDocument);
    QCOMPARE(rig.state.SavedDocument, before.SavedDocument);
    QCOMPARE(rig.state.gUploadNOW, before.gUploadNOW);
    QVERIFY(QTest::qWaitFor([&rig] { return rig.commands.processingWindow() == nullptr; }));
    delete window;
}

void TestCompareCommands::fileComparisonCopyAndSave() {
    CompareRig rig;
    SetupDocument other = rig.state.CurrentDocument;
    other.Values[177] = 7;
    other.Values[49] = 1234567;
    const QString file = rig.home.filePath(QStringLiteral("other.sdt"));
    QVERIFY(writeSetupFile(file, other).ok());
    const QString fileBytes = rig.readBytes(file);
    const AppState before = rig.state;

    rig.prompts.answerOpenFile(file);
    rig.commands.compareWithFile();
    const ScriptedPrompts::Record dialog = rig.prompts.records().first();
    QCOMPARE(dialog.kind, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(dialog.fileDialog.filter, QStringLiteral("Setup Files(*.sdt)|*.sdt|"));
    QVERIFY(dialog.fileDialog.mustExist);
    frmCompare* window = rig.commands.comparisonWindow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Compare with File"));
    // It fits a 1366 x 768 screen; the table scrolls.
    QVERIFY(window->width() <= 1366 && window->height() <= 700);
    QCOMPARE(countText(window), QStringLiteral("1 of 63 items differ"));
    QCOMPARE(window->copyText(), QStringLiteral("Section\tItem\tDocument\tFile\tDiffers\n"
                                                "DF1 Bridge\tDestination Node:\t1\t7\tyes\n"));

    // The window shows the counter as the report prints it; the CSV keeps
    // plain numbers for a spreadsheet.
    child<QCheckBox>(window, "chkIncludeShift")->setChecked(true);
    QVERIFY(rows(window).contains(QStringLiteral("\u2260 | 1. Total Good Cans: | 0 | ") +
                                  QLocale().toString(1234567)));
    const QString csv = rig.home.filePath(QStringLiteral("diff.csv"));
    rig.prompts.answerSaveFile(csv);
    QTest::mouseClick(child<QPushButton>(window, "cmdSaveAs"), Qt::LeftButton);
    QCOMPARE(rig.prompts.records().last().fileDialog.defaultSuffix, QStringLiteral("csv"));
    QCOMPARE(rig.readBytes(csv), QStringLiteral("Section,Item,Document,File,Differs\r\n"
                                                "B. Current Shift Data,1. Total Good "
                                                "Cans:,0,1234567,yes\r\n"
                                                "DF1 Bridge,Destination Node:,1,7,yes\r\n"));

    QCOMPARE(rig.readBytes(file), fileBytes);
    QCOMPARE(rig.state.CurrentDocument, before.CurrentDocument);
    QCOMPARE(rig.state.SavedDocument, before.SavedDocument);
    QCOMPARE(rig.state.gFileNamePath, before.gFileNamePath);
    QVERIFY(rig.port.sentBytes().isEmpty());
    delete window;
}

QTEST_MAIN(TestCompareCommands)
#include "tst_comparecommands.moc"
