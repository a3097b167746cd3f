#include "frmprocessing.h"

#include "steptask.h"
#include "taskrunner.h"
#include "windowhelpers.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmProcessing::frmProcessing(TaskRunner& runner, std::function<void()> cancel, QWidget* parent)
    : QDialog(parent), m_runner(runner), m_cancel(std::move(cancel)) {
    setObjectName(QStringLiteral("frmProcessing"));
    setWindowTitle(QStringLiteral("VRAL"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* frame = new QGroupBox(QStringLiteral("Processing Request:"), this);
    frame->setObjectName(QStringLiteral("fraProcessing"));
    m_status = new QLabel(frame);
    m_status->setObjectName(QStringLiteral("lblProcessing"));
    m_status->setMinimumWidth(m_status->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
    m_progress = new QProgressBar(frame);
    m_progress->setObjectName(QStringLiteral("prgProcessing"));
    m_progress->setTextVisible(false);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(m_status);
    inner->addWidget(m_progress);

    m_cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { m_cancel(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_cancelButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());

    const StepTask& task = m_runner.task();
    m_progress->setRange(0, task.progressMaximum());
    m_progress->setValue(0);
    m_status->setText(task.statusText());
    connect(&m_runner, &TaskRunner::progressed, this, &frmProcessing::follow);
    connect(&m_runner, &TaskRunner::finished, this, &QDialog::accept);
}

void frmProcessing::follow() {
    const StepTask& task = m_runner.task();
    m_status->setText(task.statusText());
    m_progress->setValue(qMin(task.progress(), m_progress->maximum()));
}

void frmProcessing::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterWindow(this);
    if (!m_runner.isRunning() && !m_runner.hasFinished())
        m_runner.start();
}

void frmProcessing::closeEvent(QCloseEvent* event) {
    // The window goes when the task has ended, not before: closing it asks
    // the task to stop, like Cancel.
    if (m_runner.hasFinished()) {
        event->accept();
        return;
    }
    m_cancel();
    event->ignore();
}

void frmProcessing::reject() {
    // Escape: as Cancel.
    if (m_runner.hasFinished())
        QDialog::reject();
    else
        m_cancel();
}
