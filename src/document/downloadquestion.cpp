#include "downloadquestion.h"

QString downloadQuestionTitle() {
    return QStringLiteral("Program Download");
}

QString downloadQuestionText(const QString& fileName) {
    return QStringLiteral("You are about to download \"") + fileName +
           QStringLiteral("\" to the K7600.\r\n\r\nDo you wish to continue?");
}
