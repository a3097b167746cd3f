#pragma once

#include "generaldate.h"
#include "setupdocument.h"
#include "speedtrend.h"

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
    // Machine speed as the main display read it over the last hour; kept
    // here because the page comes and goes while the trend goes on.
    SpeedTrend speedTrend;

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
