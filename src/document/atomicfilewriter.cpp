#include "atomicfilewriter.h"

#include <QSaveFile>

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();

    // QSaveFile::commit() flushes its buffer itself but can report success
    // when that last flush failed (a full disk, a file-size limit), which
    // would leave a truncated file in place of the old one. So every byte is
    // pushed out and checked here, before commit() is allowed to run.
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
