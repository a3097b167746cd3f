#include "appstate.h"
#include "boardrig.h"
#include "frmabout.h"
#include "frmmdimain.h"
#include "helpwindow.h"
#include "placeholderpage.h"
#include "stepdriver.h"
#include "vralversion.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <memory>

namespace {

const QString kCommErrorTitle = QStringLiteral("WARNING - Communication Error!");

// Everything the main window works with, on the simulated board and the
// manual clock. Pages are small widgets that log when they are built and
// destroyed, so the page-table order can be checked.
struct Rig : BoardRig {
    AppState state;
    QStringList pageLog;
    std::unique_ptr<frmMDIMain> window;

    Rig() {
        window =
            std::make_unique<frmMDIMain>(state, link, port, prompts, clock, folder, pageTable());
        // The tests drive the poll themselves.
        window->statusPollDriver().stop();
    }

    QVector<PageEntry> pageTable() {
        const QStringList names = {"frmMain",   "frmSetup", "frm8830DF1",
                                   "frmTiming", "frmData",  "frmDisplayIO"};
        const QStringList captions = {
            "&1 Main Display",   "&2 Set-up Parameters", "&3 Serial Communications",
            "&3 Machine Timing", "&4 Shift Data",        "&5 I/O States"};
        QVector<PageEntry> pages;
        for (int i = 0; i < names.size(); ++i) {
            PageEntry entry{names.at(i), captions.at(i), i != 2, {}};
            const auto placeholder = placeholderPage(captions.at(i));
            entry.create = [this, i, placeholder](PageServices& services, QWidget* parent) {
                QWidget* page = placeholder(services, parent);
                pageLog << QStringLiteral("load %1").arg(i);
                QObject::connect(page, &QObject::destroyed, page,
                                 [this, i] { pageLog << QStringLiteral("unload %1").arg(i); });
                return page;
            };
            pages.append(entry);
        }
        return pages;
    }

    QAction* action(const QString& name) const {
        QAction* found = window->findChild<QAction*>(name);
        if (!found)
            qWarning("no action %s", qPrintable(name));
        return found;
    }
    QLabel* panel(int number) const {
        return window->findChild<QLabel*>(QStringLiteral("sbrMainPanel%1").arg(number));
    }
    int word(int address) const { return board.memory(address) | (board.memory(address + 1) << 8); }
    void setWord(int address, int value) {
        board.setMemory(address, value & 0xFF);
        board.setMemory(address + 1, (value >> 8) & 0xFF);
    }
    void goOnline() {
        action(QStringLiteral("mnuViewOnline"))->trigger();
        QVERIFY(link.OnlineMode);
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpState();
    void firstTickOffline();
    void menuEntries_data();
    void menuEntries();
    void windowMenuTable();
    void showPageUnloadsBeforeLoading();
    void windowFitsSmallScreens();
    void showPageSameIndexDoesNothing();
    void windowMenuEntryShowsPage();
    void onlineAndOffline();
    void statusPollOnline();
    void silentBoardFallsBackOffline();
    void tickInsideTransactionBoxSkipsRead();
    void doubleClickOnModePanelToggles();
    void doubleClickOnOtherPanelsDoesNothing_data();
    void doubleClickOnOtherPanelsDoesNothing();
    void exitCancelKeepsRunning();
    void exitYesWithCancelledSaveKeepsRunning();
    void exitNoClosesLink();
    void exitWarnsOfReleaseStillOwed();
    void commPortFailedReopenShowsOffline();
    void passcodeWritesWord();
    void passcodeEmptyAnswerWritesNothing();
    void offlineEditingToggles();
    void printCancelledEndsSilently();
    void dateAndTimePanelsFollowClock();
    void aboutBoxIsModeless();
    void helpTopicsWithoutHelpFolder();
    void helpTopicsOpensContents();
    void accessKeysUniqueInEveryMenu();
    void helpPagesLinksResolve();
};

void TestMainWindow::startUpState() {
    Rig rig;
    QCOMPARE(rig.window->objectName(), QStringLiteral("frmMDIMain"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("VRAL - [unnamed]"));
    QCOMPARE(rig.window->currentPageIndex(), 0);
    QVERIFY(rig.window->currentPage());
    QCOMPARE(rig.window->currentPage()->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(rig.pageLog, QStringList{"load 0"});

    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.port.isOpen());
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.panel(1)->text(), QStringLiteral("System Message:"));
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("OFFLINE"));
    QVERIFY(rig.action("mnuViewOffline")->isChecked());
    QVERIFY(!rig.action("mnuViewOnline")->isChecked());
    QVERIFY(!rig.action("mnuEditPasscode")->isEnabled());
    QVERIFY(!rig.action("mnuEditOfflineEditing")->isChecked());
    QVERIFY(rig.action("mnuWindowForm0")->isChecked());

