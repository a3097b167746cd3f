#pragma once

#include "entryfield.h"
#include "parameterpage.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTabBar;
class Spinner;
class TimingChart;
struct PageServices;

// The timing page ("frmTiming"): the ON and OFF setpoints of the nine timing
// channels of the board's limit switch, the resolver offset, single-channel
// recall and clear, and the PLS configuration, with the resolver's live RPM,
// position, offset and scale in its own status bar and a chart of the
// channels against one revolution. Online every accepted setpoint is
// programmed into the board at once; offline the page edits the document's
// PLS members.
//
// Online the refresh cycle first reads the configuration, then recalls the
// channels one recall per step, then runs the status pass one register read per
// step: every step is one board exchange.
class TimingPage : public ParameterPage {
    Q_OBJECT

public:
    static constexpr int kRowCount = 9;
    // The OFF field of row r is field r + kOffField.
    static constexpr int kOffField = 16;

    TimingPage(PageServices& services, QWidget* parent = nullptr);

private:
    void buildLayout();
    QGroupBox* buildChannelsTab();
    QGroupBox* buildConfigurationTab();
    void bindFields();
    void connectCommands();
    void tabChanged(int index);

    void applyOnlineAppearance() override;
    void applyOfflineAppearance() override;
    void boardStep() override;
    bool offlineAppearanceStale() override;

    // The online appearance's last part, once the channels are recalled.
    void finishOnlineAppearance();
    // The status pass, one register read per step: RPM for panel 1, RPM
    // again to decide whether the position is worth reading, the position
    // (panel 2 and the chart's cursor), the offset and the scale factor.
    enum class StatusRead { Speed, SpeedForPosition, Position, Offset, Scale };
    // Makes one read and returns the read that follows it.
    StatusRead statusRead(StatusRead read);
    void machineSpeed(int rpm);
    void setOffsetGroupEnabled(bool enabled);
    void clearMachineState();

    void showConfiguration();
    void startRecallAll();
    // One recall of a row (one board exchange): shows the edge the board
    // answers and, with store, puts it into the document. True when the row
    // wants another recall for its other edge.
    bool recallOnce(int row, bool store);
    // Recalls both setpoints of one row at once (a command's recall).
    void recallChannel(int row, bool store);
    EntryField::Verdict commitSetpoint(int field, const EntryField::Accepted& accepted);
    void programSetpoint(int row, const QString& channelName);

    void setOffset();
    void recallChannelCommand();
    void clearChannel();
    void resetConfiguration();

    QLineEdit* onField(int row) const { return m_txtChannel[row]; }
    QLineEdit* offField(int row) const { return m_txtChannel[row + kOffField]; }
    void showSetpoints(int row, const QString& text);
    void updateChart();
    void setPanel(int panel, const QString& text);

    QTabBar* m_tbsTiming = nullptr;
    std::array<QGroupBox*, 2> m_fraTiming{};
    std::array<QGroupBox*, 6> m_fraTmg{};
    std::array<QLabel*, 11> m_lblChannel{};
    std::array<QLineEdit*, kOffField + kRowCount> m_txtChannel{};
    std::array<Spinner*, kOffField + kRowCount> m_updChannel{};
    std::array<EntryField*, kOffField + kRowCount> m_channelEntry{};
    std::array<QLineEdit*, 2> m_txtTmg{};
    std::array<Spinner*, 2> m_updTmg{};
    std::array<QLabel*, 10> m_lblPLSCfg{};
    std::array<QLabel*, 10> m_lblPLSCaption{};
    QPushButton* m_cmdSetOffset = nullptr;
    QPushButton* m_cmdRecallChan = nullptr;
    QPushButton* m_cmdClearChan = nullptr;
    QPushButton* m_cmdBadCanTest = nullptr;
    QPushButton* m_cmdQCTest = nullptr;
    QPushButton* m_cmdResetPLSConfig = nullptr;
    QStatusBar* m_sbrMachineTiming = nullptr;
    std::array<QLabel*, 4> m_panels{};
    TimingChart* m_chart = nullptr;

    // Online: what the next board step does.
    bool m_configPending = false;
    int m_recallRow = -1;             // row of a recall of all channels; -1: none
    bool m_recallSecond = false;      // the row's second recall comes next
    bool m_appearancePending = false; // the online appearance waits for the recall
    StatusRead m_nextRead = StatusRead::Speed;

    bool m_stopped = false;
    bool m_wasStopped = false;
};
