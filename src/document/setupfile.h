#pragma once

#include "setupdocument.h"

#include <QByteArray>
#include <QString>

// The set-up file (*.sdt): one binary record holding a set-up document,
// little-endian, no header, padding or checksum. In member order:
//   Version            u16 length n, n 8-bit characters
//   Addresses          u16 dimension count (1), u32 element count, i32 lower bound (0),
//                      then per element: u16 length n, n 8-bit characters
//   Values             u16 dimension count (1), u32 element count, i32 lower bound (0),
//                      then element count x i32
//   PLSChannelCount, PLSScale, ResolverOffset, PLSProgram   i16 each
//   SpeedCompensation  8 x i16, CH00 first
//   OnSetpoints        16 x i16, channel 0 first
//   OffSetpoints       16 x i16, channel 0 first
// Files from the field and files we write must stay interchangeable, so this
// layout is fixed byte for byte. A new document of this release is 2,092 bytes.

enum class SetupFileError {
    None,
    CannotOpen,        // the file could not be opened or read
    TooLarge,          // far larger than any set-up record can be
    Truncated,         // the file ends inside the record
    BadDimensionCount, // a table descriptor names other than one dimension
    BadLowerBound,     // a table descriptor's lower bound is not 0
    CountTooLarge,     // a table claims more elements than the file could hold
    CannotWrite,       // the file could not be written completely
};

struct SetupFileResult {
    SetupFileError error = SetupFileError::None;
    QString errorText; // for the user; empty on success

    bool ok() const { return error == SetupFileError::None; }
};

struct SetupFileReadResult : SetupFileResult {
    SetupDocument document; // the record read, tables as long as the file says
};

// The record of a document, byte for byte as written to a set-up file.
// Texts are written as 8-bit Latin-1; longer than 65,535 characters is cut.
QByteArray encodeSetupDocument(const SetupDocument& document);

// Reads one record from the start of bytes. Everything is checked before a
// table is sized, so a damaged file cannot cause a huge allocation; bytes
// after the end of the record are ignored.
SetupFileReadResult decodeSetupDocument(const QByteArray& bytes);

SetupFileReadResult readSetupFile(const QString& path);

// Writes the whole record at once and replaces the file only when every byte
// has been written; on failure the old file is left as it was.
SetupFileResult writeSetupFile(const QString& path, const SetupDocument& document);
