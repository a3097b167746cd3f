#pragma once

#include "programfileformats.h"
#include "prompts.h"

#include <QString>

// The program file set chosen for a download or an upload: its four paths,
// the board type code of the program file, and what its revision and
// configuration files say. Selecting a set for a download checks it and
// tells the user why a set cannot be downloaded.
class ProgramFileSet {
public:
    explicit ProgramFileSet(Prompts& prompts) : m_prompts(prompts) {}

    // Selects the set of the program file at path for a download and checks
    // it; see valid().
    void DownloadFile(const QString& path);
    // Selects the set for an upload: paths and board code, no check.
    void UploadFile(const QString& path);

    // The last DownloadFile found a downloadable and complete set.
    bool valid() const { return m_valid; }
    void setValid(bool valid) { m_valid = valid; }

    QString ProgramPath, RevisionPath, ImagePath, ConfigPath;
    // 0 until a program file with a code has been read.
    int BoardCode = 0;
    QString BoardName;
    QString IdentOnDisk = QStringLiteral("Unknown");
    QString RevisionOnDisk = QStringLiteral("Unknown");
    QString ChecksumOnDisk = QStringLiteral("Unknown");
    ProgramConfig config;

private:
    // Paths and board code; false (with the box shown for a read failure)
    // when there is no program file or it yields no code.
    bool select(const QString& path, const QString& errorTitle);
    bool LoadProgramIdent(const QString& path);
    bool LoadProgramConfig(const QString& path);
    // The file's bytes; nullopt when it does not exist or cannot be read
    // (the second with the "Error Number = " box under title).
    std::optional<QByteArray> readFile(const QString& path, const QString& title,
                                       Prompts::Icon icon);
    void showError(const FileError& error, const QString& title, Prompts::Icon icon);

    Prompts& m_prompts;
    bool m_valid = false;
};
