#include "windowhelpers.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QWidget>

// The helpers the windows and the pages share.
class TestWindowHelpers : public QObject {
    Q_OBJECT

private slots:
    void selectAllText() {
        QLineEdit field(QStringLiteral("1250"));
        field.setCursorPosition(2);
        SelectAllText(&field);
        QCOMPARE(field.selectionStart(), 0);
        QCOMPARE(field.selectedText(), QStringLiteral("1250"));
    }

    void centerWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("from");
        QTest::newRow("from the corner") << QSize(200, 100) << QPoint(0, 0);
        QTest::newRow("odd size, from the right") << QSize(301, 151) << QPoint(500, 300);
    }
    // Wherever the window was, its frame ends up in the middle of the screen.
    void centerWindow() {
        QFETCH(QSize, size);
        QFETCH(QPoint, from);
        QWidget window;
        window.resize(size);
        window.move(from);
        CenterWindow(&window);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = window.frameGeometry();
        QVERIFY(screen.contains(frame));
        QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
    }
};

QTEST_MAIN(TestWindowHelpers)
#include "tst_windowhelpers.moc"
