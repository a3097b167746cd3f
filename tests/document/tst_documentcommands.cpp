#include "appstate.h"
#include "documentcommands.h"
#include "filebytes.h"
#include "filesizelimit.h"
#include "manualclock.h"
#include "scriptedprompts.h"
#include "setupfile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFilter = QStringLiteral("Setup Files(*.sdt)|*.sdt|");
const QString kOldVersion = QStringLiteral("VRAL_R2.0.9");

QString versionMessage(const QString& version) {
    return QStringLiteral("File created by set-up program version: ") + version +
           QStringLiteral("\r\nData tables may not be properly aligned.\r\n\r\n"
                          "Do you wish to continue?");
}

// Everything the commands work on, fresh for each test: the state as the
// application has it after start-up.
struct Fixture {
    Fixture() : commands(state, prompts, clock) {
        state.InitDefaultDocument();
        state.gFileNamePath = dir.filePath("*.sdt");
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // A file holding the default document with some values changed.
    SetupDocument writeFile(const QString& name, const QString& version,
                            int addresses = SetupDocument::TableSize) {
        SetupDocument doc = state.DefaultDocument;
        doc.Version = version;
        doc.Values[0] = 31;
        doc.Values[100] = 4444;
        doc.OnSetpoints[3] = 99;
        doc.Addresses.resize(addresses);
        doc.Values.resize(addresses);
        for (int i = SetupDocument::TableSize; i < addresses; ++i) {
            doc.Addresses[i] = QStringLiteral("B%1").arg(i);
            doc.Values[i] = i;
        }
        if (!writeSetupFile(path(name), doc).ok())
            qFatal("cannot write the test file");
        return doc;
    }

    QTemporaryDir dir;
    AppState state;
    ScriptedPrompts prompts;
    ManualClock clock;
    DocumentCommands commands;
};

void verifySaveQuestion(const ScriptedPrompts::Record& box) {
    QCOMPARE(box.kind, ScriptedPrompts::Kind::Message);
    QCOMPARE(box.title, QStringLiteral("VRAL"));
    QCOMPARE(box.text, QStringLiteral("Save Changes to File?"));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::YesNoCancel);
}

} // namespace

// File > New, Open, Save, Save As and the question about unsaved changes.
class TestDocumentCommands : public QObject {
    Q_OBJECT

private slots:
    // Every member the program can change counts, so no edit is lost silently.
    void changeDetection_data() {
        QTest::addColumn<QString>("member");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("asks");
        QTest::newRow("unchanged") << "none" << 0 << false;
        QTest::newRow("value 0") << "Values" << 0 << true;
        QTest::newRow("value 178") << "Values" << 178 << true;
        QTest::newRow("address 12") << "Addresses" << 12 << true;
        QTest::newRow("channel 0 ON") << "OnSetpoints" << 0 << true;
        QTest::newRow("channel 7 OFF") << "OffSetpoints" << 7 << true;
        QTest::newRow("channel 8 ON") << "OnSetpoints" << 8 << true;
        QTest::newRow("channel 15 OFF") << "OffSetpoints" << 15 << true;
        QTest::newRow("speed compensation CH03") << "SpeedCompensation" << 3 << true;
        QTest::newRow("PLS channel count") << "PLSChannelCount" << 0 << true;
        QTest::newRow("PLS scale") << "PLSScale" << 0 << true;
        QTest::newRow("resolver offset") << "ResolverOffset" << 0 << true;
        QTest::newRow("PLS program") << "PLSProgram" << 0 << true;
        QTest::newRow("version of another release") << "Version" << 0 << true;
    }
    void changeDetection() {
        QFETCH(QString, member);
        QFETCH(int, index);
        QFETCH(bool, asks);
        Fixture f;
        SetupDocument& doc = f.state.CurrentDocument;
        if (member == "Values")
            doc.Values[index] += 1;
        else if (member == "Addresses")
            doc.Addresses[index] = QStringLiteral("B999");
        else if (member == "OnSetpoints")
            doc.OnSetpoints[index] += 1;
        else if (member == "OffSetpoints")
            doc.OffSetpoints[index] += 1;
        else if (member == "SpeedCompensation")
            doc.SpeedCompensation[index] = 4;
        else if (member == "PLSChannelCount")
            doc.PLSChannelCount = 8;
        else if (member == "PLSScale")
            doc.PLSScale = 720;
        else if (member == "ResolverOffset")
            doc.ResolverOffset = 12;
        else if (member == "PLSProgram")
            doc.PLSProgram = 3;
        else if (member == "Version")
            doc.Version = kOldVersion;

        if (asks)
            f.prompts.answerMessage(Prompts::Answer::No);
        const std::optional<Prompts::Answer> answer = f.commands.PromptSaveChanges();
        QCOMPARE(f.prompts.messageCount(), asks ? 1 : 0);
        if (asks) {
            verifySaveQuestion(f.prompts.messages().first());
            QCOMPARE(answer, std::optional(Prompts::Answer::No));
        } else {
            QCOMPARE(answer, std::nullopt);
        }
    }

