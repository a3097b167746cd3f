#include "namedchild.h"
#include "pagerig.h"
#include "secondticker.h"
#include "targetboardpage.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <memory>

class TestTargetBoardPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabCaptions();
    void lastFaultShownWithActionAndReset();
    void resetFaultsAnswers_data();
    void resetFaultsAnswers();
    void goOnlineVisibleWhileOfflineOnly();
    void statusThenLinkLoss();
    void computerClockChangesWithTheSecond_data();
    void computerClockChangesWithTheSecond();
    void networkAddressRefreshedWithTwoDigits();
    void secondAddressOnlyForBoardA_data();
    void secondAddressOnlyForBoardA();

private:
    void openPage(int boardCode = 'D');
    // Runs the status reading (six entries, slot, ten ident bytes) to its end.
    void runStatus() {
        for (int i = 0; i < 17; ++i)
            m_page->refreshStep();
    }
    template <class T> T* child(const QString& name) const { return namedChild<T>(*m_page, name); }

    std::unique_ptr<PageRig> m_rig;
    std::unique_ptr<TargetBoardPage> m_page;
};

void TestTargetBoardPage::init() {
    m_rig = std::make_unique<PageRig>();
}

void TestTargetBoardPage::cleanup() {
    m_page.reset();
    m_rig.reset();
}

void TestTargetBoardPage::openPage(int boardCode) {
    ProgramOnDisk program;
    program.boardCode = boardCode;
    TargetCodeFiles codes;
    // Two records for one code: the page shows the last.
    codes.faults = parseCodeFile("\"0a\",\"Old text\"\r\n\"0A\",\"Slot fault\"\r\n");
    m_page = std::make_unique<TargetBoardPage>(m_rig->services, program, codes);
    m_page->refreshCycle().stop();
    m_rig->clearWire();
}

void TestTargetBoardPage::tabCaptions() {
    QVERIFY(m_rig->goOnline());
    openPage();
    auto* tabs = child<QTabWidget>(QStringLiteral("tabTargetBoard"));
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(0), QStringLiteral("&Fault Codes / Status"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("S&et Time && Date"));
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdOk"))->text(), QStringLiteral("&Ok"));
    // The tab strip frames the tabs: their own frames (no group boxes) draw no border or caption.
    for (int k = 0; k < 4; ++k)
        QCOMPARE(child<QFrame>(QStringLiteral("fraTargetBoard%1").arg(k))->frameShape(),
                 QFrame::NoFrame);
}

void TestTargetBoardPage::lastFaultShownWithActionAndReset() {
    m_rig->board.setMemory(8177, 0x0A);
    QVERIFY(m_rig->goOnline());
    openPage();
    runStatus();
    QCOMPARE(child<QLabel>(QStringLiteral("lblTargetBoard1"))->text(),
             QStringLiteral("Last Fault: Code = 0AH"));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("txtTargetBoard1"))->toPlainText(),
             QStringLiteral("Slot fault"));
    QVERIFY(child<QPlainTextEdit>(QStringLiteral("txtTargetBoard3"))
                ->toPlainText()
                .startsWith(QStringLiteral("Replace CO-CPU board at")));
    QVERIFY(child<QPushButton>(QStringLiteral("cmdResetFaults"))->isEnabled());
    QVERIFY(!child<QPushButton>(QStringLiteral("cmdGoOnline"))->isVisibleTo(m_page.get()));
}

void TestTargetBoardPage::resetFaultsAnswers_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("yes clears in order")
        << int(Prompts::Answer::Yes)
        << QStringList{QStringLiteral("8178"), QStringLiteral("8179"), QStringLiteral("8177"),
                       QStringLiteral("8176")};
    QTest::newRow("no writes nothing") << int(Prompts::Answer::No) << QStringList{};
    QTest::newRow("cancel writes nothing") << int(Prompts::Answer::Cancel) << QStringList{};
}

void TestTargetBoardPage::resetFaultsAnswers() {
    QFETCH(int, answer);
    QFETCH(QStringList, written);
    m_rig->board.setMemory(8176, 0x45);
    QVERIFY(m_rig->goOnline());
    openPage();
    runStatus();
    m_rig->clearWire();
    m_rig->prompts.answerMessage(Prompts::Answer(answer));
    child<QPushButton>(QStringLiteral("cmdResetFaults"))->click();
    const auto& record = m_rig->prompts.records().constLast();
    QCOMPARE(record.title, QStringLiteral("WARNING - Fault Code Reset!"));
    QCOMPARE(record.text,
             QStringLiteral("Target Board will be reinitialized.\r\n\r\nDo you wish to continue?"));
    QCOMPARE(record.icon, Prompts::Icon::Critical);
    QCOMPARE(record.buttons, Prompts::Buttons::YesNoCancel);
    QCOMPARE(record.defaultButton, Prompts::DefaultButton::No);
    QCOMPARE(m_rig->writtenAddresses(), written);
    if (!written.isEmpty())
        QCOMPARE(int(m_rig->board.memory(8176)), 0);
}

