// The program download and upload as the user meets them from the menus:
// the program file dialog, the questions (exact title, text, icon,
// buttons), what reaches the board after each answer, the progress window
// with its timer and labels, the status poll stopped for the transfer and
// started after it, and an upload's files left alone when it is cancelled.
#include "appstate.h"
#include "boardrig.h"
#include "commandcontext.h"
#include "frmdownloadprog.h"
#include "onlinesession.h"
#include "programcommands.h"
#include "stepdriver.h"
#include "steptask.h"
#include "targetboardcommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int kIdentBlock = 61424;
const QByteArray kImage = QByteArrayLiteral(":04200000DEADBEEFA4\r\n"
                                            ":022010001122" // no record checksum
                                            "\r\n:00000001FF\r\n");

struct CommandRig : BoardRig {
    AppState state;
    OnlineSession online{link, port};
    int onlineChanges = 0;
    int polls = 0;
    StepDriver statusPoll{link, [this] { ++polls; }, StepDriver::every(60000)};
    // The main window with the refresh cycle of its page.
    QWidget window;
    StepDriver pageCycle{link, [] {}, StepDriver::every(60000), &window};
    CommandContext context{state, link, prompts, clock, folder, online, statusPoll, &window};
    ProgramCommands commands{context};

    CommandRig() {
        QObject::connect(&online, &OnlineSession::changed, [this] { ++onlineChanges; });
        statusPoll.start(60000);
        pageCycle.start(60000);
        // The program in the board: "OLDPROG", checksum 5, revision 2.
        const QByteArray ident("OLDPROG");
        for (int k = 0; k < ident.size(); ++k)
            board.setMemory(kIdentBlock + k, static_cast<std::uint8_t>(ident.at(k)));
        board.setMemory(kIdentBlock + 7, 0);
        board.setMemory(kIdentBlock + 8, 5);
        board.setMemory(kIdentBlock + 9, 2);
    }
    bool goOnline() {
        link.OpenRSComm(port);
        port.clearWire();
        return link.OnlineMode;
    }
    QString path(const QString& name) const { return QDir(home.path()).filePath(name); }
    // A program file set NEW.wdx of board code, ident "NEWPROG1",
    // checksum 28, revision 5, and kImage; returns the program path.
    QString writeProgramSet(char code) {
        writeFile(QStringLiteral("NEW.wdx"), QByteArray("\"") + code + "\",4.2,Wendax\r\n");
        writeFile(QStringLiteral("NEW.rev"), "NEWPROG11<05\r\n");
        writeFile(QStringLiteral("NEW.hex"), kImage);
        return path(QStringLiteral("NEW.wdx"));
    }
    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Waits on the event loop, the manual clock going along roughly as the
    // real one does, so that the download's pauses (timed by the link's
    // clock) come to their end.
    bool waitFor(const std::function<bool()>& done, int timeoutMs) {
        return QTest::qWaitFor(
            [this, &done] {
                clock.advance(10);
                return done();
            },
            timeoutMs);
    }
    bool waitForEnd() {
        return waitFor([this] { return commands.runningTask() == nullptr; }, 15000);
    }
    // Board bytes from address on, as many as expected has.
    QByteArray memory(int address, int count) const {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes.append(static_cast<char>(board.memory(address + i)));
        return bytes;
    }
};

template <class T> T* child(QWidget* parent, const char* name) {
    return parent ? parent->findChild<T*>(QLatin1String(name)) : nullptr;
}

void compareBox(const ScriptedPrompts::Record& box, const QString& title, const QString& text,
                Prompts::Icon icon, Prompts::Buttons buttons) {
    QCOMPARE(box.kind, ScriptedPrompts::Kind::Message);
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.buttons, buttons);
}