    // The default document is current and saved, and the first Open starts
    // in the application folder.
    QCOMPARE(rig.state.CurrentDocument.Values.size(), 179);
    QVERIFY(rig.state.CurrentDocument == rig.state.SavedDocument);
    QVERIFY(rig.state.DocumentUntitled);
    QCOMPARE(rig.state.gFileNamePath, QDir(rig.home.path()).filePath("*.sdt"));
    QCOMPARE(rig.prompts.records().size(), 0);

    auto* poll = rig.window->findChild<StepDriver*>(QStringLiteral("tmrBackgroungUpdate"));
    QVERIFY(poll);
    poll->start();
    rig.window->backgroundUpdate();
    QCOMPARE(poll->scheduledDelayMs(), 500); // every tick schedules the next one 500 ms on
    poll->stop();
}

void TestMainWindow::firstTickOffline() {
    Rig rig;
    rig.window->backgroundUpdate();
    QCOMPARE(rig.panel(1)->text(), QStringLiteral("System Message:  Program is Currently OFFLINE"));
    QCOMPARE(rig.state.SystemStatusText, QStringLiteral("Set-up Program is Currently OFFLINE"));
    QVERIFY(rig.port.sentBytes().isEmpty());
}

void TestMainWindow::menuEntries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    const QKeySequence none;
    QTest::newRow("New") << "mnuFileNew"
                         << "&New..." << QKeySequence("Ctrl+N");
    QTest::newRow("Open") << "mnuFileOpen"
                          << "&Open..." << QKeySequence("Ctrl+O");
    QTest::newRow("Save") << "mnuFileSave"
                          << "&Save" << QKeySequence("Ctrl+S");
    QTest::newRow("Save As") << "mnuFileSaveAs"
                             << "Save &As..." << none;
    QTest::newRow("Export") << "mnuFileExport"
                            << "Export Shift Data..." << QKeySequence("Ctrl+X");
    QTest::newRow("Upload parameters") << "mnuFileUploadData0"
                                       << "Set-up &Parameters" << none;
    QTest::newRow("Upload channels") << "mnuFileUploadData1"
                                     << "Timing &Channels" << none;
    QTest::newRow("Upload shift data") << "mnuFileUploadData2"
                                       << "Shift &Data" << none;
    QTest::newRow("Upload all") << "mnuFileUploadData4"
                                << "&All" << none;
    QTest::newRow("Download program") << "mnuFileDownloadProgram"
                                      << "Download Pro&gram" << none;
    QTest::newRow("Upload program") << "mnuFileUploadProgram"
                                    << "Up&load Program..." << none;
    QTest::newRow("Download parameters") << "mnuFileDownloadData0"
                                         << "Set-up &Parameters" << none;
    QTest::newRow("Download channels") << "mnuFileDownloadData1"
                                       << "Timing &Channels" << none;
    QTest::newRow("Download shift data") << "mnuFileDownloadData2"
                                         << "Shift &Data" << none;
    QTest::newRow("Download all") << "mnuFileDownloadData4"
                                  << "&All" << none;
    QTest::newRow("Print") << "mnuFilePrint"
                           << "&Print Report..." << QKeySequence("Ctrl+P");
    QTest::newRow("Print preview") << "mnuFilePrintPreview"
                                   << "Print Pre&view..." << none;
    QTest::newRow("Export PDF") << "mnuFileExportPdf"
                                << "&Export Report as PDF..." << none;
    QTest::newRow("Exit") << "mnuFileExit"
                          << "E&xit" << none;
    QTest::newRow("Offline editing") << "mnuEditOfflineEditing"
                                     << "Enable &Offline Editing" << QKeySequence("F2");
    QTest::newRow("Comm port") << "mnuEditCommPort"
                               << "Co&mm Port" << QKeySequence("Ctrl+M");
    QTest::newRow("Passcode") << "mnuEditPasscode"
                              << "Set-up Passcode" << none;
    QTest::newRow("Target board") << "mnuViewTargetBoardStatus"
                                  << "&Target Board Interface" << none;
    QTest::newRow("Online") << "mnuViewOnline"
                            << "O&nline Data" << QKeySequence("F3");
    QTest::newRow("Offline") << "mnuViewOffline"
                             << "O&ffline Data" << QKeySequence("F4");
    QTest::newRow("Help topics") << "mnuHelpTopics"
                                 << "&Help Topics" << QKeySequence("Ctrl+H");
    QTest::newRow("About") << "mnuHelpAbout"
                           << "&About VRAL" << none;
}

