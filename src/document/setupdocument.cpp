#include "setupdocument.h"

#include "setupfields.h"

namespace {

// Values of a new document that are not 0: the spindle #1 trip offset and
// the set-up parameters and DF1 bridge settings at indices 161-178.
constexpr int kDefaultValue0 = 22;
constexpr qint32 kDefaultTail[] = {20, 20, 20, 20, 5,  28, 1, 5, 0,
                                   33, 17, 15, 20, 15, 20, 0, 1, 10};

// Channel setpoints (ON, OFF) of a new document, channels 0-8; 9-15 are 0, 0.
constexpr qint16 kDefaultSetpoints[9][2] = {{120, 160}, {275, 315}, {180, 0}, {120, 230}, {80, 220},
                                            {155, 195}, {160, 200}, {0, 40},  {0, 180}};

QString wordAddress(int byteAddress) {
    return QStringLiteral("W%1").arg(byteAddress);
}

} // namespace

void SetupDocument::fitTables() {
    Addresses.resize(TableSize);
    Values.resize(TableSize);
}

bool SetupDocument::operator==(const SetupDocument& other) const {
    return Version == other.Version && Addresses == other.Addresses && Values == other.Values &&
           PLSChannelCount == other.PLSChannelCount && PLSScale == other.PLSScale &&
           ResolverOffset == other.ResolverOffset && PLSProgram == other.PLSProgram &&
           SpeedCompensation == other.SpeedCompensation && OnSetpoints == other.OnSetpoints &&
           OffSetpoints == other.OffSetpoints;
}

SetupDocument makeDefaultDocument(const QString& programVersion) {
    SetupDocument doc;
    doc.Version = programVersion;
    doc.Addresses = QVector<QString>(SetupDocument::TableSize);
    doc.Values = QVector<qint32>(SetupDocument::TableSize, 0);

    doc.Values[0] = kDefaultValue0;
    for (int i = 0; i < int(std::size(kDefaultTail)); ++i)
        doc.Values[161 + i] = kDefaultTail[i];

    doc.PLSChannelCount = 16;
    doc.PLSScale = 360;
    for (int ch = 0; ch < 9; ++ch) {
        doc.OnSetpoints[ch] = kDefaultSetpoints[ch][0];
        doc.OffSetpoints[ch] = kDefaultSetpoints[ch][1];
    }

    QVector<QString>& a = doc.Addresses;
    a[0] = QStringLiteral("B1011");
    // Trips per spindle, drive side then off side: W1700 ... W1794.
    for (int i = 1; i <= 48; ++i)
        a[i] = wordAddress(1700 + 2 * (i - 1));
    const char* currentShift[] = {"D1100", "D1104", "D1108", "D1116",
                                  "D1120", "D1112", "W1124", "W1126"};
    const char* lastShift[] = {"D1300", "D1304", "D1308", "D1316",
                               "D1320", "D1312", "W1324", "W1326"};
    for (int i = 0; i < 8; ++i) {
        a[49 + i] = QString::fromLatin1(currentShift[i]);
        a[105 + i] = QString::fromLatin1(lastShift[i]);
    }
    // Current shift trips per spindle W1128 ... W1222, last shift W1328 ... W1422.
    for (int i = 57; i <= 104; ++i)
        a[i] = wordAddress(1128 + 2 * (i - 57));
    for (int i = 113; i <= 160; ++i)
        a[i] = wordAddress(1328 + 2 * (i - 113));
    for (int i = 0; i < kSetupFieldCount; ++i)
        a[kFirstSetupSlot + i] = QString::fromLatin1(kSetupFields[i].address);
    // The DF1 bridge settings follow the set-up fields.
    const char* df1[] = {"B4001.0", "B4050", "B4011"};
    for (int i = 0; i < 3; ++i)
        a[kFirstSetupSlot + kSetupFieldCount + i] = QString::fromLatin1(df1[i]);
    return doc;
}

QString plsChannelName(int channel) {
    return QStringLiteral("CH%1").arg(channel, 2, 8, QLatin1Char('0'));
}
