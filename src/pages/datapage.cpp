#include "datapage.h"

#include "appstate.h"
#include "countertext.h"
#include "entryfield.h"
#include "momentarybutton.h"
#include "pageservices.h"
#include "pagewidgets.h"
#include "rscomm.h"
#include "spindlewheelchart.h"
#include "spinner.h"
#include "textnumber.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

// The tripped spindle, then per block: trips per spindle (drive side
// W1700.., off side W1748..), current shift totals and spindle trips from
// D1100/W1124/W1128, last shift from D1300/W1324/W1328.
constexpr int kSpindles = 24;
constexpr int kTotals = 8;
constexpr int kCurrentFirst = 49;
constexpr int kLastFirst = 105;

// The totals block of a shift: double-word counters then word trip counts,
// offsets from the block's base (1100 or 1300). Restart blow-offs sit before
// manual ones on the board but are shown last.
constexpr std::array<int, kTotals> kTotalOffsets = {0, 4, 8, 16, 20, 12, 24, 26};
const std::array<const char*, kTotals> kTotalCaptions = {
    "Total Good Cans:", "Total Blow-offs:",   "Bad Can Blow-offs:", "Manual Blow-offs:",
    "Q.C. Blow-offs:",  "Restart Blow-offs:", "Drive Side Trips:",  "Off Side Trips:",
};

// The poll range of each tab.
constexpr std::array<int, 3> kTabFirst = {0, kCurrentFirst, kLastFirst};
constexpr std::array<int, 3> kTabLast = {kCurrentFirst - 1, kLastFirst - 1,
                                         DataPage::kValueCount - 1};

// Where each tab's spindle tables start: drive side, then off side.
constexpr std::array<int, 3> kTabSpindlesFirst = {1, kCurrentFirst + kTotals, kLastFirst + kTotals};

const QString kTripOffsetAddress = QStringLiteral("B1011");
constexpr int kTripOffsetElement = 0;
const QString kNoValue = QStringLiteral("-");

QString shiftAddress(int base, int offset) {
    const int totalsEnd = kTotals;
    if (offset < totalsEnd) {
        const int at = base + kTotalOffsets[offset];
        return (offset < 6 ? QStringLiteral("D%1") : QStringLiteral("W%1")).arg(at);
    }
    return QStringLiteral("W%1").arg(base + 28 + 2 * (offset - totalsEnd));
}

} // namespace

QString DataPage::dataAddress(int index) {
    if (index == 0)
        return QStringLiteral("B598");
    if (index < kCurrentFirst)
        return QStringLiteral("W%1").arg(1700 + 2 * (index - 1));
    if (index < kLastFirst)
        return shiftAddress(1100, index - kCurrentFirst);
    return shiftAddress(1300, index - kLastFirst);
}

DataPage::DataPage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmData"), QStringLiteral("Shift Data"), parent) {
    buildLayout();

    EntryField::Params params;
    params.target = kTripOffsetAddress;
    params.title = QStringLiteral("Spindle #1 Trip Offset:");
    params.store = [this](qint32 value) {
        this->services().state.CurrentDocument.Values[kTripOffsetElement] = value;
    };
    m_tripOffset =
        entries().add(findChild<QLineEdit*>(QStringLiteral("txtSpindleTripOffset")),
                      findChild<Spinner*>(QStringLiteral("updSpindleTripOffset")), params);

    connect(m_tbsData, &QTabBar::currentChanged, this, &DataPage::tabChanged);
    startRefresh();
}

DataPage::~DataPage() {
    // A button held down as the page closes ends its hold while the page is
    // still whole (its release may meet a link box).
    delete m_resetTrips;
    delete m_endOfShift;
}

void DataPage::buildLayout() {
    m_tbsData = new QTabBar(this);
    m_tbsData->setObjectName(QStringLiteral("tbsData"));
    m_tbsData->addTab(QStringLiteral("&Trips Per Spindle"));
    m_tbsData->addTab(QStringLiteral("&Current Shift"));
    m_tbsData->addTab(QStringLiteral("&Last Shift"));
    m_tbsData->setExpanding(false);

    m_fraData[0] = buildTripsTab();
    m_fraData[1] = buildShiftTab(1, kCurrentFirst);
    m_fraData[2] = buildShiftTab(2, kLastFirst);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tbsData);
    for (QFrame* frame : m_fraData) {
        layout->addWidget(frame);
        frame->hide();
    }
    m_fraData[0]->show();
    layout->addStretch();
    layout->addWidget(defaultButton());
}

