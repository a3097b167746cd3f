// The configuration file of a configured board's program: three values at
// fixed positions of one line.
#include "fuzzcheck.h"
#include "programfileformats.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ConfigRead read = parseConfigFile(bytes);
    FUZZ_CHECK(!(read.config && read.error));
    FUZZ_CHECK(read.config || read.error || bytes.isEmpty());
    if (!read.config)
        return 0;
    const ProgramConfig& config = *read.config;
    // One digit each for the codes; the B8189 value fits its byte.
    FUZZ_CHECK(config.code8190 >= 0 && config.code8190 <= 9);
    FUZZ_CHECK(config.code8188 >= 0 && config.code8188 <= 9);
    FUZZ_CHECK(config.value8189 >= 0 && config.value8189 <= 255);
    FUZZ_CHECK(firstFieldOf(bytes).size() >= 40);
    // What the board is sent stays among the values it knows.
    const int to8190 = boardValue8190(config.code8190);
    const int to8188 = boardValue8188(config.code8188);
    FUZZ_CHECK(to8190 == 3 || to8190 == 5 || to8190 == 12);
    FUZZ_CHECK(to8188 == 5 || to8188 == 10 || to8188 == 20);
    // The line an upload writes for these values reads back as them.
    const ConfigRead again = parseConfigFile(configFileBytes(QStringLiteral("F"), config));
    FUZZ_CHECK(again.config && again.config->code8190 == config.code8190 &&
               again.config->value8189 == config.value8189 &&
               again.config->code8188 == config.code8188);
    return 0;
}
