// The port settings file in the support folder: one line "port,speed" that
// anyone may have edited, or that another program left behind.
#include "fuzzcheck.h"
#include "portsettings.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PortSettings settings = PortSettingsFile::parse(bytes);
    // Whatever the line says, the link gets a port it can name and a speed it can set.
    FUZZ_CHECK(settings.port >= 1 && settings.port <= 99);
    FUZZ_CHECK(settings.speed == 9600 || settings.speed == 19200);
    // What a save writes for them reads back as them.
    const PortSettings again = PortSettingsFile::parse(PortSettingsFile::bytesFor(settings));
    FUZZ_CHECK(again.port == settings.port && again.speed == settings.speed);
    return 0;
}