    void newWithoutChanges() {
        Fixture f;
        f.state.DocumentOpened = false;
        f.state.gFileNameCaption = QStringLiteral("[old.sdt]");
        QSignalSpy caption(&f.commands, &DocumentCommands::captionChanged);
        QVERIFY(caption.isValid());
        f.commands.newDocument();
        QVERIFY(f.prompts.records().isEmpty());
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[unnamed]"));
        QCOMPARE(caption.count(), 1);
        QVERIFY(f.state.DocumentUntitled);
        QVERIFY(f.state.DocumentOpened);
    }

    void newAnswers_data() {
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<bool>("reset");
        QTest::newRow("Cancel keeps the edit") << Prompts::Answer::Cancel << false;
        QTest::newRow("No discards the edit") << Prompts::Answer::No << true;
    }
    void newAnswers() {
        QFETCH(Prompts::Answer, answer);
        QFETCH(bool, reset);
        Fixture f;
        f.state.CurrentDocument.Values[170] = 40;
        f.prompts.answerMessage(answer);
        f.commands.newDocument();
        QCOMPARE(f.prompts.records().size(), 1);
        verifySaveQuestion(f.prompts.records().first());
        QCOMPARE(f.state.CurrentDocument.Values[170], reset ? 33 : 40);
        QVERIFY(f.state.SavedDocument == f.state.DefaultDocument);
    }

    void newYesSavesFirst() {
        Fixture f;
        f.state.CurrentDocument.Values[170] = 40;
        f.prompts.answerMessage(Prompts::Answer::Yes);
        f.prompts.answerSaveFile(f.path("line 2.sdt"));
        f.commands.newDocument();
        const SetupFileReadResult saved = readSetupFile(f.path("line 2.sdt"));
        QVERIFY(saved.ok());
        QCOMPARE(saved.document.Values[170], 40);
        QVERIFY(f.state.CurrentDocument == f.state.DefaultDocument);
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[unnamed]"));
        // New keeps the last file's name: the export's first line uses it.
        QCOMPARE(f.state.gFileNameTitle, QStringLiteral("line 2.sdt"));
        QCOMPARE(f.state.gFileNamePath, f.path("line 2.sdt"));
    }

    // Yes, then cancelling the file name, must not throw the edit away.
    void newStopsWhenSaveIsCancelled() {
        Fixture f;
        f.state.CurrentDocument.Values[170] = 40;
        f.prompts.answerMessage(Prompts::Answer::Yes);
        f.prompts.answerSaveFile(std::nullopt);
        f.commands.newDocument();
        QCOMPARE(f.state.CurrentDocument.Values[170], 40);
        QVERIFY(f.state.DocumentUntitled);
    }

    void openDialogSettings() {
        Fixture f;
        f.prompts.answerOpenFile(std::nullopt);
        QSignalSpy caption(&f.commands, &DocumentCommands::captionChanged);
        QVERIFY(caption.isValid());
        f.commands.open();
        QCOMPARE(f.prompts.records().size(), 1);
        const ScriptedPrompts::Record dialog = f.prompts.records().first();
        QCOMPARE(dialog.kind, ScriptedPrompts::Kind::OpenFile);
        QCOMPARE(dialog.fileDialog.title, QStringLiteral("Open Set-up File"));
        QCOMPARE(dialog.fileDialog.filter, kFilter);
        QCOMPARE(dialog.fileDialog.fileName, f.path("*.sdt"));
        QVERIFY(dialog.fileDialog.mustExist);
        QVERIFY(f.state.DocumentUntitled);
        QCOMPARE(caption.count(), 0);
        QVERIFY(f.state.gUploadNOW.isEmpty());
    }

