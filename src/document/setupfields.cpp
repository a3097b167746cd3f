#include "setupfields.h"

#include "setupdocument.h"

const std::array<SetupField, kSetupFieldCount> kSetupFields = {{
    {"B1012", 5, 80,
     "&Retract (out) Response Time (msec):", "  1. Print Trip Retract Response Time (msec): "},
    {"B1013", 5, 80,
     "&Extend (in) Response Time (msec):", "  2. Print Trip Extend Response Time (msec): "},
    {"B1014", 5, 80,
     "Re&tract (out) Response Time (msec):", "  3. Varnish Trip Retract Response Time (msec): "},
    {"B1015", 5, 80,
     "E&xtend (in) Response Time (msec):", "  4. Varnish Trip Extend Response Time (msec): "},
    {"B1017", 0, 6,
     "&Number of Shifts to Varnish Unit:", "  5. Number of Shifts to Varnish Unit: "},
    {"W1004", 0, 999, "&Number of Pins to Pin Chain Blow-off Port:",
     "  1. Number of Pins to Pin Chain Blow-off Port:"},
    {"B1003", 1, 15, "N&umber of Cans to Blow-off for Each Mis-load:",
     "  2. Number of Cans to Blow-off for Each Misload:"},
    {"B1000", 0, 255, "Numb&er of Cans to Blow-off at Infeed Open:",
     "  3. Number of Cans to Blow-off at Infeed Open:"},
    {"B1001", 0, 255, "Numbe&r of Cans to Blow-off from Print at Restart:",
     "  4. Number of Cans to Blow-off from Print at Restart:"},
    {"B1002", 0, 255, "Number of Cans to Blow-off from Varn&ish at Restart:",
     "  5. Number of Cans to Blow-off from Varnish at Restart:"},
    {"B1010", 1, 24,
     "Q.C. Can Blow-off Port Shift &Offset:", "  6. Q.C. Can Blow-off Port Shift Offset:"},
    {"B1006", 5, 50,
     "Bad &Can Blow-off Solenoid:", "  7. Bad Can Blow-off Solenoid ON Response Time (msec):"},
    {"B1007", 5, 50,
     "Bad &Can Blow-off Solenoid:", "  8. Bad Can Blow-off Solenoid Off Response Time (msec):"},
    {"B1008", 5, 50,
     "Q.C. Blow-off So&lenoid:", "  9. Q.C. Can Blow-off Solenoid ON Response Time (msec):"},
    {"B1009", 5, 50,
     "Q.C. Blow-off So&lenoid:", "10. Q.C. Can Blow-off Solenoid Off Response Time (msec):"},
}};

namespace ReportLabels {
const char* const kSetupTitle = "Set-up Parameters";
const char* const kResponseTimes = "A. Print/Varnish Response Times";
const char* const kBlowoffParameters = "B. Blow-off Parameters";
const char* const kPlsConfiguration = "C. PLS Configuration & Channel Setpoints";
const char* const kChannelCount = "1. Number of PLS Channels: ";
const char* const kScaleFactor = "2. PLS Scale Factor: ";
const char* const kPlsProgram = "3. PLS Program: ";
const char* const kSpeedCompensation = "4. Speed Compensation (advance): ";
const char* const kChannelSetpoints = "5. Channel Setpoints (ON - OFF): ";
const char* const kShiftTitle = "Data Collection Counts (shift data)";
const char* const kTripsPerSpindle = "A. Trips Per Spindle";
const char* const kTripShiftOffset = "1. Spindle No.1 Trip Shift Offset:";
const char* const kCurrentShift = "B. Current Shift Data";
const char* const kLastShift = "C. Last (previous) Shift Data";
const char* const kDriveSideSpindles = "9. Trips Per Spindle - Drive Side:";
const char* const kOffSideSpindles = "10. Trips Per Spindle - Off Side:";
const std::array<const char*, 8> kShiftCounts = {
    "1. Total Good Cans:", "2. Total Blow-offs:",   "3. Bad Can Blow-off:", "4. Manual Blow-offs:",
    "5. Q.C. Blow-offs:",  "6. Restart Blow-offs:", "7. Drive Side Trips:", "8. Off Side Trips:",
};

QString speedCompensationLabel(int channel) {
    return plsChannelName(channel) + QStringLiteral(" (msec):");
}

QString setpointLabel(int channel) {
    return plsChannelName(channel) + QLatin1Char(':');
}

QString spindleLabel(int spindle) {
    return QStringLiteral("%1:").arg(spindle, 2, 10, QLatin1Char('0'));
}
} // namespace ReportLabels

const char* const kResolverOffsetLabel = "Resolver Offset:";

namespace Df1Text {
const char* const kTitle = "DF1 Bridge";
// "Desination" is how the page has always spelt it.
const std::array<const char*, 3> kCaptions = {
    "&PLC Type:", "&Destination Node:", "Desination File &Number:"};
const std::array<const char*, 2> kPlcTypes = {"PLC5", "SLC500"};
} // namespace Df1Text
