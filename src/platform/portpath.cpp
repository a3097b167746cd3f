#include "portpath.h"

QString portDevicePath(int portNumber) {
    if (portNumber < 1 || portNumber > 99)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    if (portNumber <= 32)
        return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
    if (portNumber <= 66)
        return QStringLiteral("/dev/ttyUSB%1").arg(portNumber - 33);
    return QStringLiteral("/dev/ttyACM%1").arg(portNumber - 67);
#endif
}