QLabel* DataPage::createValue(int index, const QString& caption, QWidget* parent, QGridLayout* grid,
                              int row, int column) {
    auto* description = new QLabel(caption, parent);
    description->setObjectName(QStringLiteral("lblDescription%1").arg(index));
    auto* value = new QLabel(kNoValue, parent);
    value->setObjectName(QStringLiteral("lblData%1").arg(index));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0,000,000,000")));
    grid->addWidget(description, row, column);
    grid->addWidget(value, row, column + 1);
    m_lblData[index] = value;
    return description;
}

QGroupBox* DataPage::buildSpindleTable(int frame, const QString& caption, int first,
                                       QWidget* parent) {
    QGroupBox* box = makeFrame(QStringLiteral("fraShiftData%1").arg(frame), caption, parent);
    m_fraShiftData[frame] = box;
    auto* grid = new QGridLayout(box);
    const int half = kSpindles / 2;
    for (int s = 0; s < kSpindles; ++s)
        createValue(first + s, QStringLiteral("%1:").arg(s + 1), box, grid, s % half,
                    s < half ? 0 : 2);
    return box;
}

QFrame* DataPage::buildTripsTab() {
    QFrame* tab = makeTabFrame(QStringLiteral("fraData0"), this);

    QGroupBox* trip =
        makeFrame(QStringLiteral("fraShiftData0"), QStringLiteral("Spindle Trip"), tab);
    m_fraShiftData[0] = trip;
    auto* grid = new QGridLayout(trip);
    m_lblSpindleTripOffset = new QLabel(QStringLiteral("Spindle #1 Trip &Offset:"), trip);
    m_lblSpindleTripOffset->setObjectName(QStringLiteral("lblSpindleTripOffset"));
    auto* field = new QLineEdit(trip);
    field->setObjectName(QStringLiteral("txtSpindleTripOffset"));
    auto* spinner = new Spinner(trip);
    spinner->setObjectName(QStringLiteral("updSpindleTripOffset"));
    spinner->setRange(0, kSpindles - 1);
    m_lblSpindleTripOffset->setBuddy(field);
    QPushButton* reset =
        makeButton(QStringLiteral("cmdResetTrips"), QStringLiteral("&Reset Trips"), trip);
    m_resetTrips = new MomentaryButton(services().link, reset, QStringLiteral("B1016.0"));
    grid->addWidget(m_lblSpindleTripOffset, 0, 0);
    grid->addWidget(field, 0, 1);
    grid->addWidget(spinner, 0, 2);
    grid->addWidget(reset, 0, 3);
    m_lblTrippedSpindle = createValue(0, QStringLiteral("Tripped Spindle:"), trip, grid, 1, 0);
    grid->setColumnStretch(4, 1);

    auto* tables = new QHBoxLayout;
    tables->addWidget(buildSpindleTable(1, QStringLiteral("Drive Side Trips"), 1, tab));
    tables->addWidget(buildSpindleTable(2, QStringLiteral("Off Side Trips"), 1 + kSpindles, tab));
    m_wheels[0] = new SpindleWheelChart(tab);
    m_wheels[0]->setObjectName(QStringLiteral("picSpindleWheel0"));
    tables->addWidget(m_wheels[0], 1);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(trip);
    layout->addLayout(tables);
    return tab;
}

