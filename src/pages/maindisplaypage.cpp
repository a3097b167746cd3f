#include "maindisplaypage.h"

#include "appstate.h"
#include "blowoffrequests.h"
#include "clock.h"
#include "countertext.h"
#include "entryfield.h"
#include "pageservices.h"
#include "pagewidgets.h"
#include "rscomm.h"
#include "speedtrendchart.h"
#include "spinner.h"
#include "textnumber.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Machine speed word (CPM is twice its value), then the current shift's
// good-can and blow-off counters.
const std::array<QString, 3> kCounterAddress = {QStringLiteral("W182"), QStringLiteral("D1100"),
                                                QStringLiteral("D1104")};
// Where the set-up document keeps the good-can and blow-off counters.
constexpr int kGoodCansElement = 49;
constexpr int kBlowoffsElement = 50;
const QString kSelectionAddress = QStringLiteral("B2088");
const QString kNoValue = QStringLiteral("-");

} // namespace

MainDisplayPage::MainDisplayPage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmMain"), QStringLiteral("Main Display"), parent) {
    buildLayout();

    EntryField::Params spindle;
    spindle.target = kSelectionAddress;
    spindle.title = QStringLiteral("Q.C. Blow-off");
    spindle.fixedOpening = QStringLiteral("Only a Number Between 1 and ");
    // The number is only used by the next single blow-off; the spinner
    // writes its selection straight away.
    spindle.commitOnLeave = false;
    m_spindle = entries().add(m_txtSpindleBlowoff, m_updSpindleNumber, spindle);

    connect(m_cmdSingleBlowoff, &QPushButton::clicked, this, &MainDisplayPage::sendSingleBlowoff);
    connect(m_cmdBlanketBlowoff, &QPushButton::clicked, this,
            [this] { SendBlowoffRequest(this->services(), kBlanketSelection); });
    connect(m_cmdMandrelBlowoff, &QPushButton::clicked, this,
            [this] { SendBlowoffRequest(this->services(), kMandrelSelection); });
    connect(m_cmdBadCanBlowoff, &QPushButton::clicked, this,
            [this] { sendBadCanTest(this->services()); });

    startRefresh();
    showStatusText();
}

MainDisplayPage::~MainDisplayPage() {
    services().state.speedTrend.interrupt();
}

