#include "blowoffrequests.h"

#include "pageservices.h"
#include "rscomm.h"

namespace {

QString blowoffAcknowledgement(int selection) {
    if (selection == kBlanketSelection)
        return QStringLiteral("Q.C. blanket blow-off requested");
    if (selection == kMandrelSelection)
        return QStringLiteral("Q.C. mandrel blow-off requested");
    return QStringLiteral("Q.C. blow-off requested (spindle %1)").arg(selection);
}

} // namespace

void SendBlowoffRequest(PageServices& services, int selection) {
    RSComm& link = services.link;
    if (!link.CommError)
        link.RSWrite(QStringLiteral("B2088"), QString::number(selection));
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F825"), QStringLiteral("1"));
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F102"), QStringLiteral("1"));
    if (!link.CommError)
        services.acknowledge(blowoffAcknowledgement(selection));
}

void SendBadCanTest(PageServices& services) {
    RSComm& link = services.link;
    if (!link.CommError)
        link.RSWrite(QStringLiteral("F830"), QStringLiteral("1"));
    if (!link.CommError)
        services.acknowledge(QStringLiteral("Bad can test blow-off requested"));
}
