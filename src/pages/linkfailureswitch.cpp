#include "linkfailureswitch.h"

#include "onlineswitch.h"
#include "pageslog.h"
#include "rscomm.h"

bool LinkFailureSwitch::apply(RSComm& link, OnlineSwitch& online) {
    if (!link.CommError) {
        m_applied = false;
        return false;
    }
    if (m_applied && !link.OnlineMode)
        return false;
    m_applied = true;
    qCInfo(lcPages) << "link failure: the page takes the application offline";
    link.OnlineMode = false;
    online.ApplyOnlineMode();
    return true;
}
