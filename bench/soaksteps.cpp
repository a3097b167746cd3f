#include "soaksteps.h"

#include "frmmdimain.h"
#include "pagetable.h"
#include "screenshotlist.h"
#include "screentour.h"
#include "soakschedule.h"
#include "vralapplication.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// How long the target board page stays on each tab it shows.
constexpr int kTabMs = 3000;

void did(ScreenTour& tour, const QString& what) {
    tour.act(QStringLiteral("did %1").arg(what), [what] {
        std::printf("did %s\n", qPrintable(what));
        std::fflush(stdout);
    });
}

bool noModal() {
    return QApplication::activeModalWidget() == nullptr;
}

// Through the Window menu: its entries stand for the page table's rows,
// the DF1 bridge's hidden one included.
void showPage(ScreenTour& tour, VralApplication& app, int index) {
    tour.trigger(QStringLiteral("mnuWindowForm%1").arg(index));
    tour.waitFor(QStringLiteral("page %1").arg(index), [&app, index] {
        return app.window().currentPageIndex() == index && app.window().currentPage();
    });
    did(tour, QStringLiteral("page"));
}

void targetBoard(ScreenTour& tour, const ShotFiles& files) {
    tour.trigger(QStringLiteral("mnuViewTargetBoardStatus"));
    tour.chooseFile(files.clockBoardFile);
    tour.waitForDialog("dlgTargetBoard");
    tour.settle(kTabMs);
    tour.tab(QStringLiteral("&Program Ident/Revision"));
    tour.settle(kTabMs);
    tour.tab(QStringLiteral("&Set Network Address"));
    tour.settle(kTabMs);
    tour.closeDialog();
    tour.waitFor(QStringLiteral("the target board page closed"), noModal);
    did(tour, QStringLiteral("target-board"));
}

void transfer(ScreenTour& tour, const QString& command, const QString& what) {
    tour.trigger(command);
    tour.answer(QMessageBox::Yes);
    tour.waitForDialog("frmProcessing");
    tour.waitFor(QStringLiteral("the %1 finished").arg(what), noModal);
    did(tour, what);
}

void report(ScreenTour& tour, const QString& pdf) {
    tour.trigger(QStringLiteral("mnuFileExportPdf"));
    tour.chooseFile(pdf);
    tour.waitFor(pdf, [pdf] { return noModal() && QFileInfo(pdf).size() > 0; });
    tour.act(QStringLiteral("remove %1").arg(pdf), [pdf] { QFile::remove(pdf); });
    did(tour, QStringLiteral("report"));
}

} // namespace

void addSoakSteps(ScreenTour& tour, VralApplication& app, const SoakSchedule& schedule,
                  const QString& device, const ShotFiles& files) {
    tour.boardAt(device);
    tour.online();
    const int pages = static_cast<int>(pageTable().size());
    int page = 0;
    int reports = 0;
    qint64 nextCommands = schedule.firstCommandsMs;
    qint64 nextReport = schedule.firstCommandsMs;
    for (qint64 at = 0; at < schedule.runMs; at += schedule.pageMs) {
        tour.waitUntil(at);
        showPage(tour, app, page);
        page = (page + 1) % pages;
        if (at >= nextCommands) {
            targetBoard(tour, files);
            transfer(tour, QStringLiteral("mnuFileUploadData4"), QStringLiteral("upload"));
            transfer(tour, QStringLiteral("mnuFileDownloadData4"), QStringLiteral("download"));
            nextCommands += schedule.commandsMs;
        }
        if (at >= nextReport) {
            report(tour,
                   QDir(files.outputDir).filePath(QStringLiteral("soak-%1.pdf").arg(++reports)));
            nextReport += schedule.reportMs;
        }
    }
    tour.waitUntil(schedule.runMs);
    tour.offline();
}