void TestTargetBoardPage::goOnlineVisibleWhileOfflineOnly() {
    QVERIFY(m_rig->goOnline());
    openPage();
    auto* goOnline = child<QPushButton>(QStringLiteral("cmdGoOnline"));
    QVERIFY(!goOnline->isVisibleTo(m_page.get()));
    m_rig->link.OnlineMode = false;
    m_page->refreshStep();
    QVERIFY(goOnline->isVisibleTo(m_page.get()));
    QCOMPARE(child<QPlainTextEdit>(QStringLiteral("txtTargetBoard3"))->toPlainText(),
             QStringLiteral("Cannot Communicate with Target Board."));
}

// The codes read before the link went down are not left beside the failure
// text; the ident's NUL padding shows as nothing.
void TestTargetBoardPage::statusThenLinkLoss() {
    for (int k = 0; k < 8; ++k) // the ident "A" and seven NULs
        m_rig->board.setMemory(61424 + k, k == 0 ? 'A' : 0);
    QVERIFY(m_rig->goOnline());
    openPage('2');
    runStatus();
    QCOMPARE(child<QLabel>(QStringLiteral("lblTargetBoard0"))->text(),
             QStringLiteral("Current Fault: Code = 00H"));
    QCOMPARE(child<QLabel>(QStringLiteral("lblRevIdentInPLC0"))->text(), QStringLiteral("A"));

    m_rig->link.OnlineMode = false;
    m_page->refreshStep();
    const QStringList captions = {
        "Current Fault: Code = -", "Last Fault: Code = -",         "CO-CPU Slot: -",
        "Corrective Action:",      "Current Comm Error: Code = -", "Last Comm Error: Code = -"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(child<QLabel>(QStringLiteral("lblTargetBoard%1").arg(i))->text(), captions[i]);
}

void TestTargetBoardPage::computerClockChangesWithTheSecond_data() {
    QTest::addColumn<int>("advanceMs"); // the clock at 08:00:00.000 moves on, then the shot
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("nextShotMs");
    QTest::newRow("early shot: same second, aims again at the rest")
        << 999 << "08 : 00 : 00" << 1 + SecondTicker::kSlackMs;
    QTest::newRow("on the second") << 1000 << "08 : 00 : 01" << 1000 + SecondTicker::kSlackMs;
    QTest::newRow("late shot shows the clock's second, none in between")
        << 2500 << "08 : 00 : 02" << 500 + SecondTicker::kSlackMs;
}

void TestTargetBoardPage::computerClockChangesWithTheSecond() {
    QFETCH(int, advanceMs);
    QFETCH(QString, shown);
    QFETCH(int, nextShotMs);
    openPage();
    auto* label = child<QLabel>(QStringLiteral("lblCurrTime"));
    QCOMPARE(label->text(), QStringLiteral("08 : 00 : 00"));
    auto* ticker = m_page->findChild<SecondTicker*>(QStringLiteral("tmrClock"));
    QVERIFY(ticker);
    QCOMPARE(ticker->timer()->timerType(), Qt::PreciseTimer);
    QCOMPARE(ticker->timer()->interval(), 1000 + SecondTicker::kSlackMs);
    m_rig->clock.advance(advanceMs);
    ticker->fire();
    QCOMPARE(label->text(), shown);
    QCOMPARE(ticker->timer()->interval(), nextShotMs);
}

void TestTargetBoardPage::networkAddressRefreshedWithTwoDigits() {
    m_rig->board.setMemory(8180, 7);
    QVERIFY(m_rig->goOnline());
    openPage();
    runStatus();
    m_page->refreshStep();
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup0"))->text(), QStringLiteral("07"));
}

void TestTargetBoardPage::secondAddressOnlyForBoardA_data() {
    QTest::addColumn<int>("boardCode");
    QTest::addColumn<bool>("second");
    QTest::addColumn<bool>("clock");
    QTest::newRow("A") << int('A') << true << true;
    QTest::newRow("6") << int('6') << false << true;
    QTest::newRow("2") << int('2') << false << false;
}

void TestTargetBoardPage::secondAddressOnlyForBoardA() {
    QFETCH(int, boardCode);
    QFETCH(bool, second);
    QFETCH(bool, clock);
    QVERIFY(m_rig->goOnline());
    openPage(boardCode);
    QCOMPARE(!child<QLineEdit>(QStringLiteral("txtSetup1"))->isHidden(), second);
    QCOMPARE(child<QPushButton>(QStringLiteral("cmdSetToCurrTime"))->isEnabled(), clock);
    QCOMPARE(child<QLineEdit>(QStringLiteral("txtSetup2"))->isEnabled(), clock);
}

QTEST_MAIN(TestTargetBoardPage)
#include "tst_targetboardpage.moc"
