#include "platformlog.h"

Q_LOGGING_CATEGORY(lcPlatform, "vral.platform", QtWarningMsg)
