#pragma once

#include "parameterpage.h"

#include <QVector>

#include <array>

class QGridLayout;
class QGroupBox;
class QLabel;
struct PageServices;

// The I/O display page ("frmDisplayIO"): a live, read-only view of the
// board's inputs and outputs. Fifteen locations, one read per refresh step:
// the processor module's two inputs and nine analog and resolver values,
// then the sixteen timing channels and the sixteen points of each of three
// I/O slots, one word each, bit n on point n. Offline it shows nothing new.
class IODisplayPage : public ParameterPage {
    Q_OBJECT

public:
    static constexpr int kLocationCount = 15;
    static constexpr int kModuleValues = 11;
    static constexpr int kPointWords = 4; // timing channels and three slots
    static constexpr int kPointsPerWord = 16;

    IODisplayPage(PageServices& services, QWidget* parent = nullptr);

    // Board location of list index 0..14, in the order the pass visits them.
    static QString location(int index);
    // Caption of point n of slot word 0..2 ("(B100.0)    0:").
    static QString slotPointCaption(int slot, int point);
    // Caption of timing channel n ("CH00:" .. "CH17:").
    static QString channelCaption(int point);

private:
    QGroupBox* buildModuleFrame();
    QGroupBox* buildPointFrame(int word, const QString& frameName, const QString& caption,
                               const QString& labelName);
    void applyOnlineAppearance() override;
    void applyOfflineAppearance() override;
    void setAllEnabled(bool enabled);
    void boardStep() override;
    void showPoint(QLabel* label, bool on);

    std::array<QGroupBox*, 5> m_fraBMIO{};
    QVector<QLabel*> m_captions;
    std::array<QLabel*, kModuleValues> m_moduleValues{};
    std::array<std::array<QLabel*, kPointsPerWord>, kPointWords> m_points{};
    int m_next = 0;
};
