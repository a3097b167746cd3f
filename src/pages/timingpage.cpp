#include "timingpage.h"

#include "appstate.h"
#include "blowoffrequests.h"
#include "entryfield.h"
#include "pageservices.h"
#include "pagewidgets.h"
#include "prompts.h"
#include "rscomm.h"
#include "spinner.h"
#include "textnumber.h"
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

#include <vector>

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

// Channel names count in octal: the ninth channel, channel 8 in every
// command, is CH10 to the operator.
constexpr int kChannelTen = 8;

// Fields that show no setpoint: not programmed, recall failed, not read yet.
const QString kNotProgrammed = QStringLiteral("****");
const QString kFailed = QStringLiteral("---");
const QString kUnknown = QStringLiteral("-");

// Above this speed the position changes too fast to be worth reading.
constexpr int kPositionRpmLimit = 50;

const QString kSetupTitle = QStringLiteral("Set-up");
const QString kOffsetTitle = QStringLiteral("Resolver Offset");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

// "CH10" for channel 8, otherwise "CH0" and the channel.
QString channelName(int row) {
    return row == kChannelTen ? QStringLiteral("CH10") : QStringLiteral("CH0%1").arg(row);
}

QString wholeText(const QLineEdit* field) {
    return QString::number(numericValue(field->text()));
}

} // namespace

TimingPage::TimingPage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmTiming"), QStringLiteral("Machine Timing"),
                    parent) {
    buildLayout();
    bindFields();
    connectCommands();
    startRefresh();
}

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

void TimingPage::bindFields() {
    for (int row = 0; row < kRowCount; ++row) {
        for (const int field : {row, row + kOffField}) {
            EntryField::Params params;
            params.title = kSetupTitle;
            params.uncheckedText = kNotProgrammed;
            params.commit = [this, field](const EntryField::Accepted& accepted) {
                return commitSetpoint(field, accepted);
            };
            m_channelEntry[field] = entries().add(m_txtChannel[field], m_updChannel[field], params);
            connect(m_txtChannel[field], &QLineEdit::textChanged, this, &TimingPage::updateChart);
        }
    }

    // The command fields only feed their buttons.
    EntryField::Params offset;
    offset.title = kOffsetTitle;
    offset.commitOnLeave = false;
    offset.enterMovesTo = m_cmdSetOffset;
    entries().add(m_txtTmg[0], m_updTmg[0], offset);

    // The channel number as shown: 0..7 and 10; 8 and 9 are no channel names.
    EntryField::Params channel;
    channel.title = kOffsetTitle;
    channel.commitOnLeave = false;
    channel.rewrite = [](const QString& text) {
        const std::optional<double> value = wholeNumber(text);
        return value && (*value == 8 || *value == 9) ? QStringLiteral("10") : text;
    };
    // The spinner steps over the gap: up from 7 to 10, down from 10 to 7.
    channel.commit = [this](const EntryField::Accepted& accepted) {
        if (accepted.value == 8)
            m_txtTmg[1]->setText(QStringLiteral("10"));
        else if (accepted.value == 9)
            m_txtTmg[1]->setText(QStringLiteral("7"));
        return EntryField::Verdict::Kept;
    };
    entries().add(m_txtTmg[1], m_updTmg[1], channel);
}

void TimingPage::connectCommands() {
    connect(m_cmdSetOffset, &QPushButton::clicked, this, &TimingPage::setOffset);
    connect(m_cmdRecallChan, &QPushButton::clicked, this, &TimingPage::recallChannelCommand);
    connect(m_cmdClearChan, &QPushButton::clicked, this, &TimingPage::clearChannel);
    connect(m_cmdResetPLSConfig, &QPushButton::clicked, this, &TimingPage::resetConfiguration);
    connect(m_cmdBadCanTest, &QPushButton::clicked, this, [this] { SendBadCanTest(services()); });
    // The page's Q.C. test acts on the first spindle.
    connect(m_cmdQCTest, &QPushButton::clicked, this,
            [this] { SendBlowoffRequest(services(), 1); });
}

void TimingPage::tabChanged(int index) {
    for (QGroupBox* frame : m_fraTiming)
        frame->hide();
    m_fraTiming[index]->show();
}

