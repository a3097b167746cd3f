#include "qtprompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace {

// Room the title bar needs beside the title: icon and close, minimise, maximise buttons.
constexpr int kTitleBarControls = 140;

QMessageBox::Icon toQt(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Prompts::Buttons buttons) {
    switch (buttons) {
    case Prompts::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompts::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompts::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompts::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompts::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Prompts::Answer fromQt(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return Prompts::Answer::Ok;
    case QMessageBox::Yes:
        return Prompts::Answer::Yes;
    case QMessageBox::No:
        return Prompts::Answer::No;
    case QMessageBox::Retry:
        return Prompts::Answer::Retry;
    default:
        return Prompts::Answer::Cancel;
    }
}

} // namespace

int QtPrompts::inputBoxWidthFor(const QString& title, const QWidget& box) {
    // The window manager cuts a title that does not fit to a few letters; title
    // bars often use a larger, bold face than the box, so leave room for that
    // and for the icon and the buttons beside it.
    return box.fontMetrics().horizontalAdvance(title) * 3 / 2 + kTitleBarControls;
}

QString QtPrompts::qtText(const QString& programText) {
    QString text = programText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString QtPrompts::tabColumnsHtml(const QString& programText) {
    if (!programText.contains(QLatin1Char('\t')))
        return QString();
    static const QRegularExpression tabs(QStringLiteral("\t+"));
    const QStringList lines = qtText(programText).split(QLatin1Char('\n'));
    QList<QStringList> rows;
    qsizetype columns = 1;
    for (const QString& line : lines) {
        rows.append(line.split(tabs));
        columns = qMax(columns, rows.last().size());
    }
    // Blanks are kept as they are (the labels are indented by two).
    const auto cell = [](const QString& text) {
        return text.isEmpty()
                   ? QStringLiteral("&nbsp;")
                   : text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
    };
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype i = 0; i < row.size(); ++i) {
            const bool last = i + 1 == row.size();
            const qsizetype span = last ? columns - i : 1;
            html += span > 1 ? QStringLiteral("<td colspan=\"%1\">").arg(span)
                             : QStringLiteral("<td style=\"padding-right:12px\">");
            html += cell(row.at(i)) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString QtPrompts::qtFilter(const QString& programFilter) {
    const QStringList parts = programFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString shown = QLatin1Char('(') + pattern + QLatin1Char(')');
        // The program's descriptions mostly name their pattern already
        // ("Setup Files(*.sdt)"); the toolkit needs it in parentheses at the
        // end, and it is shown once.
        if (parts[i].trimmed().endsWith(shown))
            filters.append(parts[i]);
        else
            filters.append(parts[i] + QLatin1Char(' ') + shown);
    }
    return filters.join(QStringLiteral(";;"));
}

Prompts::Answer QtPrompts::message(const QString& title, const QString& text, Icon icon,
                                   Buttons buttons, DefaultButton defaultButton) {
    QMessageBox box(toQt(icon), title, qtText(text), toQt(buttons), m_parent);
    if (defaultButton == DefaultButton::No)
        box.setDefaultButton(QMessageBox::No);
    const QString columns = tabColumnsHtml(text);
    if (!columns.isEmpty()) {
        box.setTextFormat(Qt::RichText);
        box.setText(columns);
    }
    return fromQt(box.exec());
}

std::optional<QString> QtPrompts::input(const QString& title, const QString& prompt,
                                        const QString& defaultAnswer) {
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(qtText(prompt));
    dialog.setTextValue(defaultAnswer);
    // The box keeps its layout's size, so the width goes to its entry line.
    if (auto* line = dialog.findChild<QLineEdit*>()) {
        const QMargins margins = dialog.layout() ? dialog.layout()->contentsMargins() : QMargins();
        line->setMinimumWidth(inputBoxWidthFor(title, dialog) - margins.left() - margins.right());
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtPrompts::openFile(const FileDialog& dialog) {
    return showFileDialog(dialog, false);
}

std::optional<QString> QtPrompts::saveFile(const FileDialog& dialog) {
    return showFileDialog(dialog, true);
}

std::optional<QString> QtPrompts::showFileDialog(const FileDialog& dialog, bool save) {
    QFileDialog box(m_parent, dialog.title, dialog.fileName, qtFilter(dialog.filter));
    box.setObjectName(QStringLiteral("fileDialog"));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.overwritePrompt);
    box.setDefaultSuffix(dialog.defaultSuffix);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().first();
}

std::optional<Prompts::PrintDialog> QtPrompts::printSetup(const PrintDialog& proposed) {
    QPrinter printer(QPrinter::HighResolution);
    if (!proposed.printerName.isEmpty())
        printer.setPrinterName(proposed.printerName);
    printer.setCopyCount(proposed.copies);
    if (proposed.paperMillimetres.isValid())
        printer.setPageSize(QPageSize(proposed.paperMillimetres, QPageSize::Millimeter));
    printer.setPageOrientation(proposed.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!proposed.outputFile.isEmpty())
        printer.setOutputFileName(proposed.outputFile);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrintDialog chosen;
    chosen.printerName = printer.printerName();
    chosen.copies = printer.copyCount();
    chosen.paperMillimetres = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    chosen.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    chosen.outputFile = printer.outputFileName();
    return chosen;
}
