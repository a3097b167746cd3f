#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes, all or nothing: the bytes go to a
// temporary file next to it, which replaces the old file only after every
// byte has reached the disk. On any failure the old file stays as it was.
// Returns an empty text on success, otherwise the reason for the failure.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);
