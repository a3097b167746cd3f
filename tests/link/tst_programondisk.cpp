// What the target board page reads of a program file set on disk: the
// revision file's ident, revision and checksum, the image file's date, and
// the box for a revision field that cannot be read.
#include "generaldate.h"
#include "programondisk.h"
#include "scriptedprompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestProgramOnDisk : public QObject {
    Q_OBJECT

private slots:
    void revisionFile_data();
    void revisionFile();
    void programFileMissing();
};

void TestProgramOnDisk::revisionFile_data() {
    QTest::addColumn<QByteArray>("rev"); // null: no revision file
    QTest::addColumn<QString>("ident");
    QTest::addColumn<int>("revision");
    QTest::addColumn<int>("checksum");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("box"); // empty: no box
    QTest::newRow("MarkHex checksum and revision")
        << QByteArray("DEMO-4.2:704\r\n") << "DEMO-4.2" << 4 << 167 << true << "";
    QTest::newRow("ident of an upload: its NUL shows as nothing")
        << QByteArray("OLDPROG\0"
                      "0:02\r\n",
                      14)
        << "OLDPROG" << 2 << 10 << true << "";
    QTest::newRow("field of four characters: no ident")
        << QByteArray("0102") << "" << 2 << 1 << true << "";
    QTest::newRow("no revision file: no image date either")
        << QByteArray() << "-" << 0 << 0 << false << "";
    QTest::newRow("empty revision file") << QByteArray("") << "-" << 0 << 0 << false << "";
    QTest::newRow("field too short")
        << QByteArray("05\r\n") << "-" << 0 << 0 << false
        << "Error Number = 1102\r\n\r\nThe revision field has fewer than the four characters "
           "of its checksum and revision.";
    QTest::newRow("revision digit not MarkHex")
        << QByteArray("NAME1<0x\r\n") << "-" << 0 << 0 << false
        << "Error Number = 1103\r\n\r\nThe checksum and revision at the end of the revision "
           "field are not MarkHex digits.";
}

void TestProgramOnDisk::revisionFile() {
    QFETCH(QByteArray, rev);
    QFETCH(QString, ident);
    QFETCH(int, revision);
    QFETCH(int, checksum);
    QFETCH(bool, dated);
    QFETCH(QString, box);
    QTemporaryDir dir;
    const auto write = [&dir](const QString& name, const QByteArray& bytes) {
        QFile file(QDir(dir.path()).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("SET.wdx"), "\"A\",program\r\n");
    write(QStringLiteral("SET.hex"), ":00000001FF\r\n");
    if (!rev.isNull())
        write(QStringLiteral("SET.rev"), rev);
    ScriptedPrompts prompts;
    if (!box.isEmpty())
        prompts.answerMessage(Prompts::Answer::Ok);

    const ProgramOnDisk program =
        readProgramOnDisk(QDir(dir.path()).filePath(QStringLiteral("SET.wdx")), prompts);
    QCOMPARE(program.boardCode, int('A'));
    QCOMPARE(program.ident, ident);
    QCOMPARE(program.revision, revision);
    QCOMPARE(program.checksum, checksum);
    // The image file's date in the general date-and-time form, seconds included.
    const QFileInfo image(QDir(dir.path()).filePath(QStringLiteral("SET.hex")));
    QCOMPARE(program.revDate, dated ? generalDateText(image.lastModified()) : QStringLiteral("-"));
    QCOMPARE(prompts.messageCount(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        const ScriptedPrompts::Record record = prompts.messages().first();
        QCOMPARE(record.title, QStringLiteral("InitializeForm"));
        QCOMPARE(record.text, box);
        QCOMPARE(record.icon, Prompts::Icon::Information);
    }
}

void TestProgramOnDisk::programFileMissing() {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    const ProgramOnDisk program =
        readProgramOnDisk(QDir(dir.path()).filePath(QStringLiteral("GONE.wdx")), prompts);
    QCOMPARE(program.boardCode, 0);
    QVERIFY(program.ident.isEmpty());
    QCOMPARE(program.revDate, QStringLiteral("-"));
    QCOMPARE(prompts.messageCount(), 0);
}

QTEST_MAIN(TestProgramOnDisk)
#include "tst_programondisk.moc"
