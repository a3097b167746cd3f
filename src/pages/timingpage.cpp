#include "timingpage.h"

#include "appstate.h"
#include "blowoffrequests.h"
#include "entryfield.h"
#include "pageservices.h"
#include "plsmapping.h"
#include "prompts.h"
#include "rscomm.h"
#include "spinner.h"
#include "textnumber.h"
#include "timingchart.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

// Channel names count in octal: the ninth channel, channel 8 in every
// command, is CH10 to the operator.
constexpr int kChannelTen = 8;

// Fields that show no setpoint: not programmed, recall failed.
const QString kNotProgrammed = QStringLiteral("****");
const QString kFailed = QStringLiteral("---");

const QString kSetupTitle = QStringLiteral("Set-up");
const QString kOffsetTitle = QStringLiteral("Resolver Offset");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

QString wholeText(const QLineEdit* field) {
    return QString::number(numericValue(field->text()));
}

} // namespace

QString TimingPage::channelName(int row) {
    return row == kChannelTen ? QStringLiteral("CH10") : QStringLiteral("CH0%1").arg(row);
}

TimingPage::TimingPage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmTiming"), QStringLiteral("Machine Timing"),
                    parent),
      m_cycle(services.link, services.state, services.prompts) {
    buildLayout();
    bindFields();
    connectCommands();
    startRefresh();
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
    connect(m_cmdBadCanTest, &QPushButton::clicked, this, [this] { sendBadCanTest(services()); });
    // The page's Q.C. test acts on the first spindle.
    connect(m_cmdQCTest, &QPushButton::clicked, this,
            [this] { SendBlowoffRequest(services(), 1); });
}

void TimingPage::setOffsetGroupEnabled(bool enabled) {
    m_fraTmg[1]->setEnabled(enabled);
    m_txtTmg[0]->setEnabled(enabled);
    m_updTmg[0]->setEnabled(enabled);
    m_cmdSetOffset->setEnabled(enabled);
}

void TimingPage::applyOnlineAppearance() {
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
    m_cycle.startOnline();
}

void TimingPage::finishOnlineAppearance() {
    for (QPushButton* button :
         {m_cmdRecallChan, m_cmdClearChan, m_cmdBadCanTest, m_cmdQCTest, m_cmdResetPLSConfig})
        button->setEnabled(true);
    setOffsetGroupEnabled(false);
}

void TimingPage::applyOfflineAppearance() {
    const AppState& state = services().state;
    const SetupDocument& document = state.CurrentDocument;
    const bool editing = state.OfflineEditing;
    m_cycle.stop();

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
    const TimingNews news = m_cycle.step();
    const TimingSnapshot& board = m_cycle.snapshot();
    if (news.recallsStarted)
        defaultButton()->setFocus(Qt::OtherFocusReason);
    switch (news.part) {
    case TimingNews::Part::Nothing:
        break;
    case TimingNews::Part::Configuration:
        showConfiguration();
        break;
    case TimingNews::Part::Recall:
        showRecall();
        break;
    case TimingNews::Part::Speed:
        setPanel(0, QStringLiteral("RPM: ") + board.rpm);
        break;
    case TimingNews::Part::Position:
        setPanel(1, QStringLiteral("Position: ") + board.position);
        m_chart->setPosition(board.chartPosition);
        break;
    case TimingNews::Part::Offset:
        setPanel(2, QStringLiteral("Offset: ") + board.offset);
        break;
    case TimingNews::Part::Scale:
        setPanel(3, QStringLiteral("Scale: ") + board.scale);
        m_chart->setScale(numericValue(board.scale));
        break;
    }
    if (news.offsetSettable)
        setOffsetGroupEnabled(*news.offsetSettable);
    if (news.channelsShown)
        finishOnlineAppearance();
}

void TimingPage::showConfiguration() {
    const std::array<int, 10>& values = m_cycle.snapshot().configuration;
    for (size_t i = 0; i < values.size(); ++i)
        m_lblPLSCfg[i]->setText(QString::number(values[i]));
}

bool TimingPage::recallOnce(int row, bool store) {
    const bool again = m_cycle.recall(row, store);
    showRecall();
    return again;
}

void TimingPage::showRecall() {
    const TimingSnapshot& board = m_cycle.snapshot();
    const int row = board.recallRow;
    switch (board.recall) {
    case TimingSnapshot::Recall::On:
        m_channelEntry[row]->showValue(QString::number(board.recallPosition));
        break;
    case TimingSnapshot::Recall::Off:
        m_channelEntry[row + kOffField]->showValue(QString::number(board.recallPosition));
        break;
    case TimingSnapshot::Recall::NotProgrammed:
        showSetpoints(row, kNotProgrammed);
        break;
    case TimingSnapshot::Recall::Failed:
        showSetpoints(row, kFailed);
        break;
    case TimingSnapshot::Recall::Nothing:
        break;
    }
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
        if (!link.OnlineMode)
            return;
        const bool sent =
            link.PLSConfigDownload(PlsMapping::configurationBlock(document), document.PLSScale);
        if (link.CommError)
            return;
        if (sent) {
            if (m_cycle.readConfiguration())
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
