#include "appstate.h"

#include "vralversion.h"

#include <QLocale>

QString programVersionText() {
    return QStringLiteral("VRAL_R" VRAL_VERSION_TEXT);
}

void AppState::InitDefaultDocument() {
    ProgramVersion = programVersionText();
    DefaultDocument = makeDefaultDocument(ProgramVersion);
    CurrentDocument = DefaultDocument;
    SavedDocument = DefaultDocument;
    DocumentUntitled = true;
}

QString generalDateText(const QDateTime& dateTime) {
    return QLocale::system().toString(dateTime, QLocale::ShortFormat);
}
