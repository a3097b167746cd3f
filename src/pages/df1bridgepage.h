#pragma once

#include "parameterpage.h"

#include <array>

class EntryField;
class QComboBox;
class QGroupBox;
class QLabel;
struct PageServices;

// The DF1 bridge page ("frm8830DF1"): the live status of the serial bridge
// to a plant PLC, decoded into text, and its three settings (PLC type,
// destination node, destination file number), kept in the set-up document
// as well. One read per refresh step; a link layer error takes one or two
// more steps for its status bytes.
class DF1BridgePage : public ParameterPage {
    Q_OBJECT

public:
    static constexpr int kLocationCount = 12;
    static constexpr int kDisplayCount = 9;
    // The settings are kept in elements 176 (PLC type), 177 and 178.
    static constexpr int kFirstElement = 176;

    DF1BridgePage(PageServices& services, QWidget* parent = nullptr);

    static QString location(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildStatusFrame();
    QGroupBox* buildLinkLayerFrame();
    QGroupBox* buildSetupFrame();
    void addDisplay(int index, QGroupBox* frame, int row);
    void plcTypeChosen(int position);
    void applyOnlineAppearance() override;
    void applyOfflineAppearance() override;
    void setAllEnabled(bool enabled);
    void setSettingsEnabled(bool enabled);
    void boardStep() override;
    void documentStep() override;
    bool readLinkLayerStatus(); // one read; false when the link failed
    void showLocation(int index, const QString& value);

    std::array<QGroupBox*, 3> m_fraSetup{};
    std::array<QLabel*, kLocationCount> m_lblDescription{};
    std::array<QLabel*, kDisplayCount> m_lblDisplay{};
    QComboBox* m_cboSetup = nullptr;
    std::array<EntryField*, 2> m_fields{};

    int m_next = 0;
    // Link layer status in progress: 0 none, 1 STS owed, 2 EXT STS owed.
    int m_linkLayerStage = 0;
    int m_sts = 0;
    bool m_checkDriver = false; // the first online step reads F152
};
