#pragma once

// What pages need of the main window when a link failure forces the
// application offline (or a page brings it online): bring the port, the
// status bar and the menus in line with the link's OnlineMode.
class OnlineSwitch {
public:
    virtual ~OnlineSwitch() = default;
    virtual void ApplyOnlineMode() = 0;
};
