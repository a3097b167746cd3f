// The main window's menus and status bar, built once when the window is made.
#include "frmmdimain.h"

#include "alarmhistorycommand.h"
#include "appstate.h"
#include "clock.h"
#include "comparecommands.h"
#include "documentcommands.h"
#include "passcodecommand.h"
#include "prompts.h"
#include "rscomm.h"
#include "shiftexport.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace {

QLabel* makePanel(QWidget* parent, int number, const char* key, const QString& text) {
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(QStringLiteral("sbrMainPanel%1").arg(number));
    panel->setProperty("key", QString::fromLatin1(key));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMargin(2);
    return panel;
}

} // namespace

QAction* frmMDIMain::addAction(QMenu* menu, const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut) {
    auto* action = menu->addAction(caption);
    action->setObjectName(objectName);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void frmMDIMain::createFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    connect(addAction(file, QStringLiteral("mnuFileNew"), QStringLiteral("&New..."),
                      QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, m_documents, &DocumentCommands::newDocument);
    connect(addAction(file, QStringLiteral("mnuFileOpen"), QStringLiteral("&Open..."),
                      QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, m_documents, &DocumentCommands::open);
    connect(addAction(file, QStringLiteral("mnuFileSave"), QStringLiteral("&Save"),
                      QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, m_documents, &DocumentCommands::save);
    connect(addAction(file, QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As...")),
            &QAction::triggered, m_documents, &DocumentCommands::saveAs);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFileExport"), QStringLiteral("Export Shift Data..."),
                      QKeySequence(Qt::CTRL | Qt::Key_X)),
            &QAction::triggered, this, [this] { exportShiftData(m_state, m_prompts); });
    file->addSeparator();
    addTransferMenu(file, QStringLiteral("mnuFileUpload"), QStringLiteral("&Upload (save) Data"),
                    &DataTransferCommands::upload);
    // P is Print's: the download, which replaces the board's program, takes G.
    connect(addAction(file, QStringLiteral("mnuFileDownloadProgram"),
                      QStringLiteral("Download Pro&gram")),
            &QAction::triggered, this, [this] { m_program.downloadProgram(); });
    connect(addAction(file, QStringLiteral("mnuFileUploadProgram"),
                      QStringLiteral("Up&load Program...")),
            &QAction::triggered, this, [this] { m_program.UploadProgram(); });
    addTransferMenu(file, QStringLiteral("mnuFileDownload"), QStringLiteral("&Download Data"),
                    &DataTransferCommands::download);
    (new CompareCommands(m_commands, this))->addEntries(file);
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFilePrint"), QStringLiteral("&Print Report..."),
                      QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, [this] { m_report.printReport(); });
    connect(
        addAction(file, QStringLiteral("mnuFilePrintPreview"), QStringLiteral("Print Pre&view...")),
        &QAction::triggered, this, [this] { m_report.printPreview(); });
    connect(addAction(file, QStringLiteral("mnuFileExportPdf"),
                      QStringLiteral("&Export Report as PDF...")),
            &QAction::triggered, this, [this] { m_report.exportPdf(); });
    file->addSeparator();
    connect(addAction(file, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit")),
            &QAction::triggered, this, &QWidget::close);
}

void frmMDIMain::addTransferMenu(QMenu* file, const QString& objectName, const QString& caption,
                                 void (DataTransferCommands::*run)(int)) {
    QMenu* menu = file->addMenu(caption);
    menu->setObjectName(objectName);
    const QString entryName = objectName + QStringLiteral("Data%1");
    const QStringList captions = {QStringLiteral("Set-up &Parameters"),
                                  QStringLiteral("Timing &Channels"), QStringLiteral("Shift &Data"),
                                  QString(), QStringLiteral("&All")};
    for (int kind = 0; kind < captions.size(); ++kind) {
        if (captions.at(kind).isEmpty()) {
            menu->addSeparator();
            continue;
        }
        connect(addAction(menu, entryName.arg(kind), captions.at(kind)), &QAction::triggered, this,
                [this, run, kind] { (m_transfers.*run)(kind); });
    }
}

void frmMDIMain::createEditMenu() {
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* offlineEditing =
        addAction(edit, QStringLiteral("mnuEditOfflineEditing"),
                  QStringLiteral("Enable &Offline Editing"), QKeySequence(Qt::Key_F2));
    offlineEditing->setCheckable(true);
    offlineEditing->setChecked(m_state.OfflineEditing);
    connect(offlineEditing, &QAction::toggled, this,
            [this](bool checked) { m_state.OfflineEditing = checked; });
    connect(addAction(edit, QStringLiteral("mnuEditCommPort"), QStringLiteral("Co&mm Port"),
                      QKeySequence(Qt::CTRL | Qt::Key_M)),
            &QAction::triggered, this, &frmMDIMain::commPort);
    m_passcode =
        addAction(edit, QStringLiteral("mnuEditPasscode"), QStringLiteral("Set-up Passcode"));
    connect(m_passcode, &QAction::triggered, this, [this] { runSetupPasscode(m_link, m_prompts); });
}

void frmMDIMain::createViewMenu() {
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    connect(addAction(view, QStringLiteral("mnuViewTargetBoardStatus"),
                      QStringLiteral("&Target Board Interface")),
            &QAction::triggered, this, [this] { m_targetBoard.show(); });
    view->addSeparator();
    m_alarmHistory = new AlarmHistoryCommand(m_link, m_prompts, m_clock, view, this);
    m_online = addAction(view, QStringLiteral("mnuViewOnline"), QStringLiteral("O&nline Data"),
                         QKeySequence(Qt::Key_F3));
    m_online->setCheckable(true);
    connect(m_online, &QAction::triggered, this, [this] { m_session.goOnline(); });
    m_offline = addAction(view, QStringLiteral("mnuViewOffline"), QStringLiteral("O&ffline Data"),
                          QKeySequence(Qt::Key_F4));
    m_offline->setCheckable(true);
    connect(m_offline, &QAction::triggered, this, [this] { m_session.goOffline(); });
}

void frmMDIMain::createWindowMenu() {
    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("mnuWindow"));
    m_windowGroup = new QActionGroup(this);
    m_windowGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (int index = 0; index < m_pageTable.size(); ++index) {
        const PageEntry& entry = m_pageTable.at(index);
        QAction* action =
            addAction(window, QStringLiteral("mnuWindowForm%1").arg(index), entry.menuCaption);
        action->setCheckable(true);
        action->setVisible(entry.menuVisible);
        m_windowGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, index] { ShowPage(index); });
        m_windowEntries.append(action);
    }
}

void frmMDIMain::createHelpMenu() {
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(addAction(help, QStringLiteral("mnuHelpTopics"), QStringLiteral("&Help Topics"),
                      QKeySequence(Qt::CTRL | Qt::Key_H)),
            &QAction::triggered, this, &frmMDIMain::showHelpTopics);
    connect(addAction(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About VRAL")),
            &QAction::triggered, this, &frmMDIMain::showAbout);
}

void frmMDIMain::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbrMain"));
    bar->setSizeGripEnabled(true);
    m_statusPanel = makePanel(bar, 1, "STATUS", m_statusPoll.panelText());
    m_modePanel = makePanel(bar, 2, "MODE", QStringLiteral("OFFLINE"));
    m_datePanel = makePanel(bar, 3, "DATE", QString());
    m_timePanel = makePanel(bar, 4, "TIME", QString());
    bar->addWidget(m_statusPanel, 1);
    bar->addPermanentWidget(m_modePanel);
    bar->addPermanentWidget(m_datePanel);
    bar->addPermanentWidget(m_timePanel);
    m_modePanel->installEventFilter(this);
    updateDateTime();
}
