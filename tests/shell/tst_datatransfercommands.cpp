// The File menu's data transfers as the user meets them: the questions
// (exact title, text, icon, buttons), the offline question, the progress
// window running the transfer on the main loop with Cancel live, and the
// save question an uploaded document brings.
#include "appstate.h"
#include "boardrig.h"
#include "commandcontext.h"
#include "datatransfer.h"
#include "datatransfercommands.h"
#include "documentcommands.h"
#include "frmprocessing.h"
#include "onlinesession.h"
#include "stepdriver.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kErrorText = QStringLiteral("Error Processing Request\r\n\r\nProcess Not Complete");

struct CommandRig : BoardRig {
    AppState state;
    OnlineSession online{link, port};
    int onlineChanges = 0;
    StepDriver statusPoll{link, [] {}, StepDriver::every(500)};
    CommandContext context{state, link, prompts, clock, folder, online, statusPoll, nullptr};
    DataTransferCommands commands{context};

    CommandRig() {
        QObject::connect(&online, &OnlineSession::changed, [this] { ++onlineChanges; });
        state.InitDefaultDocument();
        state.ProgramVersion = state.CurrentDocument.Version;
    }
    bool goOnline() {
        link.OpenRSComm(port);
        port.clearWire();
        return link.OnlineMode;
    }
    // Waits for the running transfer to end and its window to go.
    bool waitForEnd() {
        return QTest::qWaitFor([this] { return commands.runningTransfer() == nullptr; }, 10000);
    }
};

template <class T> T* child(QWidget* parent, const char* name) {
    return parent ? parent->findChild<T*>(QLatin1String(name)) : nullptr;
}

} // namespace

class TestDataTransferCommands : public QObject {
    Q_OBJECT

private slots:
    void confirmation_data();
    void confirmation();
    void pageCycleWaitsWhileTransferRuns();
    void uploadRunsInProgressWindow();
    void cancelButtonStopsDownload();
    void offlineQuestion_data();
    void offlineQuestion();
    void uploadedDocumentAsksToSave();
};

void TestDataTransferCommands::confirmation_data() {
    QTest::addColumn<int>("kind"); // -1: upload
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString download = QStringLiteral("You are about to Download Data to the PLC\r\n\r\n"
                                            "Do You Wish to Continue?\r\n\r\n");
    QTest::newRow("upload") << -1 << "Data Upload"
                            << "You are about to Upload Data from the PLC\r\n\r\n"
                               "Do You Wish to Continue?";
    QTest::newRow("download set-up parameters")
        << 0 << "Data Download"
        << download + "The Set-up Parameters of [unnamed] will be written to the PLC.";
    QTest::newRow("download all: the running shift counters go")
        << 4 << "Data Download"
        << download + "All Data (Set-up Parameters, Shift Data and Timing Channels) of "
                      "[unnamed] will be written to the PLC.\r\n\r\nThe PLC's running shift "
                      "counters will be replaced by the document's.";
}

void TestDataTransferCommands::confirmation() {
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QString, text);
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::No);
    if (kind < 0)
        rig.commands.upload(0);
    else
        rig.commands.download(kind);
    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, Prompts::Icon::Question);
    QCOMPARE(box.buttons, Prompts::Buttons::YesNo);
    // A download replaces what the board holds: Enter alone answers No.
    QCOMPARE(box.defaultButton,
             kind < 0 ? Prompts::DefaultButton::First : Prompts::DefaultButton::No);
    // No: nothing happens.
    QVERIFY(!rig.commands.runningTransfer());
    QVERIFY(rig.port.sentBytes().isEmpty());
    QVERIFY(rig.state.gUploadNOW.isEmpty());
}

