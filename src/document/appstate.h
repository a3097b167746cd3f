#pragma once

#include "setupdocument.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// The application's shared state, owned once and passed by reference to
// the main window, the commands and the pages.
struct AppState {
    SetupDocument CurrentDocument;
    SetupDocument SavedDocument;
    SetupDocument DefaultDocument;

    // "VRAL_R" + major.minor.revision of the running program.
    QString ProgramVersion;

    bool DocumentUntitled = true;
    bool DocumentOpened = false;
    bool ChannelsDownloaded = false;
    bool OfflineEditing = false;
    int TransferKind = 0;
    int ReportMode = 0;

    // Status message of the main window's status poll, shown on the main display.
    QString SystemStatusText;

    // The main window's public texts.
    QString gFileNameCaption = QStringLiteral("[unnamed]");
    QString gFileNamePath;
    QString gFileNameTitle;
    QString gFileExportPath;
    QString gProgramFilePath;
    QString gUploadNOW;

    // Builds DefaultDocument and makes it the current and saved document.
    void InitDefaultDocument();
};

// "VRAL_R" and the version of this build, e.g. "VRAL_R2.1.3".
QString programVersionText();

// A date and time in the "general date" form the program's users know: the
// locale's short date with a four-digit year, then the time with seconds
// (no time zone), e.g. "12/7/2026 9:00:05 AM" or "07.12.2026 09:00:05".
// Used for gUploadNOW, file dates on the target board page and the report.
QString generalDateText(const QDateTime& dateTime, const QLocale& locale = QLocale::system());
// The format behind it, for a locale.
QString generalDateFormat(const QLocale& locale);
