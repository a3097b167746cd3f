#pragma once

#include <QObject>

class RSComm;
class SerialPort;

// The application's online state: whether the port MSComm1 is handed to the
// link. Every change of it (the View menu, the MODE panel, a Yes to go
// online before a command, the target board page, a page meeting a link
// failure, the end of a program transfer) goes through here; the main
// window listens to changed() to bring its status bar and menus in line.
class OnlineSession : public QObject {
    Q_OBJECT
public:
    OnlineSession(RSComm& link, SerialPort& MSComm1, QObject* parent = nullptr);

    // The link is up: online and no link failure latched.
    bool linkUp() const;

    void goOnline();
    void goOffline();
    // Forgets a latched link failure first, then goes online (unless online already).
    void goOnlineAfresh();
    // The first thing every page refresh step does: a link failure latched
    // in CommError takes the link offline and closes its port, once per
    // failure rather than on every step while the latch stays set.
    void takeOfflineAfterFailure();

    // Opens or closes the port as the link's OnlineMode says (the state a
    // program transfer leaves behind), falling back to offline when a link
    // failure is latched.
    void ApplyOnlineMode();

signals:
    // The online state may have changed: OnlineMode tells which it is now.
    void changed();

private:
    RSComm& m_link;
    SerialPort& m_MSComm1;
    bool m_failureTaken = false;
};
