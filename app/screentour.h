#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>
#include <memory>

class BoardProcess;
class QtSerialPort;
class QWidget;
class VralApplication;

// Takes the application through a list of steps as a person would (menu
// commands, pages, tabs, buttons, answers in dialogs) against the simulated
// board, and writes pictures of what is on the screen. Each step waits until
// it can run (a dialog is up, the link is online, some time has passed) and
// gives up after a while, so a step that never comes ends the tour with an
// error instead of hanging it. Commands and clicks are posted rather than
// called: a modal dialog they open runs its own loop, and the tour's timer
// goes on stepping inside it.
class ScreenTour : public QObject {
public:
    ScreenTour(VralApplication& app, QtSerialPort& port, const QString& outputDir);
    ~ScreenTour() override;

    // The simulated board started with these arguments on the line (the
    // application goes offline first); nothing when that board is already up.
    void board(const QStringList& arguments);
    // A board someone else runs, on this device.
    void boardAt(const QString& device);
    // No board on the line (the application goes offline first).
    void noBoard();
    // The board vanishes mid-conversation, as a pulled cable does.
    void loseBoard();
    // The board stops answering with the line still there (it is thawed
    // when the tour next changes boards).
    void freezeBoard();
    void online();
    void offline();
    void page(int index);
    // A main-window menu command by its object name ("mnuFilePrint").
    void trigger(const QString& actionName);
    // The tab with this caption in the window on top (access keys aside).
    void tab(const QString& caption);
    // The button with this caption in the window on top (access keys aside).
    void click(const QString& caption);
    // Waits for a message box and presses one of its buttons.
    void answer(QMessageBox::StandardButton button);
    // Waits for a file dialog and chooses path in it.
    void chooseFile(const QString& path);
    // Waits for a dialog of this class (or object name); the steps after it
    // work in that dialog.
    void waitForDialog(const char* className);
    // Answers every box that comes (Cancel, else Ok) until the dialog with
    // this object name has stood on top for a while without one.
    void answerBoxesUntilQuiet(const QString& dialogName);
    // Rejects the dialog on top.
    void closeDialog();
    // Waits until no dialog is left; boxes shown meanwhile are answered Ok.
    void waitUntilIdle();
    void settle(int ms);
    // Runs action as a step of its own.
    void act(const QString& what, std::function<void()> action);
    // Waits, however long it takes, until ms have passed since start().
    void waitUntil(qint64 ms);
    void waitFor(const QString& what, std::function<bool()> ready);

    // Waits for a file the application writes, and lists it with the pictures.
    void expectFile(const QString& path);

    // The main window with whatever is open over it.
    void shoot(const QString& name);
    // The dialog last waited for alone.
    void shootDialog(const QString& name);

    // Runs the steps; done is called with 0 when all ran, 1 when one failed.
    void start(std::function<void(int)> done);
    QStringList written() const { return m_written; }

private:
    struct Step {
        QString what;
        std::function<bool()> ready;
        std::function<void()> act;
        bool timesOut = true;
    };
    void add(const QString& what, std::function<bool()> ready, std::function<void()> act,
             bool timesOut = true);
    bool dismissBox();
    // Posts a main-window menu command.
    void post(const QString& actionName);
    void tick();
    void finish(int status);
    void save(const QString& name, const QImage& image);
    QWidget* topWindow() const;

    VralApplication& m_app;
    QtSerialPort& m_port;
    QString m_outputDir;
    std::unique_ptr<BoardProcess> m_board;
    QStringList m_boardArguments;
    QVector<Step> m_steps;
    int m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_waiting;
    QElapsedTimer m_started;
    QStringList m_written;
    std::function<void(int)> m_done;
    QPointer<QWidget> m_dialog; // the dialog last waited for
    qint64 m_lastBoxMs = 0;     // when answerBoxesUntilQuiet last answered a box
};
