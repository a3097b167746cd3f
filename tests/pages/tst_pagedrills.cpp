// Fault drills for the pages, on the in-process simulated board: each page
// runs its board pass (and the timing page its channel commands), the
// board is struck in the middle of it (unplugged, frozen past the link's
// time-out or only for one byte, answering with a wrong echo, the PLS busy),
// and the page must leave the user with the documented box, the application
// offline when the link failed and online when it recovered, no momentary
// output on at the board, the document as it was, and the same pass working
// again once the board is back.
#include "address.h"
#include "namedchild.h"
#include "pagefactories.h"
#include "pagerig.h"
#include "parameterpage.h"
#include "targetboardpage.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
enum class Strike {
    Unplugged,
    FrozenPastTimeOut,
    FrozenOneByte,
    WrongEchoOnce,
    WrongEchoTwice,
    PlsBusy
};
// What the page is doing when the board is struck.
enum class Action { BoardPass, HoldResetTrips, RecallChannel, ClearChannel, Setpoint };

using PageFactory = QWidget* (*)(PageServices&, QWidget*);

QWidget* createTargetBoardPage(PageServices& services, QWidget* parent) {
    ProgramOnDisk program;
    program.boardCode = '4';
    auto* page = new TargetBoardPage(services, program, TargetCodeFiles{});
    page->setParent(parent);
    return page;
}

const QString kCommTitle = QStringLiteral("WARNING - Communication Error!");
const QString kNoAnswer = QStringLiteral("Cannot Communicate with Target Board.\r"
                                         "Verify RS-232 Cable is Connected Between\r"
                                         "COMM Port and PROG Port.");
const QString kPlsNotReady = QStringLiteral("Cannot Determine PLS READY Mode Within Target Board.");
constexpr int kPassSteps = 40; // well past one pass of the largest page
// The strike comes a few steps into the second pass: the online appearance
// applied, the page's commands enabled, the board pass under way.
constexpr int kStrikeAtStep = kPassSteps + 3;

QString box(const QString& title, const QString& text) {
    return title + QLatin1Char('|') + text;
}

// The momentary outputs (reset trips, end of shift): their bits on the board.
bool momentaryOutputsOff(const BoardSim& board) {
    for (const char* add : {"B1016.0", "F133"}) {
        const ParsedAddress parsed = ParseAddress(QLatin1String(add));
        if ((board.memory(parsed.byteAddress) & parsed.bitMask) != 0)
            return false;
    }
    return true;
}
} // namespace

Q_DECLARE_METATYPE(PageFactory)

class TestPageDrills : public QObject {
    Q_OBJECT

private slots:
    void pageDrill_data();
    void pageDrill();
};

void TestPageDrills::pageDrill_data() {
    QTest::addColumn<PageFactory>("factory");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("strike");
    QTest::addColumn<QStringList>("boxes"); // "TITLE|TEXT" of every box, in order
    QTest::addColumn<bool>("online");       // the application online afterwards

    const QList<QPair<const char*, PageFactory>> pages = {{"main display", createMainDisplayPage},
                                                          {"set-up", createSetupPage},
                                                          {"timing", createTimingPage},
                                                          {"shift data", createDataPage},
                                                          {"I/O states", createIODisplayPage},
                                                          {"DF1 bridge", createDF1BridgePage},
                                                          {"target board", createTargetBoardPage}};
    const QString lost = box(kCommTitle, kNoAnswer);
    for (const auto& [name, factory] : pages) {
        const int pass = int(Action::BoardPass);
        const auto row = [&](const char* fault) -> QTestData& {
            return QTest::addRow("%s, board pass, %s", name, fault) << factory << pass;
        };
        row("board unplugged") << int(Strike::Unplugged) << QStringList{lost} << false;
        row("frozen past the time-out")
            << int(Strike::FrozenPastTimeOut) << QStringList{lost} << false;
        row("frozen for one byte") << int(Strike::FrozenOneByte) << QStringList{} << true;
        row("wrong echo once") << int(Strike::WrongEchoOnce) << QStringList{} << true;
        row("wrong echo twice") << int(Strike::WrongEchoTwice) << QStringList{} << true;
    }
    // A momentary output held while the board goes away: its release is
    // owed and written as the line comes back.
    const int hold = int(Action::HoldResetTrips);
    QTest::newRow("shift data, reset trips held, board unplugged")
        << PageFactory(createDataPage) << hold << int(Strike::Unplugged) << QStringList{lost}
        << false;
    QTest::newRow("shift data, reset trips held, frozen past the time-out")
        << PageFactory(createDataPage) << hold << int(Strike::FrozenPastTimeOut)
        << QStringList{lost} << false;

    // The timing page's channel commands.
    const QString notReady = box(kCommTitle, kPlsNotReady);
    const QString clearAsk = box(QStringLiteral("Clear Channel"),
                                 QStringLiteral("You are about to Clear Channel CH03.\r\n\r\n"
                                                "Do you wish to continue?"));
    const QList<QPair<const char*, Action>> commands = {{"recall channel", Action::RecallChannel},
                                                        {"clear channel", Action::ClearChannel},
                                                        {"setpoint", Action::Setpoint}};
    for (const auto& [name, action] : commands) {
        const QStringList asked =
            action == Action::ClearChannel ? QStringList{clearAsk} : QStringList{};
        const auto row = [&](const char* fault) -> QTestData& {
            return QTest::addRow("timing, %s, %s", name, fault)
                   << PageFactory(createTimingPage) << int(action);
        };
        row("board unplugged") << int(Strike::Unplugged) << asked + QStringList{lost} << false;
        row("frozen past the time-out")
            << int(Strike::FrozenPastTimeOut) << asked + QStringList{lost} << false;
        if (action != Action::RecallChannel) // a recall has no ready handshake
            row("PLS busy") << int(Strike::PlsBusy) << asked + QStringList{notReady} << false;
    }
}

