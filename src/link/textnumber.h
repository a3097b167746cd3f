#pragma once

#include <QString>

#include <optional>

// How the whole program reads a number out of a text: values from the board
// (always decimal text), entry fields, settings files, address texts. One
// rule, one place.

// The leading number (after leading white space, an optional sign, digits
// with an optional decimal fraction), 0 when the text does not start with
// one. "12.5 %" is 12.5, "a" is 0.
double leadingNumber(const QString& text);

// The number when the whole text (blanks around it aside) is one decimal
// number in the leading-number form, such as "25", "-3", " 12.5 " or ".5";
// nullopt for "", "12a", "-", "****" or "1e2". Entry fields accept only these.
std::optional<double> wholeNumber(const QString& text);

// The nearest integer, a half going to the even neighbour (12.5 -> 12,
// 13.5 -> 14), clamped to the 32-bit range of the document's values.
qint32 nearestInt(double value);

// The leading number of a text ("12a" -> 12, "-" -> 0) as nearestInt gives it.
qint32 numericValue(const QString& text);

// The leading number as a whole number, half to even, saturated to 64 bits:
// address texts whose number is far outside the board's memory must stay
// outside it rather than wrap or clamp into it.
qint64 leadingInteger(const QString& text);
