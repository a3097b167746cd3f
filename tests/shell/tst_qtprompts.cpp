// What the Qt prompts make of the program's own texts: file filters, the
// input box's size, the columns a text lays out with tabs, the button that
// Enter presses, and the save dialog's title and default suffix.
#include "qtprompts.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

class TestQtPrompts : public QObject {
    Q_OBJECT

private slots:
    void filter_data();
    void filter();
    void inputBoxShowsItsTitle();
    void tabbedValuesLineUp_data();
    void tabbedValuesLineUp();
    void textWithoutTabsStaysPlain();
    void enterPressesTheDefaultButton();
    void saveDialogAddsDefaultSuffix_data();
    void saveDialogAddsDefaultSuffix();
};

void TestQtPrompts::filter_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("qt");
    QTest::newRow("pattern named in the description") << "Setup Files(*.sdt)|*.sdt|"
                                                      << "Setup Files(*.sdt)";
    QTest::newRow("pattern not named") << "Text Files|*.txt|"
                                       << "Text Files (*.txt)";
    QTest::newRow("two filters") << "Setup Files(*.sdt)|*.sdt|All Files|*.*|"
                                 << "Setup Files(*.sdt);;All Files (*.*)";
    QTest::newRow("several patterns") << "Program(*.wdx;*.hex)|*.wdx;*.hex|"
                                      << "Program(*.wdx;*.hex) (*.wdx *.hex)";
}

void TestQtPrompts::filter() {
    QFETCH(QString, program);
    QFETCH(QString, qt);
    QCOMPARE(QtPrompts::qtFilter(program), qt);
}

void TestQtPrompts::tabbedValuesLineUp_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("two tabs beside one, labels of every width")
        << QStringLiteral("Program to be loaded into module (on disk):\r\n"
                          "  Program Ident: \t\tNEWPROG1\r\n"
                          "  Program Revision: \t\t5\r\n"
                          "  Program Checksum: \t28\r\n"
                          "  Target Board: \t\tK7600(PLC)\r\n\r\n"
                          "Do You Wish to Continue?\r\n")
        << QStringList{"NEWPROG1", "5", "28", "K7600(PLC)"};
    QTest::newRow("a very long label")
        << QStringLiteral("A:\tone\nA much longer label here:\ttwo") << QStringList{"one", "two"};
}

void TestQtPrompts::tabbedValuesLineUp() {
    QFETCH(QString, text);
    QFETCH(QStringList, values);
    QTextDocument document;
    document.setHtml(QtPrompts::tabColumnsHtml(text));
    QList<qreal> lefts;
    for (const QString& value : values) {
        const QTextCursor found = document.find(
            value, 0, QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively);
        QVERIFY2(!found.isNull(), qPrintable(value));
        QCOMPARE(found.block().text(), value); // the value alone in its cell
        lefts << document.documentLayout()->blockBoundingRect(found.block()).left();
    }
    for (const qreal left : lefts)
        QCOMPARE(left, lefts.first());
    // Every line's text is there, the labels' blanks included.
    const QString shown = document.toPlainText();
    for (const QString& line : QtPrompts::qtText(text).split(QLatin1Char('\n'))) {
        for (const QString& part : line.split(QLatin1Char('\t'), Qt::SkipEmptyParts))
            QVERIFY2(shown.contains(part), qPrintable(part));
    }
}

void TestQtPrompts::textWithoutTabsStaysPlain() {
    QVERIFY(QtPrompts::tabColumnsHtml(QStringLiteral("Program Download Complete!\r\n")).isEmpty());
}

void TestQtPrompts::inputBoxShowsItsTitle() {
    QtPrompts prompts;
    const QString title = QStringLiteral("Keypad Set-up Passcode");
    int width = 0;
    int needed = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        width = box->width();
        needed = box->fontMetrics().horizontalAdvance(title);
        box->reject();
    });
    const std::optional<QString> answer =
        prompts.input(title, QStringLiteral("Please Enter New Passcode (0-65535)"), "12");
    QVERIFY(!answer);
    QVERIFY2(width >= QtPrompts::inputBoxWidthFor(title, QWidget()),
             qPrintable(QString::number(width)));
    QVERIFY(width > needed + 100);
}

// Enter in a real box answers its default button: Yes, unless No is named.
void TestQtPrompts::enterPressesTheDefaultButton() {
    QtPrompts prompts;
    for (const auto defaultButton : {Prompts::DefaultButton::First, Prompts::DefaultButton::No}) {
        QTimer::singleShot(
            0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        QCOMPARE(prompts.message(QStringLiteral("Data Download"), QStringLiteral("Continue?"),
                                 Prompts::Icon::Question, Prompts::Buttons::YesNoCancel,
                                 defaultButton),
                 defaultButton == Prompts::DefaultButton::No ? Prompts::Answer::No
                                                             : Prompts::Answer::Yes);
    }
}

void TestQtPrompts::saveDialogAddsDefaultSuffix_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("no extension: the suffix is added") << "line3"
                                                       << "line3.sdt";
    QTest::newRow("the filter's extension kept") << "line3.sdt"
                                                 << "line3.sdt";
    QTest::newRow("another extension kept") << "line3.bak"
                                            << "line3.bak";
}

void TestQtPrompts::saveDialogAddsDefaultSuffix() {
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QTemporaryDir dir;
    QtPrompts prompts;
    Prompts::FileDialog settings;
    settings.title = QStringLiteral("Save Set-up File As");
    settings.filter = QStringLiteral("Setup Files(*.sdt)|*.sdt|");
    settings.fileName = dir.path() + QLatin1Char('/');
    settings.defaultSuffix = QStringLiteral("sdt");
    settings.overwritePrompt = true;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        auto* name = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(typed);
        static_cast<QDialog*>(box)->accept(); // as the Save button does
    });
    const std::optional<QString> path = prompts.saveFile(settings);
    QCOMPARE(title, settings.title);
    QVERIFY(path);
    QCOMPARE(*path, dir.filePath(chosen));
}

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
