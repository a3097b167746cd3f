// The port map in the support folder: lines anyone may have edited.
#include "fuzzcheck.h"
#include "networkendpoint.h"
#include "portmap.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PortMap::ReadResult read = PortMap::parse(bytes, QStringLiteral("PortMap.cfg"));
    if (!read.ok()) {
        // Refused whole, naming the file and a line.
        FUZZ_CHECK(read.error.startsWith(QLatin1String("PortMap.cfg, line ")));
        FUZZ_CHECK(read.map.size() == 0);
        return 0;
    }
    // Every number the map holds is a port the dialog offers, and opens an endpoint.
    int mapped = 0;
    for (int number = 0; number <= 100; ++number) {
        const QString endpoint = read.map.endpointFor(number);
        if (endpoint.isEmpty())
            continue;
        FUZZ_CHECK(number >= 1 && number <= 99);
        FUZZ_CHECK(NetworkEndpoint::parse(endpoint).has_value());
        ++mapped;
    }
    FUZZ_CHECK(mapped == read.map.size());
    return 0;
}
