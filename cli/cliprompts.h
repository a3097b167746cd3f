#pragma once

#include "prompts.h"

#include <QTextStream>

// Prompts for the command line: every box is printed on standard error as
// one line "TITLE: TEXT" (line breaks become single spaces) and answered by
// rule: Retry as many times as --retry allows, then Cancel; No to
// questions (Yes to those with the question icon once a command's --yes
// has confirmed them); OK to notices. Dialogs are cancelled. No one
// presses Enter here, so a box's default button changes nothing: a
// question is answered No unless --yes confirmed it.
class CliPrompts : public Prompts {
public:
    explicit CliPrompts(int retries);

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton defaultButton = DefaultButton::First) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<PrintDialog> printSetup(const PrintDialog& proposed) override;

    // A command run with --yes: its confirmations (Yes/No boxes with the
    // question icon) are answered Yes. Warnings are still answered No.
    void confirmQuestions(bool yes) { m_confirmQuestions = yes; }

    // True once an "ENTRY ALERT" box was shown (the write was refused).
    bool entryAlertShown() const { return m_entryAlert; }
    // How many boxes were shown so far, and how many of them were notices
    // with an exclamation icon: the link's own checks refuse a command with
    // such a box before it sends the command.
    int messagesShown() const { return m_messages; }
    int exclamationsShown() const { return m_exclamations; }

    // "a\r\nb\rc" -> "a b c": one line per box.
    static QString oneLine(const QString& text);

private:
    void startLine();

    int m_retriesLeft;
    bool m_entryAlert = false;
    int m_messages = 0;
    int m_exclamations = 0;
    bool m_confirmQuestions = false;
    QTextStream m_err;
};
