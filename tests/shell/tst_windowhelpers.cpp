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

    void centerWindow() {
        QWidget window;
        window.resize(200, 100);
        CenterWindow(&window);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window.frameGeometry().topLeft(),
                 QPoint(screen.x() + (screen.width() - 200) / 2,
                        screen.y() + (screen.height() - 100) / 2));
    }
};

QTEST_MAIN(TestWindowHelpers)
#include "tst_windowhelpers.moc"
