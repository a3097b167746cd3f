#include "programfileset.h"

#include "boardtypes.h"
#include "filesetpaths.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kDownloadFileTitle = QStringLiteral("RSComm-Download File");
const QString kUploadFileTitle = QStringLiteral("RSComm UploadFile");
const QString kIdentTitle = QStringLiteral("RSComm-Set Program Ident");
const QString kConfigTitle = QStringLiteral("RSComm-Set Program Config");
const QString kProgramDownloadTitle = QStringLiteral("Program Download");
const QString kHaltedBang = QStringLiteral("\r\n\r\nProgram Downloaded Halted!");

} // namespace

std::optional<QByteArray> ProgramFileSet::readFile(const QString& path, const QString& title,
                                                   Prompts::Icon icon) {
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        showError(FileError{FileErrors::kUnreadable,
                            QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString())},
                  title, icon);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showError(FileError{FileErrors::kUnreadable,
                            QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString())},
                  title, icon);
        return std::nullopt;
    }
    return bytes;
}

void ProgramFileSet::showError(const FileError& error, const QString& title, Prompts::Icon icon) {
    m_prompts.message(
        title,
        QStringLiteral("Error Number = %1\r\n\r\n%2").arg(error.number).arg(error.description),
        icon, Prompts::Buttons::Ok);
}

bool ProgramFileSet::select(const QString& path, const QString& errorTitle) {
    // No code survives a failed selection: an upload started after it must
    // not read into the previous set's files.
    BoardCode = 0;
    BoardName.clear();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    // The program file is the one picked, spelled as it is; its companions
    // are found without regard to letter case ("UP.WDX" with "UP.REV"), so an
    // upload rewrites them rather than putting new ones beside them.
    ProgramPath = QFileInfo(path).absoluteFilePath();
    RevisionPath = companionPath(path, QStringLiteral("rev"));
    ImagePath = companionPath(path, QStringLiteral("hex"));
    ConfigPath = companionPath(path, QStringLiteral("lcf"));
    const std::optional<QByteArray> bytes =
        readFile(ProgramPath, errorTitle, Prompts::Icon::Information);
    if (!bytes)
        return false;
    const std::optional<int> code = programBoardCode(*bytes);
    if (!code)
        return false;
    BoardCode = *code;
    BoardName = targetBoardName(BoardCode);
    return true;
}

void ProgramFileSet::DownloadFile(const QString& path) {
    m_valid = false;
    if (!select(path, kDownloadFileTitle))
        return;
    const QString baseName = QFileInfo(ProgramPath).completeBaseName();
    switch (boardClassOf(BoardCode)) {
    case BoardClass::Pls:
        m_prompts.message(QStringLiteral("PLS Program Download"),
                          baseName +
                              QStringLiteral(" file is a PLS target board program.\r\n"
                                             "Open PLS program to download to target board.\r\n"
                                             "\r\nProgram Downloaded Halted."),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
        return;
    case BoardClass::Incompatible:
        m_prompts.message(kProgramDownloadTitle,
                          baseName + QStringLiteral(" file is incompatible with target board.") +
                              kHaltedBang,
                          Prompts::Icon::Critical, Prompts::Buttons::Ok);
        return;
    case BoardClass::Plain:
    case BoardClass::Configured:
        break;
    }
    const bool identRead = LoadProgramIdent(RevisionPath);
    if (!identRead)
        m_prompts.message(kProgramDownloadTitle,
                          RevisionPath + QStringLiteral(" Revision File is Not Valid") +
                              kHaltedBang,
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    bool configRead = true;
    if (boardClassOf(BoardCode) == BoardClass::Configured) {
        configRead = LoadProgramConfig(ConfigPath);
        if (!configRead)
            m_prompts.message(kProgramDownloadTitle,
                              ConfigPath + QStringLiteral(" Configuration File is Not Valid") +
                                  kHaltedBang,
                              Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    }
    m_valid = identRead && configRead;
}

void ProgramFileSet::UploadFile(const QString& path) {
    select(path, kUploadFileTitle);
}

bool ProgramFileSet::LoadProgramIdent(const QString& path) {
    IdentOnDisk = RevisionOnDisk = ChecksumOnDisk = QStringLiteral("Unknown");
    const std::optional<QByteArray> bytes = readFile(path, kIdentTitle, Prompts::Icon::Critical);
    if (!bytes)
        return false;
    const RevisionRead read = parseRevisionFile(*bytes);
    if (read.error)
        showError(*read.error, kIdentTitle, Prompts::Icon::Critical);
    if (!read.ident)
        return false;
    IdentOnDisk = read.ident->ident;
    RevisionOnDisk = QString::number(read.ident->revision);
    ChecksumOnDisk = QString::number(read.ident->checksum);
    return true;
}

bool ProgramFileSet::LoadProgramConfig(const QString& path) {
    config = ProgramConfig{};
    const std::optional<QByteArray> bytes = readFile(path, kConfigTitle, Prompts::Icon::Critical);
    if (!bytes)
        return false;
    const ConfigRead read = parseConfigFile(*bytes);
    if (read.error)
        showError(*read.error, kConfigTitle, Prompts::Icon::Critical);
    if (!read.config)
        return false;
    config = *read.config;
    return true;
}
