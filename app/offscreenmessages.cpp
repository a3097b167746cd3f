#include "offscreenmessages.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace {

QtMessageHandler standardHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

void quietenOffscreenMessages() {
    standardHandler = qInstallMessageHandler(quietHandler);
}
