// The shared entry-field behaviour, exercised on the set-up page's fields.
#include "pagerig.h"
#include "setuppage.h"
#include "spinner.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include <memory>

namespace {

constexpr int kCansAtInfeed = 7; // "B1000", 0..255, on the second tab
constexpr int kPrintRetract = 0; // "B1012", 5..80, on the first tab

// Records a value at the moment a widget receives the focus.
class FocusInProbe : public QObject {
public:
    FocusInProbe(QWidget* widget, std::function<int()> read) : m_read(std::move(read)) {
        widget->installEventFilter(this);
    }
    QList<int> seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn)
            seen << m_read();
        return false;
    }

private:
    std::function<int()> m_read;
};

} // namespace

class TestEntryField : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rejectedTextRestoresEntryValue_data();
    void rejectedTextRestoresEntryValue();
    void boundsAreAccepted_data();
    void boundsAreAccepted();
    void escapeOnceRestoresAndStays();
    void escapeTwiceLeavesAndCommitsRestoredValue();
    void enterCommitsBeforeNextFieldIsEntered();
    void spinnerOfflineChangesDocumentOnly();
    void spinnerOnlineWritesBoard();
    void arrowKeysStepWithinBounds_data();
    void arrowKeysStepWithinBounds();
    void editSurvivesRefresh();
    void oneMessagePerRejectedLeave_data();
    void oneMessagePerRejectedLeave();
    void decimalEntryCommitsNearestInteger_data();
    void decimalEntryCommitsNearestInteger();

private:
    void openPage(bool online);
    QLineEdit* field(int i) const {
        return m_page->findChild<QLineEdit*>(QStringLiteral("txtSetup%1").arg(i));
    }
    qint32 documentValue(int i) const {
        return m_rig->state.CurrentDocument.Values[SetupPage::kFirstElement + i];
    }
    void enterAndType(QLineEdit* edit, const QString& text);

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<SetupPage> m_page;
};

void TestEntryField::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestEntryField::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestEntryField::openPage(bool online) {
    if (online)
        QVERIFY(m_rig->goOnline());
    else
        m_rig->state.OfflineEditing = true;
    m_page = std::make_unique<SetupPage>(m_rig->services);
    QVERIFY(showActive(*m_page));
    if (!online)
        m_page->refreshStep(); // document pass: fields show the document
    m_rig->clearWire();
}

void TestEntryField::enterAndType(QLineEdit* edit, const QString& text) {
    if (!edit->isVisible())
        m_page->findChild<QTabBar*>(QStringLiteral("tbsSetup"))->setCurrentIndex(1);
    edit->setFocus(Qt::TabFocusReason);
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), edit->text()); // entering selects the whole text
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

void TestEntryField::rejectedTextRestoresEntryValue_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("trailing letters") << QStringLiteral("12a");
    QTest::newRow("empty") << QString();
    QTest::newRow("dash only") << QStringLiteral("-");
    QTest::newRow("stars") << QStringLiteral("****");
    QTest::newRow("one above maximum") << QStringLiteral("256");
    QTest::newRow("below minimum") << QStringLiteral("-1");
    QTest::newRow("exponent form") << QStringLiteral("1e2");
}

void TestEntryField::rejectedTextRestoresEntryValue() {
    QFETCH(QString, typed);
    openPage(false);
    QLineEdit* edit = field(kCansAtInfeed);
    QCOMPARE(edit->text(), QStringLiteral("5")); // new-document value
    enterAndType(edit, typed);
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);

    QTest::keyClick(edit, Qt::Key_Tab);

    const auto messages = m_rig->prompts.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].title, QStringLiteral("Set-up"));
    QCOMPARE(messages[0].text, QStringLiteral("Only a Number Between 0 and 255 can be Entered"));
    QCOMPARE(messages[0].icon, Prompts::Icon::Information);
    QCOMPARE(messages[0].buttons, Prompts::Buttons::Ok);
    QCOMPARE(edit->text(), QStringLiteral("5"));
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), QStringLiteral("5"));
    QCOMPARE(documentValue(kCansAtInfeed), 5);
}

void TestEntryField::boundsAreAccepted_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("wire");
    QTest::newRow("response time minimum 5")
        << 0 << QStringLiteral("5") << QStringList{QStringLiteral("write 1012 5")};
    QTest::newRow("response time maximum 80")
        << 0 << QStringLiteral("80") << QStringList{QStringLiteral("write 1012 80")};
    QTest::newRow("byte field minimum 0")
        << 7 << QStringLiteral("0") << QStringList{QStringLiteral("write 1000 0")};
    QTest::newRow("byte field maximum 255")
        << 7 << QStringLiteral("255") << QStringList{QStringLiteral("write 1000 255")};
    QTest::newRow("word field maximum 999 low byte first")
        << 5 << QStringLiteral("999")
        << QStringList{QStringLiteral("write 1004 231"), QStringLiteral("write 1005 3")};
}

