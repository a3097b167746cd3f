#pragma once

#include <QString>

#include <optional>

// A serial line behind a device server, as the user writes it:
//   tcp://HOST:PORT      raw TCP, the bytes as they are
//   rfc2217://HOST:PORT  Telnet with the COM-PORT-OPTION
// HOST is a name, an IPv4 address or an IPv6 address in brackets.
struct NetworkEndpoint {
    enum class Kind { RawTcp, Rfc2217 };

    Kind kind = Kind::RawTcp;
    QString host;
    quint16 port = 0;

    // Whether `text` is meant as an endpoint (it starts with one of the
    // schemes), whether or not the rest of it is right.
    static bool isEndpointText(const QString& text);
    // The endpoint `text` names; nothing, with `error` saying what is wrong,
    // when it names none.
    static std::optional<NetworkEndpoint> parse(const QString& text, QString* error = nullptr);
};
