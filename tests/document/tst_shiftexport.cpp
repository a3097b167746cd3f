#include "appstate.h"
#include "documentcommands.h"
#include "filebytes.h"
#include "filesizelimit.h"
#include "manualclock.h"
#include "scriptedprompts.h"
#include "shiftexport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kLegend = QStringLiteral(
    "(Good Can, Total Blow-off, Misloads, Manual Blow-offs, QC Blow-offs, Restart Blow-off, "
    "Drive Side Trips, Off Side Trips)");

// Value i of the table is 10 * i + 1, so each line shows which element it holds.
AppState exportState() {
    AppState state;
    state.InitDefaultDocument();
    for (int i = 0; i < SetupDocument::TableSize; ++i)
        state.CurrentDocument.Values[i] = 10 * i + 1;
    state.CurrentDocument.Values[49] = 123456789; // no digit grouping
    state.CurrentDocument.Values[56] = -5;
    state.gFileNameTitle = QStringLiteral("line 3.sdt");
    state.gUploadNOW = QStringLiteral("07/12/2026 08:00");
    return state;
}

QStringList lines(const QByteArray& text) {
    QStringList result = QString::fromLatin1(text).split(QStringLiteral("\r\n"));
    if (result.last().isEmpty())
        result.removeLast();
    return result;
}

} // namespace

// File > Export Shift Data: the text file and the command around it.
class TestShiftExport : public QObject {
    Q_OBJECT

private slots:
    // The whole file, byte for byte, as field tools have read it.
    void matchesGoldenFile() {
        const QByteArray golden =
            fileBytes(qEnvironmentVariable("VRAL_TEST_DATA") + QStringLiteral("/shift-export.txt"));
        QVERIFY(!golden.isEmpty());
        QCOMPARE(shiftDataText(exportState()), golden);
    }

    void everyLineEndsWithCrLf() {
        const QByteArray text = shiftDataText(exportState());
        QVERIFY(text.endsWith("\r\n"));
        QCOMPARE(text.count("\r\n"), 128);
        QCOMPARE(text.count('\n'), 128);
        QCOMPARE(text.count('\r'), 128);
        QCOMPARE(lines(text).size(), 128);
    }