    void openAdoptsFileOfThisRelease() {
        Fixture f;
        const SetupDocument onDisk = f.writeFile("line 3.sdt", f.state.ProgramVersion);
        f.state.DocumentOpened = false;
        f.clock.advance(3600 * 1000);
        QSignalSpy caption(&f.commands, &DocumentCommands::captionChanged);
        QVERIFY(caption.isValid());
        f.prompts.answerOpenFile(f.path("line 3.sdt"));
        f.commands.open();
        QCOMPARE(f.prompts.messageCount(), 0);
        QVERIFY(f.state.CurrentDocument == onDisk);
        QVERIFY(f.state.SavedDocument == onDisk);
        QVERIFY(!f.state.DocumentUntitled);
        QVERIFY(f.state.DocumentOpened);
        QCOMPARE(f.state.gFileNamePath, f.path("line 3.sdt"));
        QCOMPARE(f.state.gFileNameTitle, QStringLiteral("line 3.sdt"));
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[line 3.sdt]"));
        QCOMPARE(caption.count(), 1);
        QCOMPARE(f.state.gUploadNOW, generalDateText(QDateTime(QDate(2026, 12, 7), QTime(9, 0))));
        QCOMPARE(f.commands.PromptSaveChanges(), std::nullopt);
        // The next Open proposes the file just opened.
        f.prompts.answerOpenFile(std::nullopt);
        f.commands.open();
        QCOMPARE(f.prompts.records().last().fileDialog.fileName, f.path("line 3.sdt"));
    }

    void openAskedAboutUnsavedChangesFirst() {
        Fixture f;
        f.writeFile("line 3.sdt", f.state.ProgramVersion);
        f.state.CurrentDocument.OffSetpoints[8] = 7;
        f.prompts.answerMessage(Prompts::Answer::No);
        f.prompts.answerOpenFile(f.path("line 3.sdt"));
        f.commands.open();
        QCOMPARE(f.prompts.records().size(), 2);
        verifySaveQuestion(f.prompts.records().at(0));
        QCOMPARE(f.state.CurrentDocument.Values[100], 4444);
    }

    void openOtherReleaseYes() {
        Fixture f;
        const SetupDocument onDisk = f.writeFile("old.sdt", kOldVersion);
        f.prompts.answerOpenFile(f.path("old.sdt"));
        f.prompts.answerMessage(Prompts::Answer::Yes);
        f.commands.open();
        QCOMPARE(f.prompts.messageCount(), 1);
        const ScriptedPrompts::Record box = f.prompts.messages().first();
        QCOMPARE(box.title, QStringLiteral("VRAL"));
        QCOMPARE(box.text, versionMessage(kOldVersion));
        QCOMPARE(box.icon, Prompts::Icon::Information);
        QCOMPARE(box.buttons, Prompts::Buttons::YesNoCancel);
        QVERIFY(f.state.CurrentDocument == onDisk);
        QCOMPARE(f.state.CurrentDocument.Version, kOldVersion);

        // Nothing edited, yet the older version counts as a change...
        f.prompts.answerMessage(Prompts::Answer::Cancel);
        QCOMPARE(f.commands.PromptSaveChanges(), std::optional(Prompts::Answer::Cancel));
        // ...and Save writes this release's version.
        QVERIFY(f.commands.save());
        QCOMPARE(readSetupFile(f.path("old.sdt")).document.Version, f.state.ProgramVersion);
        QCOMPARE(f.state.CurrentDocument.Version, f.state.ProgramVersion);
        QCOMPARE(f.commands.PromptSaveChanges(), std::nullopt);
    }

    void openOtherReleaseCancel() {
        Fixture f;
        f.writeFile("old.sdt", kOldVersion);
        f.prompts.answerOpenFile(f.path("old.sdt"));
        f.prompts.answerMessage(Prompts::Answer::Cancel);
        f.commands.open();
        QVERIFY(f.state.CurrentDocument == f.state.DefaultDocument);
        QVERIFY(f.state.DocumentUntitled);
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[unnamed]"));
        QVERIFY(f.state.gFileNameTitle.isEmpty());
        QCOMPARE(f.state.gFileNamePath, f.path("*.sdt"));
    }

