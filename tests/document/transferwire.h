#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The transactions a data transfer sent, decoded from the bytes on the wire
// (program to board), one text each:
//   "read 1012"                 a memory byte read
//   "write 1012 25"             a memory byte write
//   "read cut", "write cut"     one given up after a wrong echo
//   "word 0x18"                 a PLS register read
//   "setword 0x1a 360"          a PLS register write
//   "channel 0x1b 3 120 160 1"  a channel command: channel, first, second, kind
//   "config 0x3b 1 2 3 4 5 6"   a configuration block
//   "readconfig"                the configuration read
//   "recall 3"                  a channel recall
// Ready polls and reply polls are left out. Memory modes persist across
// transactions, as on the line; decoding starts in mode 0.
inline QStringList transferTransactions(const QByteArray& sent) {
    QStringList result;
    auto at = [&sent](int i) { return i < sent.size() ? int(quint8(sent.at(i))) : -1; };
    auto word = [&at](int i) { return at(i) + 256 * at(i + 1); };
    auto hex = [](int value) { return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0')); };
    // A memory transaction given up after a wrong echo: an attention and a
    // memory mode byte (or the end of the wire) come before its last byte. Returns how many of its
    // bytes were sent, 0 when it is whole. (A data byte 255 followed by a
    // transaction at 256-767 would look the same; the tests use none.)
    auto cutAt = [&at](int i, int length) {
        for (int k = 1; k < length; ++k)
            if (at(i + k) == -1 ||
                (at(i + k) == 0xFF && (at(i + k + 1) == 1 || at(i + k + 1) == 2)))
                return k;
        return 0;
    };
    int mode = 0;
    int i = 0;
    while (i < sent.size()) {
        const int byte = at(i);
        if (byte == 0xFF) {
            mode = at(i + 1);
            i += 2;
            switch (mode) {
            case 0x18:
            case 0x28:
            case 0x48:
            case 0x58:
                result << QStringLiteral("word ") + hex(mode);
                break;
            case 0x1A:
            case 0x2A:
                result << QStringLiteral("setword %1 %2").arg(hex(mode)).arg(word(i));
                i += 2;
                break;
            case 0x1B:
            case 0x2B:
                result << QStringLiteral("channel %1 %2 %3 %4 %5")
                              .arg(hex(mode))
                              .arg(at(i))
                              .arg(word(i + 1))
                              .arg(word(i + 3))
                              .arg(at(i + 5));
                i += 6;
                break;
            case 0x3B:
            case 0x4B:
            case 0x5B:
            case 0x6B: {
                QStringList values;
                for (int k = 0; k < 6; ++k)
                    values << QString::number(at(i + k));
                result << QStringLiteral("config ") + hex(mode) + QLatin1Char(' ') +
                              values.join(QLatin1Char(' '));
                i += 6;
                break;
            }
            case 0x0C:
                result << QStringLiteral("readconfig");
                break;
            case 0x09:
                result << QStringLiteral("recall %1").arg(at(i));
                ++i;
                break;
            default:
                break;
            }
            // What follows a PLS command up to the next attention is polls.
            if (mode != 1 && mode != 2)
                while (i < sent.size() && at(i) != 0xFF)
                    ++i;
        } else if ((mode == 1 || mode == 2) && cutAt(i, mode == 1 ? 2 : 3) > 0) {
            result << (mode == 1 ? QStringLiteral("read cut") : QStringLiteral("write cut"));
            i += cutAt(i, mode == 1 ? 2 : 3);
        } else if (mode == 1) {
            result << QStringLiteral("read %1").arg(at(i) * 256 + at(i + 1));
            i += 2;
        } else if (mode == 2) {
            result << QStringLiteral("write %1 %2").arg(at(i) * 256 + at(i + 1)).arg(at(i + 2));
            i += 3;
        } else {
            ++i;
        }
    }
    return result;
}
