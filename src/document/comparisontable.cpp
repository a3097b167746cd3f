#include "comparisontable.h"

#include <QStringList>

namespace {

QStringList header(const QString& rightCaption) {
    return {QStringLiteral("Section"), QStringLiteral("Item"), QStringLiteral("Document"),
            rightCaption, QStringLiteral("Differs")};
}

QStringList fields(const ComparisonItem& item) {
    return {item.section, item.label, QString::number(item.left), QString::number(item.right),
            item.differs() ? QStringLiteral("yes") : QString()};
}

// A field quoted as CSV wants it when it holds a comma, a quote or a line
// break ("C. PLS Configuration & Channel Setpoints" needs none).
QString csvField(QString field) {
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString joinCsv(const QStringList& row) {
    QStringList quoted;
    for (const QString& field : row)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

} // namespace

QVector<ComparisonItem> shownItems(const QVector<ComparisonItem>& items,
                                   const ComparisonFilter& filter) {
    QVector<ComparisonItem> rows;
    for (const ComparisonItem& item : items)
        if ((filter.withCounters || !item.counter) && (!filter.onlyDifferences || item.differs()))
            rows.append(item);
    return rows;
}

QString comparisonTabText(const QVector<ComparisonItem>& rows, const QString& rightCaption) {
    QString text = header(rightCaption).join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const ComparisonItem& item : rows)
        text += fields(item).join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

QByteArray comparisonCsv(const QVector<ComparisonItem>& rows, const QString& rightCaption) {
    QString text = joinCsv(header(rightCaption));
    for (const ComparisonItem& item : rows)
        text += joinCsv(fields(item));
    return text.toUtf8();
}
