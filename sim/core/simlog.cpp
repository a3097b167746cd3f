#include "simlog.h"

Q_LOGGING_CATEGORY(lcSim, "vral.sim", QtWarningMsg)
