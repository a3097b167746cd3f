#include "address.h"

#include "textnumber.h"

#include <QRegularExpression>

#include <stdexcept>

namespace {

constexpr qint32 kFlagBase = 32; // flag bits count upward from this byte
constexpr qint32 kDefaultByte = 32;
constexpr qint32 kLastByte = 65535;

// Value of leading hexadecimal digits; 0 when there are none.
qint64 hexValue(const QString& digits) {
    qint64 value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.toLower().unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        if (digit < 0 || value > kLastByte * 256)
            break;
        value = value * 16 + digit;
    }
    return value;
}

ParsedAddress located(QChar access, qint64 byteAddress, quint16 mask, bool bitFlag) {
    ParsedAddress parsed;
    if (byteAddress < 0 || byteAddress > kLastByte)
        return parsed;
    parsed.access = access;
    parsed.byteAddress = static_cast<qint32>(byteAddress);
    parsed.bitMask = mask;
    parsed.bitFlag = bitFlag;
    return parsed;
}

// 2 to the power of a bit number, as the 16-bit mask the board code keeps.
quint16 maskOf(qint64 bit) {
    return bit >= 0 && bit < 16 ? static_cast<quint16>(1u << bit) : 0;
}

bool isOneOf(int code, const char* codes) {
    for (const char* c = codes; *c; ++c)
        if (code == *c)
            return true;
    return false;
}

// Board types with the small (256-byte) memory and 12 flag bytes.
constexpr const char* kSmallBoards = "134568:;<=AB";
// Board types with 8 KiB of memory.
constexpr const char* kMediumBoards = "2D";

bool inRange(qint64 number, qint64 lowest, qint64 highest) {
    return number >= lowest && number <= highest;
}

bool isPointNumber(qint64 number, qint64 highest) {
    const qint64 units = number % 10;
    return (units == 0 || units == 1) && inRange(number, 0, highest);
}

// Point tables of the boards whose inputs and outputs sit at fixed bytes.
struct PointByte {
    int board;
    char letter;
    int point;
    int byte;
};

constexpr PointByte kPointBytes[] = {
    {'1', 'X', 30, 49},  {'1', 'X', 31, 50},  {'1', 'X', 50, 51},  {'1', 'X', 51, 52},
    {'1', 'X', 60, 53},  {'1', 'X', 61, 54},  {'1', 'X', 70, 55},  {'1', 'X', 71, 56},
    {'1', 'X', 80, 57},  {'1', 'Y', 81, 58},  {'1', 'Y', 90, 59},  {'1', 'Y', 100, 60},
    {'1', 'Y', 110, 61}, {'1', 'Y', 111, 62}, {'1', 'Y', 120, 63}, {'1', 'Y', 121, 64},
    {'1', 'Y', 130, 65}, {'1', 'Y', 140, 66}, {'1', 'Y', 141, 67}, {':', 'X', 10, 51},
    {':', 'X', 11, 52},  {':', 'Y', 0, 49},   {':', 'Y', 1, 50},   {';', 'X', 10, 51},
    {';', 'X', 11, 52},  {';', 'X', 20, 53},  {';', 'X', 21, 54},  {';', 'Y', 0, 49},
    {';', 'Y', 1, 50},   {'B', 'X', 10, 51},  {'B', 'X', 11, 52},  {'B', 'X', 20, 53},
    {'B', 'X', 21, 54},  {'B', 'Y', 0, 49},   {'B', 'Y', 1, 50},   {'<', 'X', 10, 51},
    {'<', 'X', 11, 52},  {'<', 'X', 20, 53},  {'<', 'Y', 0, 49},   {'<', 'Y', 1, 50},
    {'<', 'Y', 21, 54},  {'A', 'X', 10, 51},  {'A', 'X', 11, 52},  {'A', 'X', 20, 53},
    {'A', 'Y', 0, 49},   {'A', 'Y', 1, 50},   {'A', 'Y', 21, 54},  {'=', 'X', 0, 49},
    {'=', 'X', 1, 50},   {'=', 'X', 10, 51},  {'=', 'Y', 11, 52},
};

// Byte of a point, or -1 when the board type has no such point.
int pointByte(int board, QChar letter, qint64 point) {
    if (board == '2') {
        // Sixteen groups of two points each for X/Y (from byte 160) and I (from 192).
        const qint64 group = point / 10;
        const qint64 unit = point % 10;
        if (point < 0 || group > 15 || unit > 1)
            return -1;
        if (letter == QLatin1Char('X') || letter == QLatin1Char('Y'))
            return static_cast<int>(160 + 2 * group + unit);
        if (letter == QLatin1Char('I'))
            return static_cast<int>(192 + 2 * group + unit);
        return -1;
    }
    for (const PointByte& entry : kPointBytes)
        if (entry.board == board && letter == QLatin1Char(entry.letter) && entry.point == point)
            return entry.byte;
    return -1;
}