void MainDisplayPage::buildLayout() {
    static const std::array<QString, 3> captions = {
        QStringLiteral("Machine CPM"), QStringLiteral("Good Cans"), QStringLiteral("Blow-offs")};
    auto* counters = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        m_fraDisplay[i] = makeFrame(QStringLiteral("fraDisplay%1").arg(i), captions[i], this);
        m_lblDisplay[i] = new QLabel(kNoValue, m_fraDisplay[i]);
        m_lblDisplay[i]->setObjectName(QStringLiteral("lblDisplay%1").arg(i));
        m_lblDisplay[i]->setAlignment(Qt::AlignCenter);
        QFont font = m_lblDisplay[i]->font();
        font.setPointSizeF(font.pointSizeF() * 2);
        font.setBold(true);
        m_lblDisplay[i]->setFont(font);
        auto* frameLayout = new QVBoxLayout(m_fraDisplay[i]);
        frameLayout->addWidget(m_lblDisplay[i]);
        counters->addWidget(m_fraDisplay[i]);
    }

    m_fraMessageDisplay =
        makeFrame(QStringLiteral("fraMessageDisplay"), QStringLiteral("Messages"), this);
    m_txtMessageDisplay = new QPlainTextEdit(m_fraMessageDisplay);
    m_txtMessageDisplay->setObjectName(QStringLiteral("txtMessageDisplay"));
    m_txtMessageDisplay->setReadOnly(true);
    m_normalMessagePointSize = m_txtMessageDisplay->font().pointSizeF();
    m_txtMessageDisplay->setFocusPolicy(Qt::NoFocus);
    auto* messageLayout = new QVBoxLayout(m_fraMessageDisplay);
    messageLayout->addWidget(m_txtMessageDisplay);

    m_fraQCBlowoff =
        makeFrame(QStringLiteral("fraQCBlowoff"), QStringLiteral("Q.C. Blow-off"), this);
    m_fraSpindleNumber = makeFrame(QStringLiteral("fraSpindleNumber"),
                                   QStringLiteral("Spindle Number"), m_fraQCBlowoff);
    m_txtSpindleBlowoff = new QLineEdit(m_fraSpindleNumber);
    m_txtSpindleBlowoff->setObjectName(QStringLiteral("txtSpindleBlowoff"));
    m_updSpindleNumber = new Spinner(m_fraSpindleNumber);
    m_updSpindleNumber->setObjectName(QStringLiteral("updSpindleNumber"));
    m_updSpindleNumber->setRange(1, 24);
    auto* spindleLayout = new QHBoxLayout(m_fraSpindleNumber);
    spindleLayout->addWidget(m_txtSpindleBlowoff);
    spindleLayout->addWidget(m_updSpindleNumber);

    m_cmdSingleBlowoff = makeButton(QStringLiteral("cmdSingleBlowoff"),
                                    QStringLiteral("S&ingle Blow-off"), m_fraQCBlowoff);
    m_cmdBlanketBlowoff = makeButton(QStringLiteral("cmdBlanketBlowoff"),
                                     QStringLiteral("&Blanket Blow-off"), m_fraQCBlowoff);
    m_cmdMandrelBlowoff = makeButton(QStringLiteral("cmdMandrelBlowoff"),
                                     QStringLiteral("&Mandrel Blowoff"), m_fraQCBlowoff);
    auto* qcLayout = new QGridLayout(m_fraQCBlowoff);
    qcLayout->addWidget(m_fraSpindleNumber, 0, 0, 3, 1);
    qcLayout->addWidget(m_cmdSingleBlowoff, 0, 1);
    qcLayout->addWidget(m_cmdBlanketBlowoff, 1, 1);
    qcLayout->addWidget(m_cmdMandrelBlowoff, 2, 1);

    m_fraBadCanBlowoff =
        makeFrame(QStringLiteral("fraBadCanBlowoff"), QStringLiteral("Bad Can Blow-off"), this);
    m_cmdBadCanBlowoff = makeButton(QStringLiteral("cmdBadCanBlowoff"),
                                    QStringLiteral("&Test Trip/Blow-off"), m_fraBadCanBlowoff);
    auto* badCanLayout = new QVBoxLayout(m_fraBadCanBlowoff);
    badCanLayout->addWidget(m_cmdBadCanBlowoff);
    badCanLayout->addStretch();

    auto* commands = new QHBoxLayout;
    commands->addWidget(m_fraQCBlowoff);
    commands->addWidget(m_fraBadCanBlowoff);
    commands->addStretch();

    m_fraSpeedTrend =
        makeFrame(QStringLiteral("fraSpeedTrend"), QStringLiteral("Machine CPM Trend"), this);
    m_trend = new SpeedTrendChart(services().state.speedTrend, m_fraSpeedTrend);
    m_trend->setObjectName(QStringLiteral("picSpeedTrend"));
    auto* trendLayout = new QVBoxLayout(m_fraSpeedTrend);
    trendLayout->addWidget(m_trend);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(counters);
    layout->addWidget(m_fraSpeedTrend, 2);
    layout->addWidget(m_fraMessageDisplay, 1);
    layout->addLayout(commands);
    layout->addWidget(defaultButton());
}

void MainDisplayPage::showStatusText() {
    // The status text keeps the program's CR LF line breaks.
    QString text = services().state.SystemStatusText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (m_txtMessageDisplay->toPlainText() == text)
        return;
    m_txtMessageDisplay->setPlainText(text);
    // An alarm stands out: large, bold and red; the normal texts stay calm.
    const bool alarm = text.contains(QLatin1String("SYSTEM ALARM"));
    m_txtMessageDisplay->setProperty("alarm", alarm);
    QFont font = m_txtMessageDisplay->font();
    font.setBold(alarm);
    font.setPointSizeF(alarm ? m_normalMessagePointSize * 1.8 : m_normalMessagePointSize);
    m_txtMessageDisplay->setFont(font);
    setLiveColour(m_txtMessageDisplay, QPalette::Text, alarm ? QColor(0xc0, 0, 0) : QColor());
}

