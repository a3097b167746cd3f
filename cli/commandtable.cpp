#include "commandtable.h"

#include "alarmcommands.h"
#include "boardcommands.h"
#include "cliprogramcommands.h"
#include "clireportcommands.h"
#include "diffcommand.h"
#include "doccommands.h"
#include "linkcommands.h"
#include "plscommands.h"
#include "transfercommands.h"
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
        {"alarms",
         "alarms [--count N]           poll the alarm word as vral does and print each\n"
         "                             change: the time, raised or cleared, the alarm",
         runAlarms},
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
        {"pls",
         "pls show                     print the PLS's scale, offset, position and rpm\n"
         "pls set CH ON OFF            program channel CH (0-15) with one ON and OFF setpoint\n"
         "pls pulse CH ON OFF START    program channel CH as a pulse train from START\n"
         "pls clear CH                 clear channel CH\n"
         "pls recall CH                print channel CH's recall: \"state S position P\"\n"
         "pls offset POSITION          set the offset so that the resolver reads POSITION\n"
         "pls config                   print the PLS's 19 configuration values",
         runPls},
        {"upload",
         "upload setup|timing|shift|all FILE\n"
         "                             read the board into set-up file FILE (a new one when\n"
         "                             it does not exist); FILE is saved only on success",
         runUpload},
        {"download",
         "download setup|timing|shift|all FILE\n"
         "                             write set-up file FILE's data to the board",
         runDownload},
        {"diff",
         "diff A.sdt B.sdt | diff A.sdt --board [--all] [--shift]\n"
         "                             print what differs, one line per item: SECTION, ITEM,\n"
         "                             A's value, B's or the board's (tab-separated); --all\n"
         "                             every item, --shift the shift counters too; exit 0 same,\n"
         "                             1 different, 2 usage or unreadable file, 3 link failed",
         runDiff},
    };
    return commands;
}
