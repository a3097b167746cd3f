#pragma once

#include <QString>

// How the program reads a number out of a text: the leading number (after
// leading white space, an optional sign, digits with an optional decimal
// fraction), 0 when the text does not start with one. "12.5 %" is 12.5,
// "a" is 0.
double leadingNumber(const QString& text);

// The leading number rounded to a whole number, half to even (12.5 -> 12,
// 13.5 -> 14), saturated to the 64-bit range.
qint64 leadingInteger(const QString& text);
