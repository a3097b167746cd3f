#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file next to it, which replaces the old file only after every
// byte has reached the disk. On any failure the old file stays as it was.
// Returns an empty text on success, otherwise the reason for the failure.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// Replaces several files as one: every file's bytes go to a temporary file
// first, and only when all of them have reached the disk do they replace the
// old files. A failure before that leaves every old file as it was. Returns
// an empty text on success, otherwise the path that failed and why.
struct FileContent {
    QString path;
    QByteArray bytes;
};
QString writeFilesAtomically(const std::vector<FileContent>& files);
