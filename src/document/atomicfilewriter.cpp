#include "atomicfilewriter.h"

#include <QSaveFile>

#include <memory>

namespace {

// Writes bytes into the save file's temporary; an empty text when every byte
// got there. QSaveFile::commit() flushes its buffer itself but can report
// success when that last flush failed (a full disk, a file-size limit), which
// would leave a truncated file in place of the old one. So every byte is
// pushed out and checked here, before commit() is allowed to run.
QString stage(QSaveFile& file, const QByteArray& bytes) {
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    return {};
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (QString reason = stage(file, bytes); !reason.isEmpty())
        return reason;
    if (!file.commit())
        return file.errorString();
    return {};
}

QString writeFilesAtomically(const std::vector<FileContent>& files) {
    std::vector<std::unique_ptr<QSaveFile>> staged;
    for (const FileContent& content : files) {
        staged.push_back(std::make_unique<QSaveFile>(content.path));
        if (QString reason = stage(*staged.back(), content.bytes); !reason.isEmpty()) {
            for (auto& file : staged)
                file->cancelWriting(); // the temporaries go, the old files stay
            return content.path + QStringLiteral(": ") + reason;
        }
    }
    for (size_t i = 0; i < staged.size(); ++i)
        if (!staged[i]->commit())
            return files[i].path + QStringLiteral(": ") + staged[i]->errorString();
    return {};
}
