// What a device server sends the link over Telnet: anything at all, cut
// into segments anywhere.
#include "fuzzcheck.h"
#include "telnetcomport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TelnetComPort whole(TelnetComPort::Role::Client, 19200);
    whole.opening();
    const QByteArray wholeData = whole.decode(bytes);
    // Nothing is invented: at most the bytes received reach the line.
    FUZZ_CHECK(wholeData.size() <= bytes.size());

    // However TCP cuts the stream, the line and the answers are the same.
    TelnetComPort split(TelnetComPort::Role::Client, 19200);
    split.opening();
    const qsizetype cut = bytes.size() / 3;
    QByteArray splitData = split.decode(bytes.left(cut));
    QByteArray splitReplies = split.takeReplies();
    splitData += split.decode(bytes.mid(cut));
    splitReplies += split.takeReplies();
    FUZZ_CHECK(splitData == wholeData);
    FUZZ_CHECK(splitReplies == whole.takeReplies());
    FUZZ_CHECK(split.comPort() == whole.comPort() && split.settled() == whole.settled());

    // The line's bytes, sent the other way, arrive as they were.
    TelnetComPort server(TelnetComPort::Role::Server);
    FUZZ_CHECK(server.decode(TelnetComPort::encode(bytes)) == bytes);
    return 0;
}
