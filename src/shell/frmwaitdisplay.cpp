#include "frmwaitdisplay.h"

#include "windowhelpers.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

frmWaitDisplay::frmWaitDisplay(int reportMode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_fraWaitDisplay(new QFrame(this)), m_lblWaitDisplay(new QLabel(m_fraWaitDisplay)) {
    setObjectName(QStringLiteral("frmWaitDisplay"));
    setWindowTitle(QStringLiteral("VRAL"));
    setModal(true);
    m_fraWaitDisplay->setObjectName(QStringLiteral("fraWaitDisplay"));
    m_fraWaitDisplay->setFrameShape(QFrame::Box);
    m_lblWaitDisplay->setObjectName(QStringLiteral("lblWaitDisplay"));
    m_lblWaitDisplay->setText(reportMode == 1
                                  ? QStringLiteral("Generating Report, Please Standby ...")
                                  : QStringLiteral("Please Standby ..."));
    m_lblWaitDisplay->setAlignment(Qt::AlignCenter);
    auto* inner = new QVBoxLayout(m_fraWaitDisplay);
    inner->setContentsMargins(24, 16, 24, 16);
    inner->addWidget(m_lblWaitDisplay);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_fraWaitDisplay);
}

void frmWaitDisplay::showCentred() {
    adjustSize();
    CenterWindow(this);
    show();
}
