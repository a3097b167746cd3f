#include "df1bridgepage.h"

#include "appstate.h"
#include "df1status.h"
#include "entryfield.h"
#include "pageservices.h"
#include "pagewidgets.h"
#include "prompts.h"
#include "rscomm.h"
#include "setupfields.h"
#include "spinner.h"
#include "textnumber.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const std::array<const char*, DF1BridgePage::kLocationCount> kLocations = {
    "B4023",   "B4021", "B4022", "W4016",   "B4014", "B4026",
    "B4302.6", "B4303", "W4304", "B4001.0", "B4050", "B4011",
};

const std::array<const char*, DF1BridgePage::kLocationCount> kCaptions = {
    "R8830 Configuration Status:",
    "Transmit Data Status",
    "Transmit Data Status (prev.):",
    "Current Transaction:",
    "Active Command:",
    "Number of BYTES Received:",
    "Received Command BIT Status",
    "Status:",
    "Current Transaction Received:",
    Df1Text::kCaptions[0],
    Df1Text::kCaptions[1],
    Df1Text::kCaptions[2],
};

constexpr int kLinkLayer = 7;
constexpr int kPlcType = 9;
constexpr int kFirstNumber = 10;
const QString kStsAddress = QStringLiteral("B4018");
const QString kExtStsAddress = QStringLiteral("B4019");
const QString kDriverFlag = QStringLiteral("F152");
const QString kNoValue = QStringLiteral("-");

} // namespace

QString DF1BridgePage::location(int index) {
    return QString::fromLatin1(kLocations[index]);
}

DF1BridgePage::DF1BridgePage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frm8830DF1"), QStringLiteral("R8830DF1"), parent) {
    m_fraSetup[0] = buildStatusFrame();
    m_fraSetup[1] = buildLinkLayerFrame();
    m_fraSetup[2] = buildSetupFrame();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fraSetup[0]);
    layout->addWidget(m_fraSetup[1]);
    layout->addWidget(m_fraSetup[2]);
    layout->addStretch();
    layout->addWidget(defaultButton());
    startRefresh();
}

void DF1BridgePage::addDisplay(int index, QGroupBox* frame, int row) {
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    auto* value = new QLabel(kNoValue, frame);
    value->setObjectName(QStringLiteral("lblDisplay%1").arg(index));
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    grid->addWidget(m_lblDescription[index], row, 0);
    grid->addWidget(value, row, 1);
    grid->setColumnStretch(1, 1);
    m_lblDisplay[index] = value;
}

QGroupBox* DF1BridgePage::buildStatusFrame() {
    QGroupBox* frame = makeFrame(QStringLiteral("fraSetup0"),
                                 QStringLiteral("R8830-DF1 Communication Status"), this);
    new QGridLayout(frame);
    for (int i = 0; i < kLocationCount; ++i) {
        m_lblDescription[i] = new QLabel(QString::fromLatin1(kCaptions[i]), this);
        m_lblDescription[i]->setObjectName(QStringLiteral("lblDescription%1").arg(i));
    }
    for (int i = 0; i < kLinkLayer; ++i)
        addDisplay(i, frame, i);
    return frame;
}

QGroupBox* DF1BridgePage::buildLinkLayerFrame() {
    QGroupBox* frame =
        makeFrame(QStringLiteral("fraSetup1"), QStringLiteral("A/B Link Layer Status"), this);
    new QGridLayout(frame);
    addDisplay(kLinkLayer, frame, 0);
    addDisplay(kLinkLayer + 1, frame, 1);
    return frame;
}

QGroupBox* DF1BridgePage::buildSetupFrame() {
    QGroupBox* frame =
        makeFrame(QStringLiteral("fraSetup2"), QStringLiteral("DF1 Communication Set-up"), this);
    auto* grid = new QGridLayout(frame);
    m_cboSetup = new QComboBox(frame);
    m_cboSetup->setObjectName(QStringLiteral("cboSetup"));
    for (const char* type : Df1Text::kPlcTypes)
        m_cboSetup->addItem(QString::fromLatin1(type));
    m_cboSetup->installEventFilter(this);
    m_lblDescription[kPlcType]->setBuddy(m_cboSetup);
    grid->addWidget(m_lblDescription[kPlcType], 0, 0);
    grid->addWidget(m_cboSetup, 0, 1);
    connect(m_cboSetup, &QComboBox::activated, this, &DF1BridgePage::plcTypeChosen);

    for (int i = 0; i < 2; ++i) {
        auto* field = new QLineEdit(frame);
        field->setObjectName(QStringLiteral("txtSetup%1").arg(i));
        auto* spinner = new Spinner(frame);
        spinner->setObjectName(QStringLiteral("updSetup%1").arg(i));
        spinner->setRange(0, 255);
        QLabel* caption = m_lblDescription[kFirstNumber + i];
        caption->setBuddy(field);
        grid->addWidget(caption, 1 + i, 0);
        grid->addWidget(field, 1 + i, 1);
        grid->addWidget(spinner, 1 + i, 2);

        EntryField::Params params;
        params.target = location(kFirstNumber + i);
        params.title = QStringLiteral("R8830DF1 Set-up");
        const int element = kFirstElement + 1 + i;
        params.store = [this, element](qint32 value) {
            services().state.CurrentDocument.Values[element] = value;
        };
        m_fields[i] = entries().add(field, spinner, params);
    }
    grid->setColumnStretch(3, 1);
    return frame;
}

