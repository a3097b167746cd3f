#include "boarddefaults.h"

#include "boardmemory.h"

#include <QByteArray>

namespace {
struct ByteDefault {
    int address;
    int value;
};

constexpr ByteDefault kBytes[] = {
    // Set-up parameters.
    {1000, 5},  // cans to blow off at infeed open
    {1001, 0},  // cans to blow off from print at restart
    {1002, 33}, // cans to blow off from varnish at restart
    {1003, 1},  // cans to blow off for each misload
    {1006, 15}, // bad can blow-off solenoid ON response (ms)
    {1007, 20}, // bad can blow-off solenoid OFF response (ms)
    {1008, 15}, // Q.C. blow-off solenoid ON response (ms)
    {1009, 20}, // Q.C. blow-off solenoid OFF response (ms)
    {1010, 17}, // Q.C. blow-off port shift offset
    {1011, 22}, // spindle no. 1 trip shift offset
    {1012, 20}, // print trip retract response (ms)
    {1013, 20}, // print trip extend response (ms)
    {1014, 20}, // varnish trip retract response (ms)
    {1015, 20}, // varnish trip extend response (ms)
    {1017, 5},  // shifts to varnish unit
    {2088, 1},  // Q.C. blow-off target: spindle 1
    // DF1 bridge: PLC-5, node 1, file 10; the driver enabled (flag 152).
    {4050, 1},
    {4011, 10},
    {32 + 152 / 8, 1 << (152 % 8)},
    // Board identity.
    {8159, 23}, // firmware revision
    {8175, 3},  // co-processor slot
    {8180, 1},  // network address 1
    {8191, 2},  // network address 2
    // The board's clock: 06:00:00 on 5 January 2026, ticking from there,
    // so a board fresh from the simulator is visibly off the computer's.
    {43008, 0},
    {43010, 0},
    {43012, 6},
    {43015, 5},
    {43016, 1},
    {43017, 26},
};

constexpr int kPinsToBlowoffPort = 1004; // W1004
constexpr int kProgramIdent = 61424;     // B61424..B61431, then checksum and revision
constexpr int kProgramChecksum = 61432;
constexpr int kProgramRevision = 61433;
} // namespace

void fillDefaultMemory(BoardMemory& memory) {
    for (const ByteDefault& d : kBytes)
        memory.setByte(d.address, static_cast<std::uint8_t>(d.value));
    memory.setWord(kPinsToBlowoffPort, 28);

    const QByteArray ident("K7600DEM");
    for (int k = 0; k < ident.size(); ++k)
        memory.setByte(kProgramIdent + k, static_cast<std::uint8_t>(ident.at(k)));
    memory.setByte(kProgramChecksum, 165);
    memory.setByte(kProgramRevision, 3);
}
