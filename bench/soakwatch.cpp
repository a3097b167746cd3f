#include "soakwatch.h"

#include "objectcensus.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <malloc.h>
#include <unistd.h>

SoakWatch::SoakWatch() {
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] { look(); });
    m_timer.start();
}

void SoakWatch::look() {
    const ObjectCensus::Count count = ObjectCensus::take();
    std::printf("census %zu %d %zu\n", count.objects, count.timers, mallinfo2().uordblks);
    std::fflush(stdout);

    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box != m_box) {
        m_box = box;
        m_boxSeconds = 0;
        if (box) {
            std::printf("box %s: %s\n", qPrintable(box->windowTitle()),
                        qPrintable(box->text().simplified()));
            std::fflush(stdout);
        }
        return;
    }
    if (++m_boxSeconds * m_timer.interval() < kUnansweredMs)
        return;
    std::fprintf(stderr, "a box stood unanswered for %d s: %s: %s\n", kUnansweredMs / 1000,
                 qPrintable(box->windowTitle()), qPrintable(box->text().simplified()));
    // Out at once: unwinding would run the box's own loop on.
    std::fflush(stderr);
    ::_exit(1);
}
