#include "screenshotlist.h"

#include "appstate.h"
#include "screentour.h"
#include "setupdocument.h"
#include "setupfile.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <vector>

namespace {

// Page table rows.
constexpr int kMainDisplay = 0;
constexpr int kSetup = 1;
constexpr int kDf1Bridge = 2;
constexpr int kTiming = 3;
constexpr int kShiftData = 4;
constexpr int kIoStates = 5;

// The time a page takes to fill in from the board after it is shown.
constexpr int kFillMs = 1500;

QStringList sets(std::initializer_list<const char*> settings) {
    QStringList arguments;
    for (const char* setting : settings)
        arguments << QStringLiteral("--set") << QString::fromLatin1(setting);
    return arguments;
}

// A running machine whose board remembers a program checksum fault and two
// comm errors, so the target board page has something to say.
QStringList runningBoard() {
    return sets({"B8177=0x0A", "B8179=0x03", "B8178=0x12"});
}
// The machine standing still: the timing page's cursor holds, and the
// resolver offset may be set.
QStringList stoppedBoard() {
    return {QStringLiteral("--stopped")};
}
// A jammed infeed has stopped the machine; the alarm word says so.
QStringList jammedBoard() {
    return stoppedBoard() + sets({"B121=32"});
}
// Alarms come and go as vral-boardsim --alarms makes them: every 90 s the
// infeed jams at 30 s (the machine stands for 10 s) and the timing signal
// fails at 60 s for 5 s.
QStringList alarmingBoard() {
    return {QStringLiteral("--alarms")};
}
constexpr int kJamOverMs = 48000;
constexpr int kAlarmCycleMs = 90000;
// The DF1 bridge with a link-layer fault (F0) and its extended status.
QStringList df1FaultBoard() {
    return sets({"B4303=0x10", "B4018=0xF0", "B4019=0x1B", "B4023=2", "B4021=5", "B4022=2"});
}
// A stopped board unlike the new document in a set-up value, the spindle
// #1 trip shift offset, a shift counter and a DF1 setting.
QStringList changedBoard() {
    return stoppedBoard() + sets({"B1012=25", "B1011=30", "D1104=1234", "B4050=3"});
}
// Paced like a real line, so a data transfer lasts long enough to be seen.
QStringList pacedBoard() {
    return {QStringLiteral("--baud"), QStringLiteral("9600")};
}

// Mid-shift: the spindles have tripped unevenly (9, 23 and 2 the worst),
// the shift has made cans, and spindle 9 has just tripped again.
QStringList midShiftBoard() {
    QStringList arguments = runningBoard();
    int driveTotal = 0;
    int offTotal = 0;
    for (int s = 0; s < 24; ++s) {
        const int spindle = s + 1;
        const int drive = (spindle * 7) % 5 + (spindle == 9 ? 17 : spindle == 23 ? 14 : 0);
        const int off = (spindle * 3) % 4 +
                        (spindle == 2   ? 22
                         : spindle == 9 ? 9
                                        : 0) +
                        (spindle == 23 ? 12 : 0);
        driveTotal += drive;
        offTotal += off;
        for (int block : {1700, 1128, 1328}) {
            const int shift = block == 1328 ? 2 : 1; // the last shift ran longer
            arguments << QStringLiteral("--set")
                      << QStringLiteral("W%1=%2").arg(block + 2 * s).arg(drive * shift)
                      << QStringLiteral("--set")
                      << QStringLiteral("W%1=%2").arg(block + 48 + 2 * s).arg(off * shift);
        }
    }
    for (int block : {1124, 1324}) {
        const int shift = block == 1324 ? 2 : 1;
        arguments << QStringLiteral("--set")
                  << QStringLiteral("W%1=%2").arg(block).arg(driveTotal * shift)
                  << QStringLiteral("--set")
                  << QStringLiteral("W%1=%2").arg(block + 2).arg(offTotal * shift);
    }
    return arguments + sets({"B598=9", "D1100=184230", "D1104=412", "D1300=402117", "D1304=871"});
}

// Lets the machine run for a while: in steps, each well inside the tour's
// limit for one step.
void watchFor(ScreenTour& tour, int ms) {
    constexpr int kStepMs = 10000;
    for (; ms > kStepMs; ms -= kStepMs)
        tour.settle(kStepMs);
    tour.settle(ms);
}

void onlinePage(ScreenTour& tour, const QStringList& board, int page) {
    tour.board(board);
    tour.online();
    tour.page(page);
    tour.settle(kFillMs);
}

void offlinePage(ScreenTour& tour, int page) {
    tour.offline();
    tour.page(page);
    tour.settle(300);
}

void openTargetBoard(ScreenTour& tour, const ShotFiles& files) {
    tour.trigger(QStringLiteral("mnuViewTargetBoardStatus"));
    tour.chooseFile(files.clockBoardFile);
    // Offline, the page tries to go online as it opens and the link says it
    // cannot; online, the quiet time lets the page fill in.
    tour.answerBoxesUntilQuiet(QStringLiteral("dlgTargetBoard"));
    tour.waitForDialog("dlgTargetBoard");
}

void dataTransfer(ScreenTour& tour, const QString& command, const QString& picture) {
    onlinePage(tour, pacedBoard(), kMainDisplay);
    tour.trigger(command);
    tour.answer(QMessageBox::Yes);
    tour.waitForDialog("frmProcessing");
    tour.settle(600);
    tour.shoot(picture);
    tour.waitUntilIdle();
}

struct Shot {
    const char* name;
    std::function<void(ScreenTour&, const ShotFiles&)> steps;
};

const std::vector<Shot>& shots() {
    static const std::vector<Shot> list = {
        {"report-new-document",
         [](ScreenTour& tour, const ShotFiles& files) {
             const QString pdf = QDir(files.outputDir).filePath("report-new-document.pdf");
             QFile::remove(pdf);
             tour.offline();
             tour.trigger(QStringLiteral("mnuFileExportPdf"));
             tour.chooseFile(pdf);
             tour.waitUntilIdle();
             tour.expectFile(pdf);
         }},
        {"report-print-dialog",
         [](ScreenTour& tour, const ShotFiles&) {
             tour.trigger(QStringLiteral("mnuFilePrint"));
             tour.waitForDialog("QPrintDialog");
             tour.settle(300);
             tour.shootDialog(QStringLiteral("report-print-dialog"));
             tour.closeDialog();
             tour.waitUntilIdle();
         }},
        {"report-preview",
         [](ScreenTour& tour, const ShotFiles&) {
             tour.trigger(QStringLiteral("mnuFilePrintPreview"));
             tour.waitForDialog("QPrintPreviewDialog");
             tour.settle(800);
             tour.shootDialog(QStringLiteral("report-preview"));
             tour.closeDialog();
             tour.waitUntilIdle();
         }},
        {"main-offline",
         [](ScreenTour& tour, const ShotFiles&) {
             offlinePage(tour, kMainDisplay);
             tour.shoot(QStringLiteral("main-offline"));
         }},
        {"setup-offline",
         [](ScreenTour& tour, const ShotFiles&) {
             offlinePage(tour, kSetup);
             tour.shoot(QStringLiteral("setup-offline"));
         }},
        {"timing-offline",
         [](ScreenTour& tour, const ShotFiles&) {
             offlinePage(tour, kTiming);
             tour.shoot(QStringLiteral("timing-offline"));
         }},
        {"data-offline",
         [](ScreenTour& tour, const ShotFiles&) {
             offlinePage(tour, kShiftData);
             tour.shoot(QStringLiteral("data-offline"));
         }},
        {"io-off",
         [](ScreenTour& tour, const ShotFiles&) {
             offlinePage(tour, kIoStates);
             tour.shoot(QStringLiteral("io-off"));
         }},
        {"df1-off",
         [](ScreenTour& tour, const ShotFiles&) {
             offlinePage(tour, kDf1Bridge);
             tour.shoot(QStringLiteral("df1-off"));
         }},
        {"targetboard-faults-offline",
         [](ScreenTour& tour, const ShotFiles& files) {
             // The page goes online as it opens: with no board it cannot.
             tour.noBoard();
             openTargetBoard(tour, files);
             tour.shootDialog(QStringLiteral("targetboard-faults-offline"));
             tour.tab(QStringLiteral("&Program Ident/Revision"));
             tour.settle(300);
             tour.shootDialog(QStringLiteral("targetboard-program-offline"));
             tour.closeDialog();
             tour.waitUntilIdle();
         }},
        {"main-online",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, runningBoard(), kMainDisplay);
             tour.shoot(QStringLiteral("main-online"));
         }},
        {"setup-online",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, runningBoard(), kSetup);
             tour.shoot(QStringLiteral("setup-online"));
         }},
        {"setup-online-tab2",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, runningBoard(), kSetup);
             tour.tab(QStringLiteral("&Blow-off Parameters"));
             tour.settle(kFillMs);
             tour.shoot(QStringLiteral("setup-online-tab2"));
         }},
        {"data-tab1",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, midShiftBoard(), kShiftData);
             tour.tab(QStringLiteral("&Trips Per Spindle"));
             tour.settle(kFillMs);
             tour.shoot(QStringLiteral("data-tab1"));
         }},
        {"data-tab2",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, midShiftBoard(), kShiftData);
             tour.tab(QStringLiteral("&Current Shift"));
             tour.settle(kFillMs);
             tour.shoot(QStringLiteral("data-tab2"));
         }},
        {"data-tab3",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, midShiftBoard(), kShiftData);
             tour.tab(QStringLiteral("&Last Shift"));
             tour.settle(kFillMs);
             tour.shoot(QStringLiteral("data-tab3"));
         }},
        {"main-trend",
         [](ScreenTour& tour, const ShotFiles&) {
             // The board's infeed jams 30 s after it starts and stands the
             // machine for 10 s; the trend shows the stop and the restart.
             onlinePage(tour, alarmingBoard(), kMainDisplay);
             watchFor(tour, kJamOverMs);
             tour.shoot(QStringLiteral("main-trend"));
         }},
        {"alarm-history",
         [](ScreenTour& tour, const ShotFiles&) {
             // The same board a few minutes on, its cable pulled once and
             // plugged back in between.
             onlinePage(tour, alarmingBoard(), kMainDisplay);
             watchFor(tour, kAlarmCycleMs);
             tour.loseBoard();
             tour.settle(8000); // the link gives up and asks
             tour.waitUntilIdle();
             tour.settle(6000); // the cable stays out a while
             onlinePage(tour, alarmingBoard(), kMainDisplay);
             watchFor(tour, kAlarmCycleMs);
             tour.trigger(QStringLiteral("mnuViewAlarmHistory"));
             tour.waitForDialog("frmAlarmHistory");
             tour.settle(300);
             tour.shoot(QStringLiteral("alarm-history"));
             tour.closeDialog();
         }},
        {"io-on",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, runningBoard(), kIoStates);
             tour.shoot(QStringLiteral("io-on"));
         }},
        {"targetboard-faults-online",
         [](ScreenTour& tour, const ShotFiles& files) {
             onlinePage(tour, runningBoard(), kMainDisplay);
             openTargetBoard(tour, files);
             tour.shootDialog(QStringLiteral("targetboard-faults-online"));
             tour.tab(QStringLiteral("&Program Ident/Revision"));
             tour.settle(kFillMs);
             tour.shootDialog(QStringLiteral("targetboard-program-online"));
             tour.tab(QStringLiteral("&Set Network Address"));
             tour.settle(kFillMs);
             tour.shootDialog(QStringLiteral("targetboard-network-online"));
             tour.tab(QStringLiteral("S&et Time && Date"));
             tour.click(QStringLiteral("Set to Current &Time"));
             tour.click(QStringLiteral("Set to Current &Date"));
             tour.settle(kFillMs);
             tour.shootDialog(QStringLiteral("targetboard-clock-online"));
             tour.closeDialog();
             tour.waitUntilIdle();
         }},
        {"targetboard-link-lost",
         [](ScreenTour& tour, const ShotFiles& files) {
             onlinePage(tour, runningBoard(), kMainDisplay);
             openTargetBoard(tour, files);
             tour.loseBoard();
             tour.answerBoxesUntilQuiet("dlgTargetBoard");
             tour.shootDialog(QStringLiteral("targetboard-link-lost"));
             tour.closeDialog();
             tour.waitUntilIdle();
         }},
        {"main-waiting-for-board",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, runningBoard(), kMainDisplay);
             tour.freezeBoard();
             // The link's first time-out is at 1 s, the box at 5 s.
             tour.settle(2500);
             tour.shoot(QStringLiteral("main-waiting-for-board"));
             tour.answer(QMessageBox::Cancel);
             tour.waitUntilIdle();
         }},
        {"program-download-confirm",
         [](ScreenTour& tour, const ShotFiles& files) {
             onlinePage(tour, runningBoard(), kMainDisplay);
             tour.trigger(QStringLiteral("mnuFileDownloadProgram"));
             tour.chooseFile(files.programFile);
             tour.answer(QMessageBox::Yes);
             tour.waitForDialog("QMessageBox");
             tour.settle(300);
             tour.shootDialog(QStringLiteral("program-download-confirm"));
             tour.answer(QMessageBox::Yes);
             tour.waitForDialog("frmDownloadProg");
             tour.settle(800);
             tour.shootDialog(QStringLiteral("program-download-progress"));
             tour.shoot(QStringLiteral("program-download-paused"));
             tour.waitUntilIdle();
         }},
        {"processing-download",
         [](ScreenTour& tour, const ShotFiles&) {
             dataTransfer(tour, QStringLiteral("mnuFileDownloadData4"),
                          QStringLiteral("processing-download"));
         }},
        {"transfer-progress",
         [](ScreenTour& tour, const ShotFiles&) {
             dataTransfer(tour, QStringLiteral("mnuFileUploadData4"),
                          QStringLiteral("transfer-progress"));
         }},
        {"compare-board",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, changedBoard(), kMainDisplay);
             tour.trigger(QStringLiteral("mnuFileCompareBoard"));
             tour.waitForDialog("frmCompare");
             tour.settle(300);
             tour.shootDialog(QStringLiteral("compare-board"));
             tour.closeDialog();
         }},
        {"compare-file",
         [](ScreenTour& tour, const ShotFiles& files) {
             tour.offline();
             tour.trigger(QStringLiteral("mnuFileCompareFile"));
             tour.chooseFile(files.compareFile);
             tour.waitForDialog("frmCompare");
             tour.click(QStringLiteral("&Include shift data"));
             tour.settle(300);
             tour.shootDialog(QStringLiteral("compare-file"));
             tour.closeDialog();
         }},
        {"timing-online",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, stoppedBoard(), kTiming);
             tour.shoot(QStringLiteral("timing-online"));
             tour.tab(QStringLiteral("&PLS Configuration"));
             tour.settle(kFillMs);
             tour.shoot(QStringLiteral("timing-online-config"));
         }},
        {"main-online-alarm",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, jammedBoard(), kMainDisplay);
             tour.shoot(QStringLiteral("main-online-alarm"));
         }},
        {"df1-on",
         [](ScreenTour& tour, const ShotFiles&) {
             onlinePage(tour, df1FaultBoard(), kDf1Bridge);
             tour.shoot(QStringLiteral("df1-on"));
         }},
    };
    return list;
}

