#include "shiftexport.h"

#include "appstate.h"
#include "atomicfilewriter.h"
#include "prompts.h"

#include <QDir>

namespace {

struct ExportBlock {
    const char* heading;
    bool legend; // the counter blocks name their eight columns
    int first;   // value-table elements first ... last
    int last;
};

constexpr ExportBlock kBlocks[] = {
    {"Current Shift Data:", true, 49, 56},
    {"Current Shift Trips per (Drive-Side):", false, 57, 80},
    {"Current Shift Trips per (Off-Side):", false, 81, 104},
    {"Last Shift Data:", true, 105, 112},
    {"Last Shift Trips per (Drive-Side):", false, 113, 136},
    {"Last Shift Trips per (Off-Side):", false, 137, 160},
};

constexpr char kLegend[] = "(Good Can, Total Blow-off, Misloads, Manual Blow-offs, QC Blow-offs, "
                           "Restart Blow-off, Drive Side Trips, Off Side Trips)";

} // namespace

QByteArray shiftDataText(const AppState& state) {
    QByteArray text;
    const auto line = [&text](const QByteArray& content) { text += content + "\r\n"; };

    line(state.gFileNameTitle.isEmpty() ? QByteArray("untitled") : state.gFileNameTitle.toLatin1());
    line("Date: " + state.gUploadNOW.toLatin1());
    for (const ExportBlock& block : kBlocks) {
        line(" ");
        line(block.heading);
        if (block.legend)
            line(kLegend);
        for (int i = block.first; i <= block.last; ++i)
            line(QByteArray::number(state.CurrentDocument.Values.value(i)));
    }
    return text;
}

bool exportShiftData(AppState& state, Prompts& prompts) {
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Export Shift Data");
    dialog.filter = QStringLiteral("Text Files(*.txt)|*.txt|");
    dialog.defaultSuffix = QStringLiteral("txt");
    dialog.fileName = state.gFileExportPath;
    dialog.overwritePrompt = true;
    const std::optional<QString> path = prompts.saveFile(dialog);
    if (!path)
        return false;

    state.gFileExportPath = *path;
    const QString reason = writeFileAtomically(*path, shiftDataText(state));
    if (reason.isEmpty())
        return true;
    prompts.message(QStringLiteral("VRAL"),
                    QStringLiteral("Could not export the shift data:\r\n") +
                        QDir::toNativeSeparators(*path) + QStringLiteral("\r\n\r\n") + reason,
                    Prompts::Icon::Critical, Prompts::Buttons::Ok);
    return false;
}
