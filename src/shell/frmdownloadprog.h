#pragma once

#include <QDialog>

#include <functional>

class QCloseEvent;
class QLabel;
class QProgressBar;
class QPushButton;
class QShowEvent;
class QTimer;
class RSComm;
class TaskRunner;

// The progress window of a program download (transfer mode 0) or upload
// (mode 1). Shown, it runs the transfer's steps on the main loop (no event
// loop of its own) and Timer1 shows four times a second where the transfer
// is: "Writing to Program Address: 2000H", "Writing Program Ident ... ",
// "Reading From Program Address: 4010H" or "Reading Program Ident ... ".
// The window hides itself when the transfer has ended.
//
// A download cannot be interrupted: a board left half-way through its
// program will not run. An upload writes nothing until the whole memory has
// been read, so its window offers Cancel.
class frmDownloadProg : public QDialog {
    Q_OBJECT

public:
    enum Mode { kDownload = 0, kUpload = 1 };

    frmDownloadProg(const RSComm& link, TaskRunner& runner, QWidget* parent = nullptr);

    // Before the window is shown; 0 again once it has closed.
    void SetTransferMode(int mode);
    int TransferMode() const { return m_mode; }
    // What Cancel asks of an upload.
    void setCancel(std::function<void()> cancel) { m_cancel = std::move(cancel); }

    QTimer* Timer1() const { return m_timer1; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void load();
    void tick();
    void transferEnded();
    void askToCancel();

    const RSComm& m_link;
    TaskRunner& m_runner;
    std::function<void()> m_cancel;
    int m_mode = kDownload;
    bool m_loaded = false;
    QLabel* m_lblWaitDisplay;
    QProgressBar* m_progress;
    QPushButton* m_cancelButton;
    QTimer* m_timer1;
};
