#pragma once

#include "linkrig.h"
#include "steptask.h"

#include <QTemporaryDir>

// The link and the in-memory board with a program file set in a folder of
// its own, for the program download and upload tests.
struct ProgramRig : LinkRig {
    QTemporaryDir setDir;

    QString path(const char* extension) const {
        return setDir.filePath(QStringLiteral("prog.") + QLatin1String(extension));
    }
    // Writes one file of the set; a null array writes none.
    void put(const char* extension, const QByteArray& content) {
        if (!content.isNull())
            writeFile(path(extension), content);
    }

    // What a step left behind when it asked for a pause before the next one.
    struct Pause {
        qsizetype sentSoFar = 0;
        int delayMs = 0;
    };
    QList<Pause> pauses;
    // "sent:delay" for each pause, for messages that say what differs.
    QStringList pauseTexts() const {
        QStringList texts;
        for (const Pause& p : pauses)
            texts << QStringLiteral("%1:%2").arg(p.sentSoFar).arg(p.delayMs);
        return texts;
    }

    // Runs a task's steps to its end as the step driver does, sleeping each
    // asked-for pause on the clock. Returns the number of steps.
    int run(StepTask& task, const std::function<void(int)>& between = {}) {
        int steps = 0;
        while (task.step()) {
            ++steps;
            if (const int delay = task.delayBeforeNextStepMs()) {
                pauses.append({port.sentBytes().size(), delay});
                clock.advance(delay);
            }
            if (between)
                between(steps);
            if (steps > 200000)
                break;
        }
        return steps;
    }
};

// Bytes on the wire, built by hand the way the protocol lays them out.
namespace wire {

inline QByteArray address(int a) {
    return bytes({(a >> 8) & 0xFF, a & 0xFF});
}
inline QByteArray readMode() {
    return bytes({0xFF, 0x01});
}
inline QByteArray writeMode() {
    return bytes({0xFF, 0x02});
}
inline QByteArray write(int a, int value) {
    return address(a) + char(value);
}
// The reads of the board's ident block, B61424 to B61433, after a handshake.
inline QByteArray identReads() {
    QByteArray w = readMode();
    for (int k = 0; k < 10; ++k)
        w += address(61424 + k);
    return w;
}

} // namespace wire
