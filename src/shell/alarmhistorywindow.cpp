#include "alarmhistorywindow.h"

#include "alarmhistory.h"
#include "atomicfilewriter.h"
#include "clock.h"
#include "prompts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Alarm History");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

} // namespace

AlarmHistoryWindow::AlarmHistoryWindow(AlarmHistory& history, Prompts& prompts, Clock& clock,
                                       std::function<void()> clearRecord, QWidget* parent)
    : QDialog(parent), m_history(history), m_prompts(prompts), m_clock(clock),
      m_clearRecord(std::move(clearRecord)) {
    setObjectName(QStringLiteral("frmAlarmHistory"));
    setWindowTitle(kTitle);
    setModal(false);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstAlarmHistory"));
    m_list->setAccessibleName(kTitle);
    m_list->setHeaderLabels({QStringLiteral("Raised"), QStringLiteral("Cleared"),
                             QStringLiteral("Alarm"), QStringLiteral("Duration")});
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* save = new QPushButton(QStringLiteral("Save &As..."), this);
    save->setObjectName(QStringLiteral("cmdSaveAs"));
    auto* clearButton = new QPushButton(QStringLiteral("&Clear"), this);
    clearButton->setObjectName(QStringLiteral("cmdClear"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(save, &QPushButton::clicked, this, &AlarmHistoryWindow::saveAs);
    connect(clearButton, &QPushButton::clicked, this, &AlarmHistoryWindow::clear);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(clearButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(620, 420);
    refresh();
}

void AlarmHistoryWindow::refresh() {
    m_list->clear();
    const QDateTime now = m_clock.now();
    const QVector<AlarmEpisode>& episodes = m_history.episodes();
    for (auto it = episodes.crbegin(); it != episodes.crend(); ++it) {
        const bool ended = it->cleared.isValid();
        const QString cleared = ended         ? it->cleared.toString(kTimeFormat)
                                : it->running ? QStringLiteral("running")
                                              : QStringLiteral("unknown");
        const QString duration = ended         ? durationText(it->raised, it->cleared)
                                 : it->running ? durationText(it->raised, now)
                                               : QString();
        auto* row = new QTreeWidgetItem(
            m_list, {it->raised.toString(kTimeFormat), cleared, it->text, duration});
        if (it->running) {
            // Still on: it must stand out from what is over.
            QFont font = row->font(0);
            font.setBold(true);
            for (int column = 0; column < 4; ++column) {
                row->setFont(column, font);
                row->setForeground(column, QColor(0xc0, 0, 0));
            }
        }
    }
}

void AlarmHistoryWindow::saveAs() {
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Save Alarm History");
    dialog.filter = QStringLiteral("CSV Files(*.csv)|*.csv|");
    dialog.fileName = QStringLiteral("alarm-history.csv");
    dialog.defaultSuffix = QStringLiteral("csv");
    dialog.overwritePrompt = true;
    const std::optional<QString> path = m_prompts.saveFile(dialog);
    if (!path)
        return;
    const QString failure = writeFileAtomically(*path, m_history.toCsv());
    if (!failure.isEmpty())
        m_prompts.message(kTitle,
                          QStringLiteral("The alarm history could not be saved as ") + *path +
                              kCrLf2 + failure,
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void AlarmHistoryWindow::clear() {
    if (m_prompts.message(kTitle, QStringLiteral("Clear the alarm history?"),
                          Prompts::Icon::Question, Prompts::Buttons::YesNo,
                          Prompts::DefaultButton::No) != Prompts::Answer::Yes)
        return;
    m_clearRecord();
    refresh();
}