const QString kComparison = QStringLiteral("Program to be loaded into module (on disk):\r\n"
                                           "  Program Ident: \t\tNEWPROG1\r\n"
                                           "  Program Revision: \t\t5\r\n"
                                           "  Program Checksum: \t28\r\n"
                                           "  Target Board: \t\t%1\r\n"
                                           "\r\n"
                                           "Program currently loaded in module:\r\n"
                                           "  Program Ident: \t\tOLDPROG\r\n"
                                           "  Program Revision: \t\t2\r\n"
                                           "  Program Checksum: \t5\r\n"
                                           "\r\n"
                                           "Entire program file will be dumped to the PLC.\r\n"
                                           "All outputs are off while program dump occurrs.\r\n"
                                           "\r\n"
                                           "Do You Wish to Continue?\r\n");

} // namespace

class TestProgramCommands : public QObject {
    Q_OBJECT

private slots:
    void programFileDialog_data();
    void programFileDialog();
    void downloadOfflineQuestion_data();
    void downloadOfflineQuestion();
    void downloadConfirmationNoSendsNothing();
    void comparisonDeclinedLeavesBoardAlone_data();
    void comparisonDeclinedLeavesBoardAlone();
    void downloadRunsInProgressWindow();
    void everyEndingRestartsThePoll_data();
    void everyEndingRestartsThePoll();
    void setThatCannotBeDownloadedAsksNothing_data();
    void setThatCannotBeDownloadedAsksNothing();
    void targetBoardPageOpensThroughTheCheck_data();
    void targetBoardPageOpensThroughTheCheck();
    void uploadConfirmation_data();
    void uploadConfirmation();
    void uploadRefusedBeforeTheQuestion();
    void uploadRunsInProgressWindow();
    void cancelledUploadWritesNoFile();
};

void TestProgramCommands::programFileDialog_data() {
    QTest::addColumn<bool>("upload");
    QTest::newRow("Download Program") << false;
    QTest::newRow("Upload Program") << true;
}

void TestProgramCommands::programFileDialog() {
    QFETCH(bool, upload);
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.state.gProgramFilePath = rig.path(QStringLiteral("LAST.wdx"));
    rig.prompts.answerOpenFile(std::nullopt);
    if (upload)
        rig.commands.UploadProgram();
    else
        rig.commands.downloadProgram();
    QCOMPARE(rig.prompts.records().size(), 1);
    const ScriptedPrompts::Record dialog = rig.prompts.records().first();
    QCOMPARE(dialog.kind, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(dialog.fileDialog.title, upload ? QStringLiteral("Select Program File for the Upload")
                                             : QStringLiteral("Select Program File"));
    QCOMPARE(dialog.fileDialog.filter, QStringLiteral("Wendax Files(*.wdx)|*.wdx|"));
    QCOMPARE(dialog.fileDialog.fileName, rig.path(QStringLiteral("LAST.wdx")));
    QVERIFY(dialog.fileDialog.mustExist);
    // Cancelled: nothing more, the last path kept.
    QVERIFY(!rig.commands.runningTask());
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.state.gProgramFilePath, rig.path(QStringLiteral("LAST.wdx")));
}

void TestProgramCommands::downloadOfflineQuestion_data() {
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<bool>("dialogShown");
    QTest::newRow("No: no file dialog") << Prompts::Answer::No << false;
    QTest::newRow("Yes: online, then the file dialog") << Prompts::Answer::Yes << true;
}

void TestProgramCommands::downloadOfflineQuestion() {
    QFETCH(Prompts::Answer, answer);
    QFETCH(bool, dialogShown);
    CommandRig rig;
    rig.prompts.answerMessage(answer);
    if (dialogShown)
        rig.prompts.answerOpenFile(std::nullopt);
    rig.commands.downloadProgram();
    compareBox(rig.prompts.records().first(), QStringLiteral("Program Offline"),
               QStringLiteral("Program is Currently OFFLINE\r\n\r\nDo You Wish to Switch to "
                              "ONLINE MODE to Continue?"),
               Prompts::Icon::Question, Prompts::Buttons::YesNo);
    QCOMPARE(rig.prompts.records().size(), dialogShown ? 2 : 1);
    QCOMPARE(rig.link.OnlineMode, dialogShown);
    QCOMPARE(rig.onlineChanges, dialogShown ? 1 : 0);
    QVERIFY(rig.prompts.scriptUsedUp());
}

