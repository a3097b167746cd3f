#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The fault and comm-error code files ("\Support\FaultErrCodes.txt",
// "\Support\CommErrCodes.txt"): one record per line, a key (the code in
// upper-case hexadecimal, at least two digits) and a description, separated
// by a comma; a field holding commas is enclosed in double quotes.
struct CodeRecord {
    QString key;
    QString text;
};

// Records read from the start of a code file up to the first bad line.
struct CodeFile {
    QList<CodeRecord> records;
    // 0 when the whole file read; else the 1-based number of the first line
    // that is not a record (an unclosed quote, text after a closing quote,
    // fewer or more than two fields).
    int badLine = 0;
};

// The error number and description shown in the "Error Number = ..." box
// when a code file holds a line that is not a record.
inline constexpr int kCodeFileErrorNumber = 1001;
QString codeFileErrorDescription(int badLine);

// Pure: never reads past the bytes, never allocates by a size from them.
CodeFile parseCodeFile(const QByteArray& bytes);

// The key for a code: upper-case hexadecimal, "0" in front of a single digit.
QString codeKey(int code);

enum class CodeMatch { First, Last };
// The text of the first (or last) record whose key equals the key, ignoring case.
std::optional<QString> findCode(const CodeFile& file, const QString& key, CodeMatch which);

class Prompts;

// Looks a code up in a code file on disk. found is false when the file does
// not exist. A line that is not a record, before the key was found, or a file
// that cannot be read, shows the information box "Error Number = ..." under
// errorTitle; the text is then what was found before it (usually empty).
struct CodeLookup {
    bool fileFound = false;
    QString text;
};
CodeLookup lookupCodeFile(const QString& path, int code, CodeMatch which, Prompts& prompts,
                          const QString& errorTitle);