void TestMainWindow::menuEntries() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    Rig rig;
    QAction* action = rig.action(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
}

void TestMainWindow::windowMenuTable() {
    Rig rig;
    const QStringList captions = {
        "&1 Main Display",   "&2 Set-up Parameters", "&3 Serial Communications",
        "&3 Machine Timing", "&4 Shift Data",        "&5 I/O States"};
    for (int i = 0; i < captions.size(); ++i) {
        QAction* entry = rig.action(QStringLiteral("mnuWindowForm%1").arg(i));
        QVERIFY(entry);
        QCOMPARE(entry->text(), captions.at(i));
        QCOMPARE(entry->isVisible(), i != 2);
        QCOMPARE(entry->isChecked(), i == 0);
    }
}

void TestMainWindow::showPageUnloadsBeforeLoading() {
    Rig rig;
    rig.window->ShowPage(3);
    QCOMPARE(rig.pageLog, (QStringList{"load 0", "unload 0", "load 3"}));
    QCOMPARE(rig.window->currentPageIndex(), 3);
    QCOMPARE(rig.window->currentPage()->objectName(), QStringLiteral("frmTiming"));
    QCOMPARE(rig.window->findChild<QWidget*>(QStringLiteral("pageHost"))
                 ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)
                 .size(),
             1);
    QVERIFY(!rig.action("mnuWindowForm0")->isChecked());
    QVERIFY(rig.action("mnuWindowForm3")->isChecked());
}

void TestMainWindow::showPageSameIndexDoesNothing() {
    Rig rig;
    rig.window->ShowPage(1);
    QWidget* page = rig.window->currentPage();
    rig.window->ShowPage(1);
    QCOMPARE(rig.window->currentPage(), page);
    QCOMPARE(rig.pageLog, (QStringList{"load 0", "unload 0", "load 1"}));
    QVERIFY(rig.action("mnuWindowForm1")->isChecked());
}

void TestMainWindow::windowMenuEntryShowsPage() {
    Rig rig;
    rig.action("mnuWindowForm5")->trigger();
    QCOMPARE(rig.window->currentPageIndex(), 5);
    // Choosing the entry of the page already shown keeps it shown and marked.
    rig.action("mnuWindowForm5")->trigger();
    QVERIFY(rig.action("mnuWindowForm5")->isChecked());
    QCOMPARE(rig.pageLog, (QStringList{"load 0", "unload 0", "load 5"}));
}

void TestMainWindow::onlineAndOffline() {
    Rig rig;
    rig.goOnline();
    QVERIFY(rig.port.isOpen());
    QCOMPARE(rig.port.sentBytes().left(1), QByteArray("\xFF", 1));
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("ONLINE"));
    QVERIFY(rig.action("mnuViewOnline")->isChecked());
    QVERIFY(!rig.action("mnuViewOffline")->isChecked());
    QVERIFY(rig.action("mnuEditPasscode")->isEnabled());

    rig.action("mnuViewOffline")->trigger();
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("OFFLINE"));
    QVERIFY(!rig.action("mnuViewOnline")->isChecked());
    QVERIFY(rig.action("mnuViewOffline")->isChecked());
    QVERIFY(!rig.action("mnuEditPasscode")->isEnabled());
    QCOMPARE(rig.prompts.records().size(), 0);
}