void TimingPage::clearMachineState() {
    m_stopped = false;
    m_wasStopped = false;
}

void TimingPage::setOffsetGroupEnabled(bool enabled) {
    m_fraTmg[1]->setEnabled(enabled);
    m_txtTmg[0]->setEnabled(enabled);
    m_updTmg[0]->setEnabled(enabled);
    m_cmdSetOffset->setEnabled(enabled);
}

void TimingPage::applyOnlineAppearance() {
    clearMachineState();
    m_sbrMachineTiming->setEnabled(true);
    for (const int group : {0, 2, 3, 4, 5})
        m_fraTmg[group]->setEnabled(true);
    setOffsetGroupEnabled(false);
    for (QLabel* label : m_lblChannel)
        label->setEnabled(true);
    for (int row = 0; row < kRowCount; ++row) {
        for (const int field : {row, row + kOffField}) {
            m_txtChannel[field]->setEnabled(true);
            m_updChannel[field]->setEnabled(true);
            m_txtChannel[field]->setText(kUnknown);
        }
    }
    for (int i = 0; i < 10; ++i) {
        m_lblPLSCaption[i]->setEnabled(true);
        m_lblPLSCfg[i]->setEnabled(true);
    }
    m_txtTmg[1]->setEnabled(true);
    m_updTmg[1]->setEnabled(true);
    // The commands wait until the board's channels are shown.
    for (QPushButton* button :
         {m_cmdRecallChan, m_cmdClearChan, m_cmdBadCanTest, m_cmdQCTest, m_cmdResetPLSConfig})
        button->setEnabled(false);
    m_chart->setPosition(std::nullopt);
    defaultButton()->setFocus(Qt::OtherFocusReason);

    // The configuration read and the recall follow, one board step each.
    m_configPending = true;
    m_recallRow = -1;
    m_appearancePending = true;
    m_nextRead = StatusRead::Speed;
}

void TimingPage::finishOnlineAppearance() {
    m_appearancePending = false;
    for (QPushButton* button :
         {m_cmdRecallChan, m_cmdClearChan, m_cmdBadCanTest, m_cmdQCTest, m_cmdResetPLSConfig})
        button->setEnabled(true);
    setOffsetGroupEnabled(false);
}

void TimingPage::applyOfflineAppearance() {
    const AppState& state = services().state;
    const SetupDocument& document = state.CurrentDocument;
    const bool editing = state.OfflineEditing;
    m_configPending = false;
    m_recallRow = -1;
    m_appearancePending = false;
    clearMachineState();

    m_sbrMachineTiming->setEnabled(false);
    setPanel(0, QStringLiteral("RPM: ") + kUnknown);
    setPanel(1, QStringLiteral("Position: ") + kUnknown);
    setPanel(2, QStringLiteral("Offset: ") + QString::number(document.ResolverOffset));
    setPanel(3, QStringLiteral("Scale: ") + QString::number(document.PLSScale));
    m_chart->setScale(document.PLSScale);
    m_chart->setPosition(std::nullopt);

    for (QGroupBox* group : m_fraTmg)
        group->setEnabled(false);
    m_fraTmg[0]->setEnabled(editing);
    m_fraTmg[2]->setEnabled(editing);

    for (QLabel* label : m_lblChannel)
        label->setEnabled(editing);
    for (int row = 0; row < kRowCount; ++row) {
        for (const int field : {row, row + kOffField}) {
            m_txtChannel[field]->setEnabled(editing);
            m_updChannel[field]->setEnabled(editing);
        }
        onField(row)->setText(QString::number(document.OnSetpoints[row]));
        offField(row)->setText(QString::number(document.OffSetpoints[row]));
    }

    for (int i = 0; i < 10; ++i) {
        m_lblPLSCaption[i]->setEnabled(false);
        m_lblPLSCfg[i]->setEnabled(false);
    }
    m_cmdResetPLSConfig->setEnabled(false);
    m_lblPLSCfg[0]->setText(QString::number(document.PLSChannelCount));
    m_lblPLSCfg[1]->setText(QString::number(document.PLSProgram));
    for (int i = 0; i < 8; ++i)
        m_lblPLSCfg[2 + i]->setText(QString::number(document.SpeedCompensation[i]));

    m_cmdRecallChan->setEnabled(false);
    m_cmdClearChan->setEnabled(editing);
    m_txtTmg[1]->setEnabled(editing);
    m_updTmg[1]->setEnabled(editing);
    m_cmdBadCanTest->setEnabled(false);
    m_cmdQCTest->setEnabled(false);
    setOffsetGroupEnabled(false);
    defaultButton()->setFocus(Qt::OtherFocusReason);
}

