#include "reportlayout.h"

#include "setupdocument.h"
#include "setupfields.h"

namespace {

constexpr double kMargin = 0.5;
constexpr double kHeadingX = kMargin + 0.25;
constexpr double kItemX = kMargin + 0.5;
constexpr double kSubItemX = kMargin + 1.0;
constexpr double kFirstColumnX = kMargin + 0.75;
constexpr double kSecondColumnX = kMargin + 2.75;
constexpr double kSetupValueEnd = 5.5;
constexpr double kShiftValueEnd = 4.0;

// A pen moving down the pages the way a line printer's cursor does.
class ReportWriter {
public:
    ReportWriter(const SetupDocument& document, const ReportSetting& setting,
                 const ReportMetrics& metrics)
        : m_doc(document), m_setting(setting), m_metrics(metrics) {
        m_pages.append(ReportPage());
    }

    QVector<ReportPage> pages() {
        if (m_pages.size() > 1 && m_pages.last().texts.isEmpty() && m_pages.last().rules.isEmpty())
            m_pages.removeLast(); // the last footer's new page holds nothing
        return m_pages;
    }

    void setupSection() {
        header();
        line(ReportFont::Section, kMargin, ReportLabels::kSetupTitle);
        blank();
        line(ReportFont::Heading, kHeadingX, ReportLabels::kResponseTimes);
        m_font = ReportFont::Body;
        for (int i = 0; i < kFirstBlowoffField; ++i)
            setupItem(i);
        blank();
        ensureSpace(false, 11);
        line(ReportFont::Heading, kHeadingX, ReportLabels::kBlowoffParameters);
        m_font = ReportFont::Body;
        for (int i = kFirstBlowoffField; i < kSetupFieldCount; ++i)
            setupItem(i);
        blank();
        ensureSpace(false, 29);
        line(ReportFont::Heading, kHeadingX, ReportLabels::kPlsConfiguration);
        m_font = ReportFont::Body;
        blank();
        item(ReportLabels::kChannelCount, plain(m_doc.PLSChannelCount), kSetupValueEnd);
        item(ReportLabels::kScaleFactor, plain(m_doc.PLSScale), kSetupValueEnd);
        item(ReportLabels::kPlsProgram, plain(m_doc.PLSProgram), kSetupValueEnd);
        line(m_font, kItemX, ReportLabels::kSpeedCompensation);
        for (int j = 0; j < 8; ++j)
            line(m_font, kSubItemX,
                 ReportLabels::speedCompensationLabel(j) + QStringLiteral("  ") +
                     plain(m_doc.SpeedCompensation[size_t(j)]));
        line(m_font, kItemX, ReportLabels::kChannelSetpoints);
        for (int c = 0; c < 16; ++c) {
            line(m_font, kSubItemX,
                 QStringLiteral("%1  %2  - %3")
                     .arg(ReportLabels::setpointLabel(c))
                     .arg(m_doc.OnSetpoints[c])
                     .arg(m_doc.OffSetpoints[c]));
        }
        blank();
        footer();
    }

    void shiftSection() {
        header();
        line(ReportFont::Section, kMargin, ReportLabels::kShiftTitle);
        blank();
        line(ReportFont::Heading, kHeadingX, ReportLabels::kTripsPerSpindle);
        m_font = ReportFont::Body;
        item(ReportLabels::kTripShiftOffset, plain(value(0)), kShiftValueEnd);
        blank();
        ensureSpace(false, 35);
        shiftBlock(ReportLabels::kCurrentShift, 49);
        blank();
        ensureSpace(false, 35);
        shiftBlock(ReportLabels::kLastShift, 105);
        footer();
    }

private:
    qint32 value(int index) const { return m_doc.Values.value(index); }
    static QString plain(qint32 v) { return QString::number(v); }
    QString grouped(qint32 v) const { return m_setting.locale.toString(v); }
    ReportPage& page() { return m_pages.last(); }

