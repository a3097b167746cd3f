#pragma once

// The link's public state flags, under the names the whole program uses.
struct LinkFlags {
    // The link is up. Set by OpenRSComm, cleared by CloseRSComm and when the
    // user cancels a failed mode handshake.
    bool OnlineMode = false;
    // A link failure is latched: every byte exchange fails at once until
    // OpenRSComm clears it.
    bool CommError = false;
    // The most recent byte exchange ran into its time-out.
    bool CommErrorAlert = false;

    // The link is up and sound: online, with no failure latched.
    bool linkUp() const { return OnlineMode && !CommError; }
};
