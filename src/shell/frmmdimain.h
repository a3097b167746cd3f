#pragma once

#include "commandcontext.h"
#include "datatransfercommands.h"
#include "onlinesession.h"
#include "pageservices.h"
#include "programcommands.h"
#include "qtreportprinters.h"
#include "reportcommands.h"
#include "statuspoll.h"
#include "targetboardcommand.h"

#include <QMainWindow>
#include <QPointer>
#include <QVector>

#include <memory>

class AlarmHistoryCommand;
class AppFolder;
class BoardWaitIndicator;
class DocumentCommands;
class HelpWindow;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QVBoxLayout;
class SecondTicker;
class SerialPort;
class StepDriver;
class frmAbout;

// The application's frame: menus, the status bar sbrMain, and one page of
// the page table at a time in the client area. It owns the online session
// (the port MSComm1 is handed to the link whenever the user goes online),
// follows it in the MODE panel and the menus, and runs the background
// status poll that reads the machine's alarm word twice a second.
class frmMDIMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up sequence: page table, status poll, page 0, default
    // document, first Open path and New. The port stays closed.
    frmMDIMain(AppState& state, RSComm& link, SerialPort& commObj, Prompts& prompts, Clock& clock,
               const AppFolder& folder, QVector<PageEntry> pages, QWidget* parent = nullptr);
    ~frmMDIMain() override;

    // Shows page index of the page table, unloading the page shown before.
    void ShowPage(int index);
    // The size the window opens at, menus and status bar included: the pages
    // are laid out to fit it, on a 1366 x 768 screen with room to spare.
    static constexpr QSize kOpeningSize{900, 640};
    // Takes the wanted size, or less: never larger than the screen's available area.
    void fitToScreen(const QSize& wanted);

    int currentPageIndex() const { return m_currentPage; }
    QWidget* currentPage() const { return m_page; }

    // One tick of tmrBackgroungUpdate as its timer runs it: at most one
    // board read, none while a link transaction is in progress.
    void backgroundUpdate();
    StepDriver& statusPollDriver() const { return *m_backgroundUpdate; }
    // Refreshes the DATE and TIME panels from the clock.
    void updateDateTime();
    // View > "&Target Board Interface", for the application to hand the page in.
    TargetBoardCommand& targetBoardCommand() { return m_targetBoard; }
    // What the pages are given, for the target board page, which is a window of its own.
    PageServices& pageServices() { return m_services; }
    OnlineSession& onlineSession() { return m_session; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createFileMenu();
    void createEditMenu();
    void createViewMenu();
    void createWindowMenu();
    void createHelpMenu();
    void createStatusBar();
    QAction* addAction(QMenu* menu, const QString& objectName, const QString& caption,
                       const QKeySequence& shortcut = {});
    // Data-transfer submenu: entries for kinds 0, 1, 2, separator, 4.
    void addTransferMenu(QMenu* file, const QString& objectName, const QString& caption,
                         void (DataTransferCommands::*run)(int));

    // Panel 2, the View menu and the passcode entry as OnlineMode says.
    void showOnlineState();
    void updateTitle();
    // Shut-down question and link close; false when the user kept the program running.
    bool shutDown();
    void commPort();
    void showHelpTopics();
    void showAbout();
    void statusPollStep();
    // SystemStatusText and panel 1 as the status poll has them.
    void publishStatus();

    AppState& m_state;
    RSComm& m_link;
    SerialPort& m_MSComm1;
    Prompts& m_prompts;
    Clock& m_clock;
    const AppFolder& m_folder;
    OnlineSession m_session;
    QVector<PageEntry> m_pageTable;
    PageServices m_services;
    StepDriver* m_backgroundUpdate = nullptr;
    CommandContext m_commands;
    DocumentCommands* m_documents = nullptr;
    DataTransferCommands m_transfers{m_commands};
    ProgramCommands m_program{m_commands};
    QtReportPrinters m_printers{this};
    ReportCommands m_report{m_commands, m_printers};
    TargetBoardCommand m_targetBoard{m_commands};
    StatusPoll m_statusPoll;
    AlarmHistoryCommand* m_alarmHistory = nullptr;

    int m_currentPage = 0;
    bool m_startupComplete = false;
    bool m_shutDown = false;
    QWidget* m_page = nullptr;
    QVBoxLayout* m_pageHost = nullptr;

    QVector<QAction*> m_windowEntries;
    QActionGroup* m_windowGroup = nullptr;
    QAction* m_online = nullptr;
    QAction* m_offline = nullptr;
    QAction* m_passcode = nullptr;
    QLabel* m_statusPanel = nullptr;
    QLabel* m_modePanel = nullptr;
    QLabel* m_datePanel = nullptr;
    QLabel* m_timePanel = nullptr;
    SecondTicker* m_clockPanels = nullptr;
    std::unique_ptr<BoardWaitIndicator> m_boardWait;
    QPointer<HelpWindow> m_help;
    QPointer<frmAbout> m_about;
};
