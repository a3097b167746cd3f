// vral: the desktop set-up program for the K7600 controller board.
//
//   vral [--device PATH] [--home DIR] [--simulate] [--trace FILE]
//
// --device PATH  every port number opens PATH (also VRAL_DEVICE), for
//                devices outside the usual families or the simulated
//                board's pseudo-terminal
// --home DIR     application folder holding Support and Help (also
//                VRAL_HOME); default: the executable's folder
// --simulate     attach an in-process simulated board instead of a port
// --trace FILE   write every byte on the link to FILE

#include "appfolder.h"
#include "appstate.h"
#include "boardsim.h"
#include "bytetrace.h"
#include "frmmdimain.h"
#include "pagetable.h"
#include "qtprompts.h"
#include "qtserialport.h"
#include "rscomm.h"
#include "simulatedport.h"
#include "systemclock.h"
#include "targetboarddialog.h"
#include "vralversion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <memory>

namespace {

QString optionOrEnvironment(const QCommandLineParser& parser, const QString& option,
                            const char* variable) {
    if (parser.isSet(option))
        return parser.value(option);
    return qEnvironmentVariable(variable);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VRAL"));
    QApplication::setApplicationVersion(QStringLiteral(VRAL_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Set-up program for the K7600 can decorator controller."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QString device = QStringLiteral("device");
    const QString home = QStringLiteral("home");
    const QString simulate = QStringLiteral("simulate");
    const QString trace = QStringLiteral("trace");
    parser.addOptions({
        {device, QStringLiteral("Open PATH for every port number (also VRAL_DEVICE)."),
         QStringLiteral("PATH")},
        {home, QStringLiteral("Application folder with Support and Help (also VRAL_HOME)."),
         QStringLiteral("DIR")},
        {simulate, QStringLiteral("Attach a simulated board instead of a serial port.")},
        {trace, QStringLiteral("Write every byte on the link to FILE."), QStringLiteral("FILE")},
    });
    parser.process(app);

    QString homeDir = optionOrEnvironment(parser, home, "VRAL_HOME");
    if (homeDir.isEmpty())
        homeDir = QCoreApplication::applicationDirPath();
    const AppFolder folder(homeDir);

    SystemClock clock;
    QtPrompts prompts;
    AppState state;

    std::unique_ptr<BoardSim> board;
    std::unique_ptr<SerialPort> port;
    if (parser.isSet(simulate)) {
        board = std::make_unique<BoardSim>(clock);
        board->setMachineRunning(true);
        port = std::make_unique<SimulatedPort>(*board, clock);
    } else {
        port = std::make_unique<QtSerialPort>(optionOrEnvironment(parser, device, "VRAL_DEVICE"));
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

    RSComm link(clock, prompts, folder);
    link.setTrace(byteTrace.get());

    frmMDIMain window(state, link, *port, prompts, clock, folder, pageTable());
    prompts.setParent(&window);
    PageServices targetBoardServices{state, link, prompts, clock, window};
    window.targetBoardCommand().setPageOpener([&](const QString& programPath) {
        ShowTargetBoardDialog(targetBoardServices, folder, programPath, &window);
    });
    window.resize(900, 640);
    window.show();
    return app.exec();
}
