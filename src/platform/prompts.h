#pragma once

#include <QSizeF>
#include <QString>

#include <optional>

// Everything that asks the user something goes through this interface:
// the Qt implementation shows real dialogs, tests script the answers and
// record every prompt, vralctl prints to standard error.
// Texts keep the program's own CR LF (or CR) line breaks; only the Qt
// implementation turns them into what the toolkit shows.
class Prompts {
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };
    // The button that Enter presses: the set's first (OK, Yes or Retry), or
    // No for a question whose Yes replaces what is on the board or in a
    // file, so that Enter alone never does the destructive thing.
    enum class DefaultButton { First, No };

    // Settings of a file dialog. The filter keeps the program's own form,
    // pairs of description and pattern separated by "|", for example
    // "Setup Files(*.sdt)|*.sdt|".
    struct FileDialog {
        QString title; // what the dialog is for, e.g. "Open Set-up File"
        QString filter;
        QString fileName;             // proposed full path or name; may be empty
        QString defaultSuffix;        // save dialog: added to a name typed without one
        bool mustExist = false;       // open dialog: the file must exist
        bool overwritePrompt = false; // save dialog: ask before replacing a file
    };

    // Settings of the print set-up dialog: what it proposes, and what the
    // user chose in it.
    struct PrintDialog {
        QString printerName; // empty: the system's default printer
        int copies = 1;
        QSizeF paperMillimetres; // invalid: the printer's own paper
        bool landscape = false;
        QString outputFile; // set when the user chose to print to a PDF file
    };

    virtual ~Prompts() = default;

    virtual Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons,
                           DefaultButton defaultButton = DefaultButton::First) = 0;
    // Input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt,
                                         const QString& defaultAnswer) = 0;
    // File dialogs; nullopt when cancelled, else the chosen full path.
    virtual std::optional<QString> openFile(const FileDialog& dialog) = 0;
    virtual std::optional<QString> saveFile(const FileDialog& dialog) = 0;
    // The print set-up dialog; nullopt when cancelled.
    virtual std::optional<PrintDialog> printSetup(const PrintDialog& proposed) = 0;
};
