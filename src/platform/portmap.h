#pragma once

#include <QMap>
#include <QString>

class AppFolder;

// The port map, "Support/PortMap.cfg" in the application folder: lets a
// port number 1..99 stand for a network endpoint, so the settings file
// keeps its one line "PORT,SPEED" and the comm port dialog keeps choosing a
// number. One mapping a line, "#" starts a comment, blank lines are fine:
//
//   # the decorators in hall 2
//   3 = rfc2217://ser2net.hall2:4003
//   4 = tcp://10.20.0.14:4001
class PortMap {
public:
    struct ReadResult;

    // Where the map lives: "\Support\PortMap.cfg" in the application folder.
    static QString pathIn(const AppFolder& folder);
    // A missing file is an empty map. A line that is not NUMBER = ENDPOINT,
    // a number outside 1..99 or given twice, or an endpoint that names no
    // network port refuses the whole file, naming the file and the line.
    static ReadResult read(const QString& path);
    static ReadResult parse(const QByteArray& text, const QString& fileName);

    // The endpoint the number stands for; empty when it is not mapped.
    QString endpointFor(int portNumber) const { return m_endpoints.value(portNumber); }
    int size() const { return static_cast<int>(m_endpoints.size()); }

private:
    QMap<int, QString> m_endpoints;
};

struct PortMap::ReadResult {
    PortMap map;
    QString error; // empty when the file was read
    bool ok() const { return error.isEmpty(); }
};
