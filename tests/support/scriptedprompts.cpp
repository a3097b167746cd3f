#include "scriptedprompts.h"

#include <QTest>

Prompts::Answer ScriptedPrompts::message(const QString& title, const QString& text, Icon icon,
                                         Buttons buttons, DefaultButton defaultButton) {
    Record record;
    record.kind = Kind::Message;
    record.title = title;
    record.text = text;
    record.icon = icon;
    record.buttons = buttons;
    record.defaultButton = defaultButton;
    m_records.append(record);
    if (m_duringMessage)
        m_duringMessage();
    if (!m_messageAnswers.isEmpty())
        return m_messageAnswers.takeFirst();
    if (m_defaultMessage)
        return *m_defaultMessage;
    unexpected(QStringLiteral("message box \"%1\": %2").arg(title, text));
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> ScriptedPrompts::input(const QString& title, const QString& prompt,
                                              const QString& defaultAnswer) {
    Record record;
    record.kind = Kind::Input;
    record.title = title;
    record.text = prompt;
    record.defaultAnswer = defaultAnswer;
    m_records.append(record);
    if (!m_inputAnswers.isEmpty())
        return m_inputAnswers.takeFirst();
    unexpected(QStringLiteral("input box \"%1\"").arg(title));
    return std::nullopt;
}

std::optional<QString> ScriptedPrompts::openFile(const FileDialog& dialog) {
    Record record;
    record.kind = Kind::OpenFile;
    record.fileDialog = dialog;
    m_records.append(record);
    if (!m_openAnswers.isEmpty())
        return m_openAnswers.takeFirst();
    unexpected(QStringLiteral("open dialog"));
    return std::nullopt;
}

std::optional<QString> ScriptedPrompts::saveFile(const FileDialog& dialog) {
    Record record;
    record.kind = Kind::SaveFile;
    record.fileDialog = dialog;
    m_records.append(record);
    if (!m_saveAnswers.isEmpty())
        return m_saveAnswers.takeFirst();
    unexpected(QStringLiteral("save dialog"));
    return std::nullopt;
}

std::optional<Prompts::PrintDialog> ScriptedPrompts::printSetup(const PrintDialog& proposed) {
    Record record;
    record.kind = Kind::PrintSetup;
    record.printDialog = proposed;
    m_records.append(record);
    if (!m_printAnswers.isEmpty())
        return m_printAnswers.takeFirst();
    unexpected(QStringLiteral("print dialog"));
    return std::nullopt;
}

QList<ScriptedPrompts::Record> ScriptedPrompts::messages() const {
    QList<Record> result;
    for (const Record& record : m_records)
        if (record.kind == Kind::Message)
            result.append(record);
    return result;
}

void ScriptedPrompts::clear() {
    m_records.clear();
    m_messageAnswers.clear();
    m_inputAnswers.clear();
    m_openAnswers.clear();
    m_saveAnswers.clear();
    m_printAnswers.clear();
}

bool ScriptedPrompts::scriptUsedUp() const {
    return m_messageAnswers.isEmpty() && m_inputAnswers.isEmpty() && m_openAnswers.isEmpty() &&
           m_saveAnswers.isEmpty() && m_printAnswers.isEmpty();
}

void ScriptedPrompts::unexpected(const QString& what) {
    // Recorded as a failure of the running test; the caller still gets an answer.
    QTest::qFail(qPrintable(QStringLiteral("unscripted ") + what), __FILE__, __LINE__);
}
