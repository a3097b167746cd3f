#pragma once

#include "codefile.h"
#include "parameterpage.h"
#include "programondisk.h"
#include "targetboardtables.h"

#include <array>

class EntryField;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class SecondTicker;
class Spinner;

// The code files the fault and comm-error descriptions come from; a missing
// file leaves the description boxes as they were.
struct TargetCodeFiles {
    std::optional<CodeFile> faults;
    std::optional<CodeFile> commErrors;
};

// The target board page: the board's fault and comm-error codes with a
// corrective action, the program in the board beside the one on disk, the
// board's network address and its real-time clock.
//
// Online, the refresh reads the board's status once per online period, one
// location per step (the six fault bytes, the CO-CPU slot, the ten ident
// bytes), then keeps reading the eight field locations round and round.
// Offline it shows once that the board cannot be reached.
class TargetBoardPage : public ParameterPage {
    Q_OBJECT

public:
    TargetBoardPage(PageServices& services, const ProgramOnDisk& program,
                    const TargetCodeFiles& codes, QWidget* parent = nullptr);

    // cmdOk was pressed: the page is to close.
    QPushButton* okButton() const { return m_cmdOk; }

protected:
    void applyOnlineAppearance() override;
    void applyOfflineAppearance() override;
    void boardStep() override;

private:
    void buildLayout();
    QWidget* buildFaultTab();
    QWidget* buildIdentTab();
    QWidget* buildNetworkTab();
    QWidget* buildClockTab();
    void addField(int i, QWidget* parent);
    void applyBoardCode();
    void goOnline();
    void resetFaults();
    void setClockFields(const std::array<int, 3>& fields);
    void showComputerClock(const QDateTime& now);
    // One step of the status reading; true when it has ended.
    bool statusStep();
    void finishStatus();
    void refreshFieldStep();
    void writeField(int i, const QString& text);
    void setFieldEnabled(int i, bool enabled);

    ProgramOnDisk m_program;
    TargetCodeFiles m_codes;
    TargetBoardFeatures m_features;

    QTabWidget* m_tabTargetBoard = nullptr;
    std::array<QFrame*, 4> m_fraTargetBoard{};
    std::array<QLabel*, 6> m_lblTargetBoard{};
    std::array<QPlainTextEdit*, 6> m_txtTargetBoard{};
    QPushButton* m_cmdResetFaults = nullptr;
    std::array<QLabel*, 5> m_lblRevIdentOnDisk{};
    std::array<QLabel*, 3> m_lblRevIdentInPLC{};
    std::array<QLineEdit*, 8> m_txtSetup{};
    std::array<Spinner*, 8> m_updSetup{};
    std::array<QLabel*, 8> m_lblSetupDesc{};
    std::array<EntryField*, 8> m_fields{};
    QLabel* m_lblNetworkAddComment = nullptr;
    QLabel* m_lblTargetTime = nullptr;
    QLabel* m_lblTargetDate = nullptr;
    QLabel* m_lblCurrTime = nullptr;
    QLabel* m_lblCurrDate = nullptr;
    QPushButton* m_cmdSetToCurrTime = nullptr;
    QPushButton* m_cmdSetToCurrDate = nullptr;
    QPushButton* m_cmdGoOnline = nullptr;
    QPushButton* m_cmdOk = nullptr;
    SecondTicker* m_tmrClock = nullptr;

    // The status reading of the current online period.
    bool m_statusShown = false;
    int m_statusStep = 0;
    std::array<QString, 6> m_codesRead;
    QString m_identInBoard;
    int m_nextField = 0;
};
