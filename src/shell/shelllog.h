#pragma once

#include <QLoggingCategory>

// Diagnostics of this library ("vral.shell"); enable with
// QT_LOGGING_RULES="vral.shell.info=true" (or .debug). Only warnings show by default:
// vralctl keeps standard error for its message lines.
Q_DECLARE_LOGGING_CATEGORY(lcShell)
