#include "appstate.h"

#include <QLocale>

QString programVersionText() {
    return QStringLiteral("VRAL_R%1.%2.%3")
        .arg(VRAL_VERSION_MAJOR)
        .arg(VRAL_VERSION_MINOR)
        .arg(VRAL_VERSION_PATCH);
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
