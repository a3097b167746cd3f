#include "pageslog.h"

Q_LOGGING_CATEGORY(lcPages, "vral.pages", QtWarningMsg)
