#include "frmsetupcomm.h"

#include "appfolder.h"
#include "entryfield.h"
#include "portsettings.h"
#include "prompts.h"
#include "rscomm.h"
#include "serialport.h"
#include "spinner.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kFirstPort = 1;
constexpr int kLastPort = 99;

QString errorText(const SettingsFileError& error) {
    return QStringLiteral("Error Number = %1\r\n\r\n%2").arg(error.number).arg(error.description);
}
} // namespace

frmSetupComm::frmSetupComm(RSComm& link, SerialPort& commObj, Prompts& prompts,
                           const AppFolder& folder, QWidget* parent)
    : QDialog(parent), m_link(link), m_commObj(commObj), m_prompts(prompts), m_folder(folder) {
    setObjectName(QStringLiteral("frmSetupComm"));
    setWindowTitle(QStringLiteral("Comm Port Settings"));
    buildControls();
    m_wasOnline = m_link.OnlineMode;
    loadCurrentSettings();
}

frmSetupComm::~frmSetupComm() = default;

void frmSetupComm::buildControls() {
    auto* fraCommPort = new QGroupBox(QStringLiteral("Comm Port"), this);
    fraCommPort->setObjectName(QStringLiteral("fraCommPort"));
    m_txtCommPort = new QLineEdit(fraCommPort);
    m_txtCommPort->setObjectName(QStringLiteral("txtCommPort"));
    m_updCommPort = new Spinner(fraCommPort);
    m_updCommPort->setObjectName(QStringLiteral("updCommPort"));
    m_updCommPort->setRange(kFirstPort, kLastPort);
    m_updCommPort->setBuddy(m_txtCommPort);
    m_lblDevice = new QLabel(fraCommPort);
    m_lblDevice->setObjectName(QStringLiteral("lblDevice"));
    auto* portRow = new QHBoxLayout(fraCommPort);
    portRow->addWidget(m_txtCommPort);
    portRow->addWidget(m_updCommPort);
    portRow->addWidget(m_lblDevice, 1);

    auto* fraPortSpeed = new QGroupBox(QStringLiteral("Port Speed"), this);
    fraPortSpeed->setObjectName(QStringLiteral("fraPortSpeed"));
    m_optPortSpeed19200 = new QRadioButton(QStringLiteral("19200"), fraPortSpeed);
    m_optPortSpeed19200->setObjectName(QStringLiteral("optPortSpeed0"));
    m_optPortSpeed9600 = new QRadioButton(QStringLiteral("9600"), fraPortSpeed);
    m_optPortSpeed9600->setObjectName(QStringLiteral("optPortSpeed1"));
    auto* speedColumn = new QVBoxLayout(fraPortSpeed);
    speedColumn->addWidget(m_optPortSpeed19200);
    speedColumn->addWidget(m_optPortSpeed9600);

    m_cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // A click on Cancel must not count as leaving the port field: whatever
    // was typed there is being thrown away.
    m_cmdCancel->setFocusPolicy(Qt::TabFocus);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdSave);
    buttons->addWidget(m_cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraCommPort);
    layout->addWidget(fraPortSpeed);
    layout->addLayout(buttons);
    // The dialog grows when what stands beside the port number needs more
    // room: an endpoint, or why the port map was refused.
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    m_txtCommPort->installEventFilter(this);
    connect(m_txtCommPort, &QLineEdit::textChanged, this, &frmSetupComm::showDevice);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmSetupComm::cmdSave_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSetupComm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// The settings as the link would apply them: defaults 1 and 9600, the file
// only when it exists and is not empty; the file is never created here.
void frmSetupComm::loadCurrentSettings() {
    const PortSettingsFile::Contents contents = PortSettingsFile(m_link.CommSettingsFile()).read();
    if (contents.error)
        m_prompts.message(QStringLiteral("SetupComm CurrentSettings"), errorText(*contents.error),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
    const PortSettings settings = contents.settings;
    m_txtCommPort->setText(QString::number(settings.port));
    (settings.speed == 19200 ? m_optPortSpeed19200 : m_optPortSpeed9600)->setChecked(true);
}

bool frmSetupComm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtCommPort && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching windows (including to a message box) is not leaving the field.
        const bool leaving =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible();
        if (leaving && !portNumber()) {
            refusePortField();
            m_refusalShown = true;
        }
    }
    if (watched == m_txtCommPort && event->type() == QEvent::FocusIn)
        m_refusalShown = false;
    return QDialog::eventFilter(watched, event);
}

std::optional<qint32> frmSetupComm::portNumber() const {
    return EntryField::checkedValue(m_txtCommPort->text(), m_updCommPort->minimum(),
                                    m_updCommPort->maximum());
}

void frmSetupComm::refusePortField() {
    m_prompts.message(QStringLiteral("Comm Port"),
                      EntryField::rangeText(m_updCommPort->minimum(), m_updCommPort->maximum()),
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
    // Back into the field once the focus change that may be under way has finished.
    QTimer::singleShot(0, m_txtCommPort, [this] {
        m_txtCommPort->setFocus(Qt::OtherFocusReason);
        m_txtCommPort->selectAll();
    });
}

void frmSetupComm::showDevice() {
    m_lblDevice->setText(portNumber() ? m_commObj.deviceFor(*portNumber()) : QString());
}

void frmSetupComm::cmdSave_Click() {
    // A refused port number stops the Save, as a refused field stops
    // everything else: nothing is written, the link is left as it is.
    if (!portNumber()) {
        if (!m_refusalShown)
            refusePortField(); // Save by its access key: the field was never left
        return;
    }
    m_link.CloseRSComm();
    const PortSettings settings =
        PortSettings::clamped(*portNumber(), m_optPortSpeed19200->isChecked() ? 19200 : 9600);
    std::optional<SettingsFileError> error =
        PortSettingsFile(m_link.CommSettingsFile()).write(settings);
    if (!error)
        error = writeWendaxPortFiles(m_folder, settings.port);
    if (error) {
        m_prompts.message(QStringLiteral("SetupComm"), errorText(*error),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
        return;
    }
    if (!m_wasOnline) {
        accept();
        return;
    }
    m_link.OpenRSComm(m_commObj);
    if (m_link.OnlineMode)
        accept();
    else
        m_link.OnlineMode = false; // stay open: the user can try other settings
}