void TestMainWindow::statusPollOnline() {
    Rig rig;
    rig.goOnline();
    rig.board.setMemory(121, 96);
    rig.port.clearWire();
    rig.window->backgroundUpdate();
    // The tick read the alarm word: memory read of address 121 (0x00, 0x79).
    QVERIFY(rig.port.sentBytes().endsWith(QByteArray("\x00\x79", 2)));
    QCOMPARE(rig.panel(1)->text(), QStringLiteral("System Message:  Faults Active in PLC"));
    QVERIFY(rig.panel(1)->property("alarm").toBool()); // highlighted while an alarm stands
    QCOMPARE(rig.state.SystemStatusText,
             QStringLiteral("***** SYSTEM ALARM *****\r\n Infeed Track Jam \r\n\r\n"
                            "***** SYSTEM ALARM *****\r\n Timing Signal Failure \r\n\r\n"));

    // Held by a long command: the panel says so, not the alarms it no longer reads.
    rig.window->statusPollDriver().hold(QStringLiteral("Paused since 08:00:00 while ..."));
    QCOMPARE(rig.panel(1)->text(),
             QStringLiteral("System Message:  Paused since 08:00:00 while ..."));
    QVERIFY(!rig.panel(1)->property("alarm").toBool());

    rig.board.setMemory(121, 0);
    rig.window->backgroundUpdate();
    QCOMPARE(rig.panel(1)->text(), QStringLiteral("System Message:  All Faults Normal"));
    QVERIFY(!rig.panel(1)->property("alarm").toBool());
    QCOMPARE(rig.state.SystemStatusText,
             QStringLiteral("-- System Normal --\r\nSet-up Program is Currently ONLINE"));
}

void TestMainWindow::silentBoardFallsBackOffline() {
    Rig rig;
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.action("mnuViewOnline")->trigger();

    QCOMPARE(rig.prompts.messageCount(), 1);
    const ScriptedPrompts::Record box = rig.prompts.messages().first();
    QCOMPARE(box.title, kCommErrorTitle);
    QVERIFY(box.text.startsWith(QStringLiteral("Cannot Communicate with Target Board.")));
    QCOMPARE(box.icon, Prompts::Icon::Critical);
    QCOMPARE(box.buttons, Prompts::Buttons::RetryCancel);

    QVERIFY(!rig.link.OnlineMode);
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("OFFLINE"));
    QVERIFY(rig.action("mnuViewOffline")->isChecked());
    QVERIFY(!rig.action("mnuEditPasscode")->isEnabled());

    rig.window->backgroundUpdate();
    QCOMPARE(rig.panel(1)->text(), QStringLiteral("System Message:  Comm Fault with K7600"));
}

void TestMainWindow::tickInsideTransactionBoxSkipsRead() {
    Rig rig;
    rig.goOnline();
    rig.board.setMemory(121, 32);
    rig.window->backgroundUpdate();
    const QString panelBefore = rig.panel(1)->text();
    const QString statusBefore = rig.state.SystemStatusText;

    rig.board.setFault(BoardSim::Fault::Silent);
    int sentDuringTick = -1;
    bool closedDuringBox = true;
    rig.prompts.setDuringMessage([&] {
        const int before = rig.port.sentBytes().size();
        rig.window->backgroundUpdate();
        sentDuringTick = rig.port.sentBytes().size() - before;
        closedDuringBox = rig.window->close();
    });
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.link.RSRead(QStringLiteral("B1012"));

    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(sentDuringTick, 0);
    QVERIFY(!closedDuringBox);
    QCOMPARE(rig.panel(1)->text(), panelBefore);
    QCOMPARE(rig.state.SystemStatusText, statusBefore);
}

void TestMainWindow::doubleClickOnModePanelToggles() {
    Rig rig;
    rig.window->show();
    QTest::mouseDClick(rig.panel(2), Qt::LeftButton);
    QVERIFY(rig.link.OnlineMode);
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("ONLINE"));
    QTest::mouseDClick(rig.panel(2), Qt::LeftButton);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.port.isOpen());
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("OFFLINE"));
}