    void line_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::newRow("file title") << 0 << "line 3.sdt";
        QTest::newRow("upload date") << 1 << "Date: 07/12/2026 08:00";
        QTest::newRow("block 1 separator") << 2 << " ";
        QTest::newRow("block 1 heading") << 3 << "Current Shift Data:";
        QTest::newRow("block 1 legend") << 4 << kLegend;
        QTest::newRow("good cans, ungrouped") << 5 << "123456789";
        QTest::newRow("total blow-offs") << 6 << "501";
        QTest::newRow("off side trips, negative") << 12 << "-5";
        QTest::newRow("block 2 separator") << 13 << " ";
        QTest::newRow("block 2 heading") << 14 << "Current Shift Trips per (Drive-Side):";
        QTest::newRow("current drive spindle 1") << 15 << "571";
        QTest::newRow("current drive spindle 24") << 38 << "801";
        QTest::newRow("block 3 separator") << 39 << " ";
        QTest::newRow("block 3 heading") << 40 << "Current Shift Trips per (Off-Side):";
        QTest::newRow("current off spindle 1") << 41 << "811";
        QTest::newRow("current off spindle 24") << 64 << "1041";
        QTest::newRow("block 4 separator") << 65 << " ";
        QTest::newRow("block 4 heading") << 66 << "Last Shift Data:";
        QTest::newRow("block 4 legend") << 67 << kLegend;
        QTest::newRow("last good cans") << 68 << "1051";
        QTest::newRow("last off side trips") << 75 << "1121";
        QTest::newRow("block 5 separator") << 76 << " ";
        QTest::newRow("block 5 heading") << 77 << "Last Shift Trips per (Drive-Side):";
        QTest::newRow("last drive spindle 1") << 78 << "1131";
        QTest::newRow("last drive spindle 24") << 101 << "1361";
        QTest::newRow("block 6 separator") << 102 << " ";
        QTest::newRow("block 6 heading") << 103 << "Last Shift Trips per (Off-Side):";
        QTest::newRow("last off spindle 1") << 104 << "1371";
        QTest::newRow("last off spindle 24, last line") << 127 << "1601";
    }
    void line() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QCOMPARE(lines(shiftDataText(exportState())).at(line), text);
    }

    void untitledBeforeAnyFileOrUpload() {
        AppState state;
        state.InitDefaultDocument();
        const QStringList text = lines(shiftDataText(state));
        QCOMPARE(text.at(0), QStringLiteral("untitled"));
        QCOMPARE(text.at(1), QStringLiteral("Date: "));
    }

    // New does not forget the last file's title, so the export still names it.
    void newKeepsTheLastFileTitle() {
        QTemporaryDir dir;
        AppState state = exportState();
        state.CurrentDocument = state.DefaultDocument;
        ScriptedPrompts prompts;
        ManualClock clock;
        DocumentCommands commands(state, prompts, clock);
        prompts.answerSaveFile(dir.filePath("line 3.sdt"));
        QVERIFY(commands.saveAs());
        commands.newDocument();
        QCOMPARE(lines(shiftDataText(state)).at(0), QStringLiteral("line 3.sdt"));
    }

    void exportWritesTheFile() {
        QTemporaryDir dir;
        AppState state = exportState();
        ScriptedPrompts prompts;
        prompts.answerSaveFile(dir.filePath("shift.txt"));
        QVERIFY(exportShiftData(state, prompts));
        QCOMPARE(prompts.records().size(), 1);
        const Prompts::FileDialog dialog = prompts.records().first().fileDialog;
        QCOMPARE(prompts.records().first().kind, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(dialog.title, QStringLiteral("Export Shift Data"));
        QCOMPARE(dialog.filter, QStringLiteral("Text Files(*.txt)|*.txt|"));
        QCOMPARE(dialog.defaultSuffix, QStringLiteral("txt"));
        QVERIFY(dialog.fileName.isEmpty());
        QVERIFY(dialog.overwritePrompt);
        QCOMPARE(fileBytes(dir.filePath("shift.txt")), shiftDataText(state));
        QCOMPARE(state.gFileExportPath, dir.filePath("shift.txt"));

        // The next export proposes the same file and replaces its content.
        state.CurrentDocument.Values[49] = 7;
        prompts.answerSaveFile(dir.filePath("shift.txt"));
        QVERIFY(exportShiftData(state, prompts));
        QCOMPARE(prompts.records().last().fileDialog.fileName, dir.filePath("shift.txt"));
        QCOMPARE(lines(fileBytes(dir.filePath("shift.txt"))).at(5), QStringLiteral("7"));
    }

    void cancelEndsSilently() {
        AppState state = exportState();
        state.gFileExportPath = QStringLiteral("/somewhere/last.txt");
        ScriptedPrompts prompts;
        prompts.answerSaveFile(std::nullopt);
        QVERIFY(!exportShiftData(state, prompts));
        QCOMPARE(prompts.records().size(), 1);
        QCOMPARE(prompts.records().first().fileDialog.fileName,
                 QStringLiteral("/somewhere/last.txt"));
        QCOMPARE(state.gFileExportPath, QStringLiteral("/somewhere/last.txt"));
    }

    void failedExportIsReportedAndKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("shift.txt");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier export\r\n");
        old.close();

        AppState state = exportState();
        ScriptedPrompts prompts;
        prompts.answerSaveFile(path);
        prompts.answerMessage(Prompts::Answer::Ok);
        bool exported = true;
        {
            FileSizeLimit limit(100);
            QVERIFY(limit.active());
            exported = exportShiftData(state, prompts);
        }
        QVERIFY(!exported);
        QCOMPARE(fileBytes(path), QByteArray("earlier export\r\n"));
        QCOMPARE(prompts.messageCount(), 1);
        const ScriptedPrompts::Record box = prompts.messages().first();
        QCOMPARE(box.title, QStringLiteral("VRAL"));
        QVERIFY2(box.text.startsWith(QStringLiteral("Could not export the shift data:\r\n") +
                                     QDir::toNativeSeparators(path) + QStringLiteral("\r\n\r\n")),
                 qPrintable(box.text));
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    }
};

QTEST_APPLESS_MAIN(TestShiftExport)
#include "tst_shiftexport.moc"