void TestProgramCommands::downloadConfirmationNoSendsNothing() {
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerOpenFile(rig.writeProgramSet('D'));
    rig.prompts.answerMessage(Prompts::Answer::No);
    rig.commands.downloadProgram();
    QCOMPARE(rig.prompts.messageCount(), 1);
    compareBox(rig.prompts.messages().first(), QStringLiteral("Program Download"),
               QStringLiteral("You are about to download \"NEW.wdx\" to the K7600.\r\n\r\n"
                              "Do you wish to continue?"),
               Prompts::Icon::Question, Prompts::Buttons::YesNo);
    QCOMPARE(rig.prompts.messages().first().defaultButton, Prompts::DefaultButton::No);
    QCOMPARE(rig.state.gProgramFilePath, rig.path(QStringLiteral("NEW.wdx")));
    QVERIFY(!rig.commands.runningTask());
    QVERIFY(rig.port.sentBytes().isEmpty());
    QVERIFY(rig.statusPoll.isActive());
    QVERIFY(rig.link.OnlineMode);
}

void TestProgramCommands::comparisonDeclinedLeavesBoardAlone_data() {
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::newRow("No") << Prompts::Answer::No;
    QTest::newRow("Cancel") << Prompts::Answer::Cancel;
}

void TestProgramCommands::comparisonDeclinedLeavesBoardAlone() {
    QFETCH(Prompts::Answer, answer);
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setMemory(8181, 7);
    rig.prompts.answerOpenFile(rig.writeProgramSet('D'));
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerMessage(answer);
    rig.commands.downloadProgram();
    QVERIFY(rig.commands.progressWindow());
    QVERIFY(!rig.statusPoll.isActive());
    QVERIFY(rig.waitForEnd());

    QCOMPARE(rig.prompts.messageCount(), 2);
    compareBox(rig.prompts.messages().at(1), QStringLiteral("Program Download - [NEWPROG1]"),
               kComparison.arg(QStringLiteral("K7600(PLC)")), Prompts::Icon::Question,
               Prompts::Buttons::YesNoCancel);
    // Only the ident block was read: no start value, no program mode.
    QCOMPARE(rig.board.memory(8181), std::uint8_t(7));
    QVERIFY(!rig.port.sentBytes().contains('\x03'));
    QCOMPARE(rig.board.programMemory().byte(0x2000), std::uint8_t(0));
    QCOMPARE(rig.memory(kIdentBlock, 7), QByteArray("OLDPROG"));
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.link.InProgramMode());
    QVERIFY(rig.statusPoll.isActive());
    QCOMPARE(rig.onlineChanges, 1);
}

void TestProgramCommands::downloadRunsInProgressWindow() {
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerOpenFile(rig.writeProgramSet('D'));
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    // From the comparison box on, the transfer runs: no status poll.
    QStringList boxesWhilePolling;
    rig.prompts.setDuringMessage([&] {
        if (rig.statusPoll.isActive())
            boxesWhilePolling << rig.prompts.records().last().title;
    });
    rig.commands.downloadProgram();

    frmDownloadProg* window = rig.commands.progressWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->TransferMode(), int(frmDownloadProg::kDownload));
    auto* label = child<QLabel>(window, "lblWaitDisplay");
    QCOMPARE(label->text(), QStringLiteral("Sending Program at Address: "));
    QCOMPARE(window->Timer1()->interval(), 250);
    QVERIFY(window->Timer1()->isActive());
    QVERIFY(!child<QPushButton>(window, "cmdCancel")->isVisible());
    QSignalSpy closed(window, &QDialog::accepted);
    QVERIFY(closed.isValid());
    // The menu command has returned: the steps run on this loop.
    QVERIFY(rig.port.sentBytes().isEmpty());
    QVERIFY(!rig.statusPoll.isActive());
    QVERIFY(!rig.pageCycle.isActive());

    // In the 2 s pause after program mode the label names the last record.
    QVERIFY(rig.waitFor(
        [label] { return label->text() == QStringLiteral("Writing to Program Address: 2010H"); },
        5000));
    // Escape does not break off a download.
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(rig.commands.runningTask());
    QVERIFY(rig.waitForEnd());

    QCOMPARE(rig.prompts.messageCount(), 3);
    compareBox(rig.prompts.messages().at(2), QStringLiteral("Program Download"),
               QStringLiteral("Program Download Complete!"), Prompts::Icon::Information,
               Prompts::Buttons::Ok);
    QCOMPARE(boxesWhilePolling, QStringList{QStringLiteral("Program Download")});
    QCOMPARE(rig.board.programMemory().byte(0x2000), std::uint8_t(0xDE));
    QCOMPARE(rig.board.programMemory().byte(0x2003), std::uint8_t(0xEF));
    QCOMPARE(rig.board.programMemory().byte(0x2011), std::uint8_t(0x22));
    QCOMPARE(rig.memory(kIdentBlock, 10), QByteArray("NEWPROG1\x1c\x05", 10));
    QVERIFY(!rig.board.inProgramMode());
    // Online again, the port opened anew, the status poll running.
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(!rig.link.ValidProgram());
    QCOMPARE(rig.onlineChanges, 1);
    QVERIFY(rig.statusPoll.isActive());
    QVERIFY(rig.pageCycle.isActive());
    QCOMPARE(closed.count(), 1);
}

