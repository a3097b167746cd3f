#include "appstate.h"
#include "boardrig.h"
#include "frmmdimain.h"
#include "namedchild.h"
#include "stepdriver.h"

#include <QAction>
#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// A page whose captions share Alt+E with the Edit menu, as the set-up page's
// "&Extend (in) Response Time (msec):" and "Numb&er of Shifts" do.
QWidget* sharedLetterPage(QWidget* parent, bool both) {
    auto* page = new QWidget(parent);
    auto* form = new QFormLayout(page);
    const auto field = [&](const QString& caption, const QString& name) {
        auto* edit = new QLineEdit(QStringLiteral("250"), page);
        edit->setObjectName(name);
        auto* label = new QLabel(caption, page);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    field(QStringLiteral("&Extend (in) Response Time (msec):"), QStringLiteral("txtExtend"));
    if (both)
        field(QStringLiteral("Numb&er of Shifts:"), QStringLiteral("txtShifts"));
    field(QStringLiteral("&Count:"), QStringLiteral("txtCount"));
    return page;
}

struct Rig : BoardRig {
    AppState state;
    std::unique_ptr<frmMDIMain> window;

    Rig() {
        QVector<PageEntry> pages;
        pages.append(
            {QStringLiteral("frmOne"), QStringLiteral("&1 One"), true,
             [](PageServices&, QWidget* parent) { return sharedLetterPage(parent, false); }});
        pages.append(
            {QStringLiteral("frmTwo"), QStringLiteral("&2 Two"), true,
             [](PageServices&, QWidget* parent) { return sharedLetterPage(parent, true); }});
        window = std::make_unique<frmMDIMain>(state, link, port, prompts, clock, folder, pages);
        window->statusPollDriver().stop();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    QString focusedName() const { return focused() ? focused()->objectName() : QString(); }
    void press(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(focused() ? focused() : window.get(), Qt::Key(key), modifiers);
        QTest::qWait(10);
    }
    void closePopups() {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
};

} // namespace

class TestAccessKeys : public QObject {
    Q_OBJECT
private slots:
    void pageFieldWinsOverMenuTitleEveryTime();
    void sharedPageKeysTakeTurnsWithoutMenu();
    void menuLetterWithoutPageControlOpensMenu();
    void f10ActivatesMenuBar();
    void menuShortcutWinsOverFieldEditingKey();
    void fieldKeepsEditingKeyNoMenuCarries();
};

void TestAccessKeys::pageFieldWinsOverMenuTitleEveryTime() {
    Rig rig;
    rig.window->ShowPage(0);
    namedChild<QLineEdit>(*rig.window, "txtCount")->setFocus();
    for (int press = 0; press < 4; ++press) {
        rig.press(Qt::Key_E, Qt::AltModifier);
        QCOMPARE(rig.focusedName(), QStringLiteral("txtExtend"));
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(rig.window->menuBar()->activeAction(), nullptr);
        namedChild<QLineEdit>(*rig.window, "txtCount")->setFocus();
    }
}

void TestAccessKeys::sharedPageKeysTakeTurnsWithoutMenu() {
    Rig rig;
    rig.window->ShowPage(1);
    QStringList order;
    for (int press = 0; press < 4; ++press) {
        rig.press(Qt::Key_E, Qt::AltModifier);
        order << rig.focusedName();
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }
    QCOMPARE(order, QStringList({"txtExtend", "txtShifts", "txtExtend", "txtShifts"}));
}

void TestAccessKeys::menuLetterWithoutPageControlOpensMenu() {
    Rig rig;
    rig.window->ShowPage(0);
    namedChild<QLineEdit>(*rig.window, "txtCount")->setFocus();
    rig.press(Qt::Key_F, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&File"));
    rig.closePopups();
}

void TestAccessKeys::f10ActivatesMenuBar() {
    Rig rig;
    rig.window->ShowPage(0);
    namedChild<QLineEdit>(*rig.window, "txtCount")->setFocus();
    rig.press(Qt::Key_F10, Qt::NoModifier);
    QAction* active = rig.window->menuBar()->activeAction();
    QVERIFY(active);
    QCOMPARE(active->text(), QStringLiteral("&File"));
    rig.closePopups();
}

void TestAccessKeys::menuShortcutWinsOverFieldEditingKey() {
    Rig rig;
    rig.window->ShowPage(0);
    auto* field = namedChild<QLineEdit>(*rig.window, "txtCount");
    field->setFocus();
    field->selectAll();
    rig.prompts.answerSaveFile(std::nullopt); // the export's save dialog is cancelled
    QSignalSpy exported(rig.window->findChild<QAction*>(QStringLiteral("mnuFileExport")),
                        &QAction::triggered);
    QVERIFY(exported.isValid());
    rig.press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(exported.count(), 1);
    QCOMPARE(field->text(), QStringLiteral("250"));
}

void TestAccessKeys::fieldKeepsEditingKeyNoMenuCarries() {
    Rig rig;
    rig.window->ShowPage(0);
    auto* field = namedChild<QLineEdit>(*rig.window, "txtCount");
    field->setFocus();
    field->selectAll();
    rig.press(Qt::Key_A, Qt::ControlModifier); // select all stays the field's
    rig.press(Qt::Key_Delete, Qt::NoModifier);
    QCOMPARE(field->text(), QString());
}

QTEST_MAIN(TestAccessKeys)
#include "tst_accesskeys.moc"
