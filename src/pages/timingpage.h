#pragma once

#include "entryfield.h"
#include "parameterpage.h"
#include "timingcycle.h"

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
// Online the page's board cycle (TimingCycle) reads the board one exchange
// per step; the page shows what each step brought. The widgets are built in
// timingpagelayout.cpp.
class TimingPage : public ParameterPage {
    Q_OBJECT

public:
    static constexpr int kRowCount = TimingCycle::kRowCount;
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
    void setOffsetGroupEnabled(bool enabled);

    // The configuration values and the last recall, as the cycle read them.
    void showConfiguration();
    void showRecall();
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
    // "CH10" for channel 8, otherwise "CH0" and the channel.
    static QString channelName(int row);
    // A field or value not read yet.
    static inline const QString kUnknown = QStringLiteral("-");

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

    TimingCycle m_cycle;
};
