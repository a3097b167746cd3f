#pragma once

#include <QDialog>

#include <functional>

class QCloseEvent;
class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;
class TaskRunner;

// The progress window of a long command ("Processing Request:"): the
// task's status text, a progress bar and "&Cancel". It is application
// modal but shown without an event loop of its own: the runner's steps run
// on the main loop, so the window repaints, the status poll goes on and
// Cancel is taken between two steps. The runner starts when the window is
// first shown; the window hides itself when the task has ended.
class frmProcessing : public QDialog {
    Q_OBJECT

public:
    // cancel is what Cancel (or closing the window) asks of the task.
    frmProcessing(TaskRunner& runner, std::function<void()> cancel, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void follow();

    TaskRunner& m_runner;
    std::function<void()> m_cancel;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_cancelButton;
};