void TestMainWindow::doubleClickOnOtherPanelsDoesNothing_data() {
    QTest::addColumn<int>("panel");
    QTest::newRow("STATUS") << 1;
    QTest::newRow("DATE") << 3;
    QTest::newRow("TIME") << 4;
}

void TestMainWindow::doubleClickOnOtherPanelsDoesNothing() {
    QFETCH(int, panel);
    Rig rig;
    rig.window->show();
    QTest::mouseDClick(rig.panel(panel), Qt::LeftButton);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(rig.port.sentBytes().isEmpty());
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("OFFLINE"));
}

void TestMainWindow::exitCancelKeepsRunning() {
    Rig rig;
    rig.window->show();
    rig.goOnline();
    rig.state.CurrentDocument.Values[161] = 25;
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.action("mnuFileExit")->trigger();

    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().text, QStringLiteral("Save Changes to File?"));
    QVERIFY(rig.window->isVisible());
    QVERIFY(rig.link.OnlineMode);
    QVERIFY(rig.port.isOpen());
    QVERIFY(rig.window->currentPage());
}

void TestMainWindow::exitYesWithCancelledSaveKeepsRunning() {
    Rig rig;
    rig.window->show();
    rig.state.CurrentDocument.Values[161] = 25;
    rig.prompts.answerMessage(Prompts::Answer::Yes);
    rig.prompts.answerSaveFile(std::nullopt); // Save runs Save As on an untitled document
    QVERIFY(!rig.window->close());
    QVERIFY(rig.window->isVisible());
    QVERIFY(rig.window->currentPage());
    QCOMPARE(rig.state.CurrentDocument.Values[161], 25);
    QVERIFY(rig.prompts.scriptUsedUp());
}

void TestMainWindow::exitNoClosesLink() {
    Rig rig;
    rig.window->show();
    rig.goOnline();
    rig.state.CurrentDocument.Values[161] = 25;
    rig.prompts.answerMessage(Prompts::Answer::No);
    QVERIFY(rig.window->close());
    QVERIFY(!rig.window->isVisible());
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(!rig.port.isOpen());
    QVERIFY(!rig.window->currentPage());
    QCOMPARE(rig.pageLog, (QStringList{"load 0", "unload 0"}));
}

void TestMainWindow::exitWarnsOfReleaseStillOwed() {
    Rig rig;
    rig.goOnline();
    rig.link.holdOutput(QStringLiteral("F133"), QStringLiteral("Transfer Data"));
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.window->backgroundUpdate();
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    QVERIFY(rig.window->close());
    QCOMPARE(rig.board.memory(48) & 32, 32); // F133: bit 5 of byte 48
    QCOMPARE(rig.prompts.messageCount(), 2);
    const ScriptedPrompts::Record box = rig.prompts.messages().last();
    QCOMPARE(box.title, QStringLiteral("VRAL"));
    QCOMPARE(box.text,
             QStringLiteral("These machine outputs may still be on: the link to the target board "
                            "failed before their release could be written.\r\n\r\nTransfer Data "
                            "(F133)\r\n\r\nCheck the machine, or start VRAL again, go online and "
                            "press and release the button."));
    QCOMPARE(box.icon, Prompts::Icon::Exclamation);
    QCOMPARE(box.buttons, Prompts::Buttons::Ok);
}

