#include "codefile.h"

#include "prompts.h"

#include <QFile>

namespace {

// Splits one line into fields as a comma-delimited reader does: unquoted
// fields lose surrounding blanks, quoted ones keep everything between the
// quotes. nullopt when the line is not well formed.
std::optional<QStringList> splitFields(const QString& line) {
    QStringList fields;
    qsizetype at = 0;
    const qsizetype size = line.size();
    while (true) {
        while (at < size && (line[at] == u' ' || line[at] == u'\t'))
            ++at;
        QString field;
        if (at < size && line[at] == u'"') {
            const qsizetype close = line.indexOf(u'"', at + 1);
            if (close < 0)
                return std::nullopt;
            field = line.mid(at + 1, close - at - 1);
            at = close + 1;
            while (at < size && (line[at] == u' ' || line[at] == u'\t'))
                ++at;
            if (at < size && line[at] != u',')
                return std::nullopt;
        } else {
            const qsizetype comma = line.indexOf(u',', at);
            const qsizetype end = comma < 0 ? size : comma;
            field = line.mid(at, end - at).trimmed();
            at = end;
        }
        fields.append(field);
        if (at >= size)
            return fields;
        ++at; // the comma
    }
}

} // namespace

QString codeFileErrorDescription(int badLine) {
    return QStringLiteral("Line %1 of the code file is not a record of a code and its text.")
        .arg(badLine);
}

CodeFile parseCodeFile(const QByteArray& bytes) {
    CodeFile file;
    const QStringList lines = QString::fromLatin1(bytes).split(u'\n');
    int number = 0;
    for (QString line : lines) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const auto fields = splitFields(line);
        if (!fields || fields->size() != 2) {
            file.badLine = number;
            return file;
        }
        file.records.append({fields->at(0), fields->at(1)});
    }
    return file;
}

QString codeKey(int code) {
    QString key = QString::number(code, 16).toUpper();
    if (key.size() < 2)
        key.prepend(u'0');
    return key;
}

std::optional<QString> findCode(const CodeFile& file, const QString& key, CodeMatch which) {
    std::optional<QString> found;
    for (const CodeRecord& record : file.records) {
        if (record.key.compare(key, Qt::CaseInsensitive) != 0)
            continue;
        found = record.text;
        if (which == CodeMatch::First)
            break;
    }
    return found;
}

CodeLookup lookupCodeFile(const QString& path, int code, CodeMatch which, Prompts& prompts,
                          const QString& errorTitle) {
    CodeLookup lookup;
    QFile file(path);
    if (!file.exists())
        return lookup;
    lookup.fileFound = true;
    auto showError = [&](int number, const QString& description) {
        prompts.message(errorTitle,
                        QStringLiteral("Error Number = %1\r\n\r\n%2").arg(number).arg(description),
                        Prompts::Icon::Information, Prompts::Buttons::Ok);
    };
    if (!file.open(QIODevice::ReadOnly)) {
        showError(kCodeFileErrorNumber + 1, file.errorString());
        return lookup;
    }
    const CodeFile parsed = parseCodeFile(file.readAll());
    const auto text = findCode(parsed, codeKey(code), which);
    if (text)
        lookup.text = *text;
    // The first match stands even if a later line is broken; a last match
    // cannot be known past a broken line.
    if (parsed.badLine != 0 && (!text || which == CodeMatch::Last))
        showError(kCodeFileErrorNumber, codeFileErrorDescription(parsed.badLine));
    return lookup;
}
