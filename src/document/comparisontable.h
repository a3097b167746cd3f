#pragma once

#include "setupcomparison.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The rows a comparison shows and how they leave it: as tab-separated text
// for a spreadsheet's paste, or as a CSV file (UTF-8, CRLF, a header row).
// Both carry the values in plain decimal, so a spreadsheet reads numbers.
struct ComparisonFilter {
    bool onlyDifferences = true;
    bool withCounters = false;
};

QVector<ComparisonItem> shownItems(const QVector<ComparisonItem>& items,
                                   const ComparisonFilter& filter);

// Header: "Section", "Item", "Document", rightCaption ("Board" or "File"),
// "Differs"; then one row per item, "Differs" holding "yes" or nothing.
QString comparisonTabText(const QVector<ComparisonItem>& rows, const QString& rightCaption);
QByteArray comparisonCsv(const QVector<ComparisonItem>& rows, const QString& rightCaption);
