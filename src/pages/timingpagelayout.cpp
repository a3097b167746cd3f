#include "timingpage.h"

#include "pagewidgets.h"
#include "spinner.h"
#include "timingchart.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

// The timing page's widgets: the tab strip, the channel rows beside the chart
// and the commands, the PLS configuration values and the status bar.

namespace {

const std::array<const char*, TimingPage::kRowCount> kRowCaptions = {
    "Print Trip Timing (CH0&0):",
    "Varnish Trip Timing (CH0&1):",
    "Can Clock Timing (CH0&2):",
    "Damaged Can Blow-off - Low (CH0&3):",
    "Damaged Can Blow-off - High (CH0&4):",
    "Bad Can Blow-off Timing (CH0&5):",
    "Q.C. Blow-off Timing (CH0&6):",
    "Spare Timing (CH0&7):",
    "PLC Cloc&k Timing (CH10):",
};

const std::array<const char*, 4> kPanelHints = {"Resolver RPM", "Machine Position",
                                                "Resolver Offset", "PLS Scale Factor"};

} // namespace

void TimingPage::buildLayout() {
    m_tbsTiming = new QTabBar(this);
    m_tbsTiming->setObjectName(QStringLiteral("tbsTiming"));
    m_tbsTiming->addTab(QStringLiteral("&Timing Channels"));
    m_tbsTiming->addTab(QStringLiteral("&PLS Configuration"));
    m_tbsTiming->setExpanding(false);

    m_fraTiming[0] = buildChannelsTab();
    m_fraTiming[1] = buildConfigurationTab();

    m_sbrMachineTiming = new QStatusBar(this);
    m_sbrMachineTiming->setObjectName(QStringLiteral("sbrMachineTiming"));
    m_sbrMachineTiming->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(m_sbrMachineTiming);
        m_panels[i]->setObjectName(QStringLiteral("sbrMachineTimingPanel%1").arg(i + 1));
        m_panels[i]->setToolTip(QString::fromLatin1(kPanelHints[i]));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_sbrMachineTiming->addWidget(m_panels[i], 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    layout->addWidget(m_tbsTiming);
    for (QGroupBox* frame : m_fraTiming) {
        frame->setFlat(true); // the tab strip frames its pages itself
        layout->addWidget(frame);
    }
    layout->addStretch();
    layout->addWidget(defaultButton());
    layout->addWidget(m_sbrMachineTiming);
    m_fraTiming[1]->hide();
    connect(m_tbsTiming, &QTabBar::currentChanged, this, &TimingPage::tabChanged);
}

QGroupBox* TimingPage::buildChannelsTab() {
    QGroupBox* tab =
        makeFrame(QStringLiteral("fraTiming0"), QStringLiteral("Set Timing Channels"), this);

    m_fraTmg[0] = makeFrame(QStringLiteral("fraTmg0"), QStringLiteral("Timing Channels"), tab);
    auto* grid = new QGridLayout(m_fraTmg[0]);
    for (int c = 0; c < 2; ++c) {
        const int index = 9 + c;
        m_lblChannel[index] =
            new QLabel(c == 0 ? QStringLiteral("ON") : QStringLiteral("OFF"), m_fraTmg[0]);
        m_lblChannel[index]->setObjectName(QStringLiteral("lblChannel%1").arg(index));
        grid->addWidget(m_lblChannel[index], 0, 1 + 2 * c, 1, 2, Qt::AlignCenter);
    }
    for (int row = 0; row < kRowCount; ++row) {
        m_lblChannel[row] = new QLabel(QString::fromLatin1(kRowCaptions[row]), m_fraTmg[0]);
        m_lblChannel[row]->setObjectName(QStringLiteral("lblChannel%1").arg(row));
        grid->addWidget(m_lblChannel[row], row + 1, 0);
        for (int c = 0; c < 2; ++c) {
            const int field = row + c * kOffField;
            m_txtChannel[field] = new QLineEdit(m_fraTmg[0]);
            m_txtChannel[field]->setObjectName(QStringLiteral("txtChannel%1").arg(field));
            m_updChannel[field] = new Spinner(m_fraTmg[0]);
            m_updChannel[field]->setObjectName(QStringLiteral("updChannel%1").arg(field));
            m_updChannel[field]->setRange(0, 359);
            grid->addWidget(m_txtChannel[field], row + 1, 1 + 2 * c);
            grid->addWidget(m_updChannel[field], row + 1, 2 + 2 * c);
        }
        m_lblChannel[row]->setBuddy(onField(row));
    }
    grid->setColumnStretch(0, 1);
    // The frame is as tall as the chart and commands beside it; the rows stay
    // together under their ON and OFF captions.
    grid->setRowStretch(kRowCount + 1, 1);

    QStringList names;
    for (int row = 0; row < kRowCount; ++row)
        names << channelName(row);
    m_chart = new TimingChart(names, tab);
    m_chart->setObjectName(QStringLiteral("chtTiming"));

    const auto commandField = [this](int index, int maximum, QWidget* parent) {
        m_txtTmg[index] = new QLineEdit(QStringLiteral("0"), parent);
        m_txtTmg[index]->setObjectName(QStringLiteral("txtTmg%1").arg(index));
        m_updTmg[index] = new Spinner(parent);
        m_updTmg[index]->setObjectName(QStringLiteral("updTmg%1").arg(index));
        m_updTmg[index]->setRange(0, maximum);
    };

    m_fraTmg[1] = makeFrame(QStringLiteral("fraTmg1"), QStringLiteral("Resolver Offset"), tab);
    commandField(0, 359, m_fraTmg[1]);
    m_cmdSetOffset =
        makeButton(QStringLiteral("cmdSetOffset"), QStringLiteral("Set &Offset"), m_fraTmg[1]);
    auto* offsetLayout = new QHBoxLayout(m_fraTmg[1]);
    offsetLayout->addWidget(m_txtTmg[0]);
    offsetLayout->addWidget(m_updTmg[0]);
    offsetLayout->addWidget(m_cmdSetOffset);

    m_fraTmg[2] = makeFrame(QStringLiteral("fraTmg2"), QStringLiteral("PLS Channel"), tab);
    commandField(1, 10, m_fraTmg[2]);
    m_cmdRecallChan =
        makeButton(QStringLiteral("cmdRecallChan"), QStringLiteral("&Recall Channel"), m_fraTmg[2]);
    m_cmdClearChan =
        makeButton(QStringLiteral("cmdClearChan"), QStringLiteral("&Clear Channel"), m_fraTmg[2]);
    auto* channelLayout = new QHBoxLayout(m_fraTmg[2]);
    channelLayout->addWidget(m_txtTmg[1]);
    channelLayout->addWidget(m_updTmg[1]);
    channelLayout->addWidget(m_cmdRecallChan);
    channelLayout->addWidget(m_cmdClearChan);

    m_fraTmg[3] = makeFrame(QStringLiteral("fraTmg3"), QStringLiteral("Test Blow-off"), tab);
    m_cmdBadCanTest = makeButton(QStringLiteral("cmdBadCanTest"),
                                 QStringLiteral("B&ad Can Blow-off"), m_fraTmg[3]);
    m_cmdQCTest =
        makeButton(QStringLiteral("cmdQCTest"), QStringLiteral("&Q.C. Can Blow-off"), m_fraTmg[3]);
    auto* testLayout = new QHBoxLayout(m_fraTmg[3]);
    testLayout->addWidget(m_cmdBadCanTest);
    testLayout->addWidget(m_cmdQCTest);

    // The channel rows down the left; the chart of the same channels and the
    // commands that act on them beside the rows, so the whole tab fits the
    // window without scrolling.
    auto* side = new QVBoxLayout;
    side->addWidget(m_chart);
    for (int frame = 1; frame <= 3; ++frame)
        side->addWidget(m_fraTmg[frame]);
    side->addStretch();

    auto* layout = new QHBoxLayout(tab);
    layout->addWidget(m_fraTmg[0]);
    layout->addLayout(side, 1);
    return tab;
}

QGroupBox* TimingPage::buildConfigurationTab() {
    QGroupBox* tab =
        makeFrame(QStringLiteral("fraTiming1"), QStringLiteral("PLS Configuration"), this);
    const auto addValue = [this](QGridLayout* grid, int index, const QString& caption) {
        QWidget* parent = grid->parentWidget();
        m_lblPLSCaption[index] = new QLabel(caption, parent);
        m_lblPLSCaption[index]->setObjectName(QStringLiteral("lblPLSCaption%1").arg(index));
        m_lblPLSCfg[index] = new QLabel(kUnknown, parent);
        m_lblPLSCfg[index]->setObjectName(QStringLiteral("lblPLSCfg%1").arg(index));
        m_lblPLSCfg[index]->setFrameShape(QFrame::StyledPanel);
        m_lblPLSCfg[index]->setMinimumWidth(
            m_lblPLSCfg[index]->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
        const int row = index < 2 ? 0 : (index - 2) % 4;
        const int column = index < 2 ? index : (index - 2) / 4;
        grid->addWidget(m_lblPLSCaption[index], 2 * row, column);
        grid->addWidget(m_lblPLSCfg[index], 2 * row + 1, column);
    };

    m_fraTmg[5] = makeFrame(QStringLiteral("fraTmg5"), QStringLiteral("PLS Configuration"), tab);
    auto* configGrid = new QGridLayout(m_fraTmg[5]);
    addValue(configGrid, 0, QStringLiteral("Number of PLS Channels:"));
    addValue(configGrid, 1, QStringLiteral("PLS Program:"));

    m_fraTmg[4] = makeFrame(QStringLiteral("fraTmg4"), QStringLiteral("Speed Compensation"), tab);
    auto* speedGrid = new QGridLayout(m_fraTmg[4]);
    for (int i = 0; i < 8; ++i)
        addValue(speedGrid, 2 + i, QStringLiteral("CH0%1 (msec):").arg(i));

    m_cmdResetPLSConfig =
        makeButton(QStringLiteral("cmdResetPLSConfig"), QStringLiteral("&Reset PLS Config"), tab);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(m_fraTmg[5]);
    layout->addWidget(m_fraTmg[4]);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdResetPLSConfig);
    buttons->addStretch();
    layout->addLayout(buttons);
    return tab;
}

void TimingPage::tabChanged(int index) {
    for (QGroupBox* frame : m_fraTiming)
        frame->hide();
    m_fraTiming[index]->show();
}
