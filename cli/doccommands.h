#pragma once

#include <QStringList>

class CliSession;
class QTextStream;

// "doc new|show|export-shift ...": the set-up file commands; no link.
int runDoc(CliSession& session, const QStringList& args, QTextStream& out);

// "doc new FILE": writes a new default document.
int runDocNew(const QString& file);
// "doc show FILE": prints the document as JSON.
int runDocShow(const QString& file, QTextStream& out);
// "doc export-shift FILE OUT": the shift-data export exactly as File >
// Export Shift Data writes it right after FILE was opened.
int runDocExportShift(const QString& file, const QString& out);
