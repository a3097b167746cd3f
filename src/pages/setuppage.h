#pragma once

#include "parameterpage.h"
#include "setupfields.h"

#include <QVector>

#include <array>

class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabBar;
class Spinner;
struct PageServices;

// The set-up page ("frmSetup"): fifteen machine set-up parameters on two
// tabs (trip actuator response times; blow-off counts, offsets and solenoid
// response times) and the test blow-off buttons. Online it reads the board
// values of the visible tab, one per refresh step, and writes every accepted
// edit to the board; offline it shows and edits the set-up document.
class SetupPage : public ParameterPage {
    Q_OBJECT

public:
    static constexpr int kFieldCount = kSetupFieldCount;
    // Field i is kept in element kFirstElement + i of the document's values.
    static constexpr int kFirstElement = 161;

    SetupPage(PageServices& services, QWidget* parent = nullptr);

private:
    void buildLayout();
    QGroupBox* buildPrintVarnishTab();
    QGroupBox* buildBlowoffTab();
    void addFieldRow(QGridLayout* grid, int row, int field);
    void createField(int field, QWidget* parent);
    void bindFields();
    void tabChanged(int index);
    void applyOnlineAppearance() override;
    void applyOfflineAppearance() override;
    void boardStep() override;
    void documentStep() override;

    QTabBar* m_tbsSetup = nullptr;
    std::array<QGroupBox*, 2> m_fraSetup{};
    QVector<QGroupBox*> m_settingFrames;      // frames holding fields
    std::array<QGroupBox*, 2> m_testFrames{}; // the two "Test Blow-off" frames
    std::array<QLineEdit*, kFieldCount> m_txtSetup{};
    std::array<Spinner*, kFieldCount> m_updSetup{};
    std::array<QPushButton*, 2> m_cmdBadCanTest{};
    QPushButton* m_cmdQCTest = nullptr;

    int m_pollFirst = 0;
    int m_pollLast = 4;
    int m_nextField = -1; // next field of the board pass in progress; -1: none
    bool m_tabChanged = false;
};
