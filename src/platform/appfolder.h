#pragma once

#include <QString>

// The application folder: where "Support", "Help" and the code files live.
// The program names its files with backslashes and in mixed case
// ("\Support\RSPort.cfg", "\support\FaultErrCodes.txt"); lookups here ignore
// letter case, so both spellings reach the same folder on any file system.
//
// Run from the build folder, or given a folder with --home or VRAL_HOME, it
// is one folder that the program reads and writes. Installed (the program in
// PREFIX/bin beside PREFIX/share/vral) it is two: the shipped data, which the
// program only reads, and the user's own configuration folder, which takes
// every file the program writes; nothing is written under the prefix.
class AppFolder {
public:
    // One folder for everything.
    explicit AppFolder(const QString& root);
    // Read-only shipped data under dataRoot, the user's files under userRoot.
    AppFolder(const QString& dataRoot, const QString& userRoot);

    // The folder a program runs with: homeOption (its --home) when given,
    // else VRAL_HOME, else the installed layout when programFolder is
    // PREFIX/bin beside PREFIX/share/vral, else programFolder itself.
    static AppFolder locate(const QString& homeOption, const QString& programFolder);

    // The user's side: where the program writes, and where its file dialogs
    // start.
    QString root() const { return m_userRoot; }

    // Resolves a path relative to the application folder, such as
    // "\Help\index.html", for a file the program only reads.
    QString dataPath(const QString& relative) const;
    // The same for a file the program writes, such as "\Support\RSPort.cfg".
    // When the user has no such file yet and a shipped one exists, the
    // shipped one is copied there first, so the user starts from the defaults.
    QString userPath(const QString& relative) const;

private:
    // Each existing component is matched without regard to case; components
    // that do not exist keep the given spelling, so a folder that must be
    // created gets the program's spelling.
    static QString resolve(const QString& root, const QString& relative);

    QString m_dataRoot;
    QString m_userRoot;
};
