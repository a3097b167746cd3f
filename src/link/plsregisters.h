#pragma once

// The PLS's register and command bytes, named once for the link. A register
// read or write sends the register byte and moves one word; a channel or
// configuration command sends its byte before the parameter bytes.
namespace PlsRegister {
constexpr int kReadScale = 0x18;
constexpr int kWriteScale = 0x1A;
constexpr int kReadOffset = 0x28;
constexpr int kWriteOffset = 0x2A;
constexpr int kReadPosition = 0x48;
constexpr int kReadSpeed = 0x58;
constexpr int kChannelSetpoint = 0x1B;
constexpr int kChannelPulseTrain = 0x2B;
constexpr int kFirstConfigBlock = 0x3B; // then 0x4B, 0x5B, 0x6B
constexpr int kReadConfig = 0x0C;
constexpr int kRecall = 0x09;
// Asks whether the PLS has taken the last command.
constexpr int kReadyQuery = 0x38;
} // namespace PlsRegister
