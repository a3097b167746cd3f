#pragma once

#include <QStringList>

#include <vector>

class CliSession;
class QTextStream;

// One vralctl command: its name (the first word after the options), the
// usage lines shown in the help, and what runs it. run gets the words after
// the name and returns an ExitStatus, or kBadArguments when they do not fit
// the command (the usage is then printed and the status is ExitUsage).
struct CliCommand {
    static constexpr int kBadArguments = -1;

    const char* name;
    const char* usage;
    int (*run)(CliSession& session, const QStringList& args, QTextStream& out);
};

const std::vector<CliCommand>& cliCommands();
