#pragma once

#include <QString>

// The device a port number (1..99, as the user sees it) opens.
// Windows: port n is "COMn". Linux, where serial devices come in families:
//   1..32  -> /dev/ttyS0   .. /dev/ttyS31   (built-in and PCI ports)
//   33..66 -> /dev/ttyUSB0 .. /dev/ttyUSB33 (USB serial adapters)
//   67..99 -> /dev/ttyACM0 .. /dev/ttyACM32 (USB modem-class devices)
// Empty for a number outside 1..99.
QString portDevicePath(int portNumber);
