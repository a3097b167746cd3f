#include "qtreportprinters.h"

#include "reportjob.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QScreen>

namespace {

constexpr double kPreviewShareOfScreen = 0.9;

class PrinterJob : public ReportJob {
public:
    PrinterJob(const Prompts::PrintDialog& choice, const QString& title)
        : m_printer(QPrinter::HighResolution) {
        if (!choice.printerName.isEmpty())
            m_printer.setPrinterName(choice.printerName);
        m_printer.setOutputFileName(choice.outputFile);
        m_printer.setCopyCount(choice.copies);
        if (choice.paperMillimetres.isValid())
            m_printer.setPageSize(QPageSize(choice.paperMillimetres, QPageSize::Millimeter));
        m_printer.setPageOrientation(choice.landscape ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
        m_printer.setDocName(title);
        m_printer.setCreator(QStringLiteral("VRAL"));
    }

    bool isFile() const override { return false; }
    QString target() const override {
        return m_printer.outputFileName().isEmpty() ? m_printer.printerName()
                                                    : m_printer.outputFileName();
    }
    QPagedPaintDevice* device() override { return m_printer.isValid() ? &m_printer : nullptr; }
    int copiesToDraw() const override {
        return m_printer.supportsMultipleCopies() ? 1 : m_printer.copyCount();
    }
    bool finish() override {
        return m_printer.printerState() != QPrinter::Error &&
               m_printer.printerState() != QPrinter::Aborted;
    }

private:
    QPrinter m_printer;
};

} // namespace

std::unique_ptr<ReportJob> QtReportPrinters::openJob(const Prompts::PrintDialog& choice,
                                                     const QString& title) {
    return std::make_unique<PrinterJob>(choice, title);
}

void QtReportPrinters::preview(const QString& title,
                               const std::function<void(QPagedPaintDevice&)>& draw) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(title);
    // Most of the screen: a page can be read, and the whole toolbar (print and
    // page set-up at its end) is seen even at 150 % on a 1366 x 768 screen.
    // Where it still does not fit, its last buttons are under its ">>" button.
    if (const QScreen* screen = dialog.screen())
        dialog.resize(screen->availableGeometry().size() * kPreviewShareOfScreen);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&draw](QPrinter* device) { draw(*device); });
    dialog.exec();
}
