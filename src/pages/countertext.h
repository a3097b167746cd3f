#pragma once

#include <QString>

// A counter as the pages show it: no decimals, digits grouped in thousands
// as the user's locale groups them.
QString counterText(qint64 value);