// One 16-byte data record of an Intel hex image, with its checksum.
QByteArray hexRecord(int address, const QByteArray& data) {
    int sum = data.size() + (address >> 8) + (address & 0xFF);
    QByteArray line = ':' + QByteArray::number(data.size(), 16).rightJustified(2, '0') +
                      QByteArray::number(address, 16).rightJustified(4, '0') + "00";
    for (const char byte : data) {
        sum += static_cast<quint8>(byte);
        line += QByteArray::number(static_cast<quint8>(byte), 16).rightJustified(2, '0');
    }
    line += QByteArray::number((0x100 - (sum & 0xFF)) & 0xFF, 16).rightJustified(2, '0');
    return line.toUpper() + "\r\n";
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

QStringList shotNames() {
    QStringList names;
    for (const Shot& shot : shots())
        names << QString::fromLatin1(shot.name);
    return names;
}

QString addShots(ScreenTour& tour, const QStringList& names, const ShotFiles& files) {
    const QStringList known = shotNames();
    for (const QString& name : names)
        if (!known.contains(name))
            return name;
    for (const Shot& shot : shots())
        if (names.isEmpty() || names.contains(QString::fromLatin1(shot.name)))
            shot.steps(tour, files);
    tour.offline();
    return QString();
}

bool writeCompareFile(const QString& dir, ShotFiles& files) {
    SetupDocument document = makeDefaultDocument(programVersionText());
    document.Values[161] = 25; // print trip retract response time
    document.Values[172] = 18; // bad can blow-off solenoid ON
    document.SpeedCompensation[2] = 4;
    document.OnSetpoints[8] = 45; // CH10
    document.OffSetpoints[3] = 240;
    document.Values[0] = 30;       // spindle #1 trip shift offset
    document.Values[49] = 1234567; // current shift: total good cans
    document.Values[140] = 12;     // last shift: off side spindle 4
    document.Values[177] = 3;      // DF1 destination node
    files.compareFile = QDir(dir).filePath(QStringLiteral("LINE2.sdt"));
    return writeSetupFile(files.compareFile, document).ok();
}

bool writeProgramSets(const QString& dir, ShotFiles& files) {
    // A code "4" board keeps its program from 0x2000; 1 KiB of it is enough
    // for the progress window to be seen.
    constexpr int kFirst = 0x2000;
    constexpr int kBytes = 1024;
    QByteArray image;
    for (int offset = 0; offset < kBytes; offset += 16) {
        QByteArray data(16, '\0');
        for (int i = 0; i < 16; ++i)
            data[i] = static_cast<char>((offset + i) * 7 & 0xFF);
        image += hexRecord(kFirst + offset, data);
    }
    image += ":00000001FF\r\n";
    const QDir folder(dir);
    files.programFile = folder.filePath(QStringLiteral("DEMO.wdx"));
    files.clockBoardFile = folder.filePath(QStringLiteral("COCPU.wdx"));
    return writeFile(files.programFile, "\"4\",\"demo program\"\r\n") &&
           writeFile(folder.filePath(QStringLiteral("DEMO.rev")), "DEMOPROG0:03\r\n") &&
           writeFile(folder.filePath(QStringLiteral("DEMO.hex")), image) &&
           writeFile(files.clockBoardFile, "\"6\",\"comms co-cpu\"\r\n") &&
           writeFile(folder.filePath(QStringLiteral("COCPU.rev")), "COMMSCPU1:07\r\n");
}