void TestMainWindow::commPortFailedReopenShowsOffline() {
    Rig rig;
    rig.goOnline();
    rig.board.setFault(BoardSim::Fault::Silent);
    // Save closes the link (its last 0xFF goes unanswered) and reopens it
    // (no answer either); both time-out boxes are cancelled, the dialog
    // stays open for other settings, and the user cancels it.
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    rig.prompts.answerMessage(Prompts::Answer::Cancel);
    bool dialogSeen = false;
    QTimer::singleShot(0, rig.window.get(), [&] {
        auto* dialog = rig.window->findChild<QDialog*>(QStringLiteral("frmSetupComm"));
        if (!dialog)
            return;
        dialogSeen = true;
        dialog->findChild<QPushButton*>(QStringLiteral("cmdSave"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    });
    rig.action("mnuEditCommPort")->trigger();

    QVERIFY(dialogSeen);
    QVERIFY(rig.prompts.scriptUsedUp());
    QVERIFY(!rig.link.OnlineMode);
    QCOMPARE(rig.panel(2)->text(), QStringLiteral("OFFLINE"));
    QVERIFY(rig.action("mnuViewOffline")->isChecked());
    QVERIFY(!rig.action("mnuEditPasscode")->isEnabled());
}

void TestMainWindow::passcodeWritesWord() {
    Rig rig;
    rig.setWord(1070, 1234);
    rig.goOnline();
    rig.prompts.answerInput(QStringLiteral("4321"));
    rig.action("mnuEditPasscode")->trigger();

    QCOMPARE(rig.prompts.records().size(), 1);
    const ScriptedPrompts::Record input = rig.prompts.records().first();
    QCOMPARE(input.kind, ScriptedPrompts::Kind::Input);
    QCOMPARE(input.title, QStringLiteral("Keypad Set-up Passcode"));
    QCOMPARE(input.text, QStringLiteral("Please Enter New Passcode (0-65535)"));
    QCOMPARE(input.defaultAnswer, QStringLiteral("1234"));
    QCOMPARE(rig.word(1070), 4321);
}

void TestMainWindow::passcodeEmptyAnswerWritesNothing() {
    Rig rig;
    rig.setWord(1070, 1234);
    rig.goOnline();
    rig.prompts.answerInput(QString());
    rig.action("mnuEditPasscode")->trigger();
    rig.prompts.answerInput(std::nullopt);
    rig.action("mnuEditPasscode")->trigger();

    QCOMPARE(rig.prompts.records().size(), 2);
    QCOMPARE(rig.word(1070), 1234);
    // Only the two reads went out: no write-mode handshake (0xFF, 0x02).
    QVERIFY(!rig.port.sentBytes().contains(QByteArray("\xFF\x02", 2)));
}

void TestMainWindow::offlineEditingToggles() {
    Rig rig;
    QAction* entry = rig.action("mnuEditOfflineEditing");
    entry->trigger();
    QVERIFY(entry->isChecked());
    QVERIFY(rig.state.OfflineEditing);
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QVERIFY(!rig.state.OfflineEditing);
}

void TestMainWindow::printCancelledEndsSilently() {
    Rig rig;
    rig.prompts.answerPrintSetup(std::nullopt);
    rig.action(QStringLiteral("mnuFilePrint"))->trigger();
    QCOMPARE(rig.prompts.records().size(), 1);
    QCOMPARE(rig.prompts.records().first().kind, ScriptedPrompts::Kind::PrintSetup);
    QCOMPARE(rig.prompts.records().first().printDialog.copies, 1);
    QCOMPARE(rig.state.ReportMode, 0);
    QVERIFY(!rig.window->findChild<QWidget*>(QStringLiteral("frmWaitDisplay")));
}

void TestMainWindow::dateAndTimePanelsFollowClock() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    Rig rig;
    QCOMPARE(rig.panel(3)->text(), QStringLiteral("07/12/2026"));
    QCOMPARE(rig.panel(4)->text(), QStringLiteral("08:00"));
    rig.clock.advance(16 * 3600 * 1000 + 61 * 1000); // 00:01:01 the next day
    rig.window->updateDateTime();
    QCOMPARE(rig.panel(3)->text(), QStringLiteral("08/12/2026"));
    QCOMPARE(rig.panel(4)->text(), QStringLiteral("00:01"));
    QLocale::setDefault(QLocale::system());
}

void TestMainWindow::aboutBoxIsModeless() {
    Rig rig;
    rig.action("mnuHelpAbout")->trigger();
    auto* about = rig.window->findChild<frmAbout*>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->findChild<QLabel*>("lblProductName")->text(), QStringLiteral("VRAL"));
    QCOMPARE(about->findChild<QLabel*>("lblVersion")->text(),
             QStringLiteral("Version " VRAL_VERSION_TEXT));
    auto* sysInfo = about->findChild<QPushButton*>("cmdSysInfo");
    QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
    QCOMPARE(sysInfo->isEnabled(), !frmAbout::systemInfoTool().isEmpty());
}

