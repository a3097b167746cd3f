#pragma once

#include "appfolder.h"
#include "boardsim.h"
#include "manualclock.h"
#include "rscomm.h"
#include "scriptedprompts.h"
#include "simulatedport.h"

#include <QTemporaryDir>

// The link wired to the in-process simulated board, on a manual clock, with
// scripted prompts and an application folder of its own. The link, page and
// main-window tests build their rigs on it; they link vral_link and
// vral_simcore themselves.
struct BoardRig {
    ManualClock clock;
    BoardSim board{clock};
    SimulatedPort port{board, clock};
    ScriptedPrompts prompts;
    QTemporaryDir home;
    AppFolder folder{home.path()};
    RSComm link{clock, prompts, folder};
};
