#include "shelllog.h"

Q_LOGGING_CATEGORY(lcShell, "vral.shell", QtWarningMsg)
