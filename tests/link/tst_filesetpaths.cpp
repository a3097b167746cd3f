#include "filesetpaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The names of a program file set and the board type its "wdx" file names.
class TestFileSetPaths : public QObject {
    Q_OBJECT

private slots:
    void changeExtension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("replaces the extension") << "/p/prog.hex"
                                                << "/p/prog.wdx";
        QTest::newRow("upper-case extension") << "/p/PROG.HEX"
                                              << "/p/PROG.wdx";
        QTest::newRow("only the last extension") << "/p/a.b.hex"
                                                 << "/p/a.b.wdx";
        QTest::newRow("no extension") << "/p/prog"
                                      << "/p/prog.wdx";
        QTest::newRow("relative path made absolute")
            << "sub/prog.rev" << QDir::current().absoluteFilePath("sub/prog.wdx");
    }
    void changeExtension() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(ChangeExtension(path, QStringLiteral("wdx")), expected);
    }

    void readBoardTypeCode_data() {
        QTest::addColumn<QByteArray>("wdxContent"); // empty with writeFile false: no file
        QTest::addColumn<bool>("writeFile");
        QTest::addColumn<int>("code");
        QTest::newRow("companion missing") << QByteArray() << false << int('D');
        QTest::newRow("companion empty") << QByteArray() << true << int('D');
        QTest::newRow("first field empty") << QByteArray(",5,x\r\n") << true << int('D');
        QTest::newRow("first field blank") << QByteArray("   ,5\r\n") << true << int('D');
        QTest::newRow("first line empty") << QByteArray("\r\n5\r\n") << true << int('D');
        QTest::newRow("quoted empty field") << QByteArray("\"\",5\r\n") << true << int('D');
        QTest::newRow("plain field") << QByteArray("5,K7600 main\r\n") << true << int('5');
        QTest::newRow("quoted field") << QByteArray("\"A\",12\r\n") << true << int('A');
        QTest::newRow("blanks around") << QByteArray("  E  ,1\r\n") << true << int('E');
        QTest::newRow("quoted with blanks") << QByteArray(" \" C\",1\n") << true << int(' ');
        QTest::newRow("single field, no line end") << QByteArray("1") << true << int('1');
    }
    void readBoardTypeCode() {
        QFETCH(QByteArray, wdxContent);
        QFETCH(bool, writeFile);
        QFETCH(int, code);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (writeFile) {
            QFile wdx(dir.filePath("prog.wdx"));
            QVERIFY(wdx.open(QIODevice::WriteOnly));
            wdx.write(wdxContent);
        }
        // The board type is always taken from the "wdx" file of the set.
        QCOMPARE(ReadBoardTypeCode(dir.filePath("prog.hex")), code);
    }
};

QTEST_MAIN(TestFileSetPaths)
#include "tst_filesetpaths.moc"
