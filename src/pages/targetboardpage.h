#pragma once

#include "codefile.h"
#include "parameterpage.h"
#include "programondisk.h"
#include "targetboardcycle.h"
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
// Online, the page's status cycle (TargetBoardCycle) reads the board one
// location per step; the page shows what each step brought. Offline it shows
// once that the board cannot be reached.
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
    // The fault display entries with no code caption of their own: the CO-CPU
    // slot and the last fault again for the corrective action.
    static constexpr int kSlotEntry = TargetBoardCycle::kSlotEntry;
    static constexpr int kActionEntry = 3;
    // A value not read.
    static inline const QString kNoValue = QStringLiteral("-");

    // The widgets are built in targetboardpagelayout.cpp.
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
    // The fault code text of a fault display entry as read.
    QString codeRead(int entry) const;
    void finishStatus();
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

    TargetBoardCycle m_cycle;
};