void TestMainWindow::helpTopicsWithoutHelpFolder() {
    Rig rig;
    rig.prompts.answerMessage(Prompts::Answer::Ok);
    rig.action("mnuHelpTopics")->trigger();
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().title, QStringLiteral("VRAL"));
    QCOMPARE(rig.prompts.messages().first().icon, Prompts::Icon::Exclamation);
    QVERIFY(rig.prompts.messages().first().text.endsWith(QStringLiteral("index.html")));
    QVERIFY(!rig.window->findChild<HelpWindow*>());
}

void TestMainWindow::helpTopicsOpensContents() {
    Rig rig;
    // Folder and file names are found without regard to case.
    QVERIFY(QDir(rig.home.path()).mkdir(QStringLiteral("help")));
    QFile page(rig.home.filePath(QStringLiteral("help/INDEX.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1>Guide</h1></body></html>");
    page.close();

    rig.action("mnuHelpTopics")->trigger();
    QCOMPARE(rig.prompts.messageCount(), 0);
    auto* help = rig.window->findChild<HelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Guide")));

    // Esc closes the guide, and so does Ctrl+W once it is shown again.
    for (const QKeySequence& key : {QKeySequence("Esc"), QKeySequence("Ctrl+W")}) {
        rig.action("mnuHelpTopics")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keySequence(help->browser(), key);
        QVERIFY2(!help->isVisible(), qPrintable(key.toString()));
    }
}

// Alt+letter in an open menu reaches one entry only when no other entry a
// user can reach in the same menu (or on the menu bar) has that letter.
void TestMainWindow::accessKeysUniqueInEveryMenu() {
    Rig rig;
    QList<QWidget*> menus = {rig.window->menuBar()};
    QStringList walked;
    while (!menus.isEmpty()) {
        QWidget* menu = menus.takeFirst();
        QHash<QString, QString> owner; // access key -> caption
        for (QAction* entry : menu->actions()) {
            if (!entry->isVisible() || entry->isSeparator())
                continue;
            const QString key = QKeySequence::mnemonic(entry->text()).toString();
            if (!key.isEmpty()) {
                QVERIFY2(!owner.contains(key),
                         qPrintable(QStringLiteral("%1 and %2 share %3")
                                        .arg(owner.value(key), entry->text(), key)));
                owner.insert(key, entry->text());
            }
            if (entry->menu())
                menus.append(entry->menu());
        }
        walked << menu->objectName();
    }
    QCOMPARE(walked, (QStringList{"", "mnuFile", "mnuEdit", "mnuView", "mnuWindow", "mnuHelp",
                                  "mnuFileUpload", "mnuFileDownload"}));
}

void TestMainWindow::helpPagesLinksResolve() {
    const QDir help(QStringLiteral(VRAL_HELP_DIR));
    QVERIFY(help.exists(QStringLiteral("index.html")));
    static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)\""));
    const QStringList pages = help.entryList({QStringLiteral("*.html")});
    QVERIFY(pages.size() > 1);
    QStringList reached;
    for (const QString& name : pages) {
        QFile file(help.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& link : href.globalMatch(text)) {
            const QString target = link.captured(1);
            QVERIFY2(help.exists(target), qPrintable(name + " -> " + target));
            reached << target;
        }
    }
    // Every page is reachable from somewhere.
    for (const QString& name : pages)
        QVERIFY2(name == "index.html" || reached.contains(name), qPrintable(name));
}

// The page scrolls inside the window, so the window never needs more than
// the screen has (1366 x 768 at 100 %, 1280 x 1024 at 150 %).
void TestMainWindow::windowFitsSmallScreens() {
    Rig rig;
    rig.window->ShowPage(1);
    QVERIFY(rig.window->findChild<QScrollArea*>(QStringLiteral("pageScroller")));
    const QSize least = rig.window->minimumSizeHint();
    QVERIFY2(least.width() <= 1366 && least.height() <= 700,
             qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
    rig.window->fitToScreen(QSize(100000, 100000));
    const QRect area = rig.window->screen()->availableGeometry();
    QVERIFY(rig.window->frameGeometry().width() <= area.width());
    QVERIFY(rig.window->frameGeometry().height() <= area.height());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
