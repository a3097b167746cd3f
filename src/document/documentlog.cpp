#include "documentlog.h"

Q_LOGGING_CATEGORY(lcDocument, "vral.document", QtWarningMsg)
