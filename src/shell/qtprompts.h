#pragma once

#include "prompts.h"

class QWidget;

// Prompts shown as real Qt dialogs, parented to the main window.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                   DefaultButton defaultButton = DefaultButton::First) override;
    std::optional<QString> input(const QString& title, const QString& prompt,
                                 const QString& defaultAnswer) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<PrintDialog> printSetup(const PrintDialog& proposed) override;

    // "Setup Files(*.sdt)|*.sdt|" -> "Setup Files(*.sdt)", "Text|*.txt|" -> "Text (*.txt)":
    // one filter per pair, the pattern shown once.
    static QString qtFilter(const QString& programFilter);
    // CR LF and lone CR become the toolkit's "\n".
    static QString qtText(const QString& programText);
    // A text that lays out values with tabs ("Ident: \t\tX") as a rich-text
    // table: each line's text between runs of tabs goes into one column, so
    // the values line up whatever the font (the toolkit's tab stops are
    // wider than these labels and would leave them ragged). Empty for a
    // text without tabs.
    static QString tabColumnsHtml(const QString& programText);
    // The least width of an input box whose whole title is to be seen.
    static int inputBoxWidthFor(const QString& title, const QWidget& box);

private:
    std::optional<QString> showFileDialog(const FileDialog& dialog, bool save);

    QWidget* m_parent = nullptr;
};
