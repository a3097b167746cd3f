#pragma once

#include <QString>

// Names of a program file set: one base name with the extensions "wdx",
// "rev", "hex" and "lcf", as the development tool writes them.

// The absolute form of path, with its extension (the part after the last
// dot of the file name) replaced by extension: "/p/prog.hex" + "wdx" gives
// "/p/prog.wdx". A name without a dot gets ".extension" appended.
QString ChangeExtension(const QString& path, const QString& extension);

// The file of path's set with extension, found without regard to letter
// case: for "/p/UP.WDX" and "rev", "/p/UP.REV" when that is on the disk.
// When the folder holds none, the development tool's spelling, the base
// name with the lower-case extension ("/p/UP.rev"): a new file of the set.
QString companionPath(const QString& path, const QString& extension);

// The board type code named by a program file set: the character code of
// the first character of the first field of the companion "wdx" file, in
// any letter case (its first line up to the first comma, blanks and
// enclosing double quotes removed). 68 ('D') when that file is missing, empty or starts with an
// empty field.
int ReadBoardTypeCode(const QString& programFilePath);
