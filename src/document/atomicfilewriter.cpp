#include "atomicfilewriter.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <memory>
#include <optional>

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

// A file as it was before the replacement, to be put back on a failure.
struct OldFile {
    std::optional<QByteArray> bytes; // nullopt: there was no file
    QDateTime modified;
};

std::optional<OldFile> keep(const QString& path, QString* reason) {
    QFile file(path);
    if (!file.exists())
        return OldFile{};
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return std::nullopt;
    }
    OldFile old{file.readAll(), file.fileTime(QFileDevice::FileModificationTime)};
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return std::nullopt;
    }
    return old;
}

// Puts an old file back; an empty text when it is back as it was.
QString restore(const QString& path, const OldFile& old) {
    if (!old.bytes)
        return QFile::remove(path) ? QString() : QStringLiteral("cannot be removed");
    if (QString reason = writeFileAtomically(path, *old.bytes); !reason.isEmpty())
        return reason;
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(old.modified, QFileDevice::FileModificationTime);
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

QString writeFilesAtomically(const std::vector<FileContent>& files, const CommitFile& commit) {
    std::vector<std::unique_ptr<QSaveFile>> staged;
    std::vector<OldFile> old;
    auto abandon = [&staged](const QString& path, const QString& reason) {
        for (auto& file : staged)
            file->cancelWriting(); // the temporaries go, the old files stay
        return path + QStringLiteral(": ") + reason;
    };
    for (const FileContent& content : files) {
        QString reason;
        const std::optional<OldFile> kept = keep(content.path, &reason);
        if (!kept)
            return abandon(content.path, reason);
        old.push_back(*kept);
        staged.push_back(std::make_unique<QSaveFile>(content.path));
        if (reason = stage(*staged.back(), content.bytes); !reason.isEmpty())
            return abandon(content.path, reason);
    }
    for (size_t i = 0; i < staged.size(); ++i) {
        QSaveFile& file = *staged[i];
        if (commit ? commit(file) : file.commit())
            continue;
        QString failure = files[i].path + QStringLiteral(": ") + file.errorString();
        for (size_t j = i + 1; j < staged.size(); ++j)
            staged[j]->cancelWriting();
        for (size_t j = 0; j < i; ++j)
            if (QString reason = restore(files[j].path, old[j]); !reason.isEmpty())
                failure += QStringLiteral("; ") + files[j].path +
                           QStringLiteral(" could not be put back: ") + reason;
        return failure;
    }
    return {};
}
