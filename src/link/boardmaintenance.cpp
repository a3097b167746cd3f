#include "boardmaintenance.h"

#include "clock.h"
#include "rscomm.h"

#include <QDateTime>

#include <functional>

namespace {

struct ClockWrite {
    const char* address;
    std::function<int(const QDateTime&)> part;
};

bool writeClockParts(RSComm& link, const Clock& clock, std::initializer_list<ClockWrite> writes) {
    if (!link.OnlineMode)
        return !link.CommError;
    for (const ClockWrite& write : writes) {
        if (link.CommError)
            return false;
        link.RSWrite(QString::fromLatin1(write.address), QString::number(write.part(clock.now())));
    }
    return !link.CommError;
}

} // namespace

bool resetBoardFaults(RSComm& link) {
    if (!link.OnlineMode)
        return !link.CommError;
    for (const char* address : {"B8178", "B8179", "B8177", "B8176"}) {
        if (link.CommError)
            return false;
        link.RSWrite(QString::fromLatin1(address), QStringLiteral("0"));
    }
    return !link.CommError;
}

bool setBoardTime(RSComm& link, const Clock& clock) {
    return writeClockParts(link, clock,
                           {{"B43012", [](const QDateTime& t) { return t.time().hour(); }},
                            {"B43010", [](const QDateTime& t) { return t.time().minute(); }},
                            {"B43008", [](const QDateTime& t) { return t.time().second(); }}});
}

bool setBoardDate(RSComm& link, const Clock& clock) {
    return writeClockParts(link, clock,
                           {{"B43016", [](const QDateTime& t) { return t.date().month(); }},
                            {"B43015", [](const QDateTime& t) { return t.date().day(); }},
                            {"B43017", [](const QDateTime& t) { return t.date().year() % 100; }}});
}

bool requestBlowoff(RSComm& link, int selection) {
    if (!link.CommError)
        link.RSWrite(QStringLiteral("B2088"), QString::number(selection));
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F825"), QStringLiteral("1"));
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F102"), QStringLiteral("1"));
    return !link.CommError;
}

bool requestBadCanTest(RSComm& link) {
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F830"), QStringLiteral("1"));
    return !link.CommError;
}
