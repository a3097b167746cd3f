#include "targetboarddialog.h"

#include "appfolder.h"
#include "pageservices.h"
#include "programondisk.h"
#include "targetboardpage.h"
#include "windowhelpers.h"

#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<CodeFile> readCodeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseCodeFile(file.readAll());
}

} // namespace

void showTargetBoardDialog(PageServices& services, const AppFolder& folder,
                           const QString& programPath, QWidget* parent) {
    TargetCodeFiles codes;
    codes.faults = readCodeFile(folder.dataPath(QStringLiteral("\\support\\FaultErrCodes.txt")));
    codes.commErrors = readCodeFile(folder.dataPath(QStringLiteral("\\support\\CommErrCodes.txt")));

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgTargetBoard"));
    dialog.setWindowTitle(QStringLiteral("Target Board Interface"));
    auto* page = new TargetBoardPage(services, readProgramOnDisk(programPath, services.prompts),
                                     codes, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    QObject::connect(page->okButton(), &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.resize(640, 420);
    CenterWindow(&dialog);
    dialog.exec();
}
