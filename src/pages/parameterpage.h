#pragma once

#include <QWidget>

class EntryGroup;
class QLabel;
class QPushButton;
class StepDriver;
struct PageServices;

// The frame every page of the main window stands on. It owns the page's
// refresh cycle (one step per tick on the step driver: one board read
// online, one document pass offline), the hidden default button cmdDefault
// and the page's entry fields with their shared Escape-pending flag.
//
// Each step first takes the application offline if a link failure is
// latched, then applies the online or the offline appearance once per
// change of the link state (and again when the page asks for it), then runs
// the page's board step or document step. Closing the page stops the cycle
// and drops any edit in progress.
//
// While a long command holds the cycle (a transfer in its modal window), the
// page shows the notice it was given in a banner at its top and greys all
// it shows, so that no value looks live; it comes back when the cycle runs
// again.
class ParameterPage : public QWidget {
    Q_OBJECT

public:
    ~ParameterPage() override;

    // One refresh step, as the cycle runs it.
    void refreshStep();
    StepDriver& refreshCycle() const { return *m_cycle; }

protected:
    ParameterPage(PageServices& services, const QString& windowName, const QString& caption,
                  QWidget* parent);

    // Called at the end of the page's constructor, once its controls exist:
    // applies the appearance for the link state and starts the cycle.
    void startRefresh();

    virtual void applyOnlineAppearance() = 0;
    virtual void applyOfflineAppearance() = 0;
    // One step online: at most one board exchange.
    virtual void boardStep() = 0;
    // One step offline.
    virtual void documentStep() {}
    // Asked before each offline step: true when something the page shows
    // offline has been replaced (a document opened) and the offline
    // appearance must be applied again. Changes of OfflineEditing are
    // followed here already.
    virtual bool offlineAppearanceStale() { return false; }

    // The next step applies the online appearance again.
    void reapplyOnlineAppearance() { m_onlineApplied = false; }

    PageServices& services() const { return m_services; }
    EntryGroup& entries() const { return *m_entries; }
    QPushButton* defaultButton() const { return m_cmdDefault; }

private:
    void applyAppearance(bool online);
    void showHeld(const QString& notice);
    void showLive();

    PageServices& m_services;
    QPushButton* m_cmdDefault;
    QLabel* m_pausedBanner = nullptr;
    EntryGroup* m_entries;
    StepDriver* m_cycle;
    bool m_onlineApplied = false;
    bool m_offlineApplied = false;
    bool m_lastOfflineEditing = false;
};
