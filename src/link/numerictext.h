#pragma once

#include <QtGlobal>

#include <optional>

class QString;

// The entry fields' view of a number typed as text. The leading-number rule
// itself is the link's (textnumber.h), shared by the whole program.

// The number when the whole text (blanks around it aside) is one decimal
// number in the leading-number form, such as "25", "-3", " 12.5 " or ".5";
// nullopt for "", "12a", "-", "****" or "1e2".
std::optional<double> wholeNumber(const QString& text);

// The nearest integer, a half going to the even neighbour (12.5 -> 12,
// 13.5 -> 14), clamped to the 32-bit range of the document's values.
qint32 nearestInt(double value);

// The leading number of a text ("12a" -> 12, "-" -> 0) as nearestInt gives it.
qint32 numericValue(const QString& text);
