#include "blowoffrequests.h"

#include "pageservices.h"

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
    if (requestBlowoff(services.link, selection))
        services.acknowledge(blowoffAcknowledgement(selection));
}

void sendBadCanTest(PageServices& services) {
    if (requestBadCanTest(services.link))
        services.acknowledge(QStringLiteral("Bad can test blow-off requested"));
}
