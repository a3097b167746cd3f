// vralctl: the command-line companion. The same link and document code as
// the application, no window; every message box is one line on stderr.

#include "appfolder.h"
#include "bytetrace.h"
#include "cliprompts.h"
#include "doccommands.h"
#include "linkcommands.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "systemclock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int usage(const QCommandLineParser& parser) {
    QTextStream(stderr) << parser.helpText();
    return ExitUsage;
}

int runDoc(const QStringList& args, QTextStream& out) {
    const QString verb = args.value(1);
    if (verb == QLatin1String("new") && args.size() == 3)
        return runDocNew(args[2]);
    if (verb == QLatin1String("show") && args.size() == 3)
        return runDocShow(args[2], out);
    if (verb == QLatin1String("export-shift") && args.size() == 4)
        return runDocExportShift(args[2], args[3]);
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vralctl"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads and writes board locations and works on set-up files.\n\n"
                       "Commands:\n"
                       "  read ADDR...                 print each location's value, one per line\n"
                       "  write ADDR VALUE             write a value to a location\n"
                       "  doc new FILE                 write a new default set-up file\n"
                       "  doc show FILE                print a set-up file as JSON\n"
                       "  doc export-shift FILE OUT    export FILE's shift data to OUT\n\n"
                       "Exit status: 0 success, 1 file error, 2 usage error or entry alert, "
                       "3 link failure."));
    parser.addHelpOption();
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Open PATH whatever the port number."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption home(QStringLiteral("home"),
                                  QStringLiteral("Application folder (default: the program's)."),
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
    parser.process(app);

    QTextStream out(stdout);
    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);

    if (command == QLatin1String("doc")) {
        const int status = runDoc(args, out);
        return status < 0 ? usage(parser) : status;
    }

    bool retriesOk = false;
    const int retries = parser.value(retry).toInt(&retriesOk);
    const bool isRead = command == QLatin1String("read") && args.size() >= 2;
    const bool isWrite = command == QLatin1String("write") && args.size() == 3;
    if (!retriesOk || retries < 0 || (!isRead && !isWrite))
        return usage(parser);

    QString homeDir = parser.value(home);
    if (homeDir.isEmpty())
        homeDir = qEnvironmentVariable("VRAL_HOME", QCoreApplication::applicationDirPath());
    QString devicePath = parser.value(device);
    if (devicePath.isEmpty())
        devicePath = qEnvironmentVariable("VRAL_DEVICE");

    SystemClock clock;
    CliPrompts prompts(retries);
    const AppFolder folder(homeDir);
    QtSerialPort port(devicePath);
    RSComm link(clock, prompts, folder);

    std::unique_ptr<ByteTrace> byteTrace;
    if (parser.isSet(trace)) {
        QString error;
        byteTrace = ByteTrace::toFile(parser.value(trace), clock, &error);
        if (!byteTrace) {
            QTextStream(stderr) << parser.value(trace) << ": " << error << Qt::endl;
            return ExitUsage;
        }
        link.setTrace(byteTrace.get());
    }

    if (isRead)
        return runRead(link, port, args.mid(1), out);
    return runWrite(link, port, prompts, args[1], args[2]);
}
