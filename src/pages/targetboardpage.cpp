#include "targetboardpage.h"

#include "clock.h"
#include "entryfield.h"
#include "onlinesession.h"
#include "pageservices.h"
#include "pagewidgets.h"
#include "programident.h"
#include "prompts.h"
#include "rscomm.h"
#include "secondticker.h"
#include "spinner.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The six fault display entries: current fault, last fault, CO-CPU slot,
// last fault again for the corrective action, current and last comm error.

struct FieldSpec {
    const char* label;
    const char* address;
    int minimum;
    int maximum;
};
const std::array<FieldSpec, 8> kFields = {{{"Current Network Address 1:", "B8180", 1, 32},
                                           {"Current Network Address 2:", "B8191", 1, 32},
                                           {"Hr.", "B43012", 0, 23},
                                           {"Min.", "B43010", 0, 59},
                                           {"Sec.", "B43008", 0, 59},
                                           {"Mo.", "B43016", 1, 12},
                                           {"Day", "B43015", 1, 31},
                                           {"Yr.", "B43017", 0, 99}}};
constexpr int kFirstClockField = 2;

const QString kCannotCommunicate = QStringLiteral("Cannot Communicate with Target Board.");

std::array<QString, 8> fieldAddresses() {
    std::array<QString, 8> addresses;
    for (size_t i = 0; i < addresses.size(); ++i)
        addresses[i] = QString::fromLatin1(kFields[i].address);
    return addresses;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

TargetBoardPage::TargetBoardPage(PageServices& services, const ProgramOnDisk& program,
                                 const TargetCodeFiles& codes, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmTargetBoard"),
                    QStringLiteral("Target Board Interface"), parent),
      m_program(program), m_codes(codes), m_features(targetBoardFeaturesOf(program.boardCode)),
      m_cycle(services.link, m_features.coCpuSlot, fieldAddresses()) {
    buildLayout();
    applyBoardCode();

    connect(m_cmdGoOnline, &QPushButton::clicked, this, &TargetBoardPage::goOnline);
    connect(m_cmdResetFaults, &QPushButton::clicked, this, &TargetBoardPage::resetFaults);
    connect(m_cmdSetToCurrTime, &QPushButton::clicked, this, [this] { setClockFields({2, 3, 4}); });
    connect(m_cmdSetToCurrDate, &QPushButton::clicked, this, [this] { setClockFields({5, 6, 7}); });

    // The computer's clock, shown as its second changes.
    m_tmrClock = new SecondTicker(
        services.clock, [this](const QDateTime& now) { showComputerClock(now); }, this);
    m_tmrClock->setObjectName(QStringLiteral("tmrClock"));
    m_tmrClock->start();

    // Opening the page brings the link up when it is down.
    goOnline();
    startRefresh();
}

void TargetBoardPage::addField(int i, QWidget* parent) {
    m_lblSetupDesc[i] = makeLabel(QStringLiteral("lblSetupDesc%1").arg(i),
                                  QString::fromLatin1(kFields[i].label), parent);
    m_txtSetup[i] = new QLineEdit(parent);
    m_txtSetup[i]->setObjectName(QStringLiteral("txtSetup%1").arg(i));
    m_updSetup[i] = new Spinner(parent);
    m_updSetup[i]->setObjectName(QStringLiteral("updSetup%1").arg(i));
    m_updSetup[i]->setRange(kFields[i].minimum, kFields[i].maximum);
    m_updSetup[i]->setBuddy(m_txtSetup[i]);

    EntryField::Params params;
    params.title = QStringLiteral("Set-up") + m_lblSetupDesc[i]->text();
    // No document slot: an accepted value goes to the board only.
    params.commit = [this, i](const EntryField::Accepted& accepted) {
        writeField(i, accepted.fromSpinner ? accepted.text : QString::number(accepted.value));
        return EntryField::Verdict::Kept;
    };
    m_fields[i] = entries().add(m_txtSetup[i], m_updSetup[i], params);
}

QWidget* TargetBoardPage::buildNetworkTab() {
    m_fraTargetBoard[2] = makeTabFrame(QStringLiteral("fraTargetBoard2"), nullptr);
    auto* layout = new QGridLayout(m_fraTargetBoard[2]);
    for (int i = 0; i < kFirstClockField; ++i) {
        addField(i, m_fraTargetBoard[2]);
        layout->addWidget(m_lblSetupDesc[i], i, 0);
        layout->addWidget(m_txtSetup[i], i, 1);
        layout->addWidget(m_updSetup[i], i, 2);
    }
    m_lblNetworkAddComment =
        makeLabel(QStringLiteral("lblNetworkAddComment"),
                  QStringLiteral("Each R6100 board connected to the R6100 Network must be ") +
                      QStringLiteral("assigned a unique network address between 1 and 32.") +
                      QStringLiteral("\n\n") +
                      QStringLiteral("System function sfunc19(); configures the R8830 serial ") +
                      QStringLiteral("communication for the K7600 processor."),
                  m_fraTargetBoard[2]);
    m_lblNetworkAddComment->setWordWrap(true);
    layout->addWidget(m_lblNetworkAddComment, 2, 0, 1, 3);
    layout->setRowStretch(3, 1);
    return m_fraTargetBoard[2];
}

QWidget* TargetBoardPage::buildClockTab() {
    m_fraTargetBoard[3] = makeTabFrame(QStringLiteral("fraTargetBoard3"), nullptr);
    auto* layout = new QGridLayout(m_fraTargetBoard[3]);
    m_lblTargetTime = makeLabel(QStringLiteral("lblTargetTime"),
                                QStringLiteral("Target Board Time:"), m_fraTargetBoard[3]);
    m_lblTargetDate = makeLabel(QStringLiteral("lblTargetDate"),
                                QStringLiteral("Target Board Date:"), m_fraTargetBoard[3]);
    layout->addWidget(m_lblTargetTime, 0, 0);
    layout->addWidget(m_lblTargetDate, 2, 0);
    for (int i = kFirstClockField; i < 8; ++i) {
        addField(i, m_fraTargetBoard[3]);
        const int row = i < 5 ? 0 : 2;
        const int column = 1 + 2 * ((i - kFirstClockField) % 3);
        layout->addWidget(m_lblSetupDesc[i], row, column);
        auto* pair = new QHBoxLayout;
        pair->addWidget(m_txtSetup[i]);
        pair->addWidget(m_updSetup[i]);
        layout->addLayout(pair, row + 1, column);
    }
    layout->addWidget(makeLabel(QString(), QStringLiteral("Current Time:"), m_fraTargetBoard[3]), 0,
                      7);
    m_lblCurrTime = makeLabel(QStringLiteral("lblCurrTime"), QStringLiteral("XX : XX : XX"),
                              m_fraTargetBoard[3]);
    layout->addWidget(m_lblCurrTime, 1, 7);
    layout->addWidget(makeLabel(QString(), QStringLiteral("Current Date:"), m_fraTargetBoard[3]), 2,
                      7);
    m_lblCurrDate = makeLabel(QStringLiteral("lblCurrDate"), QStringLiteral("XX - XX - XX"),
                              m_fraTargetBoard[3]);
    layout->addWidget(m_lblCurrDate, 3, 7);
    m_cmdSetToCurrTime = makeButton(QStringLiteral("cmdSetToCurrTime"),
                                    QStringLiteral("Set to Current &Time"), m_fraTargetBoard[3]);
    m_cmdSetToCurrDate = makeButton(QStringLiteral("cmdSetToCurrDate"),
                                    QStringLiteral("Set to Current &Date"), m_fraTargetBoard[3]);
    layout->addWidget(m_cmdSetToCurrTime, 1, 8);
    layout->addWidget(m_cmdSetToCurrDate, 3, 8);
    auto* note = makeLabel(QStringLiteral("lblClockNote"),
                           QStringLiteral("Note:\nOnly the V2210 Display Module and the R6116 "
                                          "Communications CO-CPU board are equipped with real "
                                          "time clocks."),
                           m_fraTargetBoard[3]);
    note->setWordWrap(true);
    layout->addWidget(note, 4, 0, 1, 9);
    layout->setRowStretch(5, 1);
    return m_fraTargetBoard[3];
}

void TargetBoardPage::setFieldEnabled(int i, bool enabled) {
    m_lblSetupDesc[i]->setEnabled(enabled);
    m_txtSetup[i]->setEnabled(enabled);
    m_updSetup[i]->setEnabled(enabled);
}

void TargetBoardPage::applyBoardCode() {
    m_cmdGoOnline->hide();
    m_lblTargetBoard[kSlotEntry]->setVisible(m_features.coCpuSlot);
    const bool second = m_features.secondNetworkAddress;
    m_lblSetupDesc[1]->setVisible(second);
    m_txtSetup[1]->setVisible(second);
    m_updSetup[1]->setVisible(second);
    for (int i = kFirstClockField; i < 8; ++i) {
        setFieldEnabled(i, m_features.realTimeClock);
        m_txtSetup[i]->setText(kNoValue);
    }
    m_lblTargetTime->setEnabled(m_features.realTimeClock);
    m_lblTargetDate->setEnabled(m_features.realTimeClock);
    m_cmdSetToCurrTime->setEnabled(m_features.realTimeClock);
    m_cmdSetToCurrDate->setEnabled(m_features.realTimeClock);
}

void TargetBoardPage::goOnline() {
    services().online.goOnlineAfresh();
}

void TargetBoardPage::applyOnlineAppearance() {
    m_cycle.restart();
    m_cmdResetFaults->setEnabled(false);
    for (QLabel* label : m_lblRevIdentInPLC)
        label->setEnabled(true);
    for (int i = 0; i < 8; ++i)
        if (!m_lblSetupDesc[i]->isHidden())
            setFieldEnabled(i, i < kFirstClockField || m_features.realTimeClock);
    m_lblTargetTime->setEnabled(m_features.realTimeClock);
    m_lblTargetDate->setEnabled(m_features.realTimeClock);
    m_cmdSetToCurrTime->setEnabled(m_features.realTimeClock);
    m_cmdSetToCurrDate->setEnabled(m_features.realTimeClock);
}

void TargetBoardPage::applyOfflineAppearance() {
    m_cmdGoOnline->show();
    m_cmdResetFaults->setEnabled(false);
    // No code read before the link went down stands beside the failure text.
    for (int i = 0; i < 6; ++i) {
        m_lblTargetBoard[i]->setText(targetCodeCaption(i, std::nullopt));
        if (i != kSlotEntry)
            m_txtTargetBoard[i]->setPlainText(kCannotCommunicate);
    }
    for (QLabel* label : m_lblRevIdentInPLC)
        label->setEnabled(false);
    for (int i = 0; i < 8; ++i)
        if (!m_lblSetupDesc[i]->isHidden())
            setFieldEnabled(i, false);
    m_lblTargetTime->setEnabled(false);
    m_lblTargetDate->setEnabled(false);
    m_cmdSetToCurrTime->setEnabled(false);
    m_cmdSetToCurrDate->setEnabled(false);
}

void TargetBoardPage::boardStep() {
    const TargetBoardNews news = m_cycle.step();
    const TargetBoardSnapshot& board = m_cycle.snapshot();
    const int i = news.index;
    switch (news.part) {
    case TargetBoardNews::Part::Nothing:
        break;
    case TargetBoardNews::Part::Entry: {
        const TargetBoardSnapshot::Entry& entry = board.entries[size_t(i)];
        if (i != kSlotEntry && !entry.readFailed && entry.value != 0)
            m_cmdResetFaults->setEnabled(true);
        if (i == kSlotEntry && m_features.coCpuSlot)
            m_lblTargetBoard[i]->setText(targetCodeCaption(i, QString::number(entry.value)));
        else if (i != kSlotEntry && i != kActionEntry)
            m_lblTargetBoard[i]->setText(targetCodeCaption(i, codeRead(i)));
        break;
    }
    case TargetBoardNews::Part::Slot:
        m_lblTargetBoard[kSlotEntry]->setText(targetCodeCaption(kSlotEntry, board.slot));
        break;
    case TargetBoardNews::Part::Ident:
        m_lblRevIdentInPLC[0]->setText(shownIdent(board.ident));
        break;
    case TargetBoardNews::Part::Checksum:
        m_lblRevIdentInPLC[2]->setText(board.checksum);
        break;
    case TargetBoardNews::Part::Revision:
        m_lblRevIdentInPLC[1]->setText(board.revision);
        break;
    case TargetBoardNews::Part::Field: {
        const bool shows =
            i < kFirstClockField ? !m_txtSetup[i]->isHidden() : m_txtSetup[i]->isEnabled();
        if (shows)
            m_fields[i]->showValue((QStringLiteral("00") + board.fields[size_t(i)]).right(2));
        break;
    }
    }
    if (news.statusEnded)
        finishStatus();
}

QString TargetBoardPage::codeRead(int entry) const {
    const TargetBoardSnapshot::Entry& read = m_cycle.snapshot().entries[size_t(entry)];
    return targetFaultCodeText(read.value, read.readFailed);
}

void TargetBoardPage::finishStatus() {
    // Here the last record for a code wins.
    const auto describe = [](QPlainTextEdit* box, const std::optional<CodeFile>& file,
                             const QString& code) {
        if (!file)
            return;
        if (const std::optional<QString> text = findCode(*file, code, CodeMatch::Last))
            box->setPlainText(*text);
    };
    for (int i : {0, 1})
        describe(m_txtTargetBoard[i], m_codes.faults, codeRead(i));
    m_txtTargetBoard[kActionEntry]->setPlainText(
        correctiveAction(codeRead(kActionEntry).toInt(nullptr, 16)));
    for (int i : {4, 5})
        describe(m_txtTargetBoard[i], m_codes.commErrors, codeRead(i));
    // Go Online stays offered while the last status reading failed.
    m_cmdGoOnline->setVisible(services().link.CommError);
}

void TargetBoardPage::writeField(int i, const QString& text) {
    RSComm& link = services().link;
    if (link.linkUp())
        link.RSWrite(QString::fromLatin1(kFields[i].address), text);
}

void TargetBoardPage::resetFaults() {
    const Prompts::Answer answer = services().prompts.message(
        QStringLiteral("WARNING - Fault Code Reset!"),
        QStringLiteral("Target Board will be reinitialized.\r\n\r\nDo you wish to continue?"),
        Prompts::Icon::Critical, Prompts::Buttons::YesNoCancel, Prompts::DefaultButton::No);
    if (answer != Prompts::Answer::Yes)
        return;
    m_cmdResetFaults->setEnabled(false);
    RSComm& link = services().link;
    if (!link.OnlineMode)
        return;
    for (const char* address : {"B8178", "B8179", "B8177", "B8176"})
        if (!link.CommError)
            link.RSWrite(QString::fromLatin1(address), QStringLiteral("0"));
    if (!link.CommError)
        reapplyOnlineAppearance();
}

void TargetBoardPage::setClockFields(const std::array<int, 3>& fields) {
    RSComm& link = services().link;
    if (!link.OnlineMode)
        return;
    for (int i : fields) {
        if (link.CommError)
            return;
        // The computer's clock is read anew for each write.
        const QDateTime now = services().clock.now();
        const std::array<int, 8> parts = {0,
                                          0,
                                          now.time().hour(),
                                          now.time().minute(),
                                          now.time().second(),
                                          now.date().month(),
                                          now.date().day(),
                                          now.date().year() % 100};
        link.RSWrite(QString::fromLatin1(kFields[i].address), QString::number(parts[i]));
    }
}

void TargetBoardPage::showComputerClock(const QDateTime& now) {
    m_lblCurrTime->setText(twoDigits(now.time().hour()) + QStringLiteral(" : ") +
                           twoDigits(now.time().minute()) + QStringLiteral(" : ") +
                           twoDigits(now.time().second()));
    m_lblCurrDate->setText(twoDigits(now.date().month()) + QStringLiteral(" - ") +
                           twoDigits(now.date().day()) + QStringLiteral(" - ") +
                           QString::number(now.date().year()));
}
