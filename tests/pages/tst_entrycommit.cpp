// A page's own commit in place of the entry field's store-and-write: what it
// is handed, and what a refusal puts back.
#include "entryfield.h"
#include "pagerig.h"
#include "spinner.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

// One field with its spinner, a neighbour to tab to and the default button.
struct CommitPage : QWidget {
    QLineEdit* field = new QLineEdit(QStringLiteral("5"), this);
    Spinner* spinner = new Spinner(this);
    QLineEdit* neighbour = new QLineEdit(this);
    QPushButton* cmdDefault = createDefaultButton(this);
    QPushButton* go = new QPushButton(QStringLiteral("Go"), this); // where Enter moves
    CommitPage() {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(field);
        layout->addWidget(spinner);
        layout->addWidget(neighbour);
        layout->addWidget(cmdDefault);
        layout->addWidget(go);
        spinner->setRange(0, 9);
    }
};

} // namespace

class TestEntryCommit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void leaveHandsValueTextAndSavedValue();
    void refusedLeaveRestoresSavedValueAndFocus();
    void spinnerCommitIsMarkedAndRefusalRestores();
    void rewriteRunsBeforeTheCheck();
    void enterMovesToTheGivenControl();
    void uncheckedTextLeavesWithoutCheckOrCommit();

private:
    void typeAndTab(const QString& text);

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<CommitPage> m_page;
    EntryGroup* m_group = nullptr;
    QList<EntryField::Accepted> m_seen;
    EntryField::Verdict m_verdict = EntryField::Verdict::Kept;
};

void TestEntryCommit::init() {
    m_rig = std::make_unique<PageRig>();
    m_verdict = EntryField::Verdict::Kept;
    QVERIFY(m_rig->goOnline());
    m_page = std::make_unique<CommitPage>();
    m_group = new EntryGroup(m_rig->link, m_rig->prompts, m_page->cmdDefault, m_page.get());
    EntryField::Params params;
    params.target = QStringLiteral("B1012"); // ignored: the page's commit decides
    params.title = QStringLiteral("Set-up");
    params.commit = [this](const EntryField::Accepted& accepted) {
        m_seen << accepted;
        return m_verdict;
    };
    params.uncheckedText = QStringLiteral("****");
    params.rewrite = [](const QString& text) {
        return text == QLatin1String("x") ? QStringLiteral("3") : text;
    };
    params.enterMovesTo = m_page->go;
    m_group->add(m_page->field, m_page->spinner, params);
    m_page->show();
    QApplication::setActiveWindow(m_page.get());
    QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    m_seen.clear();
}

void TestEntryCommit::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestEntryCommit::typeAndTab(const QString& text) {
    m_page->field->setFocus(Qt::TabFocusReason);
    QVERIFY(m_page->field->hasFocus());
    QTest::keyClick(m_page->field, Qt::Key_Backspace);
    QTest::keyClicks(m_page->field, text);
    QTest::keyClick(m_page->field, Qt::Key_Tab);
}

void TestEntryCommit::leaveHandsValueTextAndSavedValue() {
    typeAndTab(QStringLiteral("7.5"));
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(m_seen[0].value, 8); // half to even
    QCOMPARE(m_seen[0].text, QStringLiteral("7.5"));
    QCOMPARE(m_seen[0].saved, 5);
    QVERIFY(!m_seen[0].fromSpinner);
    QVERIFY(m_page->neighbour->hasFocus());
    QVERIFY2(m_rig->port.sentBytes().isEmpty(), "the page's commit replaces the target write");
    QCOMPARE(m_rig->prompts.messageCount(), 0);
}

void TestEntryCommit::refusedLeaveRestoresSavedValueAndFocus() {
    m_verdict = EntryField::Verdict::Refused;
    typeAndTab(QStringLiteral("7"));
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(m_page->field->text(), QStringLiteral("5"));
    QVERIFY(m_page->field->hasFocus());
    QCOMPARE(m_page->field->selectedText(), QStringLiteral("5"));
    QVERIFY(m_group->field(0)->isEditing()); // still being edited: the refresh stays out

    // A range failure is still the field's own business: the page is not asked.
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    typeAndTab(QStringLiteral("12"));
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(m_rig->prompts.messageCount(), 1);
}

void TestEntryCommit::spinnerCommitIsMarkedAndRefusalRestores() {
    m_verdict = EntryField::Verdict::Refused;
    m_page->field->setFocus(Qt::TabFocusReason); // entering saves 5
    m_page->spinner->stepUp();
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(m_seen[0].value, 6);
    QCOMPARE(m_seen[0].text, QStringLiteral("6"));
    QVERIFY(m_seen[0].fromSpinner);
    QCOMPARE(m_page->field->text(), QStringLiteral("5"));
    QVERIFY(m_page->cmdDefault->hasFocus());
}

void TestEntryCommit::uncheckedTextLeavesWithoutCheckOrCommit() {
    m_page->field->setText(QStringLiteral("****"));
    m_page->field->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_page->field, Qt::Key_Tab);
    QCOMPARE(m_rig->prompts.messageCount(), 0);
    QVERIFY(m_seen.isEmpty());
    QCOMPARE(m_page->field->text(), QStringLiteral("****"));
    QVERIFY(m_page->neighbour->hasFocus());
    QVERIFY(!m_group->field(0)->isEditing());

    // Any other text is checked as usual.
    m_rig->prompts.answerMessage(Prompts::Answer::Ok);
    typeAndTab(QStringLiteral("***"));
    QCOMPARE(m_rig->prompts.messageCount(), 1);
}

void TestEntryCommit::rewriteRunsBeforeTheCheck() {
    // "x" is no number, but the rewrite makes it one before the check sees it.
    typeAndTab(QStringLiteral("x"));
    QCOMPARE(m_page->field->text(), QStringLiteral("3"));
    QCOMPARE(m_seen.size(), 1);
    QCOMPARE(m_seen[0].value, 3);
    QCOMPARE(m_rig->prompts.messageCount(), 0);
}

void TestEntryCommit::enterMovesToTheGivenControl() {
    m_page->field->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_page->field, Qt::Key_Backspace);
    QTest::keyClicks(m_page->field, QStringLiteral("7"));
    QTest::keyClick(m_page->field, Qt::Key_Return);
    QVERIFY(m_page->go->hasFocus()); // not the neighbour, next in the tab order
    QCOMPARE(m_seen.size(), 1);      // the leave check ran once, on the way
    QCOMPARE(m_seen[0].value, 7);
}

QTEST_MAIN(TestEntryCommit)
#include "tst_entrycommit.moc"
