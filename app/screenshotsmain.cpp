// vral-screenshots: vral taken through its pages against the simulated
// board, off screen, each page written as a PNG into OUTDIR (and the set-up
// report as a PDF); the paths written are printed, one a line.
//
//   vral-screenshots [--scale N] OUTDIR [SHOT...]
//   vral-screenshots --list
//
// SHOT names a shot (default: every one, in the order --list prints); some
// shots write more than one picture. The screen is 1366x768 at 96 dpi;
// --scale N makes it N times as many pixels with the toolkit scaling by N.
// Needs no display: the windows are drawn off screen.
#include "appfolder.h"
#include "offscreenmessages.h"
#include "qtserialport.h"
#include "screenshotlist.h"
#include "screentour.h"
#include "systemclock.h"
#include "vralapplication.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kScreenWidth = 1366;
constexpr int kScreenHeight = 768;

int usage() {
    std::fputs("usage: vral-screenshots [--scale N] OUTDIR [SHOT...] | vral-screenshots --list\n",
               stderr);
    return 2;
}

// The off-screen platform's one screen, written where the toolkit reads it.
bool configureScreen(const QString& configFile, int scale) {
    QFile file(configFile);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(
        QStringLiteral("{\"windowFrameMargins\": false, \"screens\": [{\"name\": \"screen\", "
                       "\"x\": 0, \"y\": 0, \"width\": %1, \"height\": %2, "
                       "\"logicalDpi\": 96, \"logicalBaseDpi\": 96}]}")
            .arg(kScreenWidth * scale)
            .arg(kScreenHeight * scale)
            .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(configFile));
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    int scale = 1;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
        for (const QString& name : shotNames())
            std::printf("%s\n", qPrintable(name));
        return 0;
    }
    if (argc > 2 && std::strcmp(argv[1], "--scale") == 0) {
        scale = std::atoi(argv[2]);
        first = 3;
    }
    if (scale < 1 || scale > 4 || argc <= first)
        return usage();

    QTemporaryDir work;
    if (!work.isValid() || !configureScreen(work.filePath(QStringLiteral("screen.json")), scale))
        return usage();
    // The tour's alarm history is its own, not the user's.
    qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath(QStringLiteral("data"))));
    quietenOffscreenMessages();
    QApplication app(argc, argv);
    const QString outputDir = QDir(QString::fromLocal8Bit(argv[first])).absolutePath();
    QStringList names;
    for (int i = first + 1; i < argc; ++i)
        names << QString::fromLocal8Bit(argv[i]);

    QTextStream err(stderr);
    if (!QDir().mkpath(outputDir)) {
        err << "vral-screenshots: cannot make " << outputDir << Qt::endl;
        return 1;
    }
    ShotFiles files{outputDir, {}, {}, {}};
    if (!writeProgramSets(work.path(), files) || !writeCompareFile(work.path(), files)) {
        err << "vral-screenshots: cannot write a program or set-up file in " << work.path()
            << Qt::endl;
        return 1;
    }

    const AppFolder folder(QCoreApplication::applicationDirPath());
    SystemClock clock;
    QtSerialPort port;
    VralApplication vral(clock, port, folder, nullptr);
    vral.window().show();

    ScreenTour tour(vral, port, outputDir);
    const QString unknown = addShots(tour, names, files);
    if (!unknown.isEmpty()) {
        err << "vral-screenshots: no shot " << unknown << " (--list names them)" << Qt::endl;
        return 2;
    }
    tour.start([](int status) { QCoreApplication::exit(status); });
    const int status = QApplication::exec();
    for (const QString& path : tour.written())
        std::printf("%s\n", qPrintable(path));
    return status;
}
