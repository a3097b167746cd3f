#include "frmmdimain.h"

#include "accesskeyrule.h"
#include "alarmhistorycommand.h"
#include "appfolder.h"
#include "appstate.h"
#include "boardwaitindicator.h"
#include "clock.h"
#include "documentcommands.h"
#include "frmabout.h"
#include "frmsetupcomm.h"
#include "heldoutputs.h"
#include "helpwindow.h"
#include "menushortcutrule.h"
#include "prompts.h"
#include "rscomm.h"
#include "secondticker.h"
#include "stepdriver.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QString kBaseCaption = QStringLiteral("VRAL - ");
const QString kVral = QStringLiteral("VRAL");
constexpr int kStatusPollMs = 500;
// Long enough to be read after the click, short enough to be gone before
// the next one.
constexpr int kAcknowledgeMs = 4000;

} // namespace

frmMDIMain::frmMDIMain(AppState& state, RSComm& link, SerialPort& commObj, Prompts& prompts,
                       Clock& clock, const AppFolder& folder, QVector<PageEntry> pages,
                       QWidget* parent)
    : QMainWindow(parent), m_state(state), m_link(link), m_MSComm1(commObj), m_prompts(prompts),
      m_clock(clock), m_folder(folder), m_session(link, commObj),
      m_pageTable(std::move(pages)), m_services{state, link, prompts, clock, m_session, {}},
      m_backgroundUpdate(new StepDriver(
          link, [this] { statusPollStep(); }, StepDriver::every(kStatusPollMs), this)),
      m_commands{state, link, prompts, clock, folder, m_session, *m_backgroundUpdate, this} {
    setObjectName(QStringLiteral("frmMDIMain"));
    m_backgroundUpdate->setObjectName(QStringLiteral("tmrBackgroungUpdate"));
    connect(m_backgroundUpdate, &StepDriver::held, this, [this](const QString& notice) {
        m_statusPoll.hold(notice);
        publishStatus();
    });

    m_services.acknowledge = [this](const QString& note) {
        statusBar()->showMessage(note, kAcknowledgeMs);
    };
    m_documents = new DocumentCommands(m_state, m_prompts, m_clock, this);
    connect(m_documents, &DocumentCommands::captionChanged, this, &frmMDIMain::updateTitle);
    connect(&m_session, &OnlineSession::changed, this, &frmMDIMain::showOnlineState);

    // The page scrolls when the window is smaller than it (small screens,
    // large scaling), so the window itself can always fit the screen.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("pageScroller"));
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto* client = new QWidget(scroller);
    client->setObjectName(QStringLiteral("pageHost"));
    m_pageHost = new QVBoxLayout(client);
    m_pageHost->setContentsMargins(0, 0, 0, 0);
    scroller->setWidget(client);
    setCentralWidget(scroller);

    createFileMenu();
    createEditMenu();
    createViewMenu();
    createWindowMenu();
    createHelpMenu();
    createStatusBar();
    // A silent board must not look like a hung program.
    m_boardWait = std::make_unique<BoardWaitIndicator>(statusBar());
    m_link.setWaitObserver(m_boardWait.get());
    new AccessKeyRule(this, [this] { return m_page; });
    new MenuShortcutRule(this);
    // F10 activates the menu bar, as the program's users expect.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName(QStringLiteral("scMenuBar"));
    connect(menuKey, &QShortcut::activated, this, [this] {
        menuBar()->setFocus(Qt::MenuBarFocusReason);
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().first());
    });

    // The default document is built before the first page is shown, so no
    // page ever sees an empty document.
    m_state.InitDefaultDocument();
    ShowPage(0);
    m_state.gFileNamePath = QDir(m_folder.root()).filePath(QStringLiteral("*.sdt"));
    m_documents->newDocument();
    updateTitle();
    showOnlineState();
    m_startupComplete = true;

    m_backgroundUpdate->start(kStatusPollMs);

    // The TIME panel changes with the minute of the clock, not a while after.
    m_clockPanels = new SecondTicker(
        m_clock, [this](const QDateTime&) { updateDateTime(); }, this);
    m_clockPanels->setObjectName(QStringLiteral("tmrClockPanels"));
    m_clockPanels->start();
}

frmMDIMain::~frmMDIMain() {
    m_link.setWaitObserver(nullptr);
    // The page talks to the link and the state, which outlive this window;
    // it goes first so nothing it does in its destructor meets a half-torn window.
    delete m_page;
    m_page = nullptr;
}

