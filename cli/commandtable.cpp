#include "commandtable.h"

#include "boardcommands.h"
#include "doccommands.h"
#include "reportcommands.h"
#include "linkcommands.h"
#include "programcommands.h"
#include "watchcommands.h"

const std::vector<CliCommand>& cliCommands() {
    static const std::vector<CliCommand> commands = {
        {"read", "read ADDR...                 print each location's value, one per line", runRead},
        {"write", "write ADDR VALUE             write a value to a location", runWrite},
        {"watch",
         "watch ADDR... [--interval MS] [--count N]\n"
         "                             read the locations every MS ms (1000), one line per\n"
         "                             pass: the time, then the values; Ctrl+C ends it",
         runWatch},
        {"doc",
         "doc new FILE                 write a new default set-up file\n"
         "doc show FILE                print a set-up file as JSON\n"
         "doc export-shift FILE OUT    export FILE's shift data to OUT",
         runDoc},
        {"board",
         "board                        print faults, comm errors, firmware and program ident\n"
         "board reset-faults [--yes]   clear the board's fault and comm-error codes\n"
         "board set-clock [--yes]      set the board's clock and date to this computer's",
         runBoard},
        {"program",
         "program check FILE.wdx       print the program file set as a download sees it\n"
         "program download FILE.wdx [--yes]\n"
         "                             replace the board's program with the set's image\n"
         "program upload FILE.wdx      read the board's program back into FILE's set",
         runProgram},
        {"report", "report FILE OUT.pdf [--page-size A4|Letter]  write FILE's report as a PDF",
         runReport},
    };
    return commands;
}
