#include "appstate.h"

#include "vralversion.h"

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