void TestEntryField::boundsAreAccepted() {
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QStringList, wire);
    openPage(true);
    enterAndType(field(index), typed);

    QTest::keyClick(field(index), Qt::Key_Tab);

    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QCOMPARE(documentValue(index), typed.toInt());
    QCOMPARE(m_rig->transactions(), wire);
    QVERIFY(!field(index)->hasFocus());
}

void TestEntryField::escapeOnceRestoresAndStays() {
    openPage(false);
    QLineEdit* edit = field(kPrintRetract);
    enterAndType(edit, QStringLiteral("33"));

    QTest::keyClick(edit, Qt::Key_Escape);

    QCOMPARE(edit->text(), QStringLiteral("20"));
    QCOMPARE(edit->selectedText(), QStringLiteral("20"));
    QVERIFY(edit->hasFocus());
    // Still being edited: a document pass leaves the field alone.
    m_rig->state.CurrentDocument.Values[SetupPage::kFirstElement] = 44;
    m_page->refreshStep();
    QCOMPARE(edit->text(), QStringLiteral("20"));
    QCOMPARE(m_rig->prompts.messageCount(), 0);
}

void TestEntryField::escapeTwiceLeavesAndCommitsRestoredValue() {
    openPage(true);
    m_page->refreshStep(); // B1012 is read and shown
    const QString shown = field(kPrintRetract)->text();
    QLineEdit* edit = field(kPrintRetract);
    enterAndType(edit, QStringLiteral("33"));
    m_rig->clearWire();

    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Escape);

    QCOMPARE(edit->text(), shown);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdDefault"));
    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QCOMPARE(documentValue(kPrintRetract), shown.toInt());
    QCOMPARE(m_rig->transactions(), QStringList{QStringLiteral("write 1012 ") + shown});
}

void TestEntryField::enterCommitsBeforeNextFieldIsEntered() {
    openPage(true);
    QLineEdit* edit = field(kPrintRetract);
    FocusInProbe documentProbe(field(1), [this] { return documentValue(kPrintRetract); });
    FocusInProbe boardProbe(field(1), [this] { return m_rig->board.memory(1012); });
    enterAndType(edit, QStringLiteral("25"));

    QTest::keyClick(edit, Qt::Key_Return);

    QVERIFY(field(1)->hasFocus());
    QCOMPARE(documentProbe.seen, QList<int>{25});
    QCOMPARE(boardProbe.seen, QList<int>{25});
    QCOMPARE(m_rig->transactions(), QStringList{QStringLiteral("write 1012 25")});
    QCOMPARE(m_rig->prompts.messageCount(), 0);
}

void TestEntryField::spinnerOfflineChangesDocumentOnly() {
    QVERIFY(m_rig->goOnline());
    m_rig->link.CloseRSComm();
    openPage(false);
    QVERIFY(!m_rig->link.OnlineMode);
    auto* up = m_page->findChild<Spinner*>(QStringLiteral("updSetup0"))
                   ->findChild<QToolButton*>(QStringLiteral("up"));

    QTest::mouseClick(up, Qt::LeftButton);

    QCOMPARE(field(kPrintRetract)->text(), QStringLiteral("21"));
    QCOMPARE(documentValue(kPrintRetract), 21);
    QVERIFY(m_rig->port.wire().isEmpty());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdDefault"));
}

void TestEntryField::spinnerOnlineWritesBoard() {
    openPage(true);
    m_page->refreshStep(); // shows B1012
    const int shown = field(kPrintRetract)->text().toInt();
    m_rig->clearWire();

    m_page->findChild<Spinner*>(QStringLiteral("updSetup0"))->stepDown();

    QCOMPARE(documentValue(kPrintRetract), shown - 1);
    QCOMPARE(m_rig->board.memory(1012), shown - 1);
    QCOMPARE(m_rig->transactions(), QStringList{QStringLiteral("write 1012 %1").arg(shown - 1)});
}

void TestEntryField::arrowKeysStepWithinBounds_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("wire");
    QTest::newRow("up at maximum stays")
        << QStringLiteral("80") << int(Qt::Key_Up) << QStringLiteral("80") << QStringList{};
    QTest::newRow("down from maximum")
        << QStringLiteral("80") << int(Qt::Key_Down) << QStringLiteral("79")
        << QStringList{QStringLiteral("write 1012 79")};
    QTest::newRow("down at minimum stays")
        << QStringLiteral("5") << int(Qt::Key_Down) << QStringLiteral("5") << QStringList{};
    QTest::newRow("up from out of range text clamps")
        << QStringLiteral("90") << int(Qt::Key_Up) << QStringLiteral("80")
        << QStringList{QStringLiteral("write 1012 80")};
}

