#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The text formats of a program file set as pure functions over bytes:
// the first field of the program ("wdx") and revision ("rev") files, the
// configuration ("lcf") line, the Intel HEX image ("hex"), MarkHex digits,
// and the files an upload writes. Nothing here touches a file or the board.
//
// File texts are taken byte for byte as Latin-1, so an ident read from the
// board (any byte, NUL included) round-trips through a revision file.

// What a program's board type code allows.
enum class BoardClass {
    Plain,        // downloadable; needs a revision file
    Configured,   // downloadable; needs revision and configuration files
    Pls,          // a PLS module's program: not downloaded by this program
    Incompatible, // anything else
};
BoardClass boardClassOf(int boardCode);
// The codes whose download and upload carry the three configuration values
// ("8" to "A"; the upload asks no class, so "9", ">", "?", "@" count too).
bool carriesConfiguration(int boardCode);

// A reader's complaint: the number and description the "Error Number = "
// box shows. The numbers belong to this program:
//   1101  the file exists but cannot be read
//   1102  the revision field is shorter than its checksum and revision digits
//   1103  a checksum or revision digit is not a MarkHex digit
//   1104  the configuration line is too short for its values
//   1105  a configuration value is not a decimal digit, or B8189 is above 255
//   1106  a file cannot be written
struct FileError {
    int number = 0;
    QString description;
};
namespace FileErrors {
constexpr int kUnreadable = 1101;
constexpr int kRevisionTooShort = 1102;
constexpr int kNotMarkHex = 1103;
constexpr int kConfigTooShort = 1104;
constexpr int kConfigNotDigit = 1105;
constexpr int kUnwritable = 1106;
} // namespace FileErrors

// The first field of a file's first line: up to the first comma, blanks
// around it removed; a field opening with a double quote runs to the closing
// one, commas included, without the quotes. LF-only and CR LF line ends alike.
QByteArray firstFieldOf(const QByteArray& fileBytes);

// The board type code of a program file: the character code of its first
// field's first character; nullopt for an empty file or an empty field.
std::optional<int> programBoardCode(const QByteArray& programFile);

// MarkHex digits: the values 10..15 as ":" ";" "<" "=" ">" "?" in place of
// "A".."F". Both change the text in place and return it; exact case (a
// lower-case "a".."f" is left alone).
QString& MarkHex2HEX(QString& text);
QString& HEX2MarkHEX(QString& text);
// Two MarkHex digits of one byte, most significant first ("0:" for 10).
QString markHexByte(int value);

// A revision file: ident, then two MarkHex digits each of checksum and revision.
struct ProgramIdent {
    QString ident;
    int checksum = 0;
    int revision = 0;
};
struct RevisionRead {
    std::optional<ProgramIdent> ident; // nullopt: empty file or a FileError
    std::optional<FileError> error;
};
RevisionRead parseRevisionFile(const QByteArray& bytes);
// The revision file an upload writes: the ident as it came from the board
// (every byte), checksum and revision digits, CR LF.
QByteArray revisionFileBytes(const QByteArray& ident, int checksum, int revision);

// The three configuration values as the file holds them.
struct ProgramConfig {
    int code8190 = 3;
    int value8189 = 0;
    int code8188 = 3;
};
struct ConfigRead {
    std::optional<ProgramConfig> config; // nullopt: empty file or a FileError
    std::optional<FileError> error;
};
// Takes the single characters at positions 36, 39 and 40 of the first line.
// A line longer than 44 characters that ends in "000%" carries a B8189
// value of more digits (0..255) from position 39 up to the 8188 code just
// before "000%", as configFileBytes() writes it.
ConfigRead parseConfigFile(const QByteArray& bytes);
// File value to the value written to the board location, and back.
int boardValue8190(int fileCode);
int boardValue8188(int fileCode);
int fileCode8190(const QString& boardText);
int fileCode8188(const QString& boardText);
// The configuration line an upload writes, CR LF included.
QByteArray configFileBytes(const QString& lcfIndex, const ProgramConfig& config);

// One record of an image as it goes to the board: count, address high and
// low, then the data bytes; the board answers the low 8 bits of their sum.
struct ImageRecord {
    int address = 0;
    QByteArray data;
    int lineNumber = 0; // 1-based, for messages and logs
    // "2000H": the address digits of the line and "H".
    QString addressText() const;
    // The bytes on the wire, in order.
    QByteArray wireBytes() const;
    // What the board must answer.
    int expectedReply() const;
};
struct ImageCheck {
    std::vector<ImageRecord> records;
    // Set when the image is refused: which line and why.
    int badLine = 0;
    QString reason;
    bool ok() const { return badLine == 0; }
    // "line 3 does not start with ":"": which line is wrong and how.
    QString fault() const;
};
// Checks a whole image before any of it is sent. Every line (trailing empty
// lines aside) must start with ":" and hold hex digits for its count,
// address, type and all its data bytes. Records of count 0 are skipped;
// start-address records (03, 05) and extended-address records (02, 04)
// whose base is 0 are skipped; an extended address elsewhere, a record
// running past 64 KiB, and a count of 255 (the byte that ends program mode
// where a count stands) refuse the image, and so does an image without a
// single line. LF-only lines read as CR LF ones.
ImageCheck checkImage(const QByteArray& bytes);
// One data line as an upload writes it: ":10", four address digits, "00"
// and 32 data digits, upper case, no record checksum.
QByteArray uploadImageLine(int address, const QByteArray& sixteenBytes);
// The board memory an upload reads, by board type code; count 0 for
// codes with no program memory to read (PLS modules, unknown codes).
struct MemoryRange {
    int first = 0;
    int count = 0;
};
MemoryRange uploadRange(int boardCode);

// The end record.
inline const QByteArray kImageEndRecord = QByteArrayLiteral(":00000001FF");
