#include "programident.h"

QString shownIdent(const QString& ident) {
    QString shown;
    for (const QChar c : ident)
        if (c.unicode() >= 0x20)
            shown.append(c);
    return shown;
}
