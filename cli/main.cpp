// vralctl: the command-line companion. The same link and document code as
// the application, no window; every message box is one line on stderr.

#include "clisession.h"
#include "commandtable.h"
#include "exitstatus.h"
#include "vralversion.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <memory>

namespace {

QString commandHelp() {
    QString help = QStringLiteral(
        "Reads and writes board locations and works on set-up files.\n\nCommands:\n");
    for (const CliCommand& command : cliCommands())
        for (const QString& line : QString::fromUtf8(command.usage).split(QLatin1Char('\n')))
            help += QStringLiteral("  ") + line + QLatin1Char('\n');
    help += QStringLiteral("\nExit status: 0 success, 1 file error, 2 usage error or a refused "
                           "command (nothing sent), 3 link failure.");
    return help;
}

int usage(const QCommandLineParser& parser) {
    QTextStream(stderr) << parser.helpText();
    return ExitUsage;
}

const CliCommand* findCommand(const QString& name) {
    for (const CliCommand& command : cliCommands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    // The report draws with fonts, which needs a GUI application (on the
    // offscreen platform: vralctl never opens a window). Every other command
    // stays a plain core application, whose standard error carries nothing
    // but the program's own message lines.
    const bool drawsReport = std::any_of(
        argv + 1, argv + argc, [](const char* word) { return qstrcmp(word, "report") == 0; });
    std::unique_ptr<QCoreApplication> app;
    if (drawsReport) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("vralctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VRAL_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(commandHelp());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("Open PATH whatever the port number: a device, tcp://HOST:PORT or "
                       "rfc2217://HOST:PORT (also VRAL_DEVICE)."),
        QStringLiteral("PATH"));
    const QCommandLineOption home(
        QStringLiteral("home"),
        QStringLiteral("Application folder with Support and Help (also VRAL_HOME)."),
        QStringLiteral("DIR"));
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   QStringLiteral("Write a byte trace of the link to FILE."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption retry(QStringLiteral("retry"),
                                   QStringLiteral("Answer Retry N times, then Cancel (default 0)."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({device, home, trace, retry});
    // Options come before the command, so "write B1012 -5" hands -5 to the link.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(*app);

    const QStringList args = parser.positionalArguments();
    const CliCommand* command = findCommand(args.value(0));
    bool retriesOk = false;
    CliSession::Options options;
    options.retries = parser.value(retry).toInt(&retriesOk);
    if (!command || !retriesOk || options.retries < 0)
        return usage(parser);
    options.device =
        parser.isSet(device) ? parser.value(device) : qEnvironmentVariable("VRAL_DEVICE");
    options.home = parser.value(home);
    options.trace = parser.value(trace);

    CliSession session(options);
    if (!session.startTrace())
        return ExitUsage;
    QTextStream out(stdout);
    const int status = command->run(session, args.mid(1), out);
    return status == CliCommand::kBadArguments ? usage(parser) : status;
}