    // No to the version question starts over with the open dialog; cancelling
    // it then leaves the previous document in force.
    void openOtherReleaseNoThenCancel() {
        Fixture f;
        const SetupDocument current = f.writeFile("line 3.sdt", f.state.ProgramVersion);
        f.prompts.answerOpenFile(f.path("line 3.sdt"));
        f.commands.open();
        f.writeFile("old.sdt", kOldVersion);
        f.prompts.clear();

        f.prompts.answerOpenFile(f.path("old.sdt"));
        f.prompts.answerMessage(Prompts::Answer::No);
        f.prompts.answerOpenFile(std::nullopt);
        f.commands.open();
        const QList<ScriptedPrompts::Record> records = f.prompts.records();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records.at(0).kind, ScriptedPrompts::Kind::OpenFile);
        QCOMPARE(records.at(1).text, versionMessage(kOldVersion));
        QCOMPARE(records.at(2).kind, ScriptedPrompts::Kind::OpenFile);
        QVERIFY(f.state.CurrentDocument == current);
        QCOMPARE(f.state.gFileNameTitle, QStringLiteral("line 3.sdt"));
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[line 3.sdt]"));
    }

    void openFitsTables_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("fewer than 179") << 100;
        QTest::newRow("more than 179") << 250;
    }
    void openFitsTables() {
        QFETCH(int, count);
        Fixture f;
        f.writeFile("other.sdt", f.state.ProgramVersion, count);
        f.prompts.answerOpenFile(f.path("other.sdt"));
        f.commands.open();
        const SetupDocument& doc = f.state.CurrentDocument;
        QCOMPARE(doc.Addresses.size(), 179);
        QCOMPARE(doc.Values.size(), 179);
        QCOMPARE(doc.Values[0], 31);
        QCOMPARE(doc.Addresses[99], QStringLiteral("W1212"));
        QCOMPARE(doc.Addresses[178], count > 178 ? QStringLiteral("B4011") : QString());
        QCOMPARE(doc.Values[178], count > 178 ? 10 : 0);
        QVERIFY(f.state.SavedDocument == doc);
    }

    // A damaged file changes nothing but is reported, naming the file.
    void openDamagedFile() {
        Fixture f;
        f.state.CurrentDocument.Values[5] = 9;
        const SetupDocument before = f.state.CurrentDocument;
        QByteArray bytes = encodeSetupDocument(f.state.DefaultDocument);
        bytes[13] = 2; // two-dimensional address table
        QFile file(f.path("bad.sdt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        f.prompts.answerMessage(Prompts::Answer::No);
        f.prompts.answerOpenFile(f.path("bad.sdt"));
        f.prompts.answerMessage(Prompts::Answer::Ok);
        QSignalSpy caption(&f.commands, &DocumentCommands::captionChanged);
        QVERIFY(caption.isValid());
        f.commands.open();
        QCOMPARE(f.prompts.messageCount(), 2);
        const ScriptedPrompts::Record box = f.prompts.messages().at(1);
        QCOMPARE(box.title, QStringLiteral("VRAL"));
        QVERIFY2(box.text.startsWith(QStringLiteral("Could not open the set-up file:\r\n") +
                                     QDir::toNativeSeparators(f.path("bad.sdt")) +
                                     QStringLiteral("\r\n\r\n")),
                 qPrintable(box.text));
        QVERIFY(box.text.size() > box.text.lastIndexOf("\r\n") + 2);
        QCOMPARE(box.icon, Prompts::Icon::Exclamation);
        QCOMPARE(box.buttons, Prompts::Buttons::Ok);
        QVERIFY(f.state.CurrentDocument == before);
        QVERIFY(f.state.SavedDocument == f.state.DefaultDocument);
        QVERIFY(f.state.DocumentUntitled);
        QCOMPARE(f.state.gFileNamePath, f.path("*.sdt"));
        QVERIFY(f.state.gUploadNOW.isEmpty());
        QCOMPARE(caption.count(), 0);
    }

    void saveUntitledRunsSaveAs() {
        Fixture f;
        f.prompts.answerSaveFile(f.path("new.sdt"));
        QSignalSpy caption(&f.commands, &DocumentCommands::captionChanged);
        QVERIFY(caption.isValid());
        QVERIFY(f.commands.save());
        const ScriptedPrompts::Record dialog = f.prompts.records().first();
        QCOMPARE(dialog.kind, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(dialog.fileDialog.title, QStringLiteral("Save Set-up File As"));
        QCOMPARE(dialog.fileDialog.filter, kFilter);
        QCOMPARE(dialog.fileDialog.defaultSuffix, QStringLiteral("sdt"));
        QVERIFY(dialog.fileDialog.fileName.isEmpty());
        QVERIFY(dialog.fileDialog.overwritePrompt);
        // A new, unedited document is 2,092 bytes and opens without the version question.
        QCOMPARE(QFileInfo(f.path("new.sdt")).size(), 2092);
        QVERIFY(!f.state.DocumentUntitled);
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[new.sdt]"));
        QCOMPARE(caption.count(), 1);
        f.prompts.answerOpenFile(f.path("new.sdt"));
        f.commands.open();
        QCOMPARE(f.prompts.messageCount(), 0);
        QVERIFY(f.state.CurrentDocument == f.state.DefaultDocument);
    }

    void saveAsCancelLeavesUntitled() {
        Fixture f;
        f.state.CurrentDocument.Values[3] = 2;
        f.prompts.answerSaveFile(std::nullopt);
        QVERIFY(!f.commands.save());
        QVERIFY(f.state.DocumentUntitled);
        QVERIFY(f.state.SavedDocument == f.state.DefaultDocument);
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[unnamed]"));
        QVERIFY(f.state.gFileNameTitle.isEmpty());
    }

    void saveTitledWritesWithoutAsking() {
        Fixture f;
        f.writeFile("line 3.sdt", f.state.ProgramVersion);
        f.prompts.answerOpenFile(f.path("line 3.sdt"));
        f.commands.open();
        f.state.CurrentDocument.OnSetpoints[9] = 222;
        QVERIFY(f.commands.save());
        QCOMPARE(f.prompts.records().size(), 1);
        QCOMPARE(readSetupFile(f.path("line 3.sdt")).document.OnSetpoints[9], 222);
        QVERIFY(f.state.SavedDocument == f.state.CurrentDocument);
        QCOMPARE(f.commands.PromptSaveChanges(), std::nullopt);
    }

    // A disk that fills up: the old file, both documents and the caption
    // stay as they were, and the user is told which file and why.
    void saveFailure() {
        Fixture f;
        f.writeFile("line 3.sdt", f.state.ProgramVersion);
        f.prompts.answerOpenFile(f.path("line 3.sdt"));
        f.commands.open();
        const QByteArray oldBytes = fileBytes(f.path("line 3.sdt"));
        f.state.CurrentDocument.Values[161] = 25;
        const AppState before = f.state;
        QSignalSpy caption(&f.commands, &DocumentCommands::captionChanged);
        QVERIFY(caption.isValid());

        f.prompts.answerMessage(Prompts::Answer::Ok);
        bool saved = true;
        {
            FileSizeLimit limit(1000);
            QVERIFY(limit.active());
            saved = f.commands.save();
        }
        QVERIFY(!saved);
        QCOMPARE(fileBytes(f.path("line 3.sdt")), oldBytes);
        QVERIFY(f.state.CurrentDocument == before.CurrentDocument);
        QVERIFY(f.state.SavedDocument == before.SavedDocument);
        QCOMPARE(f.state.gFileNameCaption, before.gFileNameCaption);
        QCOMPARE(caption.count(), 0);
        QCOMPARE(f.prompts.messageCount(), 1);
        const ScriptedPrompts::Record box = f.prompts.messages().first();
        QCOMPARE(box.title, QStringLiteral("VRAL"));
        QVERIFY2(box.text.startsWith(QStringLiteral("Could not save the set-up file:\r\n") +
                                     QDir::toNativeSeparators(f.path("line 3.sdt")) +
                                     QStringLiteral("\r\n\r\n")),
                 qPrintable(box.text));
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QCOMPARE(box.buttons, Prompts::Buttons::Ok);
        // The edit is still there to be saved elsewhere.
        f.prompts.answerMessage(Prompts::Answer::Cancel);
        QCOMPARE(f.commands.PromptSaveChanges(), std::optional(Prompts::Answer::Cancel));
    }

    // A Save As that cannot write keeps the document's old name (here: none).
    void saveAsFailureKeepsOldName() {
        Fixture f;
        f.prompts.answerSaveFile(f.path("missing folder/new.sdt"));
        f.prompts.answerMessage(Prompts::Answer::Ok);
        QVERIFY(!f.commands.saveAs());
        QCOMPARE(f.prompts.messages().first().icon, Prompts::Icon::Critical);
        QVERIFY(f.state.DocumentUntitled);
        QCOMPARE(f.state.gFileNamePath, f.path("*.sdt"));
        QVERIFY(f.state.gFileNameTitle.isEmpty());
        QCOMPARE(f.state.gFileNameCaption, QStringLiteral("[unnamed]"));
    }
};

QTEST_APPLESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