void TestEntryField::arrowKeysStepWithinBounds() {
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, expected);
    QFETCH(QStringList, wire);
    openPage(true);
    enterAndType(field(kPrintRetract), start);

    QTest::keyClick(field(kPrintRetract), Qt::Key(key));

    QCOMPARE(field(kPrintRetract)->text(), expected);
    QCOMPARE(m_rig->transactions(), wire);
    QCOMPARE(m_rig->prompts.messageCount(), 0);
}

void TestEntryField::editSurvivesRefresh() {
    openPage(true);
    m_rig->board.setMemory(1012, 20);
    m_rig->board.setMemory(1013, 31);
    enterAndType(field(kPrintRetract), QStringLiteral("4"));

    for (int step = 0; step < 5; ++step) // a whole pass over fields 0..4
        m_page->refreshStep();

    QCOMPARE(field(kPrintRetract)->text(), QStringLiteral("4"));
    QCOMPARE(field(1)->text(), QStringLiteral("31"));
    QVERIFY(field(kPrintRetract)->hasFocus());
}

void TestEntryField::oneMessagePerRejectedLeave_data() {
    QTest::addColumn<int>("leaveKey");
    QTest::addColumn<QString>("focusDuringBox"); // widget the box's own focus moves to
    QTest::newRow("tab, focus untouched") << int(Qt::Key_Tab) << QString();
    QTest::newRow("enter, focus untouched") << int(Qt::Key_Return) << QString();
    QTest::newRow("tab, box moves focus to next field")
        << int(Qt::Key_Tab) << QStringLiteral("txtSetup1");
    QTest::newRow("enter, box moves focus to next field")
        << int(Qt::Key_Return) << QStringLiteral("txtSetup1");
    QTest::newRow("tab, box moves focus to a further field")
        << int(Qt::Key_Tab) << QStringLiteral("txtSetup2");
    QTest::newRow("tab, box gives focus back to the field")
        << int(Qt::Key_Tab) << QStringLiteral("txtSetup0");
    QTest::newRow("tab, box moves focus to default button")
        << int(Qt::Key_Tab) << QStringLiteral("cmdDefault");
}

void TestEntryField::oneMessagePerRejectedLeave() {
    QFETCH(int, leaveKey);
    QFETCH(QString, focusDuringBox);
    openPage(true);
    m_rig->board.setMemory(1013, 31);
    m_page->refreshStep();
    m_page->refreshStep(); // fields 0 and 1 show the board
    QLineEdit* edit = field(kPrintRetract);
    const QString entryValue = edit->text();
    enterAndType(edit, QStringLiteral("90"));
    m_rig->clearWire();
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    if (!focusDuringBox.isEmpty())
        m_rig->prompts.setDuringMessage([this, focusDuringBox] {
            m_page->findChild<QWidget*>(focusDuringBox)->setFocus(Qt::OtherFocusReason);
        });

    QTest::keyClick(edit, Qt::Key(leaveKey));

    QCOMPARE(m_rig->prompts.messageCount(), 1);
    QCOMPARE(m_rig->prompts.messages()[0].text,
             QStringLiteral("Only a Number Between 5 and 80 can be Entered"));
    QCOMPARE(edit->text(), entryValue);
    QVERIFY(edit->hasFocus());
    // The neighbour never counted as entered: nothing of it was committed.
    QVERIFY(m_rig->transactions().isEmpty());
    QCOMPARE(documentValue(1), 20);
}

void TestEntryField::decimalEntryCommitsNearestInteger_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("half goes to even below") << QStringLiteral("12.5") << 12;
    QTest::newRow("half goes to even above") << QStringLiteral("13.5") << 14;
    QTest::newRow("fraction below half") << QStringLiteral("12.4") << 12;
    QTest::newRow("plus sign and blanks") << QStringLiteral(" +12 ") << 12;
}

void TestEntryField::decimalEntryCommitsNearestInteger() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    openPage(true);
    enterAndType(field(kCansAtInfeed), typed);

    QTest::keyClick(field(kCansAtInfeed), Qt::Key_Tab);

    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QCOMPARE(documentValue(kCansAtInfeed), stored);
    QCOMPARE(int(m_rig->board.memory(1000)), stored);
    QCOMPARE(m_rig->transactions(), QStringList{QStringLiteral("write 1000 %1").arg(stored)});
}

QTEST_MAIN(TestEntryField)
#include "tst_entryfield.moc"
