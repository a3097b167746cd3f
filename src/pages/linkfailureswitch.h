#pragma once

class OnlineSwitch;
class RSComm;

// The first thing every page refresh step does: a link failure latched in
// CommError takes the whole application offline (port, status bar, menus),
// once per failure rather than on every step while the latch stays set.
class LinkFailureSwitch {
public:
    // True when this call switched the application offline.
    bool apply(RSComm& link, OnlineSwitch& online);

private:
    bool m_applied = false;
};
