#pragma once

#include <QString>

#include <array>

// One set-up parameter as every part of the program knows it: the board
// location it lives at, the range the set-up page accepts, the caption of
// its row on the set-up page (the ON and OFF times of one solenoid share
// their row and its caption) and its line in the report. Field i is kept in
// the set-up document's slot kFirstSetupSlot + i.
struct SetupField {
    const char* address;
    int minimum;
    int maximum;
    const char* caption;
    const char* reportLabel;
};

constexpr int kSetupFieldCount = 15;
constexpr int kFirstSetupSlot = 161;
// Fields 0..4 are the print/varnish response times, 5..14 the blow-off
// parameters.
constexpr int kFirstBlowoffField = 5;

extern const std::array<SetupField, kSetupFieldCount> kSetupFields;

// The report's section titles, headings and the labels of the items that
// are not set-up fields, as the report prints them (leading and trailing
// spaces included). The comparison of two documents names its items by
// these same texts.
namespace ReportLabels {
extern const char* const kSetupTitle;        // "Set-up Parameters"
extern const char* const kResponseTimes;     // "A. Print/Varnish Response Times"
extern const char* const kBlowoffParameters; // "B. Blow-off Parameters"
extern const char* const kPlsConfiguration;  // "C. PLS Configuration & Channel Setpoints"
extern const char* const kChannelCount;      // "1. Number of PLS Channels: "
extern const char* const kScaleFactor;       // "2. PLS Scale Factor: "
extern const char* const kPlsProgram;        // "3. PLS Program: "
extern const char* const kSpeedCompensation; // "4. Speed Compensation (advance): "
extern const char* const kChannelSetpoints;  // "5. Channel Setpoints (ON - OFF): "
extern const char* const kShiftTitle;        // "Data Collection Counts (shift data)"
extern const char* const kTripsPerSpindle;   // "A. Trips Per Spindle"
extern const char* const kTripShiftOffset;   // "1. Spindle No.1 Trip Shift Offset:"
extern const char* const kCurrentShift;      // "B. Current Shift Data"
extern const char* const kLastShift;         // "C. Last (previous) Shift Data"
extern const char* const kDriveSideSpindles; // "9. Trips Per Spindle - Drive Side:"
extern const char* const kOffSideSpindles;   // "10. Trips Per Spindle - Off Side:"
// The eight counts of a shift block, in the order of the document's slots.
extern const std::array<const char*, 8> kShiftCounts;
// The sub-item labels: "CH00 (msec):" (speed compensation of channel 0-7),
// "CH10:" (setpoints of channel 8), "07:" (spindle 7 of a spindle table).
QString speedCompensationLabel(int channel);
QString setpointLabel(int channel);
QString spindleLabel(int spindle);
} // namespace ReportLabels

// The resolver offset is uploaded with the timing channels but neither
// downloaded nor printed; the comparison shows it by this label.
extern const char* const kResolverOffsetLabel; // "Resolver Offset:"

// The DF1 bridge settings kept in the document (slots 176-178), with the
// captions the DF1 bridge page gives them; the report does not print them.
constexpr int kFirstDf1Slot = 176;
namespace Df1Text {
extern const char* const kTitle;                   // "DF1 Bridge"
extern const std::array<const char*, 3> kCaptions; // "&PLC Type:", ...
extern const std::array<const char*, 2> kPlcTypes; // "PLC5", "SLC500"
} // namespace Df1Text
