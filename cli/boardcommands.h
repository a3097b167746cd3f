#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// vralctl board: the board's faults, comm errors, firmware and program
// ident; board reset-faults [--yes]; board set-clock [--yes].
int runBoard(CliSession& session, const QStringList& args, QTextStream& out);
