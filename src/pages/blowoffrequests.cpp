#include "blowoffrequests.h"

#include "rscomm.h"

void SendBlowoffRequest(RSComm& link, int selection) {
    if (!link.CommError)
        link.RSWrite(QStringLiteral("B2088"), QString::number(selection));
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F825"), QStringLiteral("1"));
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F102"), QStringLiteral("1"));
}

void SendBadCanTest(RSComm& link) {
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F830"), QStringLiteral("1"));
}