void TestPageDrills::pageDrill() {
    QFETCH(PageFactory, factory);
    QFETCH(int, action);
    QFETCH(int, strike);
    QFETCH(QStringList, boxes);
    QFETCH(bool, online);

    PageRig rig;
    rig.port.setPaced(true); // the manual clock moves as bytes cross the line
    QVERIFY(rig.goOnline());
    const std::unique_ptr<QWidget> widget(factory(rig.services, nullptr));
    auto* page = qobject_cast<ParameterPage*>(widget.get());
    QVERIFY(page);
    QVERIFY(showActive(*page));
    const auto steps = [page](int count) {
        for (int k = 0; k < count; ++k)
            page->refreshStep();
    };
    steps(kStrikeAtStep);
    const SetupDocument before = rig.state.CurrentDocument;
    QPushButton* resetTrips = nullptr;
    if (Action(action) == Action::HoldResetTrips) {
        resetTrips = namedChild<QPushButton>(*page, QStringLiteral("cmdResetTrips"));
        QTest::mousePress(resetTrips, Qt::LeftButton);
        QVERIFY(!momentaryOutputsOff(rig.board));
    }

    switch (Strike(strike)) {
    case Strike::Unplugged:
        rig.port.unplug();
        break;
    case Strike::FrozenPastTimeOut:
        rig.board.setFault(BoardSim::Fault::Silent);
        break;
    case Strike::FrozenOneByte:
        rig.board.setFault(BoardSim::Fault::Silent, 1);
        break;
    case Strike::WrongEchoOnce:
        rig.board.setFault(BoardSim::Fault::WrongEcho, 1);
        break;
    case Strike::WrongEchoTwice:
        rig.board.setFault(BoardSim::Fault::WrongEcho, 2);
        break;
    case Strike::PlsBusy:
        rig.board.setFault(BoardSim::Fault::PlsBusy);
        break;
    }
    // A link failure's box answered as a user who gives up would: Cancel.
    rig.prompts.setDefaultMessageAnswer(Prompts::Answer::Cancel);
    const auto runAction = [&] {
        const auto channel = [page] {
            return namedChild<QLineEdit>(*page, QStringLiteral("txtTmg1"));
        };
        switch (Action(action)) {
        case Action::BoardPass:
        case Action::HoldResetTrips:
            break;
        case Action::RecallChannel:
            channel()->setText(QStringLiteral("3"));
            namedChild<QPushButton>(*page, QStringLiteral("cmdRecallChan"))->click();
            break;
        case Action::ClearChannel:
            channel()->setText(QStringLiteral("3"));
            rig.prompts.answerMessage(Prompts::Answer::Yes);
            namedChild<QPushButton>(*page, QStringLiteral("cmdClearChan"))->click();
            break;
        case Action::Setpoint: {
            auto* field = namedChild<QLineEdit>(*page, QStringLiteral("txtChannel3"));
            field->setFocus(Qt::TabFocusReason);
            field->selectAll();
            QTest::keyClicks(field, QStringLiteral("150"));
            QTest::keyClick(field, Qt::Key_Return);
            break;
        }
        }
        steps(kPassSteps);
    };
    runAction();
    if (resetTrips)
        QTest::mouseRelease(resetTrips, Qt::LeftButton);
    steps(2);

    QStringList shown;
    for (const auto& record : rig.prompts.messages())
        shown << box(record.title, record.text);
    QCOMPARE(shown, boxes);
    QCOMPARE(rig.link.OnlineMode, online);
    QCOMPARE(rig.online.linkUp(), online);
    if (!(Action(action) == Action::Setpoint || Action(action) == Action::ClearChannel))
        QVERIFY(rig.state.CurrentDocument == before);

    // The board back: online again, the same pass or command goes through
    // without a box, and no output is left on.
    rig.board.setFault(BoardSim::Fault::None);
    rig.port.replug();
    rig.prompts.clear();
    QVERIFY(rig.goOnline());
    steps(kStrikeAtStep);
    runAction();
    QCOMPARE(rig.prompts.messageCount(), Action(action) == Action::ClearChannel ? 1 : 0);
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.port.sentBytes().isEmpty());
    QVERIFY(momentaryOutputsOff(rig.board));
}

QTEST_MAIN(TestPageDrills)
#include "tst_pagedrills.moc"
