#include "hostoptions.h"

#include "boardmemory.h"
#include "memorysetting.h"

#include <QCommandLineParser>

#include <memory>

namespace {
struct FaultName {
    const char* name;
    BoardSim::Fault fault;
};

constexpr FaultName kFaults[] = {
    {"silent", BoardSim::Fault::Silent},
    {"wrong-echo", BoardSim::Fault::WrongEcho},
    {"mode-refused", BoardSim::Fault::ModeRefused},
    {"pls-busy", BoardSim::Fault::PlsBusy},
    {"bad-checksum", BoardSim::Fault::BadChecksum},
    {"pls-refused", BoardSim::Fault::PlsRefused},
};

// NAME or NAME=N, N >= 1 the number of times the fault strikes.
bool parseFault(const QString& text, HostOptions& options) {
    const QString name = text.section(QLatin1Char('='), 0, 0);
    const QString count = text.section(QLatin1Char('='), 1);
    for (const FaultName& f : kFaults) {
        if (name != QLatin1String(f.name))
            continue;
        options.fault = f.fault;
        if (count.isEmpty() && !text.contains(QLatin1Char('=')))
            return true;
        bool ok = false;
        options.faultCount = count.toInt(&ok);
        return ok && options.faultCount >= 1;
    }
    return false;
}
} // namespace

HostOptionsResult parseHostOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A simulated K7600 board on a pseudo-terminal. The first line of output is "
                       "the device to open."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Also reach the device through a symlink at <path>."),
        QStringLiteral("path"));
    const QCommandLineOption baud(
        QStringLiteral("baud"),
        QStringLiteral("Pace the line like a real one at 9600 or 19200 bit/s."),
        QStringLiteral("rate"));
    const QCommandLineOption memory(
        QStringLiteral("memory"),
        QStringLiteral("Load the board memory from <file> if it exists; save it at exit."),
        QStringLiteral("file"));
    const QCommandLineOption fault(
        QStringLiteral("fault"),
        QStringLiteral(
            "Inject a fault: silent, wrong-echo, mode-refused, pls-busy, bad-checksum or "
            "pls-refused, optionally =N for N times only."),
        QStringLiteral("fault"));
    const QCommandLineOption faultAfter(
        QStringLiteral("fault-after"),
        QStringLiteral("Arm the fault only once <n> bytes have been received."),
        QStringLiteral("n"));
    const QCommandLineOption alarms(QStringLiteral("alarms"),
                                    QStringLiteral("Let the machine alarms come and go."));
    const QCommandLineOption stopped(
        QStringLiteral("stopped"),
        QStringLiteral("Keep the machine stopped (memory changes only by the link)."));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("Print nothing but the device path."));
    const QCommandLineOption reads(
        QStringLiteral("reads"),
        QStringLiteral("After the device path, print \"reads N\" (the reads served so far) "
                       "after a read, at most once a second."));
    const QCommandLineOption seed(
        QStringLiteral("seed"),
        QStringLiteral("Seed the machine's spindle trips and wandering I/O points (default 1)."),
        QStringLiteral("n"));
    const QCommandLineOption set(
        QStringLiteral("set"),
        QStringLiteral("Set board memory at start, after --memory: ADDRESS=VALUE with ADDRESS "
                       "Bn, Wn, Dn, Fn or Bn.b and VALUE decimal or 0x hex. Repeatable."),
        QStringLiteral("setting"));
    const QCommandLineOption settingsFile(
        QStringLiteral("settings"),
        QStringLiteral("Apply the ADDRESS=VALUE lines of <file> ('#' starts a comment) before "
                       "any --set."),
        QStringLiteral("file"));
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Serve the line on TCP as well, as a device server would: [HOST:]PORT "
                       "(HOST 127.0.0.1 unless given). The second line of output is the "
                       "endpoint to open."),
        QStringLiteral("address"));
    const QCommandLineOption rfc2217(
        QStringLiteral("rfc2217"),
        QStringLiteral("With --listen: Telnet with the COM-PORT-OPTION instead of raw TCP."));
    parser.addOptions({link, baud, memory, fault, faultAfter, alarms, stopped, quiet, reads, seed,
                       set, settingsFile, listen, rfc2217});

    HostOptionsResult result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.help = true;
        result.helpText = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.version = true;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error =
            QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return result;
    }
    HostOptions& o = result.options;
    o.linkPath = parser.value(link);
    o.memoryFile = parser.value(memory);
    o.alarms = parser.isSet(alarms);
    o.stopped = parser.isSet(stopped);
    o.quiet = parser.isSet(quiet);
    o.listen = parser.value(listen);
    o.rfc2217 = parser.isSet(rfc2217);
    if (o.rfc2217 && o.listen.isEmpty()) {
        result.error = QStringLiteral("--rfc2217 needs --listen");
        return result;
    }
    o.reportReads = parser.isSet(reads);
    if (parser.isSet(baud)) {
        o.baud = parser.value(baud).toInt();
        if (o.baud != 9600 && o.baud != 19200) {
            result.error =
                QStringLiteral("--baud takes 9600 or 19200, not %1").arg(parser.value(baud));
            return result;
        }
    }
    if (parser.isSet(fault) && !parseFault(parser.value(fault), o)) {
        result.error = QStringLiteral("Unknown fault: %1").arg(parser.value(fault));
        return result;
    }
    if (parser.isSet(faultAfter)) {
        bool ok = false;
        o.faultAfter = parser.value(faultAfter).toInt(&ok);
        if (!ok || o.faultAfter < 0) {
            result.error = QStringLiteral("--fault-after takes a number of bytes, not %1")
                               .arg(parser.value(faultAfter));
            return result;
        }
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        o.seed = parser.value(seed).toUInt(&ok);
        if (!ok) {
            result.error = QStringLiteral("--seed takes a number, not %1").arg(parser.value(seed));
            return result;
        }
    }
    o.settingsFile = parser.value(settingsFile);
    o.settings = parser.values(set);
    // A wrong setting is a wrong command line: tried on scratch memory here.
    const auto scratch = std::make_unique<BoardMemory>();
    for (const QString& setting : o.settings) {
        result.error = applyMemorySetting(*scratch, setting);
        if (!result.error.isEmpty())
            return result;
    }
    return result;
}
