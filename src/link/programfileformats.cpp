#include "programfileformats.h"

#include <QList>

namespace {

constexpr int kMemorySize = 0x10000;
// The byte that, where a record's count stands, ends program mode.
constexpr int kEndProgramMode = 0xFF;
// Characters of the count, address and type fields after the ":".
constexpr int kHeaderLength = 9;

// The first line of a file, without its line end.
QByteArray firstLine(const QByteArray& bytes) {
    qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

// Two hex digits at index (0-based) of line; nullopt when either is missing
// or is not a hex digit, so a bad field never reads as 0 or as its neighbour.
std::optional<int> hexByteAt(const QByteArray& line, qsizetype index) {
    if (index < 0 || index + 2 > line.size())
        return std::nullopt;
    const std::optional<int> high = hexDigit(line.at(index));
    const std::optional<int> low = hexDigit(line.at(index + 1));
    if (!high || !low)
        return std::nullopt;
    return *high * 16 + *low;
}

// A MarkHex digit (or an ordinary hex digit, which the reverse conversion
// leaves in lower case) to its value.
std::optional<int> markHexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= ':' && u <= '?')
        return u - '0';
    if (u > 0x7F)
        return std::nullopt;
    return hexDigit(static_cast<char>(u));
}

std::optional<int> decimalDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    return std::nullopt;
}

QByteArray hexByte(int value) {
    return QByteArray::number(value & 0xFF, 16).toUpper().rightJustified(2, '0');
}

} // namespace

BoardClass boardClassOf(int boardCode) {
    switch (boardCode) {
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case 'B':
    case 'D':
        return BoardClass::Plain;
    case '8':
    case ':':
    case ';':
    case '<':
    case '=':
    case 'A':
        return BoardClass::Configured;
    case '7':
    case '>':
    case '?':
    case '@':
    case 'C':
    case 'E':
        return BoardClass::Pls;
    default:
        return BoardClass::Incompatible;
    }
}

bool carriesConfiguration(int boardCode) {
    return boardCode >= '8' && boardCode <= 'A';
}

QByteArray firstFieldOf(const QByteArray& fileBytes) {
    const QByteArray line = firstLine(fileBytes).trimmed();
    // A quoted field runs to its closing quote, commas included.
    if (line.startsWith('"')) {
        const qsizetype closing = line.indexOf('"', 1);
        return closing < 0 ? line.mid(1) : line.mid(1, closing - 1);
    }
    const qsizetype comma = line.indexOf(',');
    return (comma < 0 ? line : line.left(comma)).trimmed();
}

std::optional<int> programBoardCode(const QByteArray& programFile) {
    const QByteArray field = firstFieldOf(programFile);
    if (field.isEmpty())
        return std::nullopt;
    return static_cast<unsigned char>(field.at(0));
}

QString& MarkHex2HEX(QString& text) {
    for (QChar& c : text)
        if (c.unicode() >= ':' && c.unicode() <= '?')
            c = QChar(c.unicode() - ':' + 'A');
    return text;
}

QString& HEX2MarkHEX(QString& text) {
    for (QChar& c : text)
        if (c.unicode() >= 'A' && c.unicode() <= 'F')
            c = QChar(c.unicode() - 'A' + ':');
    return text;
}

QString markHexByte(int value) {
    QString digits = QString::fromLatin1(hexByte(value));
    return HEX2MarkHEX(digits);
}

RevisionRead parseRevisionFile(const QByteArray& bytes) {
    RevisionRead read;
    if (bytes.isEmpty())
        return read;
    const QString field = QString::fromLatin1(firstFieldOf(bytes));
    if (field.size() < 4) {
        read.error = FileError{FileErrors::kRevisionTooShort,
                               QStringLiteral("The revision field has fewer than the four "
                                              "characters of its checksum and revision.")};
        return read;
    }
    const qsizetype length = field.size();
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<int> digit = markHexDigit(field.at(length - 4 + i));
        if (!digit) {
            read.error = FileError{FileErrors::kNotMarkHex,
                                   QStringLiteral("The checksum and revision at the end of the "
                                                  "revision field are not MarkHex digits.")};
            return read;
        }
        values[i] = *digit;
    }
    ProgramIdent ident;
    ident.ident = field.left(length - 4);
    ident.checksum = values[0] * 16 + values[1];
    ident.revision = values[2] * 16 + values[3];
    read.ident = ident;
    return read;
}

QByteArray revisionFileBytes(const QByteArray& ident, int checksum, int revision) {
    return ident + markHexByte(checksum).toLatin1() + markHexByte(revision).toLatin1() +
           QByteArrayLiteral("\r\n");
}

ConfigRead parseConfigFile(const QByteArray& bytes) {
    ConfigRead read;
    if (bytes.isEmpty())
        return read;
    const QByteArray field = firstFieldOf(bytes);
    // Positions 36, 39 and 40 (1-based) hold the three values.
    if (field.size() < 40) {
        read.error = FileError{
            FileErrors::kConfigTooShort,
            QStringLiteral("The configuration line has %1 characters; its values stand at "
                           "positions 36, 39 and 40.")
                .arg(field.size())};
        return read;
    }
    // A B8189 value of two or three digits, as an upload writes it, shifts
    // the 8188 code and the closing "000%" along: the line then ends with
    // them, and the value takes everything between position 39 and the code.
    qsizetype code8188At = 39;
    if (field.size() > 44 && field.endsWith("000%"))
        code8188At = field.size() - 5;
    const QByteArray digits8189 = field.mid(38, code8188At - 38);
    // At most three digits, so a long line cannot overflow the value.
    bool value8189Read = digits8189.size() <= 3;
    int value8189 = 0;
    for (qsizetype i = 0; value8189Read && i < digits8189.size(); ++i) {
        const std::optional<int> digit = decimalDigit(digits8189.at(i));
        value8189Read = digit.has_value();
        value8189 = value8189 * 10 + digit.value_or(0);
    }
    const std::optional<int> code8190 = decimalDigit(field.at(35));
    const std::optional<int> code8188 = decimalDigit(field.at(code8188At));
    if (!code8190 || !value8189Read || value8189 > 255 || !code8188) {
        read.error = FileError{FileErrors::kConfigNotDigit,
                               QStringLiteral("A configuration value at position 36, 39 or 40 "
                                              "is not a decimal digit, or B8189 is above 255.")};
        return read;
    }
    read.config = ProgramConfig{*code8190, value8189, *code8188};
    return read;
}

