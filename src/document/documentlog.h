#pragma once

#include <QLoggingCategory>

// Diagnostics of this library ("vral.document"); enable with
// QT_LOGGING_RULES="vral.document.info=true" (or .debug). Only warnings show by default:
// vralctl keeps standard error for its message lines.
Q_DECLARE_LOGGING_CATEGORY(lcDocument)
