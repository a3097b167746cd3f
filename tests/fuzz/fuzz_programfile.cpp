// The program file: only its first field's first character is read, the
// board type code that decides what may be downloaded and what uploaded.
#include "fuzzcheck.h"
#include "programfileformats.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray field = firstFieldOf(bytes);
    // The field is taken from the first line, never beyond it.
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QByteArray firstLine = lineEnd < 0 ? bytes : bytes.left(lineEnd);
    FUZZ_CHECK(firstLine.contains(field));
    FUZZ_CHECK(!field.contains('\n'));
    const std::optional<int> code = programBoardCode(bytes);
    FUZZ_CHECK(code.has_value() == !field.isEmpty());
    if (!code)
        return 0;
    FUZZ_CHECK(*code == static_cast<unsigned char>(field.at(0)));
    // Only program boards have memory to upload, and it lies in 64 KiB.
    const MemoryRange range = uploadRange(*code);
    const BoardClass kind = boardClassOf(*code);
    FUZZ_CHECK(range.first >= 0 && range.count >= 0 && range.first + range.count <= 0x10000);
    FUZZ_CHECK(range.count % 16 == 0);
    FUZZ_CHECK(range.count == 0 || kind == BoardClass::Plain || kind == BoardClass::Configured);
    FUZZ_CHECK(kind != BoardClass::Configured || carriesConfiguration(*code));
    return 0;
}
