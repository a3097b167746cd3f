// The image file: Intel HEX lines checked whole before a byte of them goes
// to the board.
#include "fuzzcheck.h"
#include "programfileformats.h"

#include <QList>

#include <cstdint>

namespace {

bool sameCheck(const ImageCheck& a, const ImageCheck& b) {
    if (a.badLine != b.badLine || a.records.size() != b.records.size())
        return false;
    for (size_t i = 0; i < a.records.size(); ++i)
        if (a.records[i].address != b.records[i].address ||
            a.records[i].data != b.records[i].data ||
            a.records[i].lineNumber != b.records[i].lineNumber)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ImageCheck check = checkImage(bytes);
    const QList<QByteArray> lines = bytes.split('\n');
    FUZZ_CHECK(check.ok() == (check.badLine == 0));
    if (!check.ok()) {
        // Refused: nothing to send, and the line named is one of the file's.
        FUZZ_CHECK(check.records.empty());
        FUZZ_CHECK(check.badLine >= 1 && check.badLine <= lines.size());
        FUZZ_CHECK(!check.reason.isEmpty());
    }
    int previousLine = 0;
    for (const ImageRecord& record : check.records) {
        FUZZ_CHECK(record.lineNumber > previousLine && record.lineNumber <= lines.size());
        previousLine = record.lineNumber;
        FUZZ_CHECK(lines.at(record.lineNumber - 1).startsWith(':'));
        // A count the board takes for a count, inside its 64 KiB.
        FUZZ_CHECK(record.data.size() >= 1 && record.data.size() <= 254);
        FUZZ_CHECK(record.address >= 0 && record.address + record.data.size() <= 0x10000);
        const QByteArray wire = record.wireBytes();
        FUZZ_CHECK(wire.size() == 3 + record.data.size());
        int sum = 0;
        for (const char byte : wire)
            sum += static_cast<unsigned char>(byte);
        FUZZ_CHECK(record.expectedReply() == (sum & 0xFF));
        if (record.data.size() == 16) {
            const ImageCheck line = checkImage(uploadImageLine(record.address, record.data));
            FUZZ_CHECK(line.ok() && line.records.size() == 1 &&
                       line.records[0].address == record.address &&
                       line.records[0].data == record.data);
        }
    }
    // LF-only lines read as their CR LF twins.
    if (!bytes.contains('\r')) {
        QByteArray twin = bytes;
        twin.replace("\n", "\r\n");
        FUZZ_CHECK(sameCheck(checkImage(twin), check));
    }
    return 0;
}
