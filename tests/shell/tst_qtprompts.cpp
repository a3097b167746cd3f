// What the Qt prompts make of the program's own texts: file filters and the
// input box's size.
#include "qtprompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QTest>
#include <QTimer>

class TestQtPrompts : public QObject {
    Q_OBJECT

private slots:
    void filter_data();
    void filter();
    void inputBoxShowsItsTitle();
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

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
