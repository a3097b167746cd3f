#include "frmabout.h"

#include "shelllog.h"
#include "vralversion.h"
#include "windowhelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About VRAL"));
    setModal(false);

    auto* product = new QLabel(QStringLiteral("VRAL"), this);
    product->setObjectName(QStringLiteral("lblProductName"));
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);

    auto* description =
        new QLabel(QStringLiteral("Set-up utility for the K7600 can decorator controller"), this);
    description->setObjectName(QStringLiteral("lblDescription"));
    auto* version = new QLabel(QStringLiteral("Version ") + versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* contact =
        new QLabel(QStringLiteral("For service and support, contact the machine builder's\n"
                                  "service department and quote the version shown above."),
                   this);
    contact->setObjectName(QStringLiteral("lblContact"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setEnabled(!systemInfoTool().isEmpty());

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(description);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addWidget(contact);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::startSystemInfo);

    adjustSize();
    CenterWindow(this);
}

QString frmAbout::versionText() {
    return QStringLiteral(VRAL_VERSION_TEXT);
}

QString frmAbout::systemInfoTool() {
#ifdef Q_OS_WIN
    const QStringList candidates = {QStringLiteral("msinfo32")};
#else
    const QStringList candidates = {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"),
                                    QStringLiteral("kinfocenter"),
                                    QStringLiteral("gnome-system-monitor")};
#endif
    for (const QString& candidate : candidates) {
        const QString path = QStandardPaths::findExecutable(candidate);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void frmAbout::startSystemInfo() {
    const QString tool = systemInfoTool();
    if (!tool.isEmpty() && !QProcess::startDetached(tool, {}))
        qCWarning(lcShell) << "could not start the system information tool" << tool;
}
