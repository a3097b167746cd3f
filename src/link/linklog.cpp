#include "linklog.h"

Q_LOGGING_CATEGORY(lcLink, "vral.link", QtWarningMsg)
