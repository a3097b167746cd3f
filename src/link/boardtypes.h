#pragma once

#include <QString>

// Board type codes (one character, passed as its character code): the name
// of the board and its index in the program configuration ("LCF") files.
QString targetBoardName(int typeCode);
// Empty for boards that take no configuration and for unknown codes.
QString lcfBoardIndex(int typeCode);
