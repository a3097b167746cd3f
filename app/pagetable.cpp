#include "pagetable.h"

#include "placeholderpage.h"

QVector<PageEntry> pageTable() {
    const auto page = [](const char* window, const char* caption, const char* title,
                         bool visible = true) {
        return PageEntry{QString::fromLatin1(window), QString::fromLatin1(caption), visible,
                         placeholderPage(QString::fromLatin1(title))};
    };
    return {
        page("frmMain", "&1 Main Display", "Main Display"),
        page("frmSetup", "&2 Set-up Parameters", "Set-Up"),
        page("frm8830DF1", "&3 Serial Communications", "Serial Communications", false),
        page("frmTiming", "&3 Machine Timing", "Machine Timing"),
        page("frmData", "&4 Shift Data", "Shift Data"),
        page("frmDisplayIO", "&5 I/O States", "I/O States"),
    };
}
