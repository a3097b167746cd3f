#pragma once

#include <QString>

class BoardMemory;

// One "ADDRESS=VALUE" setting of board memory, as vral-boardsim takes them
// to put the board in a state to show (a DF1 status, a counter): ADDRESS is
// Bn (byte), Wn (word), Dn (double word, the second word counting
// ten-thousands), Fn (flag bit n: bit n % 8 of byte 32 + n / 8) or Bn.b
// (bit b of byte n); VALUE is decimal or 0x hexadecimal and must fit.
// Applies it and returns an empty text, or returns what is wrong (memory
// untouched).
QString applyMemorySetting(BoardMemory& memory, const QString& setting);