bool TimingPage::offlineAppearanceStale() {
    // A New or Open replaced the document the page shows.
    AppState& state = services().state;
    if (!state.DocumentOpened)
        return false;
    state.DocumentOpened = false;
    return true;
}

void TimingPage::boardStep() {
    RSComm& link = services().link;
    if (m_configPending) {
        m_configPending = false;
        showConfiguration();
        if (link.CommError)
            return; // the next step takes the application offline
        if (m_appearancePending)
            startRecallAll();
        return;
    }
    if (m_recallRow >= 0) {
        const int row = m_recallRow;
        const bool again = recallOnce(row, false) && !m_recallSecond;
        if (link.CommError) {
            m_recallRow = -1;
            return;
        }
        m_recallSecond = again;
        if (!again)
            m_recallRow = row + 1 < kRowCount ? row + 1 : -1;
        if (m_recallRow < 0 && m_appearancePending)
            finishOnlineAppearance();
        return;
    }
    AppState& state = services().state;
    if (state.ChannelsDownloaded) {
        // A timing-channel download changed the board: show what it holds now.
        state.ChannelsDownloaded = false;
        startRecallAll();
        return;
    }
    m_nextRead = statusRead(m_nextRead);
}

TimingPage::StatusRead TimingPage::statusRead(StatusRead read) {
    RSComm& link = services().link;
    switch (read) {
    case StatusRead::Speed: {
        const QString rpm = link.PLSRpm();
        if (link.CommError)
            return StatusRead::Speed;
        setPanel(0, QStringLiteral("RPM: ") + rpm);
        machineSpeed(numericValue(rpm));
        return StatusRead::SpeedForPosition;
    }
    case StatusRead::SpeedForPosition: {
        const int rpm = numericValue(link.PLSRpm());
        if (link.CommError)
            return StatusRead::Speed;
        if (rpm <= kPositionRpmLimit)
            return StatusRead::Position;
        setPanel(1, QStringLiteral("Position: 888"));
        m_chart->setPosition(std::nullopt);
        return StatusRead::Offset;
    }
    case StatusRead::Position: {
        const QString position = link.PLSPos();
        if (link.CommError)
            return StatusRead::Speed;
        setPanel(1, QStringLiteral("Position: ") + position);
        m_chart->setPosition(numericValue(position));
        return StatusRead::Offset;
    }
    case StatusRead::Offset: {
        const QString offset = link.PLSOffset();
        if (link.CommError)
            return StatusRead::Speed;
        setPanel(2, QStringLiteral("Offset: ") + offset);
        return StatusRead::Scale;
    }
    case StatusRead::Scale:
        break;
    }
    const QString scale = link.PLSScaleFactor();
    if (!link.CommError) {
        setPanel(3, QStringLiteral("Scale: ") + scale);
        m_chart->setScale(numericValue(scale));
    }
    return StatusRead::Speed;
}

void TimingPage::machineSpeed(int rpm) {
    // The resolver offset can only be set while the machine stands still.
    m_stopped = rpm == 0;
    const bool justStopped = m_stopped && !m_wasStopped;
    const bool justStarted = m_wasStopped && !m_stopped;
    m_wasStopped = m_stopped;
    if (justStopped)
        setOffsetGroupEnabled(true);
    else if (justStarted)
        setOffsetGroupEnabled(false);
}

void TimingPage::showConfiguration() {
    RSComm& link = services().link;
    const auto config = link.PLSConfigUpload();
    if (link.CommError)
        return;
    for (int i = 0; i < 10; ++i)
        m_lblPLSCfg[i]->setText(QString::number(config[i]));
}

void TimingPage::startRecallAll() {
    defaultButton()->setFocus(Qt::OtherFocusReason);
    m_recallRow = 0;
    m_recallSecond = false;
}

