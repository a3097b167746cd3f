#pragma once

#include <QString>

class Prompts;

// A program file set on disk, as the target board page compares it with the
// board.
struct ProgramOnDisk {
    int boardCode = 0;
    QString ident; // "-" when the revision file is missing
    int revision = 0;
    int checksum = 0;
    QString boardName; // name of the board type code
    QString revDate;   // last change of the image file, or "-"
};

// What the target board page shows of a program file set on disk: the
// board type code of the program file, and the ident, revision and
// checksum of its revision file ("-", 0 and 0 when that file is missing,
// empty or unreadable) with the date of its image file ("-" without a
// revision file or an image). A program file that does not exist gives
// empty values. A revision field that cannot be read is told in a box
// titled "InitializeForm".
ProgramOnDisk readProgramOnDisk(const QString& programPath, Prompts& prompts);