void MainDisplayPage::boardStep() {
    showStatusText();
    RSComm& link = services().link;
    const int a = m_nextCounter;
    const QString value = link.RSRead(kCounterAddress[a]);
    if (link.CommError) {
        // The remaining counters keep their texts; the next step goes offline.
        m_nextCounter = 0;
        return;
    }
    const qint64 number = numericValue(value);
    if (a == 0) {
        m_lblDisplay[0]->setText(QString::number(2 * number));
        recordSpeed(static_cast<qint32>(2 * number));
    } else {
        m_lblDisplay[a]->setText(counterText(number));
    }
    m_nextCounter = (a + 1) % 3;
}

void MainDisplayPage::documentStep() {
    showStatusText();
    const QVector<qint32>& values = services().state.CurrentDocument.Values;
    m_lblDisplay[1]->setText(counterText(values.value(kGoodCansElement)));
    m_lblDisplay[2]->setText(counterText(values.value(kBlowoffsElement)));
    recordSpeed(std::nullopt);
}

void MainDisplayPage::recordSpeed(std::optional<qint32> cpm) {
    const qint64 nowMs = services().clock.now().toMSecsSinceEpoch();
    if (cpm)
        services().state.speedTrend.add(nowMs, *cpm);
    m_trend->showAt(nowMs);
}

void MainDisplayPage::ShowOnlineLayout() {
    m_nextCounter = 0;
    services().state.speedTrend.interrupt();
    m_trend->setOffline(false);
    setCommandsEnabled(true);
    presetSpindleNumber();
    m_cmdSingleBlowoff->setFocus(Qt::OtherFocusReason);
}

void MainDisplayPage::ShowOfflineLayout() {
    services().state.speedTrend.interrupt();
    m_trend->setOffline(true);
    setCommandsEnabled(false);
    m_txtSpindleBlowoff->setText(kNoValue);
    for (QLabel* label : m_lblDisplay)
        label->setText(kNoValue);
}

void MainDisplayPage::setCommandsEnabled(bool enabled) {
    const std::array<QWidget*, 9> commands = {
        m_fraQCBlowoff,      m_fraSpindleNumber, m_txtSpindleBlowoff,
        m_updSpindleNumber,  m_cmdSingleBlowoff, m_cmdBlanketBlowoff,
        m_cmdMandrelBlowoff, m_fraBadCanBlowoff, m_cmdBadCanBlowoff};
    for (QWidget* widget : commands)
        widget->setEnabled(enabled);
    for (int i = 0; i < 3; ++i) {
        m_fraDisplay[i]->setEnabled(enabled);
        m_lblDisplay[i]->setEnabled(enabled);
    }
}

void MainDisplayPage::presetSpindleNumber() {
    // B2088 holds the last Q.C. selection; 25 and 26 (blanket, mandrel) are
    // beyond the spindle range and show as the last spindle.
    RSComm& link = services().link;
    if (link.CommError) {
        m_txtSpindleBlowoff->setText(QStringLiteral("1"));
        return;
    }
    const qint32 selection = numericValue(link.RSRead(kSelectionAddress));
    const int maximum = m_updSpindleNumber->maximum();
    if (selection > maximum)
        m_txtSpindleBlowoff->setText(QString::number(maximum));
    else if (selection != 0)
        m_txtSpindleBlowoff->setText(QString::number(selection));
    else
        m_txtSpindleBlowoff->setText(QStringLiteral("1"));
}

void MainDisplayPage::sendSingleBlowoff() {
    SendBlowoffRequest(services(), numericValue(m_txtSpindleBlowoff->text()));
}
