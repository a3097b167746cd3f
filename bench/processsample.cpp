#include "processsample.h"

#include <QFile>

#include <dirent.h>
#include <unistd.h>

namespace {

QByteArray readProcFile(qint64 pid, const char* name) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The entries of /proc/PID/fd, read as they are: most are links to pipes
// and sockets that name no file.
int countDescriptors(qint64 pid) {
    DIR* dir = ::opendir(QByteArray("/proc/" + QByteArray::number(pid) + "/fd").constData());
    if (!dir)
        return 0;
    int count = 0;
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.')
            ++count;
    ::closedir(dir);
    return count;
}

} // namespace

ProcessSample sampleProcess(qint64 pid) {
    ProcessSample sample;
    const QByteArray status = readProcFile(pid, "status");
    const QByteArray stat = readProcFile(pid, "stat");
    if (status.isEmpty() || stat.isEmpty())
        return sample;
    for (const QByteArray& line : status.split('\n'))
        if (line.startsWith("VmRSS:"))
            sample.residentKiB = line.mid(6).trimmed().split(' ').first().toLong();
    // After the command name in parentheses (which may hold spaces): the
    // state is field 3, utime and stime fields 14 and 15, in clock ticks.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    constexpr int kUtime = 14 - 3;
    constexpr int kStime = 15 - 3;
    if (fields.size() <= kStime)
        return sample;
    const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
    sample.cpuSeconds = (fields.at(kUtime).toLongLong() + fields.at(kStime).toLongLong()) / ticks;
    sample.descriptors = countDescriptors(pid);
    sample.valid = sample.residentKiB > 0;
    return sample;
}
