#pragma once

#include <QString>

// The application folder: where "Support", "Help" and the code files live.
// The program names its files with backslashes and in mixed case
// ("\Support\RSPort.cfg", "\support\FaultErrCodes.txt"); lookups here ignore
// letter case, so both spellings reach the same folder on any file system.
class AppFolder {
public:
    explicit AppFolder(const QString& root);

    QString root() const { return m_root; }

    // Resolves a path relative to the application folder, such as
    // "\Support\RSPort.cfg". Each existing component is matched without
    // regard to case; components that do not exist keep the given spelling,
    // so a folder that must be created gets the program's spelling.
    QString path(const QString& relative) const;

private:
    QString m_root;
};
