// vral: the desktop set-up program for the K7600 controller board.
//
//   vral [--device PATH] [--home DIR] [--simulate] [--trace FILE] [--page N]
//
// --device PATH  every port number opens PATH (also VRAL_DEVICE), for
//                devices outside the usual families, a board behind a device
//                server (tcp://HOST:PORT, rfc2217://HOST:PORT) or the simulated
//                board's pseudo-terminal
// --home DIR     application folder holding Support and Help (also
//                VRAL_HOME); default: the executable's folder, or when
//                installed the shipped data and the user's own folder
// --simulate     attach an in-process simulated board instead of a port
// --trace FILE   write every byte on the link to FILE
// --page N       show page N of the page table at start (0-5), also the
//                pages the Window menu does not list (2: the DF1 bridge)

#include "appfolder.h"
#include "boardsim.h"
#include "bytetrace.h"
#include "pagetable.h"
#include "portmap.h"
#include "qtserialport.h"
#include "simulatedport.h"
#include "systemclock.h"
#include "vralapplication.h"
#include "vralversion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QIcon>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

QString optionOrEnvironment(const QCommandLineParser& parser, const QString& option,
                            const char* variable) {
    if (parser.isSet(option))
        return parser.value(option);
    return qEnvironmentVariable(variable);
}

// The options the toolkit takes for itself ("-platform offscreen", "-style
// fusion"): not ours to refuse.
bool isToolkitOption(const QString& name) {
    static const QStringList names = {QStringLiteral("platform"),
                                      QStringLiteral("platformpluginpath"),
                                      QStringLiteral("platformtheme"),
                                      QStringLiteral("plugin"),
                                      QStringLiteral("qwindowgeometry"),
                                      QStringLiteral("qwindowtitle"),
                                      QStringLiteral("qwindowicon"),
                                      QStringLiteral("reverse"),
                                      QStringLiteral("session"),
                                      QStringLiteral("display"),
                                      QStringLiteral("geometry"),
                                      QStringLiteral("style"),
                                      QStringLiteral("stylesheet"),
                                      QStringLiteral("widgetcount"),
                                      QStringLiteral("name"),
                                      QStringLiteral("title"),
                                      QStringLiteral("sync"),
                                      QStringLiteral("nograb"),
                                      QStringLiteral("dograb"),
                                      QStringLiteral("qmljsdebugger")};
    return names.contains(name);
}

// --help, --version and a mistyped option are answered on the terminal
// before the window system is asked for anything, so they work over ssh and
// in scripts without a display. nullopt: go on and start the program.
std::optional<int> answerWithoutDisplay(QCommandLineParser& parser, int argc, char* argv[]) {
    // A core application needs no display; it names the program in the usage.
    const QCoreApplication core(argc, argv);
    if (!parser.parse(QCoreApplication::arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        const bool toolkitOnly =
            !unknown.isEmpty() && std::all_of(unknown.cbegin(), unknown.cend(), isToolkitOption);
        if (toolkitOnly)
            return std::nullopt;
        QTextStream(stderr) << "vral: " << parser.errorText() << Qt::endl << parser.helpText();
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << QCoreApplication::applicationName() << ' '
                            << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("VRAL"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VRAL_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Set-up program for the K7600 can decorator controller."));
    parser.addHelpOption();
    parser.addVersionOption();
    // "-platform offscreen" is one option, as the toolkit reads it.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString device = QStringLiteral("device");
    const QString home = QStringLiteral("home");
    const QString simulate = QStringLiteral("simulate");
    const QString trace = QStringLiteral("trace");
    const QString page = QStringLiteral("page");
    parser.addOptions({
        {device,
         QStringLiteral("Open PATH for every port number: a device, tcp://HOST:PORT or "
                        "rfc2217://HOST:PORT (also VRAL_DEVICE)."),
         QStringLiteral("PATH")},
        {home, QStringLiteral("Application folder with Support and Help (also VRAL_HOME)."),
         QStringLiteral("DIR")},
        {simulate, QStringLiteral("Attach a simulated board instead of a serial port.")},
        {trace, QStringLiteral("Write every byte on the link to FILE."), QStringLiteral("FILE")},
        {page, QStringLiteral("Show page N of the page table at start (0-5; 2: DF1 bridge)."),
         QStringLiteral("N")},
    });
    if (const std::optional<int> status = answerWithoutDisplay(parser, argc, argv))
        return *status;

    QApplication app(argc, argv);
    // The desktop pairs the window with its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VRAL_APP_ID));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/vral.png").arg(size));
    QApplication::setWindowIcon(icon);
    parser.process(app);

    // Checked before anything is opened or shown.
    const QVector<PageEntry> pages = pageTable();
    int startPage = -1;
    if (parser.isSet(page)) {
        bool ok = false;
        startPage = parser.value(page).toInt(&ok);
        if (!ok || startPage < 0 || startPage >= pages.size()) {
            QTextStream(stderr) << "vral: --page takes a page number from 0 to " << pages.size() - 1
                                << ", not " << parser.value(page) << Qt::endl;
            return 2;
        }
    }

    const AppFolder folder =
        AppFolder::locate(parser.value(home), QCoreApplication::applicationDirPath());

    SystemClock clock;

    std::unique_ptr<BoardSim> board;
    std::unique_ptr<SerialPort> port;
    if (parser.isSet(simulate)) {
        board = std::make_unique<BoardSim>(clock);
        board->setMachineRunning(true);
        auto simulated = std::make_unique<SimulatedPort>(*board, clock);
        // Like a real line at the speed Support/RSPort.cfg holds, and with no
        // record of the bytes: a demo or a training run lasts a whole shift.
        simulated->setPaced(true);
        simulated->setRecording(false);
        port = std::move(simulated);
    } else {
        auto serial =
            std::make_unique<QtSerialPort>(optionOrEnvironment(parser, device, "VRAL_DEVICE"));
        serial->setPortMapFile(PortMap::pathIn(folder));
        port = std::move(serial);
    }

    std::unique_ptr<ByteTrace> byteTrace;
    if (parser.isSet(trace)) {
        QString error;
        byteTrace = ByteTrace::toFile(parser.value(trace), clock, &error);
        if (!byteTrace) {
            QTextStream(stderr) << "vral: cannot write the trace file " << parser.value(trace)
                                << ": " << error << Qt::endl;
            return 2;
        }
    }

    VralApplication vral(clock, *port, folder, byteTrace.get());
    vral.window().show();
    if (startPage >= 0)
        vral.window().ShowPage(startPage);
    return app.exec();
}
