#pragma once

#include <QString>

#include <functional>

struct AppState;
class Clock;
class OnlineSession;
class Prompts;
class QWidget;
class RSComm;

// What every page is given when the main window loads it.
struct PageServices {
    AppState& state;
    RSComm& link;
    Prompts& prompts;
    Clock& clock;
    OnlineSession& online;
    // A short note in the main window's status bar that a request reached
    // the board ("Q.C. blow-off requested (spindle 1)"); it fades by itself.
    std::function<void(const QString& text)> acknowledge;
};

// One row of the main window's page table. Pages are built when shown and
// destroyed when another page is chosen.
struct PageEntry {
    QString windowName;  // object name of the page window, e.g. "frmSetup"
    QString menuCaption; // Window-menu entry, e.g. "&2 Set-up Parameters"
    bool menuVisible = true;
    std::function<QWidget*(PageServices& services, QWidget* parent)> create;
};
