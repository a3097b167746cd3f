#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QSaveFile;

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file next to it, which replaces the old file only after every
// byte has reached the disk. On any failure the old file stays as it was.
// Returns an empty text on success, otherwise the reason for the failure.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// Replaces several files as one, all or none: every file's bytes go to a
// temporary file first; only when all of them have reached the disk do they
// replace the old files, one after another. When one of those replacements
// fails, the files already replaced get their old bytes (and modification
// time) back, and a file that was not there before goes again. Returns an
// empty text on success, otherwise the path that failed and why.
struct FileContent {
    QString path;
    QByteArray bytes;
};
// Puts one written temporary in place of its file (QSaveFile::commit());
// tests hand in one that fails.
using CommitFile = std::function<bool(QSaveFile& file)>;
QString writeFilesAtomically(const std::vector<FileContent>& files, const CommitFile& commit = {});
