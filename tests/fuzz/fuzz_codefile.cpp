// The fault and comm-error code files come from the support folder, where
// anyone may have edited them.
#include "codefile.h"
#include "fuzzcheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const CodeFile file = parseCodeFile(bytes);
    // A record takes at least one line, and a bad line is a line of the file.
    const qsizetype lines = bytes.count('\n') + 1;
    FUZZ_CHECK(file.records.size() <= lines);
    FUZZ_CHECK(file.badLine >= 0 && file.badLine <= lines);
    FUZZ_CHECK(file.badLine == 0 || file.records.size() < file.badLine);
    for (const CodeRecord& record : file.records) {
        const auto first = findCode(file, record.key, CodeMatch::First);
        const auto last = findCode(file, record.key.toLower(), CodeMatch::Last);
        FUZZ_CHECK(first.has_value() && last.has_value());
    }
    // The same bytes read the same way twice.
    const CodeFile again = parseCodeFile(bytes);
    FUZZ_CHECK(again.records.size() == file.records.size() && again.badLine == file.badLine);
    return 0;
}
