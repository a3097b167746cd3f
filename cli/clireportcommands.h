#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "report FILE OUT.pdf [--page-size A4|Letter]": the report of FILE's
// document as File > Export Report as PDF writes it after FILE was opened.
int runReport(CliSession& session, const QStringList& args, QTextStream& out);
