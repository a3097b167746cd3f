#include "pagetable.h"

#include "pagefactories.h"

QVector<PageEntry> pageTable() {
    return {
        PageEntry{QStringLiteral("frmMain"), QStringLiteral("&1 Main Display"), true,
                  createMainDisplayPage},
        PageEntry{QStringLiteral("frmSetup"), QStringLiteral("&2 Set-up Parameters"), true,
                  createSetupPage},
        PageEntry{QStringLiteral("frm8830DF1"), QStringLiteral("&3 Serial Communications"), false,
                  createDF1BridgePage},
        PageEntry{QStringLiteral("frmTiming"), QStringLiteral("&3 Machine Timing"), true,
                  createTimingPage},
        PageEntry{QStringLiteral("frmData"), QStringLiteral("&4 Shift Data"), true, createDataPage},
        PageEntry{QStringLiteral("frmDisplayIO"), QStringLiteral("&5 I/O States"), true,
                  createIODisplayPage},
    };
}
