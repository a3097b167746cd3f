#pragma once

#include "targetboardpage.h"

class Prompts;
class QString;

// What the target board page shows of a program file set on disk: the
// board type code of the program file, and the ident, revision and
// checksum of its revision file ("-", 0 and 0 when that file is missing,
// empty or unreadable) with the date of its image file ("-" without a
// revision file or an image). A program file that does not exist gives
// empty values. A revision field that cannot be read is told in a box
// titled "InitializeForm".
ProgramOnDisk ReadProgramOnDisk(const QString& programPath, Prompts& prompts);