bool DF1BridgePage::eventFilter(QObject* watched, QEvent* event) {
    // Escape in the list ends its edit: the refresh may show the board's choice again.
    if (watched == m_cboSetup && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        defaultButton()->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return ParameterPage::eventFilter(watched, event);
}

void DF1BridgePage::plcTypeChosen(int position) {
    services().state.CurrentDocument.Values[kFirstElement] = position;
    RSComm& link = services().link;
    if (link.linkUp())
        link.RSWrite(location(kPlcType), QString::number(position));
}

void DF1BridgePage::setSettingsEnabled(bool enabled) {
    m_fraSetup[2]->setEnabled(enabled);
    for (int i = kPlcType; i < kLocationCount; ++i)
        m_lblDescription[i]->setEnabled(enabled);
    m_cboSetup->setEnabled(enabled);
    for (EntryField* field : m_fields) {
        field->field()->setEnabled(enabled);
        field->spinner()->setEnabled(enabled);
    }
}

void DF1BridgePage::setAllEnabled(bool enabled) {
    for (QGroupBox* frame : m_fraSetup)
        frame->setEnabled(enabled);
    for (QLabel* caption : m_lblDescription)
        caption->setEnabled(enabled);
    for (QLabel* display : m_lblDisplay)
        display->setEnabled(enabled);
    setSettingsEnabled(enabled);
}

void DF1BridgePage::applyOnlineAppearance() {
    m_next = 0;
    m_linkLayerStage = 0;
    m_checkDriver = true;
    defaultButton()->setFocus(Qt::OtherFocusReason);
    setAllEnabled(true);
}

void DF1BridgePage::applyOfflineAppearance() {
    m_next = 0;
    m_linkLayerStage = 0;
    defaultButton()->setFocus(Qt::OtherFocusReason);
    setAllEnabled(false);
    for (QLabel* display : m_lblDisplay)
        display->setText(kNoValue);
    if (services().state.OfflineEditing)
        setSettingsEnabled(true);
}

bool DF1BridgePage::readLinkLayerStatus() {
    RSComm& link = services().link;
    const bool extended = m_linkLayerStage == 2;
    const QString value = link.RSRead(extended ? kExtStsAddress : kStsAddress);
    if (link.CommError)
        return false;
    const int number = numericValue(value);
    if (!extended && needsExtendedStatus(number)) {
        m_sts = number;
        m_linkLayerStage = 2;
        return true;
    }
    m_lblDisplay[kLinkLayer]->setText(extended ? linkLayerStatusText(m_sts, number)
                                               : linkLayerStatusText(number, 0));
    m_linkLayerStage = 0;
    m_next = kLinkLayer + 1;
    return true;
}

void DF1BridgePage::boardStep() {
    RSComm& link = services().link;
    if (m_checkDriver) {
        m_checkDriver = false;
        const QString driver = link.RSRead(kDriverFlag);
        if (!link.CommError && numericValue(driver) == 0)
            services().prompts.message(
                QStringLiteral("WARNING!!"),
                QStringLiteral("The DF1 Serial Communications Driver is Not Enabled in the K7600."),
                Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    if (m_linkLayerStage != 0) {
        if (!readLinkLayerStatus()) {
            m_linkLayerStage = 0;
            m_next = 0;
        }
        return;
    }
    const int i = m_next;
    const QString value = link.RSRead(location(i));
    if (link.CommError) {
        m_next = 0; // the labels keep their last texts
        return;
    }
    m_next = (i + 1) % kLocationCount;
    showLocation(i, value);
}

void DF1BridgePage::showLocation(int index, const QString& value) {
    const int number = numericValue(value);
    switch (index) {
    case 0:
        m_lblDisplay[index]->setText(configurationStatusText(number));
        break;
    case 1:
    case 2:
        m_lblDisplay[index]->setText(transmitStatusText(number));
        break;
    case 4:
        m_lblDisplay[index]->setText(activeCommandText(number));
        break;
    case 6:
        m_lblDisplay[index]->setText(receivedBitText(number));
        break;
    case kLinkLayer:
        if (number == 0) {
            m_lblDisplay[index]->setText(linkLayerSuccessText());
        } else {
            // The status bytes follow in the next steps.
            m_linkLayerStage = 1;
            m_next = kLinkLayer;
        }
        break;
    case kPlcType:
        if (!m_cboSetup->hasFocus())
            m_cboSetup->setCurrentIndex(number == 1 ? 1 : 0);
        break;
    case kFirstNumber:
    case kFirstNumber + 1:
        m_fields[index - kFirstNumber]->showValue(QString::number(number));
        break;
    default:
        m_lblDisplay[index]->setText(QString::number(leadingInteger(value)));
        break;
    }
}

void DF1BridgePage::documentStep() {
    const QVector<qint32>& values = services().state.CurrentDocument.Values;
    if (!m_cboSetup->hasFocus())
        m_cboSetup->setCurrentIndex(values.value(kFirstElement) == 1 ? 1 : 0);
    for (int i = 0; i < 2; ++i)
        m_fields[i]->showValue(QString::number(values.value(kFirstElement + 1 + i)));
}
