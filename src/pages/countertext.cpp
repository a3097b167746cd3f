#include "countertext.h"

#include <QLocale>

QString counterText(qint64 value) {
    return QLocale().toString(value);
}
