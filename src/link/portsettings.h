#pragma once

#include <QString>

#include <optional>

class AppFolder;

// The link's port settings: port number 1..99 as the user sees it and the
// line speed, 9600 or 19200 bit/s. The line format is always 8N1.
struct PortSettings {
    int port = 1;
    int speed = 9600;

    // Port clamped to 1..99; any speed other than 9600 or 19200 becomes 9600.
    static PortSettings clamped(qint64 port, qint64 speed);
    // The settings text the port takes, e.g. "9600,n,8,1".
    QString settingsText() const;
};

// A file failure, in the form the error boxes show it.
struct SettingsFileError {
    int number = 0;
    QString description;
};

// The settings file "\Support\RSPort.cfg": one line "port,speed" + CR LF.
class PortSettingsFile {
public:
    enum class State { Missing, Empty, Present };
    struct Contents {
        State state = State::Missing;
        PortSettings settings; // read and clamped when Present, else the defaults
        std::optional<SettingsFileError> error;
    };

    explicit PortSettingsFile(const QString& path) : m_path(path) {}

    // Reads the first line: the port (leading number, rounded) and the speed.
    Contents read() const;
    // The settings a present file holds in its first line (the bytes up to the
    // first LF; the rest is ignored).
    static PortSettings parse(const QByteArray& bytes);
    // The file's bytes for the settings, as write() stores them.
    static QByteArray bytesFor(const PortSettings& settings);
    // Writes the one line, creating the folder that holds the file if needed.
    std::optional<SettingsFileError> write(const PortSettings& settings) const;

private:
    QString m_path;
};

// Tells the development tool which port to use: "WENDAX.SFG" holding the
// zero-based port number, in each of the folders "\WDX51", "\WDX96" and
// "\PLS51" that exists under the application folder. Missing folders are
// not created.
std::optional<SettingsFileError> writeWendaxPortFiles(const AppFolder& folder, int port);
