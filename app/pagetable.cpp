#include "pagetable.h"

#include "pagefactories.h"
#include "placeholderpage.h"

QVector<PageEntry> pageTable() {
    const auto placeholder = [](const char* window, const char* caption, const char* title,
                                bool visible = true) {
        return PageEntry{QString::fromLatin1(window), QString::fromLatin1(caption), visible,
                         placeholderPage(QString::fromLatin1(title))};
    };
    return {
        PageEntry{QStringLiteral("frmMain"), QStringLiteral("&1 Main Display"), true,
                  createMainDisplayPage},
        PageEntry{QStringLiteral("frmSetup"), QStringLiteral("&2 Set-up Parameters"), true,
                  createSetupPage},
        PageEntry{QStringLiteral("frm8830DF1"), QStringLiteral("&3 Serial Communications"), false,
                  createDF1BridgePage},
        placeholder("frmTiming", "&3 Machine Timing", "Machine Timing"),
        PageEntry{QStringLiteral("frmData"), QStringLiteral("&4 Shift Data"), true, createDataPage},
        PageEntry{QStringLiteral("frmDisplayIO"), QStringLiteral("&5 I/O States"), true,
                  createIODisplayPage},
    };
}
