#pragma once

#include "prompts.h"

// A benchmark runs against a healthy simulated board: any box means the run
// went wrong. Each one is printed on stderr and counted; questions are
// answered Cancel (or No) so a failing link gives up instead of waiting.
class BenchPrompts : public Prompts {
public:
    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton defaultButton = DefaultButton::First) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<PrintDialog> printSetup(const PrintDialog& proposed) override;

    int boxesShown() const { return m_boxes; }

private:
    int m_boxes = 0;
};
