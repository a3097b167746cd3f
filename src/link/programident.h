#pragma once

#include <QString>

// A program ident as the user sees it, in labels and boxes: the board and
// the revision file pad a short ident with NUL bytes, and those (like any
// other control character) show as nothing, never raw.
QString shownIdent(const QString& ident);
