#include "targetboarddialog.h"

#include "appfolder.h"
#include "filesetpaths.h"
#include "rscomm.h"
#include "targetboardpage.h"
#include "windowhelpers.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<CodeFile> readCodeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseCodeFile(file.readAll());
}

// What the page shows of the program on disk. A program file that does not
// exist (a cancelled dialog with nothing chosen before) leaves it empty.
ProgramOnDisk programOnDisk(const QString& programPath) {
    ProgramOnDisk program;
    program.revDate = QStringLiteral("-");
    if (programPath.isEmpty() || !QFileInfo::exists(programPath))
        return program;
    program.boardCode = ReadBoardTypeCode(programPath);
    program.boardName = RSComm::TargetboardName(program.boardCode);
    program.ident = QStringLiteral("-");
    const QFileInfo image(ChangeExtension(programPath, QStringLiteral("hex")));
    if (image.exists())
        program.revDate = QLocale().toString(image.lastModified(), QLocale::ShortFormat);
    return program;
}

} // namespace

void ShowTargetBoardDialog(PageServices& services, const AppFolder& folder,
                           const QString& programPath, QWidget* parent) {
    TargetCodeFiles codes;
    codes.faults = readCodeFile(folder.path(QStringLiteral("\\support\\FaultErrCodes.txt")));
    codes.commErrors = readCodeFile(folder.path(QStringLiteral("\\support\\CommErrCodes.txt")));

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgTargetBoard"));
    dialog.setWindowTitle(QStringLiteral("Target Board Interface"));
    auto* page = new TargetBoardPage(services, programOnDisk(programPath), codes, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    QObject::connect(page->okButton(), &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.resize(640, 420);
    CenterWindow(&dialog);
    dialog.exec();
}