// The page behind the modal window would read between the transfer's steps
// and halve its pace: its cycle waits, the status poll goes on.
void TestDataTransferCommands::pageCycleWaitsWhileTransferRuns() {
    CommandRig rig;
    QWidget mainWindow;
    StepDriver pageCycle(
        rig.link, [] {}, StepDriver::every(60000), &mainWindow);
    rig.context.window = &mainWindow;
    pageCycle.start(60000);
    rig.statusPoll.start(60000);
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.commands.upload(0);
    QVERIFY(rig.commands.runningTransfer());
    QVERIFY(!pageCycle.isActive());
    QVERIFY(rig.statusPoll.isActive());
    QVERIFY(rig.waitForEnd());
    QVERIFY(pageCycle.isActive());
    QVERIFY(rig.statusPoll.isActive());
}

void TestDataTransferCommands::uploadRunsInProgressWindow() {
    CommandRig rig;
    rig.board.setMemory(2088, 33);
    QVERIFY(rig.goOnline());
    rig.state.CurrentDocument.Addresses[1] = QStringLiteral("B2088");
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.commands.upload(4);

    frmProcessing* window = rig.commands.processingWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(child<QGroupBox>(window, "fraProcessing")->title(),
             QStringLiteral("Processing Request:"));
    QCOMPARE(child<QLabel>(window, "lblProcessing")->text(),
             QStringLiteral("Uploading Data, Please Standby..."));
    auto* bar = child<QProgressBar>(window, "prgProcessing");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 211);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(child<QPushButton>(window, "cmdCancel")->text(), QStringLiteral("&Cancel"));
    QCOMPARE(rig.state.TransferKind, 4);
    QCOMPARE(rig.state.gUploadNOW, generalDateText(rig.clock.now()));
    // The menu command has returned: the steps run on this loop.
    QVERIFY(rig.port.sentBytes().isEmpty());

    int lastValue = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) { lastValue = value; });
    QSignalSpy hidden(window, &QDialog::accepted);
    QVERIFY(hidden.isValid());
    QVERIFY(hidden.wait(10000));
    QCOMPARE(lastValue, 211);
    QCOMPARE(child<QLabel>(window, "lblProcessing")->text(),
             QStringLiteral("Uploading Timing Channels, Please Standby..."));
    QVERIFY(!window->isVisible());
    QVERIFY(rig.waitForEnd());
    QCOMPARE(rig.state.CurrentDocument.Values[1], 33);
    QCOMPARE(rig.prompts.messageCount(), 1);
}

void TestDataTransferCommands::cancelButtonStopsDownload() {
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerMessage(Prompts::Answer::Ok); // the box that says how far it got
    rig.commands.download(4);
    frmProcessing* window = rig.commands.processingWindow();
    QVERIFY(window);
    auto* bar = child<QProgressBar>(window, "prgProcessing");
    QVERIFY(QTest::qWaitFor([bar] { return bar->value() >= 20; }, 10000));
    QTest::mouseClick(child<QPushButton>(window, "cmdCancel"), Qt::LeftButton);
    DataTransfer* transfer = rig.commands.runningTransfer();
    QVERIFY(transfer);
    QVERIFY(QTest::qWaitFor(
        [transfer] { return transfer->outcome() != DataTransfer::Outcome::Running; }));
    QCOMPARE(transfer->outcome(), DataTransfer::Outcome::Cancelled);
    QVERIFY(bar->value() < 179);
    QVERIFY(rig.waitForEnd());
    // No PLS command reached the board: no 0x1B channel command, no configuration block.
    QVERIFY(!rig.port.sentBytes().contains(QByteArray("\xFF\x3B", 2)));
    QVERIFY(!rig.port.sentBytes().contains(QByteArray("\xFF\x1B", 2)));
    QVERIFY(!rig.state.ChannelsDownloaded);
    QCOMPARE(rig.prompts.messageCount(), 2);
    const ScriptedPrompts::Record box = rig.prompts.messages().last();
    QCOMPARE(box.title, QStringLiteral("Data Download"));
    QVERIFY2(box.text.startsWith(QStringLiteral("Process Cancelled\r\n\r\nLast Written: Element ")),
             qPrintable(box.text));
}

