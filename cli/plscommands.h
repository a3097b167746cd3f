#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "pls show|set|pulse|clear|recall|offset|config": the board's programmable
// limit switch, through the same operations as the timing page.
//   show                    four lines: "scale N", "offset N", "position N", "rpm N"
//   set CH ON OFF           one setpoint pair, the channel cleared first
//   pulse CH ON OFF START   a pulse train of ON and OFF divisions from START
//   clear CH                the channel's setpoints cleared
//   recall CH               "state S position P" as the PLS reports them
//   offset POSITION         the offset that makes the current position read POSITION
//   config                  the 19 configuration values on one line
// CH is the channel as the board counts it, 0 to 15; the other numbers are
// 16-bit, 0 to 65535. Numbers out of range are refused before the link is
// opened; a setpoint, division or position that does not fit the PLS's scale
// factor is refused by the operation with its box, before the channel or
// offset command is sent. Both give ExitUsage; a failing transaction (or an
// answer the PLS could not make sense of) gives ExitLinkFailed.
int runPls(CliSession& session, const QStringList& args, QTextStream& out);