void TestProgramCommands::everyEndingRestartsThePoll_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<bool>("badChecksum");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("online");
    QTest::newRow("board answers a wrong checksum: offline")
        << kImage << true << "Program Download"
        << "Checksum Error, Program Download Halted!\r\n\r\nRecords accepted by the board: 0 "
           "of 2."
        << false;
    QTest::newRow("malformed line after good ones: refused before the board, still online")
        << QByteArray(":04200000DEADBEEFA4\r\n:02201G001122\r\n:00000001FF\r\n") << false
        << "Program Dump"
        << "Currently Selected Program is Invalid.\r\n\r\nProgram Download Halted!\r\n\r\n"
           "{dir}/NEW.hex: line 2 has no hex count, address and type."
        << true;
}

void TestProgramCommands::everyEndingRestartsThePoll() {
    QFETCH(QByteArray, image);
    QFETCH(bool, badChecksum);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, online);
    CommandRig rig;
    QVERIFY(rig.goOnline());
    const QString program = rig.writeProgramSet('D');
    rig.writeFile(QStringLiteral("NEW.hex"), image);
    if (badChecksum)
        rig.board.setFault(BoardSim::Fault::BadChecksum);
    rig.prompts.answerOpenFile(program);
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    if (badChecksum)
        rig.prompts.answerMessage(Prompts::Answer::Yes); // the comparison
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.downloadProgram();
    QVERIFY(rig.waitForEnd());
    compareBox(rig.prompts.messages().last(), title, text.replace("{dir}", rig.home.path()),
               Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    QVERIFY(rig.prompts.scriptUsedUp());
    // A bad reply stops at its record; a malformed image sends no record.
    QCOMPARE(rig.board.programMemory().byte(0x2000), std::uint8_t(badChecksum ? 0xDE : 0));
    QCOMPARE(rig.board.programMemory().byte(0x2010), std::uint8_t(0));
    QCOMPARE(rig.link.OnlineMode, online);
    QCOMPARE(rig.onlineChanges, 1);
    QVERIFY(rig.statusPoll.isActive());
    QVERIFY(rig.pageCycle.isActive());
}

void TestProgramCommands::setThatCannotBeDownloadedAsksNothing_data() {
    QTest::addColumn<char>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Prompts::Icon>("icon");
    QTest::newRow("PLS board program")
        << '7' << "PLS Program Download"
        << "NEW file is a PLS target board program.\r\nOpen PLS program to download to target "
           "board.\r\n\r\nProgram Downloaded Halted."
        << Prompts::Icon::Information;
    QTest::newRow("code 1: incompatible")
        << '1' << "Program Download"
        << "NEW file is incompatible with target board.\r\n\r\nProgram Downloaded Halted!"
        << Prompts::Icon::Critical;
}

