#include "setupcomparison.h"

#include "setupdocument.h"
#include "setupfields.h"

namespace {

constexpr int kSpindles = 24;
constexpr int kCurrentShift = 49;
constexpr int kLastShift = 105;
constexpr int kTripsDriveSide = 1;

QString trimmed(const char* label) {
    return QString::fromLatin1(label).trimmed();
}

// Builds the list in the report's order, one heading at a time.
class ItemList {
public:
    ItemList(const SetupDocument& left, const SetupDocument& right)
        : m_left(left), m_right(right) {}

    void part(const char* title) { m_part = QString::fromLatin1(title); }
    void heading(const char* section) { m_section = QString::fromLatin1(section); }

    void add(const QString& label, qint64 left, qint64 right, bool counter = false) {
        m_items.append({m_part, m_section, label, left, right, counter});
    }
    void slot(const QString& label, int index, bool counter = false) {
        add(label, m_left.Values.value(index), m_right.Values.value(index), counter);
    }
    // 24 counts from first under the item label, spindles 01-24.
    void spindles(const char* item, int first) {
        for (int s = 0; s < kSpindles; ++s)
            slot(trimmed(item) + QLatin1Char(' ') + ReportLabels::spindleLabel(s + 1), first + s,
                 true);
    }
    // Eight counts and the two spindle tables of one shift.
    void shift(const char* section, int first) {
        heading(section);
        for (size_t i = 0; i < ReportLabels::kShiftCounts.size(); ++i)
            slot(trimmed(ReportLabels::kShiftCounts[i]), first + int(i), true);
        spindles(ReportLabels::kDriveSideSpindles, first + 8);
        spindles(ReportLabels::kOffSideSpindles, first + 8 + kSpindles);
    }

    QVector<ComparisonItem> take() { return std::move(m_items); }

private:
    const SetupDocument& m_left;
    const SetupDocument& m_right;
    QString m_part;
    QString m_section;
    QVector<ComparisonItem> m_items;
};

} // namespace

QString ComparisonItem::text(qint64 value, const QLocale& locale) const {
    return counter ? locale.toString(value) : QString::number(value);
}

QVector<ComparisonItem> compareDocuments(const SetupDocument& left, const SetupDocument& right) {
    ItemList list(left, right);
    list.part(ReportLabels::kSetupTitle);
    for (int i = 0; i < kSetupFieldCount; ++i) {
        if (i == 0)
            list.heading(ReportLabels::kResponseTimes);
        if (i == kFirstBlowoffField)
            list.heading(ReportLabels::kBlowoffParameters);
        list.slot(trimmed(kSetupFields[size_t(i)].reportLabel), kFirstSetupSlot + i);
    }

    list.heading(ReportLabels::kPlsConfiguration);
    list.add(trimmed(ReportLabels::kChannelCount), left.PLSChannelCount, right.PLSChannelCount);
    list.add(trimmed(ReportLabels::kScaleFactor), left.PLSScale, right.PLSScale);
    list.add(trimmed(ReportLabels::kPlsProgram), left.PLSProgram, right.PLSProgram);
    list.add(trimmed(kResolverOffsetLabel), left.ResolverOffset, right.ResolverOffset);
    const QString speed = trimmed(ReportLabels::kSpeedCompensation) + QLatin1Char(' ');
    for (size_t j = 0; j < left.SpeedCompensation.size(); ++j)
        list.add(speed + ReportLabels::speedCompensationLabel(int(j)), left.SpeedCompensation[j],
                 right.SpeedCompensation[j]);
    const QString setpoints = trimmed(ReportLabels::kChannelSetpoints) + QLatin1Char(' ');
    for (size_t c = 0; c < left.OnSetpoints.size(); ++c) {
        const QString channel = setpoints + ReportLabels::setpointLabel(int(c));
        list.add(channel + QStringLiteral(" ON"), left.OnSetpoints[c], right.OnSetpoints[c]);
        list.add(channel + QStringLiteral(" OFF"), left.OffSetpoints[c], right.OffSetpoints[c]);
    }

    // The report prints the trips per spindle of the machine's life (slots
    // 1-48) nowhere; they are counters like those of the shifts.
    list.part(ReportLabels::kShiftTitle);
    list.heading(ReportLabels::kTripsPerSpindle);
    list.slot(trimmed(ReportLabels::kTripShiftOffset), 0);
    list.spindles(ReportLabels::kDriveSideSpindles, kTripsDriveSide);
    list.spindles(ReportLabels::kOffSideSpindles, kTripsDriveSide + kSpindles);
    list.shift(ReportLabels::kCurrentShift, kCurrentShift);
    list.shift(ReportLabels::kLastShift, kLastShift);

    list.part(Df1Text::kTitle);
    list.heading(Df1Text::kTitle);
    for (size_t i = 0; i < Df1Text::kCaptions.size(); ++i)
        list.slot(QString::fromLatin1(Df1Text::kCaptions[i]).remove(QLatin1Char('&')),
                  kFirstDf1Slot + int(i));
    return list.take();
}

ComparisonCount countItems(const QVector<ComparisonItem>& items, bool withCounters) {
    ComparisonCount count;
    for (const ComparisonItem& item : items) {
        if (item.counter && !withCounters)
            continue;
        ++count.items;
        if (item.differs())
            ++count.differing;
    }
    return count;
}
