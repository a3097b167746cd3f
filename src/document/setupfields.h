#pragma once

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
