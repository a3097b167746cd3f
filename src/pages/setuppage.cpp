#include "setuppage.h"

#include "appstate.h"
#include "blowoffrequests.h"
#include "entryfield.h"
#include "pageservices.h"
#include "pagewidgets.h"
#include "rscomm.h"
#include "setupfields.h"
#include "spinner.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

// The poll ranges of the two tabs.
constexpr int kTabOneLast = 4;
constexpr int kTabTwoFirst = 5;

const QString kTitle = QStringLiteral("Set-up");

} // namespace

SetupPage::SetupPage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmSetup"), QStringLiteral("Set-Up"), parent) {
    buildLayout();
    bindFields();

    connect(m_tbsSetup, &QTabBar::currentChanged, this, &SetupPage::tabChanged);
    for (QPushButton* button : m_cmdBadCanTest)
        connect(button, &QPushButton::clicked, this, [this] { sendBadCanTest(this->services()); });
    // The page's Q.C. test acts on the first spindle.
    connect(m_cmdQCTest, &QPushButton::clicked, this,
            [this] { SendBlowoffRequest(this->services(), 1); });

    startRefresh();
}

void SetupPage::buildLayout() {
    m_tbsSetup = new QTabBar(this);
    m_tbsSetup->setObjectName(QStringLiteral("tbsSetup"));
    m_tbsSetup->addTab(QStringLiteral("&Print Trip/Varnish Trip"));
    m_tbsSetup->addTab(QStringLiteral("&Blow-off Parameters"));
    m_tbsSetup->setExpanding(false);

    m_fraSetup[0] = buildPrintVarnishTab();
    m_fraSetup[1] = buildBlowoffTab();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tbsSetup);
    for (QGroupBox* frame : m_fraSetup) {
        // The tab strip frames its pages itself.
        frame->setFlat(true);
        layout->addWidget(frame);
    }
    layout->addStretch();
    layout->addWidget(defaultButton());
    m_fraSetup[1]->hide();
}

QGroupBox* SetupPage::buildPrintVarnishTab() {
    QGroupBox* tab = makeFrame(QStringLiteral("fraSetup0"),
                               QStringLiteral("Set Print/Varnish Response Times"), this);

    QGroupBox* printTrip =
        makeFrame(QStringLiteral("fraPrintTrip"), QStringLiteral("Print Trip"), tab);
    auto* printGrid = new QGridLayout(printTrip);
    for (int i = 0; i <= 1; ++i) {
        createField(i, printTrip);
        addFieldRow(printGrid, i, i);
    }

    QGroupBox* varnish =
        makeFrame(QStringLiteral("fraVarnishUnit"), QStringLiteral("Varnish Unit"), tab);
    auto* varnishGrid = new QGridLayout(varnish);
    for (int i = 2; i <= 4; ++i) {
        createField(i, varnish);
        addFieldRow(varnishGrid, i - 2, i);
    }

    m_testFrames[0] =
        makeFrame(QStringLiteral("fraTestBlowoff0"), QStringLiteral("Test Blow-off"), tab);
    m_cmdBadCanTest[0] = makeButton(QStringLiteral("cmdBadCanTest0"),
                                    QStringLiteral("B&ad Can Blow-off"), m_testFrames[0]);
    auto* testLayout = new QHBoxLayout(m_testFrames[0]);
    testLayout->addWidget(m_cmdBadCanTest[0]);
    testLayout->addStretch();

    m_settingFrames = {printTrip, varnish};
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(printTrip);
    layout->addWidget(varnish);
    layout->addWidget(m_testFrames[0]);
    return tab;
}

