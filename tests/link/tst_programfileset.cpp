#include "programfileset.h"
#include "scriptedprompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Selecting a program file set: which sets may be downloaded, and every box
// the user sees on the way (title, text, icon, buttons), for each board class
// and each missing, empty, unreadable or malformed companion file.
class TestProgramFileSet : public QObject {
    Q_OBJECT

private slots:
    void downloadCheck_data();
    void downloadCheck();
    void identAndConfigRead();
    void pathsOfTheSet();
    void unreadableFiles_data();
    void unreadableFiles();
    void uploadSelection();
};

namespace {

// A file that is not there, and one that cannot be read (a folder of that name).
const QByteArray kNone("<none>");
const QByteArray kFolder("<folder>");

const QByteArray kGoodRevision("ABCDEFGH1<05\r\n");
const QByteArray kGoodConfig("8" + QByteArray(34, '0') +
                             "2"
                             "00"
                             "7"
                             "1"
                             "000%\r\n");

struct FileSetDir {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    void put(const QString& name, const QByteArray& content) const {
        if (content == kNone)
            return;
        if (content == kFolder) {
            QVERIFY(QDir(dir.path()).mkdir(name));
            return;
        }
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

// One box as "title|icon|text"; icon as its number.
QString box(const QString& title, Prompts::Icon icon, const QString& text) {
    return QStringLiteral("%1|%2|%3").arg(title).arg(int(icon)).arg(text);
}

QStringList boxes(const ScriptedPrompts& prompts, const QString& folder) {
    QStringList shown;
    for (const ScriptedPrompts::Record& r : prompts.messages()) {
        if (r.buttons != Prompts::Buttons::Ok)
            shown << QStringLiteral("not an OK box: ") + r.title;
        shown << box(r.title, r.icon, QString(r.text).replace(folder, QStringLiteral("{dir}")));
    }
    return shown;
}

const QString kHalted = QStringLiteral("\r\n\r\nProgram Downloaded Halted!");

} // namespace

void TestProgramFileSet::downloadCheck_data() {
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("revision");
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QStringList>("messages");

    const QString revBad = box("Program Download", Prompts::Icon::Exclamation,
                               "{dir}/prog.rev Revision File is Not Valid" + kHalted);
    const QString cfgBad = box("Program Download", Prompts::Icon::Exclamation,
                               "{dir}/prog.lcf Configuration File is Not Valid" + kHalted);

    QTest::newRow("plain board, good revision, no configuration")
        << QByteArray("2,x") << kGoodRevision << kNone << true << QStringList();
    QTest::newRow("configured board, both good")
        << QByteArray("8,x") << kGoodRevision << kGoodConfig << true << QStringList();
    QTest::newRow("configured board A, both good")
        << QByteArray("\"A\",x") << kGoodRevision << kGoodConfig << true << QStringList();
    QTest::newRow("PLS board E") << QByteArray("E,x") << kGoodRevision << kGoodConfig << false
                                 << QStringList{
                                        box("PLS Program Download", Prompts::Icon::Information,
                                            "prog file is a PLS target board program.\r\n"
                                            "Open PLS program to download to target board.\r\n\r\n"
                                            "Program Downloaded Halted.")};
    QTest::newRow("PLS board inside 8..A")
        << QByteArray("?") << kGoodRevision << kGoodConfig << false
        << QStringList{box("PLS Program Download", Prompts::Icon::Information,
                           "prog file is a PLS target board program.\r\n"
                           "Open PLS program to download to target board.\r\n\r\n"
                           "Program Downloaded Halted.")};
    const QString incompatible = box("Program Download", Prompts::Icon::Critical,
                                     "prog file is incompatible with target board." + kHalted);
    QTest::newRow("code 1") << QByteArray("1") << kGoodRevision << kNone << false
                            << QStringList{incompatible};
    QTest::newRow("code 9") << QByteArray("9") << kGoodRevision << kGoodConfig << false
                            << QStringList{incompatible};
    QTest::newRow("code F") << QByteArray("F") << kGoodRevision << kNone << false
                            << QStringList{incompatible};
    QTest::newRow("plain board, no revision")
        << QByteArray("2") << kNone << kGoodConfig << false << QStringList{revBad};
    QTest::newRow("plain board, empty revision")
        << QByteArray("D") << QByteArray() << kNone << false << QStringList{revBad};
    QTest::newRow("configured board, no configuration")
        << QByteArray("8") << kGoodRevision << kNone << false << QStringList{cfgBad};
    QTest::newRow("configured board, empty configuration")
        << QByteArray("8") << kGoodRevision << QByteArray() << false << QStringList{cfgBad};
    QTest::newRow("configured board, no revision, good configuration")
        << QByteArray("8") << kNone << kGoodConfig << false << QStringList{revBad};
    QTest::newRow("configured board, neither")
        << QByteArray(":") << kNone << kNone << false << QStringList{revBad, cfgBad};
    QTest::newRow("revision field too short")
        << QByteArray("3") << QByteArray("0:5\r\n") << kNone << false
        << QStringList{box("RSComm-Set Program Ident", Prompts::Icon::Critical,
                           "Error Number = 1102\r\n\r\nThe revision field has fewer than the "
                           "four characters of its checksum and revision."),
                       revBad};
    QTest::newRow("revision digit not MarkHex")
        << QByteArray("3") << QByteArray("IDENT0x05") << kNone << false
        << QStringList{box("RSComm-Set Program Ident", Prompts::Icon::Critical,
                           "Error Number = 1103\r\n\r\nThe checksum and revision at the end of "
                           "the revision field are not MarkHex digits."),
                       revBad};
    QTest::newRow("configuration line too short")
        << QByteArray("=") << kGoodRevision << QByteArray("8000\r\n") << false
        << QStringList{box("RSComm-Set Program Config", Prompts::Icon::Critical,
                           "Error Number = 1104\r\n\r\nThe configuration line has 4 characters; "
                           "its values stand at positions 36, 39 and 40."),
                       cfgBad};
    QTest::newRow("configuration value not a digit")
        << QByteArray("=") << kGoodRevision << QByteArray(kGoodConfig).replace(35, 1, "x") << false
        << QStringList{box("RSComm-Set Program Config", Prompts::Icon::Critical,
                           "Error Number = 1105\r\n\r\nA configuration value at position 36, 39 "
                           "or 40 is not a decimal digit, or B8189 is above 255."),
                       cfgBad};
    QTest::newRow("empty program file: no box")
        << QByteArray() << kGoodRevision << kGoodConfig << false << QStringList();
    QTest::newRow("program file with an empty field: no box")
        << QByteArray(",8\r\n") << kGoodRevision << kGoodConfig << false << QStringList();
    QTest::newRow("no program file: no box")
        << kNone << kGoodRevision << kGoodConfig << false << QStringList();
}

void TestProgramFileSet::downloadCheck() {
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, revision);
    QFETCH(QByteArray, config);
    QFETCH(bool, valid);
    QFETCH(QStringList, messages);
    FileSetDir set;
    set.put("prog.wdx", program);
    set.put("prog.rev", revision);
    set.put("prog.lcf", config);
    ScriptedPrompts prompts;
    prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    ProgramFileSet files(prompts);
    files.setValid(true); // a previous good set: the check must clear it
    files.DownloadFile(set.path("prog.wdx"));
    QCOMPARE(boxes(prompts, set.dir.path()), messages);
    QCOMPARE(files.valid(), valid);
}

void TestProgramFileSet::identAndConfigRead() {
    FileSetDir set;
    set.put("prog.wdx", "8,x");
    set.put("prog.rev", kGoodRevision);
    set.put("prog.lcf", kGoodConfig);
    ScriptedPrompts prompts;
    prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    ProgramFileSet files(prompts);
    files.DownloadFile(set.path("prog.wdx"));
    QVERIFY(files.valid());
    QCOMPARE(files.BoardCode, int('8'));
    QVERIFY(!files.BoardName.isEmpty());
    QCOMPARE(files.IdentOnDisk, QStringLiteral("ABCDEFGH"));
    QCOMPARE(files.ChecksumOnDisk, QStringLiteral("28"));
    QCOMPARE(files.RevisionOnDisk, QStringLiteral("5"));
    QCOMPARE(files.config.code8190, 2);
    QCOMPARE(files.config.value8189, 7);
    QCOMPARE(files.config.code8188, 1);

    // A second set whose files fail resets what the first one said.
    FileSetDir other;
    other.put("bad.wdx", "8,x");
    other.put("bad.rev", "012");
    other.put("bad.lcf", "8");
    files.DownloadFile(other.path("bad.wdx"));
    QVERIFY(!files.valid());
    QCOMPARE(files.IdentOnDisk, QStringLiteral("Unknown"));
    QCOMPARE(files.ChecksumOnDisk, QStringLiteral("Unknown"));
    QCOMPARE(files.RevisionOnDisk, QStringLiteral("Unknown"));
    QCOMPARE(files.config.code8190, 3);
    QCOMPARE(files.config.value8189, 0);
    QCOMPARE(files.config.code8188, 3);
}

void TestProgramFileSet::pathsOfTheSet() {
    FileSetDir set;
    set.put("Prog.WDX", "2");
    set.put("Prog.rev", kGoodRevision);
    ScriptedPrompts prompts;
    prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    ProgramFileSet files(prompts);
    files.DownloadFile(set.path("Prog.WDX"));
    // The picked file as it is; the companions with lower-case extensions.
    QCOMPARE(files.ProgramPath, set.path("Prog.WDX"));
    QCOMPARE(files.RevisionPath, set.path("Prog.rev"));
    QCOMPARE(files.ImagePath, set.path("Prog.hex"));
    QCOMPARE(files.ConfigPath, set.path("Prog.lcf"));
    QVERIFY(files.valid());
}

void TestProgramFileSet::unreadableFiles_data() {
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QStringList>("unreadable");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("download: program file")
        << false << QStringList{"prog.wdx"} << QStringList{"RSComm-Download File"};
    QTest::newRow("upload: program file")
        << true << QStringList{"prog.wdx"} << QStringList{"RSComm UploadFile"};
    QTest::newRow("download: revision file")
        << false << QStringList{"prog.rev"}
        << QStringList{"RSComm-Set Program Ident", "Program Download"};
    QTest::newRow("download: configuration file")
        << false << QStringList{"prog.lcf"}
        << QStringList{"RSComm-Set Program Config", "Program Download"};
}

void TestProgramFileSet::unreadableFiles() {
    QFETCH(bool, upload);
    QFETCH(QStringList, unreadable);
    QFETCH(QStringList, titles);
    FileSetDir set;
    for (const QString& name :
         {QStringLiteral("prog.wdx"), QStringLiteral("prog.rev"), QStringLiteral("prog.lcf")})
        set.put(name, unreadable.contains(name) ? kFolder
                      : name.endsWith("wdx")    ? QByteArray("8")
                      : name.endsWith("rev")    ? kGoodRevision
                                                : kGoodConfig);
    ScriptedPrompts prompts;
    prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    ProgramFileSet files(prompts);
    if (upload)
        files.UploadFile(set.path("prog.wdx"));
    else
        files.DownloadFile(set.path("prog.wdx"));
    QStringList shown;
    for (const ScriptedPrompts::Record& r : prompts.messages())
        shown << r.title;
    QCOMPARE(shown, titles);
    const ScriptedPrompts::Record first = prompts.messages().first();
    QVERIFY2(first.text.startsWith(QStringLiteral("Error Number = 1101\r\n\r\n")),
             qPrintable(first.text));
    QVERIFY(first.text.contains(set.path(unreadable.first())));
    QCOMPARE(first.icon, titles.first().startsWith("RSComm-Set") ? Prompts::Icon::Critical
                                                                 : Prompts::Icon::Information);
    QVERIFY(!files.valid());
}

void TestProgramFileSet::uploadSelection() {
    FileSetDir set;
    set.put("prog.wdx", "D,x");
    ScriptedPrompts prompts;
    prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    ProgramFileSet files(prompts);
    // No companion file is needed and nothing is checked or said.
    files.UploadFile(set.path("prog.wdx"));
    QCOMPARE(prompts.messageCount(), 0);
    QCOMPARE(files.BoardCode, int('D'));
    QCOMPARE(files.ImagePath, set.path("prog.hex"));
    QVERIFY(!files.valid());
    // A program file that is gone leaves no code behind for the upload.
    files.UploadFile(set.path("gone.wdx"));
    QCOMPARE(files.BoardCode, 0);
    QCOMPARE(prompts.messageCount(), 0);
}

QTEST_GUILESS_MAIN(TestProgramFileSet)
#include "tst_programfileset.moc"
