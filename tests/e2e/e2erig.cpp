#include "e2erig.h"

#include <QElapsedTimer>

namespace {
constexpr int kMemorySize = 65536;

QStringList lines(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

CtlRun runVralctl(const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.setProgram(QStringLiteral(VRALCTL_PATH));
    process.setArguments(arguments);
    QElapsedTimer timer;
    timer.start();
    process.start();
    CtlRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.crashed = true;
    }
    run.elapsedMs = timer.elapsed();
    run.crashed = run.crashed || process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = lines(process.readAllStandardOutput());
    run.err = lines(process.readAllStandardError());
    return run;
}

QStringList linkArguments(const QString& device, const QString& home) {
    return {QStringLiteral("--device"), device, QStringLiteral("--home"), home};
}

QByteArray memoryImage(const QList<QPair<int, quint8>>& bytes) {
    QByteArray image(kMemorySize, '\0');
    for (const auto& [address, value] : bytes)
        image[address] = static_cast<char>(value);
    return image;
}
