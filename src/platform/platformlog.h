#pragma once

#include <QLoggingCategory>

// The platform layer's log: what happened on the way to the outside world
// that the user does not see in a box (a device server's refusals).
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
