#include "pagefactories.h"

#include "datapage.h"
#include "df1bridgepage.h"
#include "iodisplaypage.h"
#include "maindisplaypage.h"
#include "setuppage.h"
#include "timingpage.h"

QWidget* createMainDisplayPage(PageServices& services, QWidget* parent) {
    return new MainDisplayPage(services, parent);
}

QWidget* createSetupPage(PageServices& services, QWidget* parent) {
    return new SetupPage(services, parent);
}

QWidget* createTimingPage(PageServices& services, QWidget* parent) {
    return new TimingPage(services, parent);
}

QWidget* createDataPage(PageServices& services, QWidget* parent) {
    return new DataPage(services, parent);
}

QWidget* createIODisplayPage(PageServices& services, QWidget* parent) {
    return new IODisplayPage(services, parent);
}

QWidget* createDF1BridgePage(PageServices& services, QWidget* parent) {
    return new DF1BridgePage(services, parent);
}
