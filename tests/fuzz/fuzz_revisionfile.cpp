// The revision file of a program file set: the ident of the program and
// its checksum and revision in MarkHex digits. Written by an upload, edited
// by anyone.
#include "fuzzcheck.h"
#include "programfileformats.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const RevisionRead read = parseRevisionFile(bytes);
    // Read or refused with a reason; neither only for an empty file.
    FUZZ_CHECK(!(read.ident && read.error));
    FUZZ_CHECK(read.ident || read.error || bytes.isEmpty());
    if (read.error)
        FUZZ_CHECK(read.error->number > 0 && !read.error->description.isEmpty());
    if (!read.ident)
        return 0;
    const ProgramIdent& ident = *read.ident;
    FUZZ_CHECK(ident.checksum >= 0 && ident.checksum <= 255);
    FUZZ_CHECK(ident.revision >= 0 && ident.revision <= 255);
    FUZZ_CHECK(ident.ident.size() + 4 == firstFieldOf(bytes).size());
    // Digits written for the values read give the values back.
    const QString digits = markHexByte(ident.checksum) + markHexByte(ident.revision);
    const RevisionRead digitsOnly = parseRevisionFile(digits.toLatin1());
    FUZZ_CHECK(digitsOnly.ident && digitsOnly.ident->checksum == ident.checksum &&
               digitsOnly.ident->revision == ident.revision);
    // An ident that a first field can carry unquoted survives a rewrite.
    const QByteArray identBytes = ident.ident.toLatin1();
    const bool plain = !identBytes.contains(',') && !identBytes.contains('"') &&
                       !identBytes.contains('\n') && identBytes == identBytes.trimmed();
    if (plain) {
        const RevisionRead again =
            parseRevisionFile(revisionFileBytes(identBytes, ident.checksum, ident.revision));
        FUZZ_CHECK(again.ident && again.ident->ident == ident.ident &&
                   again.ident->checksum == ident.checksum &&
                   again.ident->revision == ident.revision);
    }
    return 0;
}
