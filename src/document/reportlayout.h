#pragma once

#include <QLocale>
#include <QSizeF>
#include <QString>
#include <QVector>

struct SetupDocument;

// The fonts the report uses, all Times, none italic or underlined.
enum class ReportFont {
    Body,    // 12 regular: item lines
    Heading, // 14 bold: lettered headings
    Section, // 14 bold: section titles
    Header,  // 12 bold: the page title
    Footer,  // 10 regular: date and page number
};

// Measures text in inches; the renderer measures with the real fonts, tests
// with fixed figures, so the layout needs no paint device.
class ReportMetrics {
public:
    virtual ~ReportMetrics() = default;
    virtual double width(ReportFont font, const QString& text) const = 0;
    // Height of a line of the font (the height of "I"), also the line advance.
    virtual double lineHeight(ReportFont font) const = 0;
};

// A text whose top-left corner is (x, y) inches from the printable area's
// top-left corner, and a horizontal rule from x1 to x2 at y.
struct ReportText {
    double x = 0;
    double y = 0;
    ReportFont font = ReportFont::Body;
    QString text;
};
struct ReportRule {
    double x1 = 0;
    double x2 = 0;
    double y = 0;
};
struct ReportPage {
    QVector<ReportText> texts;
    QVector<ReportRule> rules;
};

struct ReportSetting {
    QString documentName; // shown after "VRAL Report: "
    QSizeF pageInches;    // printable area
    QString dateText;     // the footer's date and time
    QLocale locale;       // digit grouping of the shift counts
};

// Both sections of the set-up report, page by page.
QVector<ReportPage> layoutReport(const SetupDocument& document, const ReportSetting& setting,
                                 const ReportMetrics& metrics);