void frmMDIMain::ShowPage(int index) {
    if (index < 0 || index >= m_pageTable.size())
        return;
    if (index == m_currentPage && m_startupComplete)
        return;

    m_windowEntries.at(index)->setChecked(true);
    // Only one page exists at a time: the old one is gone before the new
    // one is built, so two refresh cycles never share the link.
    delete m_page;
    m_page = nullptr;
    const PageEntry& entry = m_pageTable.at(index);
    m_page = entry.create(m_services, m_pageHost->parentWidget());
    if (m_page->objectName().isEmpty())
        m_page->setObjectName(entry.windowName);
    m_pageHost->addWidget(m_page);
    m_page->show();
    m_currentPage = index;
}

void frmMDIMain::fitToScreen(const QSize& wanted) {
    const QScreen* screen = this->screen();
    if (!screen) {
        resize(wanted);
        return;
    }
    // The frame (title bar, borders) comes on top of the client size.
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(wanted.boundedTo(area.size() - frame));
    move(area.topLeft() + QPoint((area.width() - frameGeometry().width()) / 2,
                                 (area.height() - frameGeometry().height()) / 2));
}

void frmMDIMain::showOnlineState() {
    const bool online = m_link.OnlineMode;
    m_modePanel->setText(online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE"));
    m_online->setChecked(online);
    m_offline->setChecked(!online);
    m_passcode->setEnabled(online);
}

void frmMDIMain::backgroundUpdate() {
    m_backgroundUpdate->runStep();
}

void frmMDIMain::statusPollStep() {
    if (m_shutDown)
        return;

    if (m_link.OnlineMode) {
        QString reply;
        if (!m_link.CommError)
            reply = m_link.RSRead(StatusPoll::kAlarmWordAddress);
        m_statusPoll.updateOnline(m_link.CommError, reply);
    } else {
        m_statusPoll.updateOffline(m_link.CommError);
    }
    m_alarmHistory->observe(m_statusPoll);
    publishStatus();
}

void frmMDIMain::publishStatus() {
    m_state.SystemStatusText = m_statusPoll.systemStatusText();
    m_statusPanel->setText(m_statusPoll.panelText());
    // An alarm must be seen from across the machine: panel 1 turns red.
    const bool alarm = m_link.OnlineMode && m_statusPoll.alarmActive();
    if (m_statusPanel->property("alarm").toBool() != alarm) {
        m_statusPanel->setProperty("alarm", alarm);
        m_statusPanel->setStyleSheet(
            alarm
                ? QStringLiteral("QLabel { background: #c00000; color: white; font-weight: bold; }")
                : QString());
    }
}

void frmMDIMain::updateDateTime() {
    const QDateTime now = m_clock.now();
    const QLocale locale;
    m_datePanel->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_timePanel->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

bool frmMDIMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_modePanel && event->type() == QEvent::MouseButtonDblClick) {
        if (m_link.OnlineMode)
            m_session.goOffline();
        else
            m_session.goOnline();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMDIMain::updateTitle() {
    setWindowTitle(kBaseCaption + m_state.gFileNameCaption);
}

void frmMDIMain::closeEvent(QCloseEvent* event) {
    if (m_shutDown || shutDown()) {
        event->accept();
        return;
    }
    event->ignore();
}

bool frmMDIMain::shutDown() {
    // Closing from inside a box of a running transaction would pull the
    // port from under it; the user can close again once the box is answered.
    if (m_link.transactionInProgress())
        return false;

    const std::optional<Prompts::Answer> answer = m_documents->PromptSaveChanges();
    if (answer == Prompts::Answer::Cancel)
        return false;
    // A save that failed or was cancelled would lose the changes: keep running.
    if (answer == Prompts::Answer::Yes && !m_documents->save())
        return false;

    m_shutDown = true;
    m_backgroundUpdate->stop();
    m_clockPanels->stop();
    m_link.CloseRSComm();
    delete m_page;
    m_page = nullptr;
    // Closing released every held output while the line was up; one whose
    // release the link could not write may still be on: say which.
    m_link.heldOutputs().warnOwed(m_prompts);
    return true;
}

void frmMDIMain::commPort() {
    frmSetupComm dialog(m_link, m_MSComm1, m_prompts, m_folder, this);
    dialog.exec();
    // The dialog closes and may reopen the link itself; the status bar and
    // menus follow without touching the port again.
    showOnlineState();
}

void frmMDIMain::showHelpTopics() {
    // The guide is shipped with the program, like the code files; it is
    // looked up when asked for, so a Help folder added later is found.
    const QString contents = m_folder.dataPath(QStringLiteral("\\Help\\index.html"));
    if (!QFileInfo::exists(contents)) {
        m_prompts.message(kVral, QStringLiteral("The help file could not be found:\r\n") + contents,
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    if (!m_help)
        m_help = new HelpWindow(contents, this);
    else
        m_help->showContents();
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void frmMDIMain::showAbout() {
    if (!m_about) {
        m_about = new frmAbout(this);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