bool TimingPage::recallOnce(int row, bool store) {
    RSComm& link = services().link;
    SetupDocument& document = services().state.CurrentDocument;
    if (!link.OnlineMode || !link.RecallChannel(row)) {
        if (link.CommError)
            return false;
        services().prompts.message(QStringLiteral("Channel Recall"),
                                   QStringLiteral("Unable to Recall Channel ch%1").arg(row),
                                   Prompts::Icon::Information, Prompts::Buttons::Ok);
        showSetpoints(row, kFailed);
        return false;
    }
    const int state = link.ChannelRecallState();
    const auto position = static_cast<qint16>(link.ChannelRecallPos());
    if (state == 1) {
        m_channelEntry[row]->showValue(QString::number(position));
        if (store)
            document.OnSetpoints[row] = position;
        return true;
    }
    if (state == 0) {
        m_channelEntry[row + kOffField]->showValue(QString::number(position));
        if (store)
            document.OffSetpoints[row] = position;
        return true;
    }
    // Not programmed as a single setpoint: nothing more to ask.
    showSetpoints(row, kNotProgrammed);
    if (store) {
        document.OnSetpoints[row] = 0;
        document.OffSetpoints[row] = 0;
    }
    return false;
}

void TimingPage::recallChannel(int row, bool store) {
    // One recall answers one edge of the channel; a second answers the other.
    if (recallOnce(row, store))
        recallOnce(row, store);
}

void TimingPage::showSetpoints(int row, const QString& text) {
    m_channelEntry[row]->showValue(text);
    m_channelEntry[row + kOffField]->showValue(text);
}

EntryField::Verdict TimingPage::commitSetpoint(int field, const EntryField::Accepted& accepted) {
    const int row = field % kOffField;
    const bool isOn = field < kOffField;
    SetupDocument& document = services().state.CurrentDocument;
    entries().forgetEscape();
    if (accepted.fromSpinner) {
        // The spinner path does not compare ON with OFF.
        (isOn ? document.OnSetpoints : document.OffSetpoints)[row] =
            static_cast<qint16>(accepted.value);
        programSetpoint(row, row == kChannelTen ? QStringLiteral("CH10")
                                                : QStringLiteral("CH%1").arg(row));
        return EntryField::Verdict::Kept;
    }

    m_txtChannel[field]->setText(QString::number(accepted.value));
    if (accepted.value == accepted.saved)
        return EntryField::Verdict::Kept;
    if (numericValue(onField(row)->text()) == numericValue(offField(row)->text())) {
        services().prompts.message(kSetupTitle,
                                   QStringLiteral("ON Setpoint cannot Equal OFF Setpoint"),
                                   Prompts::Icon::Information, Prompts::Buttons::Ok);
        return EntryField::Verdict::Refused;
    }
    (isOn ? document.OnSetpoints : document.OffSetpoints)[row] =
        static_cast<qint16>(accepted.value);
    programSetpoint(row, channelName(row));
    return EntryField::Verdict::Kept;
}

void TimingPage::programSetpoint(int row, const QString& channelName) {
    RSComm& link = services().link;
    if (!link.OnlineMode)
        return;
    const bool programmed = link.SingleSetpoint(row, numericValue(onField(row)->text()),
                                                numericValue(offField(row)->text()), true);
    if (!link.CommError && !programmed)
        services().prompts.message(
            QStringLiteral("Channel Setpoint"),
            QStringLiteral("Unable to Successfully Program Setpoint for Channel %1.")
                .arg(channelName),
            Prompts::Icon::Critical, Prompts::Buttons::Ok);
}

