#include "frmdownloadprog.h"

#include "rscomm.h"
#include "steptask.h"
#include "taskrunner.h"
#include "windowhelpers.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kTimer1IntervalMs = 250;
} // namespace

frmDownloadProg::frmDownloadProg(const RSComm& link, TaskRunner& runner, QWidget* parent)
    : QDialog(parent), m_link(link), m_runner(runner) {
    setObjectName(QStringLiteral("frmDownloadProg"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraWaitDisplay"));
    m_lblWaitDisplay = new QLabel(QStringLiteral("Sending Program at Address: 0000H"), frame);
    m_lblWaitDisplay->setObjectName(QStringLiteral("lblWaitDisplay"));
    m_lblWaitDisplay->setMinimumWidth(
        m_lblWaitDisplay->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    m_progress = new QProgressBar(frame);
    m_progress->setObjectName(QStringLiteral("prgDownloadProg"));
    m_progress->setTextVisible(false);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(m_lblWaitDisplay);
    inner->addWidget(m_progress);

    m_cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &frmDownloadProg::askToCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_cancelButton, 0, Qt::AlignHCenter);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimer1IntervalMs);
    connect(m_timer1, &QTimer::timeout, this, &frmDownloadProg::tick);
    connect(&m_runner, &TaskRunner::finished, this, &frmDownloadProg::transferEnded);
}

void frmDownloadProg::SetTransferMode(int mode) {
    m_mode = mode == kUpload ? kUpload : kDownload;
}

void frmDownloadProg::load() {
    const bool upload = m_mode == kUpload;
    setWindowTitle(upload ? QStringLiteral("Program Upload") : QStringLiteral("Program Download"));
    m_lblWaitDisplay->setText(upload ? QStringLiteral("Reading Program at Address: ")
                                     : QStringLiteral("Sending Program at Address: "));
    m_cancelButton->setVisible(upload);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_timer1->stop();
    setFixedSize(sizeHint());
    CenterWindow(this);
}

void frmDownloadProg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    load();
    // Activation: the timer, then the transfer on the next turn of the loop.
    m_timer1->start();
    m_runner.start();
}

void frmDownloadProg::tick() {
    // Outside its mode (before the transfer has begun, after it has ended)
    // the label is left as it is.
    const bool busy = m_mode == kUpload ? m_link.InUploadMode() : m_link.InProgramMode();
    if (!busy)
        return;
    const StepTask& task = m_runner.task();
    m_lblWaitDisplay->setText(task.statusText());
    m_progress->setMaximum(qMax(1, task.progressMaximum()));
    m_progress->setValue(qMin(task.progress(), m_progress->maximum()));
}

void frmDownloadProg::transferEnded() {
    m_timer1->stop();
    m_progress->setValue(m_progress->maximum());
    m_mode = kDownload;
    accept();
}

void frmDownloadProg::askToCancel() {
    if (m_mode == kUpload && m_cancel && !m_runner.hasFinished())
        m_cancel();
}

void frmDownloadProg::closeEvent(QCloseEvent* event) {
    // The window goes when the transfer has ended; closing an upload's
    // window asks it to stop, like Cancel.
    if (m_runner.hasFinished()) {
        event->accept();
        return;
    }
    askToCancel();
    event->ignore();
}

void frmDownloadProg::reject() {
    // Escape: as Cancel for an upload; nothing for a download.
    if (m_runner.hasFinished())
        QDialog::reject();
    else
        askToCancel();
}
