#pragma once

#include <QDialog>

class QFrame;
class QLabel;

// The small window shown while the report is generated: a frame and one
// line of text, no buttons. It blocks input to the main window while open.
class frmWaitDisplay : public QDialog {
    Q_OBJECT
public:
    // reportMode 1: "Generating Report, Please Standby ...", else the plain
    // "Please Standby ...".
    frmWaitDisplay(int reportMode, QWidget* parent = nullptr);

    // Shows the window in the middle of the screen.
    void showCentred();

protected:
    // The window has no Cancel: Escape and the close button do nothing.
    void reject() override {}

private:
    QFrame* m_fraWaitDisplay;
    QLabel* m_lblWaitDisplay;
};
