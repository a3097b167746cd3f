#pragma once

#include "prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Prompts for tests: every prompt is recorded, and answers are taken in
// order from the script. A prompt with nothing scripted for it fails the
// running test (QFAIL-like) and answers with the safest choice (Cancel, or
// Ok for an OK-only box), so an unexpected box never hangs a test.
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, PrintSetup };

    struct Record {
        Kind kind = Kind::Message;
        QString title; // message / input title
        QString text;  // message text / input prompt
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        DefaultButton defaultButton = DefaultButton::First;
        QString defaultAnswer;   // input box
        FileDialog fileDialog;   // file dialogs
        PrintDialog printDialog; // print set-up dialog: what it proposed
    };

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton defaultButton = DefaultButton::First) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<PrintDialog> printSetup(const PrintDialog& proposed) override;

    // Script: answers are consumed in order, per kind.
    void answerMessage(Answer answer) { m_messageAnswers.append(answer); }
    void answerInput(std::optional<QString> answer) { m_inputAnswers.append(answer); }
    void answerOpenFile(std::optional<QString> path) { m_openAnswers.append(path); }
    void answerSaveFile(std::optional<QString> path) { m_saveAnswers.append(path); }
    void answerPrintSetup(std::optional<PrintDialog> choice) { m_printAnswers.append(choice); }
    // Answers every unscripted message box with this (instead of failing).
    void setDefaultMessageAnswer(std::optional<Answer> answer) { m_defaultMessage = answer; }
    // Runs inside each message box, as the nested event loop of a real one would.
    void setDuringMessage(std::function<void()> hook) { m_duringMessage = std::move(hook); }

    const QList<Record>& records() const { return m_records; }
    QList<Record> messages() const;
    int messageCount() const { return messages().size(); }
    void clear();
    // True when every scripted answer was used.
    bool scriptUsedUp() const;

private:
    void unexpected(const QString& what);

    QList<Record> m_records;
    QList<Answer> m_messageAnswers;
    QList<std::optional<QString>> m_inputAnswers;
    QList<std::optional<QString>> m_openAnswers;
    QList<std::optional<QString>> m_saveAnswers;
    QList<std::optional<PrintDialog>> m_printAnswers;
    std::optional<Answer> m_defaultMessage;
    std::function<void()> m_duringMessage;
};