void TestProgramCommands::setThatCannotBeDownloadedAsksNothing() {
    QFETCH(char, code);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(Prompts::Icon, icon);
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerOpenFile(rig.writeProgramSet(code));
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.downloadProgram();
    QCOMPARE(rig.prompts.messageCount(), 1);
    compareBox(rig.prompts.messages().first(), title, text, icon, Prompts::Buttons::Ok);
    QVERIFY(!rig.commands.runningTask());
    QVERIFY(rig.port.sentBytes().isEmpty());
    QVERIFY(rig.statusPoll.isActive());
}

void TestProgramCommands::targetBoardPageOpensThroughTheCheck_data() {
    QTest::addColumn<char>("code"); // 0: the dialog is cancelled
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("messages");
    QTest::newRow("valid set: the page for it") << 'D' << "" << QStringList{"NEW.wdx"} << 0;
    QTest::newRow("incompatible set: its box, no page") << '1' << "" << QStringList{} << 1;
    QTest::newRow("cancelled: the page for the previous program")
        << char(0) << "OLD.wdx" << QStringList{"OLD.wdx"} << 0;
    QTest::newRow("cancelled, nothing chosen before: the page all the same")
        << char(0) << "" << QStringList{""} << 0;
}

void TestProgramCommands::targetBoardPageOpensThroughTheCheck() {
    QFETCH(char, code);
    QFETCH(QString, previous);
    QFETCH(QStringList, opened);
    QFETCH(int, messages);
    CommandRig rig; // offline: the page asks nothing about it
    TargetBoardCommand command(rig.context);
    QStringList pages;
    command.setPageOpener([&](const QString& path) { pages << QFileInfo(path).fileName(); });
    if (!previous.isEmpty())
        rig.state.gProgramFilePath = rig.path(previous);
    if (code)
        rig.prompts.answerOpenFile(rig.writeProgramSet(code));
    else
        rig.prompts.answerOpenFile(std::nullopt);
    if (messages)
        rig.prompts.answerMessage(Prompts::Answer::Ok);
    command.show();
    QCOMPARE(pages, opened);
    QCOMPARE(rig.prompts.messageCount(), messages);
    QCOMPARE(rig.prompts.records().first().fileDialog.filter,
             QStringLiteral("Wendax Files(*.wdx)|*.wdx|"));
}

void TestProgramCommands::uploadConfirmation_data() {
    QTest::addColumn<bool>("offline");
    QTest::newRow("online") << false;
    QTest::newRow("offline, then online on Yes") << true;
}

void TestProgramCommands::uploadConfirmation() {
    QFETCH(bool, offline);
    CommandRig rig;
    if (offline)
        rig.prompts.answerMessage(Prompts::Answer::Yes);
    else
        QVERIFY(rig.goOnline());
    const QString program = rig.writeProgramSet('D');
    rig.port.clearWire();
    rig.prompts.answerOpenFile(program);
    rig.prompts.answerMessage(Prompts::Answer::No);
    rig.commands.UploadProgram();
    QCOMPARE(rig.prompts.messageCount(), offline ? 2 : 1);
    compareBox(rig.prompts.messages().last(), QStringLiteral("Program Upload"),
               QStringLiteral("You are about to upload the program in the K7600 into "
                              "\"NEW.wdx\".\r\n\r\nIts revision, configuration and image files "
                              "will be replaced.\r\n\r\nDo you wish to continue?"),
               Prompts::Icon::Question, Prompts::Buttons::YesNo);
    QCOMPARE(rig.prompts.messages().last().defaultButton, Prompts::DefaultButton::No);
    QVERIFY(!rig.commands.runningTask());
    QVERIFY(!rig.link.InUploadMode());
    // Nothing but going online reached the board; the files are as they were.
    QCOMPARE(rig.port.sentBytes(), offline ? QByteArray("\xFF") : QByteArray());
    QCOMPARE(rig.readFile(QStringLiteral("NEW.hex")), kImage);
    QCOMPARE(rig.readFile(QStringLiteral("NEW.rev")), QByteArray("NEWPROG11<05\r\n"));
}

// A set that cannot be backed up whole is refused in place of the question:
// no window, nothing sent, the files as they were.
void TestProgramCommands::uploadRefusedBeforeTheQuestion() {
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerOpenFile(rig.writeProgramSet('2'));
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.UploadProgram();
    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, QStringLiteral("Program Upload"));
    QVERIFY2(box.text.startsWith("Board code \"2\""), qPrintable(box.text));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QVERIFY(!rig.commands.runningTask());
    QVERIFY(!rig.link.InUploadMode());
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.readFile(QStringLiteral("NEW.hex")), kImage);
    QVERIFY(rig.statusPoll.isActive());
}

