#include "iodisplaypage.h"

#include "pageservices.h"
#include "pagewidgets.h"
#include "rscomm.h"
#include "textnumber.h"

#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const std::array<const char*, IODisplayPage::kLocationCount> kLocations = {
    "F16",  "F17",  "W162", "W164", "B166", "B167", "W180", "W182",
    "W184", "W186", "W188", "W170", "W100", "W110", "W120",
};

const std::array<const char*, IODisplayPage::kModuleValues> kModuleCaptions = {
    "IN0:",
    "IN1:",
    "Analog Input 0:",
    "Analog Input 1:",
    "Analog Output 0:",
    "Analog Output 1:",
    "Resolver POS:",
    "Resolver RPM:",
    "Resolver Period:",
    "Scale Factor:",
    "Offset:",
};

// The two digital inputs of the module show on or off, not a number.
constexpr int kDigitalInputs = 2;
constexpr int kFirstPointWord = IODisplayPage::kModuleValues;
constexpr std::array<int, 3> kSlotBase = {100, 110, 120};

const QColor kOnColour(0, 0, 255);  // blue
const QColor kOffColour(192, 0, 0); // dark red
const QString kNoValue = QStringLiteral("-");

// Points are numbered the octal way: bits 8..15 are points 10..17.
int pointNumber(int bit) {
    return bit < 8 ? bit : 10 + (bit - 8);
}

} // namespace

QString IODisplayPage::location(int index) {
    return QString::fromLatin1(kLocations[index]);
}

QString IODisplayPage::slotPointCaption(int slot, int point) {
    const int byte = kSlotBase[slot] + point / 8;
    // The point numbers line up on the right: one digit after four blanks, two after two.
    const QString gap = point < 8 ? QStringLiteral("    ") : QStringLiteral("  ");
    return QStringLiteral("(B%1.%2)%3%4:")
        .arg(byte)
        .arg(point % 8)
        .arg(gap)
        .arg(pointNumber(point));
}

QString IODisplayPage::channelCaption(int point) {
    return QStringLiteral("CH%1:").arg(pointNumber(point), 2, 10, QLatin1Char('0'));
}

IODisplayPage::IODisplayPage(PageServices& services, QWidget* parent)
    : ParameterPage(services, QStringLiteral("frmDisplayIO"), QStringLiteral("I/O Status"),
                    parent) {
    m_fraBMIO[0] = buildModuleFrame();
    m_fraBMIO[1] = buildPointFrame(0, QStringLiteral("fraBMIO1"), QStringLiteral("Timing"),
                                   QStringLiteral("lblTmgChannel"));
    for (int slot = 0; slot < 3; ++slot)
        m_fraBMIO[2 + slot] = buildPointFrame(1 + slot, QStringLiteral("fraBMIO%1").arg(2 + slot),
                                              QStringLiteral("Slot0-%1").arg(slot),
                                              QStringLiteral("lblSlot0%1").arg(slot));

    auto* frames = new QHBoxLayout;
    for (QGroupBox* frame : m_fraBMIO)
        frames->addWidget(frame, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addStretch();
    layout->addWidget(defaultButton());
    startRefresh();
}

QGroupBox* IODisplayPage::buildModuleFrame() {
    QGroupBox* frame = makeFrame(QStringLiteral("fraBMIO0"), QStringLiteral("K7600"), this);
    auto* grid = new QGridLayout(frame);
    for (int i = 0; i < kModuleValues; ++i) {
        auto* caption = new QLabel(QString::fromLatin1(kModuleCaptions[i]), frame);
        caption->setObjectName(QStringLiteral("lblk7610%1").arg(i));
        auto* value = new QLabel(kNoValue, frame);
        value->setObjectName(QStringLiteral("lblk7610State%1").arg(i));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
        grid->addWidget(caption, i, 0);
        grid->addWidget(value, i, 1);
        m_captions.append(caption);
        m_moduleValues[i] = value;
    }
    return frame;
}

QGroupBox* IODisplayPage::buildPointFrame(int word, const QString& frameName,
                                          const QString& caption, const QString& labelName) {
    QGroupBox* frame = makeFrame(frameName, caption, this);
    auto* grid = new QGridLayout(frame);
    for (int n = 0; n < kPointsPerWord; ++n) {
        const QString text = word == 0 ? channelCaption(n) : slotPointCaption(word - 1, n);
        auto* label = new QLabel(text, frame);
        label->setObjectName(labelName + QString::number(n));
        auto* state = new QLabel(frame);
        state->setObjectName(labelName + QStringLiteral("State") + QString::number(n));
        grid->addWidget(label, n, 0);
        grid->addWidget(state, n, 1);
        m_captions.append(label);
        m_points[word][n] = state;
    }
    return frame;
}

void IODisplayPage::setAllEnabled(bool enabled) {
    for (QGroupBox* frame : m_fraBMIO)
        frame->setEnabled(enabled);
    for (QLabel* label : std::as_const(m_captions))
        label->setEnabled(enabled);
    for (QLabel* value : m_moduleValues) {
        value->setEnabled(enabled);
        value->setText(kNoValue);
    }
    for (const auto& word : m_points)
        for (QLabel* point : word)
            point->setEnabled(enabled);
}

void IODisplayPage::applyOnlineAppearance() {
    m_next = 0;
    setAllEnabled(true);
    for (const auto& word : m_points)
        for (QLabel* point : word)
            setLiveColour(point, QPalette::WindowText, kOnColour);
}

void IODisplayPage::applyOfflineAppearance() {
    m_next = 0;
    setAllEnabled(false);
}

void IODisplayPage::showPoint(QLabel* label, bool on) {
    setLiveColour(label, QPalette::WindowText, on ? kOnColour : kOffColour);
    label->setText(on ? QStringLiteral("ON") : QStringLiteral("off"));
}

void IODisplayPage::boardStep() {
    RSComm& link = services().link;
    const int i = m_next;
    const QString text = link.RSRead(location(i));
    if (link.CommError) {
        m_next = 0; // the labels keep their last texts
        return;
    }
    if (i < kDigitalInputs) {
        // An input is on only when the flag reads exactly 1.
        showPoint(m_moduleValues[i], wholeNumber(text) == 1.0);
    } else if (i < kFirstPointWord) {
        m_moduleValues[i]->setText(QString::number(leadingInteger(text)));
    } else {
        const qint64 word = leadingInteger(text);
        for (int n = 0; n < kPointsPerWord; ++n)
            showPoint(m_points[i - kFirstPointWord][n], (word & (qint64(1) << n)) != 0);
    }
    m_next = (i + 1) % kLocationCount;
}