qint16 checked16(qint64 value) {
    if (value < -32768 || value > 32767)
        throw std::overflow_error("Overflow");
    return static_cast<qint16>(value);
}

} // namespace

bool ParsedAddress::onBoard() const {
    return isValid() && byteAddress + width() - 1 <= kLastByte;
}

int ParsedAddress::width() const {
    if (access == QLatin1Char('W'))
        return 2;
    if (access == QLatin1Char('D'))
        return 4;
    return 1;
}

ParsedAddress ParseAddress(const QString& add) {
    if (add.endsWith(QLatin1Char('H'), Qt::CaseInsensitive)) {
        const QString digits = add.left(add.size() - 1);
        const qint64 low = hexValue(digits.right(2));
        const qint64 high = hexValue(digits.left(qMax(0, digits.size() - 2)));
        return located(QLatin1Char('B'), low + 256 * high, 0, false);
    }
    if (add.contains(QLatin1Char('.'))) {
        const qint64 byte = leadingInteger(add.mid(1, add.size() - 3));
        const qint64 bit = leadingInteger(add.right(1));
        return located(QLatin1Char('B'), byte, maskOf(bit), true);
    }
    const QChar letter = add.isEmpty() ? QChar() : add.at(0).toUpper();
    const qint64 number = leadingInteger(add.mid(1));
    if (letter == QLatin1Char('B') || letter == QLatin1Char('W') || letter == QLatin1Char('D'))
        return located(letter, number, 0, false);
    if (letter == QLatin1Char('F')) {
        if (number < 0)
            return ParsedAddress();
        return located(QLatin1Char('B'), kFlagBase + number / 8, maskOf(number % 8), true);
    }
    return located(QLatin1Char('B'), kDefaultByte, 0, false);
}

bool isBoardLocation(const QString& add) {
    static const QRegularExpression forms(
        QStringLiteral("^([0-9A-Fa-f]{1,4}[Hh]|[A-Za-z][0-9]{1,5}\\.[0-7]|[BbWwDdFf][0-9]{1,6})$"));
    return forms.match(add).hasMatch() && ParseAddress(add).onBoard();
}

bool ValidAdd(const QString& var, int targetBoardIndex) {
    const QChar letter = var.isEmpty() ? QChar() : var.at(0).toUpper();
    const qint64 number = var.contains(QLatin1Char('.'))
                              ? leadingInteger(var.mid(1, var.size() - 3))
                              : leadingInteger(var.mid(1));
    const int board = targetBoardIndex;
    const bool small = isOneOf(board, kSmallBoards);
    const bool medium = isOneOf(board, kMediumBoards);

    switch (letter.unicode()) {
    case 'B':
        return inRange(number, 32, medium ? 8275 : small ? 255 : 65535);
    case 'W':
    case 'D':
        return number % 2 == 0 && inRange(number, 32, medium ? 8274 : small ? 254 : 65534);
    case 'F':
        return inRange(number, 0, small ? 120 : 991);
    case 'I':
        if (isOneOf(board, "12"))
            return isPointNumber(number, 151);
        return isOneOf(board, "34568") && isPointNumber(number, 21);
    case 'X':
    case 'Y':
        if (isOneOf(board, "12"))
            return isPointNumber(number, 151);
        if (board == 0 || board == 'D')
            return false;
        return isPointNumber(number, 21);
    default:
        return number == 0;
    }
}

QString EquateAdd(const QString& var, int targetBoardIndex) {
    const QChar letter = var.isEmpty() ? QChar() : var.at(0).toUpper();
    const QString rest = var.mid(1);
    const bool hasBit = rest.contains(QLatin1Char('.'));
    const qint64 point = hasBit ? leadingInteger(rest.left(rest.size() - 2)) : leadingInteger(rest);
    const int byte = pointByte(targetBoardIndex, letter, point);
    if (byte < 0)
        return var;
    QString result = QStringLiteral("B%1").arg(byte);
    if (hasBit)
        result += QStringLiteral(".%1").arg(qMin<qint64>(7, leadingInteger(var.right(1))));
    return result;
}

qint16 Dec2Octal(int decNum) {
    const qint64 value = checked16(decNum);
    return checked16((value / 8) * 10 + value % 8);
}

qint16 Octal2Dec(int octNum) {
    const qint64 value = checked16(octNum);
    return checked16((value / 10) * 8 + value % 10);
}
