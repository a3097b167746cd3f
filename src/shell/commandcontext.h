#pragma once

class AppFolder;
class Clock;
class OnlineSession;
class Prompts;
class QWidget;
class RSComm;
class StepDriver;
struct AppState;

// What the main window's command objects work with. The main window builds
// one for the whole run; the commands keep a reference.
struct CommandContext {
    AppState& state;
    RSComm& link;
    Prompts& prompts;
    Clock& clock;
    const AppFolder& folder;
    // Going online and offline (MSComm1 is handed to the link when online).
    OnlineSession& online;
    // The status poll: stopped while a command must have the line to itself.
    StepDriver& statusPoll;
    // Parent of the command's progress and wait windows.
    QWidget* window;
};

// Before a command that needs the board: while offline, asks whether to go
// online and, on Yes, goes online as View > "O&nline Data" does. False when
// the user answered No; true otherwise, whether or not the line came up
// (the command then reports a line that is not there).
bool offerToGoOnline(CommandContext& context);