QGroupBox* SetupPage::buildBlowoffTab() {
    QGroupBox* tab =
        makeFrame(QStringLiteral("fraSetup1"), QStringLiteral("Set Blow-off Parameters"), this);

    QGroupBox* blowoff =
        makeFrame(QStringLiteral("fraBlowoffSetup"), QStringLiteral("Blow-off Set-up"), tab);
    auto* blowoffGrid = new QGridLayout(blowoff);
    for (int i = 5; i <= 10; ++i) {
        createField(i, blowoff);
        addFieldRow(blowoffGrid, i - 5, i);
    }

    // Fields 11..14: two solenoids (rows) by ON and OFF response time (columns).
    QGroupBox* solenoids = makeFrame(QStringLiteral("fraSolenoidResponse"),
                                     QStringLiteral("Solenoid Response Times"), tab);
    auto* solenoidGrid = new QGridLayout(solenoids);
    const std::array<QString, 2> columns = {QStringLiteral("ON (msec)"),
                                            QStringLiteral("OFF (msec)")};
    for (int c = 0; c < 2; ++c) {
        auto* label = new QLabel(columns[c], solenoids);
        label->setObjectName(QStringLiteral("lblLabel%1").arg(c));
        solenoidGrid->addWidget(label, 0, 1 + 2 * c, 1, 2);
    }
    for (int row = 0; row < 2; ++row) {
        const int description = 11 + row;
        auto* label =
            new QLabel(QString::fromLatin1(kSetupFields[11 + 2 * row].caption), solenoids);
        label->setObjectName(QStringLiteral("lblDescription%1").arg(description));
        solenoidGrid->addWidget(label, row + 1, 0);
        for (int c = 0; c < 2; ++c) {
            const int field = 11 + 2 * row + c;
            createField(field, solenoids);
            solenoidGrid->addWidget(m_txtSetup[field], row + 1, 1 + 2 * c);
            solenoidGrid->addWidget(m_updSetup[field], row + 1, 2 + 2 * c);
        }
        label->setBuddy(m_txtSetup[11 + 2 * row]);
    }

    m_testFrames[1] =
        makeFrame(QStringLiteral("fraTestBlowoff1"), QStringLiteral("Test Blow-off"), tab);
    m_cmdBadCanTest[1] = makeButton(QStringLiteral("cmdBadCanTest1"),
                                    QStringLiteral("B&ad Can Blow-off"), m_testFrames[1]);
    m_cmdQCTest = makeButton(QStringLiteral("cmdQCTest"), QStringLiteral("&Q.C. Can Blow-off"),
                             m_testFrames[1]);
    auto* testLayout = new QHBoxLayout(m_testFrames[1]);
    testLayout->addWidget(m_cmdBadCanTest[1]);
    testLayout->addWidget(m_cmdQCTest);
    testLayout->addStretch();

    m_settingFrames.append({blowoff, solenoids});
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(blowoff);
    layout->addWidget(solenoids);
    layout->addWidget(m_testFrames[1]);
    return tab;
}

void SetupPage::createField(int field, QWidget* parent) {
    m_txtSetup[field] = new QLineEdit(parent);
    m_txtSetup[field]->setObjectName(QStringLiteral("txtSetup%1").arg(field));
    m_updSetup[field] = new Spinner(parent);
    m_updSetup[field]->setObjectName(QStringLiteral("updSetup%1").arg(field));
    m_updSetup[field]->setRange(kSetupFields[field].minimum, kSetupFields[field].maximum);
}

void SetupPage::addFieldRow(QGridLayout* grid, int row, int field) {
    auto* label =
        new QLabel(QString::fromLatin1(kSetupFields[field].caption), grid->parentWidget());
    label->setObjectName(QStringLiteral("lblDescription%1").arg(field));
    label->setBuddy(m_txtSetup[field]);

    grid->addWidget(label, row, 0);
    grid->addWidget(m_txtSetup[field], row, 1);
    grid->addWidget(m_updSetup[field], row, 2);
    grid->setColumnStretch(0, 1);
}

void SetupPage::bindFields() {
    for (int i = 0; i < kFieldCount; ++i) {
        EntryField::Params params;
        params.target = QString::fromLatin1(kSetupFields[i].address);
        params.title = kTitle;
        const int element = kFirstElement + i;
        params.store = [this, element](qint32 value) {
            services().state.CurrentDocument.Values[element] = value;
        };
        entries().add(m_txtSetup[i], m_updSetup[i], params);
    }
}

void SetupPage::tabChanged(int index) {
    for (QGroupBox* frame : m_fraSetup)
        frame->hide();
    m_fraSetup[index]->show();
    m_tabChanged = true;
    m_pollFirst = index == 0 ? 0 : kTabTwoFirst;
    m_pollLast = index == 0 ? kTabOneLast : kFieldCount - 1;
}

void SetupPage::applyOnlineAppearance() {
    for (QGroupBox* frame : std::as_const(m_settingFrames))
        frame->setEnabled(true);
    for (QGroupBox* frame : m_testFrames)
        frame->setEnabled(true);
}

void SetupPage::applyOfflineAppearance() {
    m_nextField = -1;
    // Test blow-offs need the machine; offline editing only opens the fields.
    for (QGroupBox* frame : m_testFrames)
        frame->setEnabled(false);
    for (QGroupBox* frame : std::as_const(m_settingFrames))
        frame->setEnabled(services().state.OfflineEditing);
}

void SetupPage::boardStep() {
    RSComm& link = services().link;
    if (m_tabChanged) {
        // The pass in progress belongs to the tab no longer shown.
        m_tabChanged = false;
        m_nextField = -1;
    }
    if (m_nextField < 0)
        m_nextField = m_pollFirst;
    const int i = m_nextField;
    const QString value = link.RSRead(QString::fromLatin1(kSetupFields[i].address));
    if (link.CommError) {
        m_nextField = -1; // the fields keep their last texts
        return;
    }
    entries().field(i)->showValue(value);
    m_nextField = i < m_pollLast ? i + 1 : -1;
}

void SetupPage::documentStep() {
    const QVector<qint32>& values = services().state.CurrentDocument.Values;
    for (int i = 0; i < kFieldCount; ++i)
        entries().field(i)->showValue(QString::number(values.value(kFirstElement + i)));
}
