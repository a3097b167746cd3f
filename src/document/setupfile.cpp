#include "setupfile.h"

#include "atomicfilewriter.h"
#include "documentlog.h"

#include <QFile>
#include <QtEndian>

#include <optional>

namespace {

// No real set-up record comes near this size (a new one is about 2 KB); only
// this much of a file is read, so picking some huge unrelated file cannot
// exhaust memory.
constexpr qint64 kMaxRecordBytes = 16 * 1024 * 1024;
constexpr int kMaxTextLength = 0xFFFF;

class RecordWriter {
public:
    void u16(quint16 value) { put(qToLittleEndian(value)); }
    void i16(qint16 value) { put(qToLittleEndian(value)); }
    void u32(quint32 value) { put(qToLittleEndian(value)); }
    void i32(qint32 value) { put(qToLittleEndian(value)); }
    void text(const QString& value) {
        const QByteArray latin1 = value.left(kMaxTextLength).toLatin1();
        u16(quint16(latin1.size()));
        m_bytes.append(latin1);
    }
    // One-dimensional table descriptor with lower bound 0.
    void descriptor(qsizetype count) {
        u16(1);
        u32(quint32(count));
        i32(0);
    }
    template <std::size_t N> void i16Array(const std::array<qint16, N>& values) {
        for (qint16 value : values)
            i16(value);
    }
    QByteArray bytes() const { return m_bytes; }

private:
    template <typename T> void put(T littleEndian) {
        m_bytes.append(reinterpret_cast<const char*>(&littleEndian), sizeof littleEndian);
    }
    QByteArray m_bytes;
};

// Reads fields from the record; the first failure sticks and every later
// read fails too, so the caller checks once per step.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& bytes) : m_bytes(bytes) {}

    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool failed() const { return m_failed; }

    quint16 u16() { return take<quint16>(); }
    qint16 i16() { return take<qint16>(); }
    quint32 u32() { return take<quint32>(); }
    qint32 i32() { return take<qint32>(); }
    QString text() {
        const quint16 length = u16();
        if (m_failed || remaining() < length) {
            m_failed = true;
            return {};
        }
        const QString value = QString::fromLatin1(m_bytes.constData() + m_pos, length);
        m_pos += length;
        return value;
    }
    template <std::size_t N> void i16Array(std::array<qint16, N>& values) {
        for (qint16& value : values)
            value = i16();
    }

private:
    template <typename T> T take() {
        if (m_failed || remaining() < qsizetype(sizeof(T))) {
            m_failed = true;
            return 0;
        }
        const T value = qFromLittleEndian<T>(m_bytes.constData() + m_pos);
        m_pos += sizeof(T);
        return value;
    }

    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

SetupFileReadResult failure(SetupFileError error, const QString& text) {
    SetupFileReadResult result;
    result.error = error;
    result.errorText = text;
    return result;
}

SetupFileReadResult truncated() {
    return failure(SetupFileError::Truncated,
                   QStringLiteral("The file ends before the set-up record is complete."));
}

// Checks a table descriptor and returns its element count, or the failure.
// Every element takes at least bytesPerElement bytes, which bounds the count
// by what is left of the file before anything is allocated.
std::optional<SetupFileReadResult> checkDescriptor(RecordReader& reader, const QString& table,
                                                   int bytesPerElement, qsizetype& count) {
    const quint16 dimensions = reader.u16();
    const quint32 elements = reader.u32();
    const qint32 lowerBound = reader.i32();
    if (reader.failed())
        return truncated();
    if (dimensions != 1)
        return failure(SetupFileError::BadDimensionCount,
                       QStringLiteral("The %1 table has %2 dimensions instead of one.")
                           .arg(table)
                           .arg(dimensions));
    if (lowerBound != 0)
        return failure(SetupFileError::BadLowerBound,
                       QStringLiteral("The %1 table starts at index %2 instead of 0.")
                           .arg(table)
                           .arg(lowerBound));
    if (qint64(elements) * bytesPerElement > reader.remaining())
        return failure(SetupFileError::CountTooLarge,
                       QStringLiteral("The %1 table claims %2 elements, more than the file holds.")
                           .arg(table)
                           .arg(elements));
    count = qsizetype(elements);
    return std::nullopt;
}

} // namespace

QByteArray encodeSetupDocument(const SetupDocument& document) {
    RecordWriter writer;
    writer.text(document.Version);
    writer.descriptor(document.Addresses.size());
    for (const QString& address : document.Addresses)
        writer.text(address);
    writer.descriptor(document.Values.size());
    for (qint32 value : document.Values)
        writer.i32(value);
    writer.i16(document.PLSChannelCount);
    writer.i16(document.PLSScale);
    writer.i16(document.ResolverOffset);
    writer.i16(document.PLSProgram);
    writer.i16Array(document.SpeedCompensation);
    writer.i16Array(document.OnSetpoints);
    writer.i16Array(document.OffSetpoints);
    return writer.bytes();
}

SetupFileReadResult decodeSetupDocument(const QByteArray& bytes) {
    RecordReader reader(bytes);
    SetupFileReadResult result;
    SetupDocument& doc = result.document;

    doc.Version = reader.text();
    if (reader.failed())
        return truncated();

    qsizetype count = 0;
    if (auto bad = checkDescriptor(reader, QStringLiteral("address"), 2, count))
        return *bad;
    doc.Addresses.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        doc.Addresses.append(reader.text());
    if (reader.failed())
        return truncated();

    if (auto bad = checkDescriptor(reader, QStringLiteral("value"), 4, count))
        return *bad;
    doc.Values.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        doc.Values.append(reader.i32());

    doc.PLSChannelCount = reader.i16();
    doc.PLSScale = reader.i16();
    doc.ResolverOffset = reader.i16();
    doc.PLSProgram = reader.i16();
    reader.i16Array(doc.SpeedCompensation);
    reader.i16Array(doc.OnSetpoints);
    reader.i16Array(doc.OffSetpoints);
    if (reader.failed())
        return truncated();
    return result;
}

SetupFileReadResult readSetupFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(SetupFileError::CannotOpen, file.errorString());
    const QByteArray bytes = file.read(kMaxRecordBytes);
    if (file.error() != QFileDevice::NoError)
        return failure(SetupFileError::CannotOpen, file.errorString());
    const bool cutShort = file.size() > kMaxRecordBytes;
    file.close();
    SetupFileReadResult result = decodeSetupDocument(bytes);
    if (result.error == SetupFileError::Truncated && cutShort)
        result = failure(SetupFileError::TooLarge,
                         QStringLiteral("The file is far too large to be a set-up file."));
    if (!result.ok())
        qCInfo(lcDocument) << "set-up file" << path << "refused:" << result.errorText;
    return result;
}

SetupFileResult writeSetupFile(const QString& path, const SetupDocument& document) {
    SetupFileResult result;
    const QString reason = writeFileAtomically(path, encodeSetupDocument(document));
    if (!reason.isEmpty()) {
        qCInfo(lcDocument) << "set-up file" << path << "not written:" << reason;
        result.error = SetupFileError::CannotWrite;
        result.errorText = reason;
    }
    return result;
}