void TestDataTransferCommands::offlineQuestion_data() {
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<bool>("portFails");
    QTest::newRow("No: nothing") << Prompts::Answer::No << false;
    QTest::newRow("Yes: online, then the transfer") << Prompts::Answer::Yes << false;
    QTest::newRow("Yes, port cannot open: the error box at once") << Prompts::Answer::Yes << true;
}

void TestDataTransferCommands::offlineQuestion() {
    QFETCH(Prompts::Answer, answer);
    QFETCH(bool, portFails);
    CommandRig rig;
    rig.state.CurrentDocument.Addresses[1] = QStringLiteral("B3001");
    rig.state.CurrentDocument.Values[1] = 7;
    rig.prompts.answerMessage(answer);
    if (portFails) {
        rig.port.setOpenFailure({8002, QStringLiteral("MSComm1"), QStringLiteral("Invalid port")});
        rig.prompts.answerMessage(Prompts::Answer::Ok); // "Comm Port Error"
        rig.prompts.answerMessage(Prompts::Answer::Ok); // the transfer's error box
    }
    rig.commands.RunDataTransfer(12);
    const ScriptedPrompts::Record question = rig.prompts.messages().first();
    QCOMPARE(question.title, QStringLiteral("Program Offline"));
    QCOMPARE(question.text, QStringLiteral("Program is Currently OFFLINE\r\n\r\nDo You Wish to "
                                           "Switch to ONLINE MODE to Continue?"));
    QCOMPARE(question.icon, Prompts::Icon::Question);
    QCOMPARE(question.buttons, Prompts::Buttons::YesNo);
    if (answer == Prompts::Answer::No) {
        QCOMPARE(rig.onlineChanges, 0);
        QVERIFY(!rig.commands.runningTransfer());
        QCOMPARE(rig.prompts.messageCount(), 1);
        return;
    }
    QCOMPARE(rig.onlineChanges, 1);
    QVERIFY(rig.commands.runningTransfer());
    QVERIFY(rig.waitForEnd());
    const QList<ScriptedPrompts::Record> boxes = rig.prompts.messages();
    if (portFails) {
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes.at(1).title, QStringLiteral("Comm Port Error"));
        QCOMPARE(boxes.at(2).text, kErrorText + QStringLiteral("\r\n\r\nNothing was Written"));
    } else {
        QCOMPARE(boxes.size(), 1);
        QVERIFY(rig.link.OnlineMode);
        QCOMPARE(int(rig.board.memory(3001)), 7);
    }
}

void TestDataTransferCommands::uploadedDocumentAsksToSave() {
    CommandRig rig;
    DocumentCommands documents(rig.state, rig.prompts, rig.clock);
    // A saved document with a value the board does not hold.
    rig.state.CurrentDocument.Values[161] = 5;
    rig.state.CurrentDocument.Addresses[161] = QStringLiteral("B3000");
    rig.state.SavedDocument = rig.state.CurrentDocument;
    QVERIFY(!documents.PromptSaveChanges().has_value());
    rig.board.setMemory(3000, 6);
    QVERIFY(rig.goOnline());
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.commands.upload(0);
    QVERIFY(rig.waitForEnd());
    QCOMPARE(rig.state.CurrentDocument.Values[161], 6);

    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    documents.newDocument();
    const ScriptedPrompts::Record box = rig.prompts.messages().last();
    QCOMPARE(box.text, QStringLiteral("Save Changes to File?"));
    QCOMPARE(box.buttons, Prompts::Buttons::YesNoCancel);
    // Cancel keeps the uploaded document.
    QCOMPARE(rig.state.CurrentDocument.Values[161], 6);
}

QTEST_MAIN(TestDataTransferCommands)
#include "tst_datatransfercommands.moc"