void TimingPage::setOffset() {
    RSComm& link = services().link;
    m_txtTmg[0]->setText(wholeText(m_txtTmg[0]));
    const int offset = numericValue(m_txtTmg[0]->text());
    if (!link.OnlineMode)
        return;
    const Prompts::Answer answer =
        services().prompts.message(QStringLiteral("Set Offset"),
                                   QStringLiteral("You are about to Change the Resolver Offset.") +
                                       kCrLf2 + QStringLiteral("Do you wish to continue?"),
                                   Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
    if (answer != Prompts::Answer::Yes) {
        m_txtTmg[0]->setText(QStringLiteral("0"));
        return;
    }
    const bool set = link.SetPLSOffset(offset);
    if (link.CommError)
        return;
    if (set) {
        services().state.CurrentDocument.ResolverOffset = static_cast<qint16>(offset);
        return;
    }
    services().prompts.message(kOffsetTitle,
                               QStringLiteral("Unable to Successfully Set the Resolver Offset"),
                               Prompts::Icon::Critical, Prompts::Buttons::Ok);
    m_txtTmg[0]->setText(QStringLiteral("0"));
}

void TimingPage::recallChannelCommand() {
    m_txtTmg[1]->setText(wholeText(m_txtTmg[1]));
    const int shown = numericValue(m_txtTmg[1]->text());
    if ((shown >= 0 && shown < kChannelTen) || shown == 10)
        recallChannel(shown == 10 ? kChannelTen : shown, false);
}

void TimingPage::clearChannel() {
    RSComm& link = services().link;
    Prompts& prompts = services().prompts;
    for (;;) {
        m_txtTmg[1]->setText(wholeText(m_txtTmg[1]));
        const int shown = numericValue(m_txtTmg[1]->text());
        const QString name =
            shown < 8 ? QStringLiteral("CH0%1").arg(shown) : QStringLiteral("CH%1").arg(shown);
        const int row = shown == 10 ? kChannelTen : shown;
        const Prompts::Answer answer =
            prompts.message(QStringLiteral("Clear Channel"),
                            QStringLiteral("You are about to Clear Channel %1.").arg(name) +
                                kCrLf2 + QStringLiteral("Do you wish to continue?"),
                            Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
        if (answer != Prompts::Answer::Yes || row < 0 || row > kChannelTen || shown == 8)
            return;
        if (!link.OnlineMode) {
            if (!services().state.OfflineEditing)
                return;
            showSetpoints(row, kNotProgrammed);
            SetupDocument& document = services().state.CurrentDocument;
            document.OnSetpoints[row] = 0;
            document.OffSetpoints[row] = 0;
            return;
        }
        const bool cleared = link.ClearPLSChan(row);
        if (link.CommError)
            return;
        if (cleared) {
            // The document follows the board.
            recallChannel(row, true);
            return;
        }
        if (prompts.message(QStringLiteral("Clear Channel"),
                            QStringLiteral("Unable to Clear Channel"), Prompts::Icon::Question,
                            Prompts::Buttons::RetryCancel) != Prompts::Answer::Retry) {
            showSetpoints(row, kFailed);
            return;
        }
    }
}

void TimingPage::resetConfiguration() {
    RSComm& link = services().link;
    for (;;) {
        const SetupDocument& document = services().state.CurrentDocument;
        std::vector<int> block(24, 0);
        block[0] = document.PLSProgram;
        for (int i = 0; i < 4; ++i) {
            block[1 + i] = document.SpeedCompensation[i];
            block[6 + i] = document.SpeedCompensation[4 + i];
        }
        block[18] = document.PLSChannelCount;
        if (!link.OnlineMode)
            return;
        const bool sent = link.PLSConfigDownload(block, document.PLSScale);
        if (link.CommError)
            return;
        if (sent) {
            showConfiguration();
            return;
        }
        if (services().prompts.message(
                QStringLiteral("PLS Config Download"),
                QStringLiteral("Unable to Reset PLS Configuration Parameters"),
                Prompts::Icon::Question, Prompts::Buttons::RetryCancel) != Prompts::Answer::Retry) {
            for (QLabel* value : m_lblPLSCfg)
                value->setText(kFailed);
            return;
        }
    }
}

void TimingPage::updateChart() {
    for (int row = 0; row < kRowCount; ++row) {
        const std::optional<double> on = wholeNumber(onField(row)->text());
        const std::optional<double> off = wholeNumber(offField(row)->text());
        m_chart->setRow(row, on ? std::optional<int>(nearestInt(*on)) : std::nullopt,
                        off ? std::optional<int>(nearestInt(*off)) : std::nullopt);
    }
}

void TimingPage::setPanel(int panel, const QString& text) {
    m_panels[panel]->setText(text);
}
