#pragma once

#include "parameterpage.h"

#include <QtGlobal>

#include <array>
#include <optional>

class EntryField;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SpeedTrendChart;
class Spinner;
struct PageServices;

// The operator's overview ("frmMain"): machine speed, the good-can and
// blow-off counters, the status message of the main window, and test
// requests for Q.C. and bad-can blow-offs. Online it reads the three
// counters in turn, one per refresh step; offline it shows the counters
// stored in the set-up document and disables the commands.
class MainDisplayPage : public ParameterPage {
    Q_OBJECT

public:
    MainDisplayPage(PageServices& services, QWidget* parent = nullptr);
    // The trend has no reading from while the page is closed.
    ~MainDisplayPage() override;

private:
    void buildLayout();
    void showStatusText();
    // Online: the next of the three counters, one read per step.
    void boardStep() override;
    // Offline: the counters the set-up document holds.
    void documentStep() override;
    void applyOnlineAppearance() override { ShowOnlineLayout(); }
    void applyOfflineAppearance() override { ShowOfflineLayout(); }
    void ShowOnlineLayout();
    void ShowOfflineLayout();
    void setCommandsEnabled(bool enabled);
    // Keeps a reading of machine CPM in the trend and shows the trend as of now.
    void recordSpeed(std::optional<qint32> cpm);
    void presetSpindleNumber();
    void sendSingleBlowoff();

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
    QGroupBox* m_fraSpeedTrend = nullptr;
    SpeedTrendChart* m_trend = nullptr;

    EntryField* m_spindle = nullptr;
    int m_nextCounter = 0;
    qreal m_normalMessagePointSize = 9;
};
