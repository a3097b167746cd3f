#pragma once

#include <QString>

// A board memory location as the link addresses it.
struct ParsedAddress {
    // 'B' (one byte), 'W' (word, low byte first) or 'D' (two words, the
    // second counting ten-thousands); bit forms give 'B'. A null character
    // marks a text that names no location the board has (a byte address
    // outside 0..65535, a negative flag number).
    QChar access;
    qint32 byteAddress = 0;
    quint16 bitMask = 0;
    bool bitFlag = false; // a single bit: the dotted and the F forms

    bool isValid() const { return !access.isNull(); }
    // Bytes the location spans on the board: 1, 2 or 4.
    int width() const;
    // Valid, and every byte it spans lies inside the board's 64 KiB.
    bool onBoard() const;
};

// Translates an address text. Forms, tried in order: "1FF0H" (hexadecimal
// byte), "B1016.0" (bit of a byte, any first letter), "B2088", "W170",
// "D1100", "F119" (flag n: bit n mod 8 of byte 32 + n / 8); any other text
// is byte 32.
ParsedAddress ParseAddress(const QString& add);

// Whether a text is written in one of the forms above and names a location
// on the board, for callers that must refuse a typing error rather than act
// on byte 32 as the link does ("X100", "B99999", "" are not locations).
bool isBoardLocation(const QString& add);

// Whether an address text is valid on a board type (its character code,
// '1' to 'E'): the limits depend on the board's memory size and point count.
bool ValidAdd(const QString& var, int targetBoardIndex);

// An input/output point name ("X30", "Y141", "I10", "X30.3") as the byte or
// bit address it has on a board type ("B49", "B49.3"); the text unchanged
// when that board type has no such point.
QString EquateAdd(const QString& var, int targetBoardIndex);

// Octal digits read as decimal and back: Dec2Octal(9) = 11, Octal2Dec(11) = 9.
// Digits are not checked. A result outside 16 bits throws std::overflow_error.
qint16 Dec2Octal(int decNum);
qint16 Octal2Dec(int octNum);
