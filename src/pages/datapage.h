#pragma once

#include "parameterpage.h"

#include <QString>

#include <array>

class EntryField;
class MomentaryButton;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QTabBar;
class SpindleWheelChart;
struct PageServices;

// The shift data page ("frmData"): trips per spindle on both sides, the
// current and the last shift's totals with their spindle tables, the tripped
// spindle, the spindle #1 trip offset and two momentary buttons (reset trips,
// end of shift). Online it reads the visible tab's counters, one per refresh
// step; offline it shows the set-up document's copy.
class DataPage : public ParameterPage {
    Q_OBJECT

public:
    static constexpr int kValueCount = 161;

    DataPage(PageServices& services, QWidget* parent = nullptr);
    ~DataPage() override;

    // Board location of value i (0..160).
    static QString dataAddress(int index);

private:
    void buildLayout();
    QFrame* buildTripsTab();
    QFrame* buildShiftTab(int tab, int first);
    QGroupBox* buildSpindleTable(int frame, const QString& caption, int first, QWidget* parent);
    QLabel* createValue(int index, const QString& caption, QWidget* parent, QGridLayout* grid,
                        int row, int column);
    void tabChanged(int index);
    void applyOnlineAppearance() override;
    void applyOfflineAppearance() override;
    void setBoardControlsEnabled(bool enabled);
    // Label i shows number, and the tab's wheel when i is a spindle's trip count.
    void showNumber(int index, qint64 number);
    void boardStep() override;
    void documentStep() override;

    QTabBar* m_tbsData = nullptr;
    std::array<QFrame*, 3> m_fraData{};
    std::array<QGroupBox*, 9> m_fraShiftData{};
    QGroupBox* m_fraEndofShift = nullptr;
    std::array<QLabel*, kValueCount> m_lblData{};
    QLabel* m_lblTrippedSpindle = nullptr; // lblDescription0
    QLabel* m_lblSpindleTripOffset = nullptr;
    EntryField* m_tripOffset = nullptr;
    MomentaryButton* m_resetTrips = nullptr;
    MomentaryButton* m_endOfShift = nullptr;
    std::array<SpindleWheelChart*, 3> m_wheels{};

    int m_pollFirst = 0;
    int m_pollLast = 48;
    int m_next = -1;               // next index of the board pass in progress; -1: none
    bool m_readTripOffset = false; // the step after index 0 reads the trip offset
    bool m_tabChanged = false;
};
