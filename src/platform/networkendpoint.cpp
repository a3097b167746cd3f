#include "networkendpoint.h"

#include <QUrl>

namespace {
const QString kRawScheme = QStringLiteral("tcp");
const QString kRfc2217Scheme = QStringLiteral("rfc2217");

QString schemeOf(const QString& text) {
    const int end = text.indexOf(QLatin1String("://"));
    return end > 0 ? text.left(end).toLower() : QString();
}
} // namespace

bool NetworkEndpoint::isEndpointText(const QString& text) {
    const QString scheme = schemeOf(text);
    return scheme == kRawScheme || scheme == kRfc2217Scheme;
}

std::optional<NetworkEndpoint> NetworkEndpoint::parse(const QString& text, QString* error) {
    const auto refuse = [&](const QString& why) -> std::optional<NetworkEndpoint> {
        if (error)
            *error = QStringLiteral("%1 is not a network port (%2)").arg(text, why);
        return std::nullopt;
    };
    if (!isEndpointText(text))
        return refuse(QStringLiteral("it must start with tcp:// or rfc2217://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return refuse(QStringLiteral("no host"));
    if (url.port() < 1)
        return refuse(QStringLiteral("no TCP port number 1 to 65535"));
    if (!url.path().isEmpty() || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty())
        return refuse(QStringLiteral("only HOST:PORT may follow the scheme"));
    NetworkEndpoint endpoint;
    endpoint.kind = url.scheme().toLower() == kRawScheme ? Kind::RawTcp : Kind::Rfc2217;
    endpoint.host = url.host();
    endpoint.port = static_cast<quint16>(url.port());
    return endpoint;
}
