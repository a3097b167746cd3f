#include "cliprompts.h"

#include "progressline.h"

#include <QRegularExpression>

#include <cstdio>

CliPrompts::CliPrompts(int retries) : m_retriesLeft(retries), m_err(stderr) {}

void CliPrompts::startLine() {
    // A progress line may stand on the terminal: the message replaces it.
    if (ProgressLine::wanted())
        m_err << "\r\x1b[K";
}

QString CliPrompts::oneLine(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("(\\r\\n|\\r|\\n)+"));
    return QString(text).replace(breaks, QStringLiteral(" ")).trimmed();
}

Prompts::Answer CliPrompts::message(const QString& title, const QString& text, Icon icon,
                                    Buttons buttons, DefaultButton) {
    startLine();
    ++m_messages;
    if (icon == Icon::Exclamation && buttons == Buttons::Ok)
        ++m_exclamations;
    m_err << title << ": " << oneLine(text) << Qt::endl;
    if (title == QLatin1String("ENTRY ALERT"))
        m_entryAlert = true;
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::RetryCancel:
        if (m_retriesLeft > 0) {
            --m_retriesLeft;
            return Answer::Retry;
        }
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        if (m_confirmQuestions && icon == Icon::Question)
            return Answer::Yes;
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    case Buttons::OkCancel:
        break;
    }
    return Answer::Cancel;
}

std::optional<QString> CliPrompts::input(const QString& title, const QString& prompt,
                                         const QString&) {
    startLine();
    m_err << title << ": " << oneLine(prompt) << Qt::endl;
    return std::nullopt;
}

std::optional<QString> CliPrompts::openFile(const FileDialog&) {
    return std::nullopt;
}

std::optional<QString> CliPrompts::saveFile(const FileDialog&) {
    return std::nullopt;
}

std::optional<Prompts::PrintDialog> CliPrompts::printSetup(const PrintDialog&) {
    return std::nullopt;
}