void TestProgramCommands::uploadRunsInProgressWindow() {
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setMemory(kIdentBlock + 8, 10);
    rig.board.setMemory(0x3FFF, 0xA5);
    rig.prompts.answerOpenFile(rig.writeProgramSet('4'));
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.commands.UploadProgram();
    frmDownloadProg* window = rig.commands.progressWindow();
    QVERIFY(window);
    QCOMPARE(window->TransferMode(), int(frmDownloadProg::kUpload));
    int modeAtClose = -1;
    QObject::connect(window, &QDialog::accepted,
                     [&modeAtClose, window] { modeAtClose = window->TransferMode(); });
    QCOMPARE(window->windowTitle(), QStringLiteral("Program Upload"));
    QCOMPARE(child<QLabel>(window, "lblWaitDisplay")->text(),
             QStringLiteral("Reading Program at Address: "));
    QVERIFY(child<QPushButton>(window, "cmdCancel")->isVisible());
    QVERIFY(rig.link.InUploadMode());
    QVERIFY(!rig.statusPoll.isActive());
    QVERIFY(!rig.pageCycle.isActive());
    // 8192 reads: the loop runs freely until the window closes.
    QSignalSpy closed(window, &QDialog::accepted);
    QVERIFY(closed.isValid());
    QVERIFY(closed.wait(30000));
    QVERIFY(rig.waitForEnd());

    compareBox(rig.prompts.messages().last(), QStringLiteral("Program Upload"),
               QStringLiteral("Program Upload Complete!"), Prompts::Icon::Information,
               Prompts::Buttons::Ok);
    // A code "4" board: 2000H to 3FFFH, 512 lines and the end record.
    const QByteArray image = rig.readFile(QStringLiteral("NEW.hex"));
    QCOMPARE(image.count('\n'), 513);
    QVERIFY(image.endsWith(":103FF000" + QByteArray(30, '0') + "A5\r\n:00000001FF\r\n"));
    QCOMPARE(rig.readFile(QStringLiteral("NEW.rev")), QByteArray("OLDPROG\0000:02\r\n", 14));
    QCOMPARE(rig.readFile(QStringLiteral("NEW.lcf")), QByteArray("<missing>"));
    QVERIFY(!rig.link.InUploadMode());
    QVERIFY(rig.statusPoll.isActive());
    QCOMPARE(rig.onlineChanges, 1);
    QCOMPARE(modeAtClose, int(frmDownloadProg::kDownload));
}

void TestProgramCommands::cancelledUploadWritesNoFile() {
    CommandRig rig;
    QVERIFY(rig.goOnline());
    rig.prompts.answerOpenFile(rig.writeProgramSet('D'));
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.commands.UploadProgram();
    frmDownloadProg* window = rig.commands.progressWindow();
    QVERIFY(window);
    StepTask* task = rig.commands.runningTask();
    // Into the memory of a code "D" board (32768 reads from 4000H).
    QVERIFY(QTest::qWaitFor([task] { return task->progress() > 40; }, 10000));
    QTest::mouseClick(child<QPushButton>(window, "cmdCancel"), Qt::LeftButton);
    QVERIFY(rig.waitForEnd());

    QCOMPARE(rig.prompts.messageCount(), 1); // the confirmation only
    QCOMPARE(rig.readFile(QStringLiteral("NEW.hex")), kImage);
    QCOMPARE(rig.readFile(QStringLiteral("NEW.rev")), QByteArray("NEWPROG11<05\r\n"));
    QCOMPARE(QDir(rig.home.path()).entryList(QDir::Files).size(), 3);
    QVERIFY(!rig.link.InUploadMode());
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(rig.statusPoll.isActive());
    QVERIFY(rig.pageCycle.isActive());
}

QTEST_MAIN(TestProgramCommands)
#include "tst_programcommands.moc"