QFrame* DataPage::buildShiftTab(int tab, int first) {
    const bool current = tab == 1;
    const int frame = current ? 3 : 6;
    const QString caption =
        current ? QStringLiteral("Current Shift") : QStringLiteral("Last Shift");
    QFrame* page = makeTabFrame(QStringLiteral("fraData%1").arg(tab), this);

    QGroupBox* totals = makeFrame(QStringLiteral("fraShiftData%1").arg(frame), caption, page);
    m_fraShiftData[frame] = totals;
    auto* grid = new QGridLayout(totals);
    for (int t = 0; t < kTotals; ++t)
        createValue(first + t, QString::fromLatin1(kTotalCaptions[t]), totals, grid, t, 0);

    auto* left = new QVBoxLayout;
    left->addWidget(totals);
    if (current) {
        m_fraEndofShift =
            makeFrame(QStringLiteral("fraEndofShift"), QStringLiteral("End of Shift"), page);
        QPushButton* transfer = makeButton(QStringLiteral("cmdEndofShift"),
                                           QStringLiteral("T&ransfer Data"), m_fraEndofShift);
        m_endOfShift = new MomentaryButton(services().link, transfer, QStringLiteral("F133"));
        auto* endLayout = new QHBoxLayout(m_fraEndofShift);
        endLayout->addWidget(transfer);
        left->addWidget(m_fraEndofShift);
    }
    left->addStretch();

    // The wheel goes under the tables here: the totals take the width it has on the first tab.
    auto* tables = new QGridLayout;
    tables->addWidget(
        buildSpindleTable(frame + 1, QStringLiteral("Drive Side Trips"), first + kTotals, page), 0,
        0);
    tables->addWidget(buildSpindleTable(frame + 2, QStringLiteral("Off Side Trips"),
                                        first + kTotals + kSpindles, page),
                      0, 1);
    m_wheels[tab] = new SpindleWheelChart(page);
    m_wheels[tab]->setObjectName(QStringLiteral("picSpindleWheel%1").arg(tab));
    tables->addWidget(m_wheels[tab], 1, 0, 1, 2);
    tables->setRowStretch(1, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(tables);
    return page;
}

void DataPage::tabChanged(int index) {
    for (QFrame* frame : m_fraData)
        frame->hide();
    m_fraData[index]->show();
    m_tabChanged = true;
    m_pollFirst = kTabFirst[index];
    m_pollLast = kTabLast[index];
}

void DataPage::setBoardControlsEnabled(bool enabled) {
    m_lblTrippedSpindle->setEnabled(enabled);
    m_lblData[0]->setEnabled(enabled);
    m_resetTrips->button()->setEnabled(enabled);
    m_fraEndofShift->setEnabled(enabled);
    m_endOfShift->button()->setEnabled(enabled);
}

void DataPage::applyOnlineAppearance() {
    m_next = -1;
    m_readTripOffset = false;
    for (QGroupBox* frame : {m_fraShiftData[0], m_fraShiftData[1], m_fraShiftData[2]})
        frame->setEnabled(true);
    m_lblSpindleTripOffset->setEnabled(true);
    m_tripOffset->field()->setEnabled(true);
    m_tripOffset->spinner()->setEnabled(true);
    m_lblData[0]->setText(kNoValue);
    setBoardControlsEnabled(true);
    for (SpindleWheelChart* wheel : m_wheels) {
        wheel->setOffline(false);
        wheel->setTripped(std::nullopt);
    }
}

void DataPage::applyOfflineAppearance() {
    m_next = -1;
    m_readTripOffset = false;
    const bool editing = services().state.OfflineEditing;
    m_fraShiftData[0]->setEnabled(editing);
    m_lblSpindleTripOffset->setEnabled(editing);
    m_tripOffset->field()->setEnabled(editing);
    m_tripOffset->spinner()->setEnabled(editing);
    m_lblData[0]->setText(kNoValue);
    setBoardControlsEnabled(false);
    for (SpindleWheelChart* wheel : m_wheels) {
        wheel->setOffline(true);
        wheel->setTripped(std::nullopt);
    }
}

void DataPage::showNumber(int index, qint64 number) {
    m_lblData[index]->setText(counterText(number));
    if (index == 0) {
        // 0 (or anything beyond the wheel) names no spindle.
        const bool spindle = number >= 1 && number <= spindlewheel::kSpindles;
        m_wheels[0]->setTripped(spindle ? std::optional<int>(static_cast<int>(number))
                                        : std::nullopt);
        return;
    }
    for (int tab = 0; tab < 3; ++tab) {
        const int at = index - kTabSpindlesFirst[tab];
        if (at >= 0 && at < spindlewheel::kSegments)
            m_wheels[tab]->setCount(at, number);
    }
}

void DataPage::boardStep() {
    RSComm& link = services().link;
    if (m_tabChanged) {
        // The pass in progress belongs to the tab no longer shown.
        m_tabChanged = false;
        m_next = -1;
        m_readTripOffset = false;
        return;
    }
    if (m_readTripOffset) {
        m_readTripOffset = false;
        if (!m_tripOffset->isEditing()) {
            const QString value = link.RSRead(kTripOffsetAddress);
            if (link.CommError) {
                m_next = -1;
                return;
            }
            m_tripOffset->showValue(value);
            return;
        }
    }
    if (m_next < 0)
        m_next = m_pollFirst;
    const int i = m_next;
    const QString value = link.RSRead(dataAddress(i));
    if (link.CommError) {
        m_next = -1; // the labels keep their last values
        return;
    }
    showNumber(i, leadingInteger(value));
    m_readTripOffset = i == 0;
    m_next = i < m_pollLast ? i + 1 : -1;
}

void DataPage::documentStep() {
    const QVector<qint32>& values = services().state.CurrentDocument.Values;
    m_tripOffset->showValue(QString::number(values.value(kTripOffsetElement)));
    for (int i = 1; i < kValueCount; ++i)
        showNumber(i, values.value(i));
}
