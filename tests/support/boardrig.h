#pragma once

#include "appfolder.h"
#include "boardsim.h"
#include "manualclock.h"
#include "rscomm.h"
#include "scriptedprompts.h"
#include "simulatedport.h"

#include <QTemporaryDir>

// The link wired to the in-process simulated board, with scripted prompts
// and an application folder of its own; on a manual clock (BoardRig) unless
// a test needs real time. The link, page and main-window tests build their
// rigs on it; they link vral_link and vral_simcore themselves.
template <class ClockType> struct BasicBoardRig {
    ClockType clock;
    BoardSim board{clock};
    SimulatedPort port{board, clock};
    ScriptedPrompts prompts;
    QTemporaryDir home;
    AppFolder folder{home.path()};
    RSComm link{clock, prompts, folder};
};

using BoardRig = BasicBoardRig<ManualClock>;