int boardValue8190(int fileCode) {
    return fileCode == 1 ? 3 : fileCode == 2 ? 5 : 12;
}

int boardValue8188(int fileCode) {
    return fileCode == 1 ? 5 : fileCode == 2 ? 10 : 20;
}

int fileCode8190(const QString& boardText) {
    return boardText == QLatin1String("3") ? 1 : boardText == QLatin1String("5") ? 2 : 3;
}

int fileCode8188(const QString& boardText) {
    return boardText == QLatin1String("5") ? 1 : boardText == QLatin1String("10") ? 2 : 3;
}

QByteArray configFileBytes(const QString& lcfIndex, const ProgramConfig& config) {
    return lcfIndex.toLatin1() + QByteArray(34, '0') + QByteArray::number(config.code8190) +
           QByteArrayLiteral("00") + QByteArray::number(config.value8189) +
           QByteArray::number(config.code8188) + QByteArrayLiteral("000%\r\n");
}

QString ImageRecord::addressText() const {
    return QString::fromLatin1(QByteArray::number(address, 16).toUpper().rightJustified(4, '0')) +
           QLatin1Char('H');
}

QByteArray ImageRecord::wireBytes() const {
    QByteArray wire;
    wire.reserve(3 + data.size());
    wire.append(static_cast<char>(data.size()));
    wire.append(static_cast<char>((address >> 8) & 0xFF));
    wire.append(static_cast<char>(address & 0xFF));
    wire.append(data);
    return wire;
}

int ImageRecord::expectedReply() const {
    int sum = 0;
    for (const char byte : wireBytes())
        sum += static_cast<unsigned char>(byte);
    return sum & 0xFF;
}

QString ImageCheck::fault() const {
    return QStringLiteral("line %1 %2").arg(badLine).arg(reason);
}

ImageCheck checkImage(const QByteArray& bytes) {
    ImageCheck check;
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    auto refuse = [&check](int lineNumber, const QString& reason) {
        check.records.clear();
        check.badLine = lineNumber;
        check.reason = reason;
        return check;
    };
    // Not even the end record: nothing says this is an image at all.
    if (lines.isEmpty())
        return refuse(1, QStringLiteral("holds no record"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        const int number = static_cast<int>(i + 1);
        if (!line.startsWith(':'))
            return refuse(number, QStringLiteral("does not start with \":\""));
        const std::optional<int> count = hexByteAt(line, 1);
        const std::optional<int> high = hexByteAt(line, 3);
        const std::optional<int> low = hexByteAt(line, 5);
        const std::optional<int> type = hexByteAt(line, 7);
        if (line.size() < kHeaderLength || !count || !high || !low || !type)
            return refuse(number, QStringLiteral("has no hex count, address and type"));
        if (line.size() < kHeaderLength + 2 * *count)
            return refuse(number,
                          QStringLiteral("is shorter than its count of %1 bytes").arg(*count));
        QByteArray data;
        data.reserve(*count);
        for (int j = 0; j < *count; ++j) {
            const std::optional<int> byte = hexByteAt(line, kHeaderLength + 2 * j);
            if (!byte)
                return refuse(number, QStringLiteral("has a data byte that is not hex"));
            data.append(static_cast<char>(*byte));
        }
        if (*count == 0)
            continue;
        if (*type == 0x03 || *type == 0x05)
            continue; // a start address: nothing for the board's memory
        if (*type == 0x02 || *type == 0x04) {
            bool zeroBase = *count == 2;
            for (const char byte : data)
                zeroBase = zeroBase && byte == 0;
            if (zeroBase)
                continue;
            return refuse(number,
                          QStringLiteral("sets an extended address outside the board's 64 KiB"));
        }
        if (*count == kEndProgramMode)
            return refuse(number, QStringLiteral("has a count of 255, which the board takes "
                                                 "as the end of program mode"));
        const int address = *high * 256 + *low;
        if (address + *count > kMemorySize)
            return refuse(number, QStringLiteral("runs past the end of the board's 64 KiB"));
        check.records.push_back(ImageRecord{address, data, number});
    }
    return check;
}

QByteArray uploadImageLine(int address, const QByteArray& sixteenBytes) {
    QByteArray line = QByteArrayLiteral(":10") +
                      QByteArray::number(address & 0xFFFF, 16).toUpper().rightJustified(4, '0') +
                      QByteArrayLiteral("00");
    for (const char byte : sixteenBytes)
        line += hexByte(static_cast<unsigned char>(byte));
    return line;
}

MemoryRange uploadRange(int boardCode) {
    switch (boardCode) {
    case '2':
        return {0x5000, 0xB000};
    case '3':
    case '6':
    case ':':
    case ';':
    case '<':
    case '=':
    case 'A':
    case 'B':
        return {0x2000, 0x6000};
    case '4':
    case '5':
    case '8':
        return {0x2000, 0x2000};
    case 'D':
        return {0x4000, 0x8000};
    default:
        return {};
    }
}
