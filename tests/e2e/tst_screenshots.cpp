// vral-screenshots as scripts/demo and scripts/screenshots run it: with no
// display at all it ends by itself, writes the pictures of the shots asked
// for (a page at the window's opening size, a dialog with its tabs, a page
// online against the simulated board, the board pulled away, the report
// typed into a file dialog, a doubled scale) and prints their paths; a shot
// it does not know is refused before anything is drawn.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestScreenshots : public QObject {
    Q_OBJECT

private slots:
    void writesTheShotsAskedFor_data();
    void writesTheShotsAskedFor();
};

void TestScreenshots::writesTheShotsAskedFor_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("shots");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("written");
    // The window with its title bar and border; invalid: not compared.
    QTest::addColumn<QSize>("firstSize");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("page offline, the window's opening size")
        << QStringList{} << QStringList{"timing-offline"} << 0 << QStringList{"timing-offline.png"}
        << QSize(902, 663) << "";
    QTest::newRow("page online against the simulated board")
        << QStringList{} << QStringList{"main-online"} << 0 << QStringList{"main-online.png"}
        << QSize(902, 663) << "";
    QTest::newRow("target board dialog, two tabs")
        << QStringList{} << QStringList{"targetboard-faults-offline"} << 0
        << QStringList{"targetboard-faults-offline.png", "targetboard-program-offline.png"}
        << QSize() << "";
    QTest::newRow("twice the pixels")
        << QStringList{"--scale", "2"} << QStringList{"timing-offline"} << 0
        << QStringList{"timing-offline.png"} << QSize(1804, 1326) << "";
    QTest::newRow("target board after the board vanished")
        << QStringList{} << QStringList{"targetboard-link-lost"} << 0
        << QStringList{"targetboard-link-lost.png"} << QSize() << "";
    QTest::newRow("report typed into the export dialog")
        << QStringList{} << QStringList{"report-new-document"} << 0
        << QStringList{"report-new-document.pdf"} << QSize() << "";
    QTest::newRow("comparison with a set-up file, shift data ticked")
        << QStringList{} << QStringList{"compare-file"} << 0 << QStringList{"compare-file.png"}
        << QSize() << "";
    QTest::newRow("unknown shot") << QStringList{} << QStringList{"main-offline", "main-onlin"} << 2
                                  << QStringList{} << QSize()
                                  << "vral-screenshots: no shot main-onlin";
}

void TestScreenshots::writesTheShotsAskedFor() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, shots);
    QFETCH(int, exitCode);
    QFETCH(QStringList, written);
    QFETCH(QSize, firstSize);
    QFETCH(QString, stderrHas);
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(SCREENSHOTS_PATH), options + QStringList{out.path()} + shots);
    QVERIFY(tool.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(tool.readAllStandardError());
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QVERIFY2(tool.exitCode() == exitCode, qPrintable(errors));
    QVERIFY2(errors.contains(stderrHas), qPrintable(errors));

    QStringList paths;
    for (const QString& name : written)
        paths << QDir(out.path()).filePath(name);
    const QString printed = QString::fromLocal8Bit(tool.readAllStandardOutput());
    QCOMPARE(printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts), paths);
    QStringList files = written;
    files.sort();
    QCOMPARE(QDir(out.path()).entryList(QDir::Files, QDir::Name), files);
    for (const QString& path : paths) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const bool pdf = path.endsWith(QLatin1String(".pdf"));
        QVERIFY2(pdf ? file.read(5) == "%PDF-" : !QImage(path).isNull(), qPrintable(path));
    }
    if (firstSize.isValid())
        QCOMPARE(QImage(paths.first()).size(), firstSize);
}

QTEST_GUILESS_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
