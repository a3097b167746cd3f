#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class StepDriver;
struct CommandContext;

// While a long transfer runs in its modal window, the refresh cycles of the
// pages behind it are held still: each of their reads between two transfer
// steps would only slow the transfer down (an upload is one board exchange
// per step, and so is a page's pass). A program transfer holds the status
// poll as well: no read may fall between two records or in program mode.
//
// Whatever is held says so, the same way for every command: each page shows
// "Paused since 14:02:31 " + why above its greyed values, and the status bar
// shows it instead of an alarm state nobody is reading. Constructing holds
// every running cycle under the command window; destroying starts those
// same cycles again (the status poll first), those whose page has not
// closed meanwhile.
class PausedPageCycles {
public:
    enum class StatusPoll { Runs, Held };

    // why: "while the program is downloaded", "while data is uploaded", ...
    PausedPageCycles(CommandContext& context, const QString& why, StatusPoll poll);
    ~PausedPageCycles();
    PausedPageCycles(const PausedPageCycles&) = delete;
    PausedPageCycles& operator=(const PausedPageCycles&) = delete;

private:
    QList<QPointer<StepDriver>> m_held;
};
