#include "parameterpage.h"

#include "appstate.h"
#include "entryfield.h"
#include "onlinesession.h"
#include "pageservices.h"
#include "rscomm.h"
#include "stepdriver.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

ParameterPage::ParameterPage(PageServices& services, const QString& windowName,
                             const QString& caption, QWidget* parent)
    : QWidget(parent), m_services(services), m_cmdDefault(createDefaultButton(this)),
      m_entries(new EntryGroup(services.link, services.prompts, m_cmdDefault, this)),
      m_cycle(new StepDriver(
          services.link, [this] { refreshStep(); }, StepDriver::followLink(services.link), this)) {
    setObjectName(windowName);
    setWindowTitle(caption);
    m_cycle->timer()->setObjectName(QStringLiteral("tmrRefresh"));
    connect(m_cycle, &StepDriver::held, this, &ParameterPage::showHeld);
    connect(m_cycle, &StepDriver::resumed, this, &ParameterPage::showLive);
}

ParameterPage::~ParameterPage() {
    m_cycle->stop();
    m_entries->close();
}

void ParameterPage::startRefresh() {
    m_lastOfflineEditing = m_services.state.OfflineEditing;
    applyAppearance(m_services.link.OnlineMode);
    m_cycle->start();
}

void ParameterPage::applyAppearance(bool online) {
    // Edits in progress belong to the look being left.
    m_entries->clearEditing();
    m_entries->forgetEscape();
    m_onlineApplied = online;
    m_offlineApplied = !online;
    if (online)
        applyOnlineAppearance();
    else
        applyOfflineAppearance();
}

void ParameterPage::showHeld(const QString& notice) {
    if (!m_pausedBanner) {
        m_pausedBanner = new QLabel(this);
        m_pausedBanner->setObjectName(QStringLiteral("lblPaused"));
        // Its colours hold while the page around it is greyed.
        m_pausedBanner->setStyleSheet(QStringLiteral("QLabel { background: #fff2b3; color: black; "
                                                     "border: 1px solid #b08800; padding: 3px; }"));
        if (auto* box = qobject_cast<QBoxLayout*>(layout()))
            box->insertWidget(0, m_pausedBanner);
    }
    m_pausedBanner->setText(notice);
    m_pausedBanner->show();
    // An edit in progress belongs to the live page.
    m_entries->clearEditing();
    setEnabled(false);
}

void ParameterPage::showLive() {
    if (m_pausedBanner)
        m_pausedBanner->hide();
    setEnabled(true);
}

void ParameterPage::refreshStep() {
    RSComm& link = m_services.link;
    m_services.online.takeOfflineAfterFailure();
    if (link.OnlineMode) {
        if (!m_onlineApplied)
            applyAppearance(true);
        m_offlineApplied = false;
        boardStep();
        return;
    }
    const bool offlineEditing = m_services.state.OfflineEditing;
    if (offlineEditing != m_lastOfflineEditing) {
        m_lastOfflineEditing = offlineEditing;
        m_offlineApplied = false;
    }
    if (offlineAppearanceStale())
        m_offlineApplied = false;
    if (!m_offlineApplied)
        applyAppearance(false);
    m_onlineApplied = false;
    documentStep();
}
