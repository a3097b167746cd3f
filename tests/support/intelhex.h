#pragma once

#include <QByteArray>

// One Intel hex data record (type 00) with its checksum, as a program file's
// .hex image holds it, CR LF ended.
inline QByteArray intelHexRecord(int address, const QByteArray& data) {
    QByteArray record =
        QByteArray(1, char(data.size())) + char(address >> 8) + char(address & 0xFF) + '\0' + data;
    int sum = 0;
    for (const char c : record)
        sum += static_cast<quint8>(c);
    record += static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF);
    return ':' + record.toHex().toUpper() + "\r\n";
}
