#pragma once

#include <QDialog>

// Help > About VRAL: product name, version and whom to contact, and a
// button that starts the operating system's own system-information tool
// (disabled where none is installed). Shown modeless.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "major.minor.revision" of this build.
    static QString versionText();
    // Full path of the system-information tool found on this system, or
    // empty when there is none.
    static QString systemInfoTool();

private:
    void startSystemInfo();
};
