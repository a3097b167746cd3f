#include "benchprompts.h"

#include <cstdio>

Prompts::Answer BenchPrompts::message(const QString& title, const QString& text, Icon,
                                      Buttons buttons, DefaultButton) {
    ++m_boxes;
    std::fprintf(stderr, "unexpected box: %s: %s\n", qPrintable(title), qPrintable(text));
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<QString> BenchPrompts::input(const QString& title, const QString&, const QString&) {
    message(title, QString(), Icon::None, Buttons::OkCancel);
    return std::nullopt;
}

std::optional<QString> BenchPrompts::openFile(const FileDialog&) {
    message(QStringLiteral("Open file dialog"), QString(), Icon::None, Buttons::OkCancel);
    return std::nullopt;
}

std::optional<QString> BenchPrompts::saveFile(const FileDialog&) {
    message(QStringLiteral("Save file dialog"), QString(), Icon::None, Buttons::OkCancel);
    return std::nullopt;
}

std::optional<Prompts::PrintDialog> BenchPrompts::printSetup(const PrintDialog&) {
    message(QStringLiteral("Print dialog"), QString(), Icon::None, Buttons::OkCancel);
    return std::nullopt;
}
