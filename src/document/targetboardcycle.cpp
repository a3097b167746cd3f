#include "targetboardcycle.h"

#include "rscomm.h"

namespace {

const std::array<QString, 6> kEntryAddress = {QStringLiteral("B8176"), QStringLiteral("B8177"),
                                              QStringLiteral("B8175"), QStringLiteral("B8177"),
                                              QStringLiteral("B8179"), QStringLiteral("B8178")};

// The ident block in the board: eight character codes, checksum, revision.
constexpr int kIdentBase = 61424;
constexpr int kIdentLength = 10;
constexpr int kIdentCharacters = 8;

// Steps of the status reading: the six entries, the CO-CPU slot again, the
// ten ident locations.
constexpr int kSlotStep = 6;
constexpr int kFirstIdentStep = 7;
constexpr int kStatusSteps = kFirstIdentStep + kIdentLength;

} // namespace

TargetBoardCycle::TargetBoardCycle(RSComm& link, bool readsSlot,
                                   const std::array<QString, 8>& fieldAddresses)
    : m_link(link), m_readsSlot(readsSlot), m_fieldAddresses(fieldAddresses) {}

void TargetBoardCycle::restart() {
    m_statusShown = false;
    m_statusStep = 0;
    m_nextField = 0;
    m_snapshot.ident.clear();
}

TargetBoardNews TargetBoardCycle::step() {
    if (m_statusShown)
        return fieldStep();
    TargetBoardNews news = statusStep();
    m_statusShown = news.statusEnded;
    return news;
}

TargetBoardNews TargetBoardCycle::statusStep() {
    TargetBoardNews news;
    const int step = m_statusStep++;
    if (step < kSlotStep) {
        TargetBoardSnapshot::Entry& entry = m_snapshot.entries[size_t(step)];
        entry.value = m_link.CommError ? 0 : m_link.RSRead(kEntryAddress[size_t(step)]).toInt();
        entry.readFailed = m_link.CommError;
        news.part = TargetBoardNews::Part::Entry;
        news.index = step;
        return news;
    }
    if (step == kSlotStep) {
        if (m_readsSlot && !m_link.CommError) {
            m_snapshot.slot = m_link.RSRead(kEntryAddress[kSlotEntry]);
            news.part = TargetBoardNews::Part::Slot;
        }
        return news;
    }
    news.statusEnded = true;
    if (m_link.CommError || step >= kStatusSteps)
        return news;
    const int m = step - kFirstIdentStep;
    const QString value = m_link.RSRead(QStringLiteral("B%1").arg(kIdentBase + m));
    if (m_link.CommError)
        return news;
    if (m < kIdentCharacters) {
        m_snapshot.ident += QChar(value.toInt());
        news.part = TargetBoardNews::Part::Ident;
    } else if (m == kIdentCharacters) {
        m_snapshot.checksum = value;
        news.part = TargetBoardNews::Part::Checksum;
    } else {
        m_snapshot.revision = value;
        news.part = TargetBoardNews::Part::Revision;
    }
    news.statusEnded = m == kIdentLength - 1;
    return news;
}

TargetBoardNews TargetBoardCycle::fieldStep() {
    TargetBoardNews news;
    const int i = m_nextField;
    m_nextField = (m_nextField + 1) % 8;
    const QString value = m_link.RSRead(m_fieldAddresses[size_t(i)]);
    if (m_link.CommError)
        return news;
    m_snapshot.fields[size_t(i)] = value;
    news.part = TargetBoardNews::Part::Field;
    news.index = i;
    return news;
}
