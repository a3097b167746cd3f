#pragma once

#include <QByteArray>

struct AppState;
class Prompts;

// The shift-data export text of the current document: the file title (or
// "untitled"), "Date: " + gUploadNOW, then six blocks of counters, current
// shift then last shift, each opened by a line holding one space. 128 lines,
// each ended by CR LF, 8-bit characters.
QByteArray shiftDataText(const AppState& state);

// File > Export Shift Data: asks for a text file and writes the export to it.
// Works on the document only, never on the board. Cancel ends it silently;
// a file that cannot be written is reported and left as it was.
// Returns true when the file was written.
bool exportShiftData(AppState& state, Prompts& prompts);
