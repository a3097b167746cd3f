#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// vralctl program check FILE: the program file set as a download sees it;
// program download FILE [--yes]: replaces the board's program with the
// set's image; program upload FILE: reads the board's program back into
// FILE's set.
int runProgram(CliSession& session, const QStringList& args, QTextStream& out);
