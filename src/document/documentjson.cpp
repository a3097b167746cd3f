#include "documentjson.h"

#include <QJsonArray>

namespace {

template <typename Container> QJsonArray numbers(const Container& values) {
    QJsonArray array;
    for (auto value : values)
        array.append(qint64(value));
    return array;
}

} // namespace

QJsonObject documentToJson(const SetupDocument& document) {
    QJsonObject json;
    json.insert(QStringLiteral("Version"), document.Version);
    json.insert(QStringLiteral("Addresses"), QJsonArray::fromStringList(document.Addresses));
    json.insert(QStringLiteral("Values"), numbers(document.Values));
    json.insert(QStringLiteral("PLSChannelCount"), document.PLSChannelCount);
    json.insert(QStringLiteral("PLSScale"), document.PLSScale);
    json.insert(QStringLiteral("ResolverOffset"), document.ResolverOffset);
    json.insert(QStringLiteral("PLSProgram"), document.PLSProgram);
    json.insert(QStringLiteral("SpeedCompensation"), numbers(document.SpeedCompensation));
    json.insert(QStringLiteral("OnSetpoints"), numbers(document.OnSetpoints));
    json.insert(QStringLiteral("OffSetpoints"), numbers(document.OffSetpoints));
    return json;
}
