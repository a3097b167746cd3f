#pragma once

#include <QString>

class QTextStream;

// "doc new FILE": writes a new default document.
int runDocNew(const QString& file);
// "doc show FILE": prints the document as JSON.
int runDocShow(const QString& file, QTextStream& out);
// "doc export-shift FILE OUT": the shift-data export exactly as File >
// Export Shift Data writes it right after FILE was opened.
int runDocExportShift(const QString& file, const QString& out);