    void place(ReportFont font, double x, const QString& text) {
        page().texts.append({x, m_y, font, text});
    }
    void line(ReportFont font, double x, const QString& text) {
        m_font = font;
        place(font, x, text);
        m_y += m_metrics.lineHeight(font);
    }
    void blank() { m_y += m_metrics.lineHeight(m_font); }

    void item(const QString& label, const QString& valueText, double valueEnd) {
        place(m_font, kItemX, label);
        line(m_font, valueEnd - m_metrics.width(m_font, valueText), valueText);
    }
    // A set-up field's report line and the value the document keeps for it.
    void setupItem(int field) {
        item(kSetupFields[field].reportLabel, plain(value(kFirstSetupSlot + field)),
             kSetupValueEnd);
    }

    // 24 consecutive counts from `first`, spindles 1-12 and 13-24 side by side.
    void spindleTable(int first) {
        for (int r = 0; r < 12; ++r) {
            place(m_font, kFirstColumnX,
                  ReportLabels::spindleLabel(r + 1) + QLatin1Char(' ') + grouped(value(first + r)));
            line(m_font, kSecondColumnX,
                 ReportLabels::spindleLabel(r + 13) + QLatin1Char(' ') +
                     grouped(value(first + 12 + r)));
        }
    }

    // Eight counts from `first`, then the drive side and off side tables.
    void shiftBlock(const char* heading, int first) {
        line(ReportFont::Heading, kHeadingX, heading);
        m_font = ReportFont::Body;
        for (int i = 0; i < 8; ++i)
            item(ReportLabels::kShiftCounts[size_t(i)], grouped(value(first + i)), kShiftValueEnd);
        blank();
        line(m_font, kItemX, ReportLabels::kDriveSideSpindles);
        spindleTable(first + 8);
        blank();
        line(m_font, kItemX, ReportLabels::kOffSideSpindles);
        spindleTable(first + 32);
    }

    void header() {
        const QString title = QStringLiteral("VRAL Report: ") + m_setting.documentName;
        const double width = m_setting.pageInches.width();
        const ReportFont font = ReportFont::Header;
        m_y = 0.1;
        place(font, (width - m_metrics.width(font, title) - kMargin) / 2, title);
        m_y += m_metrics.lineHeight(font); // the line ends after the title
        m_y += m_metrics.lineHeight(font);
        page().rules.append({kMargin, width - kMargin, m_y});
        m_y += 0.25;
        m_font = font;
    }

    void footer() {
        const ReportFont font = ReportFont::Footer;
        const double width = m_setting.pageInches.width();
        const QString pageText = QStringLiteral("Page %1").arg(m_pages.size());
        double y = m_setting.pageInches.height() - m_metrics.lineHeight(font) - 0.1;
        page().texts.append({kMargin, y, font, m_setting.dateText});
        page().texts.append({width - m_metrics.width(font, pageText) - kMargin, y, font, pageText});
        y -= 0.1;
        page().rules.append({kMargin, width - kMargin, y});
        m_pages.append(ReportPage());
        m_y = 0;
        m_font = font;
    }

    // A block of `lines` lines starts on a new page unless it fits with
    // 0.9 inch to spare above the page's bottom.
    void ensureSpace(bool force, int lines) {
        if (force)
            footer();
        if (m_setting.pageInches.height() - m_metrics.lineHeight(m_font) * lines < m_y + 0.9)
            footer();
        if (m_y == 0)
            header();
    }

    const SetupDocument& m_doc;
    const ReportSetting& m_setting;
    const ReportMetrics& m_metrics;
    QVector<ReportPage> m_pages;
    double m_y = 0;
    ReportFont m_font = ReportFont::Body;
};

} // namespace

QVector<ReportPage> layoutReport(const SetupDocument& document, const ReportSetting& setting,
                                 const ReportMetrics& metrics) {
    ReportWriter writer(document, setting, metrics);
    writer.setupSection();
    writer.shiftSection();
    return writer.pages();
}
