#pragma once

#include "linkfailureswitch.h"

#include <QWidget>

#include <array>

class EntryField;
class EntryGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RefreshCycle;
class Spinner;
struct PageServices;

// The operator's overview ("frmMain"): machine speed, the good-can and
// blow-off counters, the status message of the main window, and test
// requests for Q.C. and bad-can blow-offs. Online it reads the three
// counters in turn, one per refresh step; offline it shows the counters
// stored in the set-up document and disables the commands.
class MainDisplayPage : public QWidget {
    Q_OBJECT

public:
    MainDisplayPage(PageServices& services, QWidget* parent = nullptr);
    ~MainDisplayPage() override;

    // One step of the display loop (one board read online).
    void refreshStep();
    RefreshCycle& refreshCycle() const { return *m_cycle; }

private:
    void buildLayout();
    void showStatusText();
    void readNextCounter();
    void showStoredCounters();
    void ShowOnlineLayout();
    void ShowOfflineLayout();
    void setCommandsEnabled(bool enabled);
    void presetSpindleNumber();
    void sendSingleBlowoff();

    PageServices& m_services;
    std::array<QGroupBox*, 3> m_fraDisplay{};
    std::array<QLabel*, 3> m_lblDisplay{};
    QGroupBox* m_fraMessageDisplay = nullptr;
    QPlainTextEdit* m_txtMessageDisplay = nullptr;
    QGroupBox* m_fraQCBlowoff = nullptr;
    QGroupBox* m_fraSpindleNumber = nullptr;
    QLineEdit* m_txtSpindleBlowoff = nullptr;
    Spinner* m_updSpindleNumber = nullptr;
    QPushButton* m_cmdSingleBlowoff = nullptr;
    QPushButton* m_cmdBlanketBlowoff = nullptr;
    QPushButton* m_cmdMandrelBlowoff = nullptr;
    QGroupBox* m_fraBadCanBlowoff = nullptr;
    QPushButton* m_cmdBadCanBlowoff = nullptr;
    QPushButton* m_cmdDefault = nullptr;

    EntryGroup* m_entries = nullptr;
    EntryField* m_spindle = nullptr;
    RefreshCycle* m_cycle = nullptr;
    LinkFailureSwitch m_failure;
    int m_nextCounter = 0;
    bool m_onlineShown = false;
    bool m_offlineShown = false;
};
