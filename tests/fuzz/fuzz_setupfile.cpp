// A set-up file is whatever the user opens: a file from another machine, a
// truncated copy from a stick, or something else with the right name.
#include "fuzzcheck.h"
#include "setupfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const SetupFileReadResult read = decodeSetupDocument(bytes);
    FUZZ_CHECK(read.ok() == read.errorText.isEmpty());
    if (!read.ok())
        return 0;
    // What was read is written back as a record no longer than the bytes it
    // came from, and reads back as the same document.
    const QByteArray written = encodeSetupDocument(read.document);
    FUZZ_CHECK(written.size() <= bytes.size());
    FUZZ_CHECK(bytes.startsWith(written));
    const SetupFileReadResult again = decodeSetupDocument(written);
    FUZZ_CHECK(again.ok() && again.document == read.document);
    return 0;
}
