#pragma once

#include <QString>
#include <QVector>

#include <array>

// One machine set-up: the program version that wrote it, 179 board
// addresses with their values, and the PLS members that are not plain
// memory locations. A value type: copying copies every member.
struct SetupDocument {
    static constexpr int ParameterCount = 178; // tables run from 0 to 178
    static constexpr int TableSize = ParameterCount + 1;

    QString Version;
    QVector<QString> Addresses;
    QVector<qint32> Values;
    qint16 PLSChannelCount = 0;
    qint16 PLSScale = 0;
    qint16 ResolverOffset = 0;
    qint16 PLSProgram = 0;
    std::array<qint16, 8> SpeedCompensation{};
    std::array<qint16, 16> OnSetpoints{};
    std::array<qint16, 16> OffSetpoints{};

    // Sizes both tables to indices 0 to ParameterCount, keeping the elements
    // that exist: extra elements are dropped, missing addresses become empty
    // texts and missing values 0. A file from another release may hold
    // shorter or longer tables than this program works with.
    void fitTables();

    bool operator==(const SetupDocument& other) const;
    bool operator!=(const SetupDocument& other) const { return !(*this == other); }
};

// A new document of this release: default addresses, values and setpoints.
SetupDocument makeDefaultDocument(const QString& programVersion);

// The name a PLS channel (0-15) goes by: channel numbers count in octal,
// so 0 to 7 are CH00 to CH07 and 8 to 15 are CH10 to CH17.
QString plsChannelName(int channel);
