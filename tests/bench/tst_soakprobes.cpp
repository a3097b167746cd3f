// What vral-bench-soak reads of a process: the objects and timers it counts
// inside through the toolkit's object hooks (a hook table laid out other
// than it expects would count nothing), and the descriptors it counts from
// outside.
#include "objectcensus.h"
#include "processsample.h"

#include <QCoreApplication>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

#include <memory>

class TestSoakProbes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ObjectCensus::install(); }
    void censusCountsObjectsAndRunningTimers();
    void sampleCountsOpenDescriptors();
};

void TestSoakProbes::censusCountsObjectsAndRunningTimers() {
    const ObjectCensus::Count before = ObjectCensus::take();
    auto parent = std::make_unique<QObject>();
    new QObject(parent.get());
    auto* timer = new QTimer(parent.get());
    new QTimer(parent.get()); // not started: no timer registered
    timer->start(1000);
    const ObjectCensus::Count during = ObjectCensus::take();
    QCOMPARE(during.objects, before.objects + 4);
    QCOMPARE(during.timers, before.timers + 1);
    parent.reset();
    const ObjectCensus::Count after = ObjectCensus::take();
    QCOMPARE(after.objects, before.objects);
    QCOMPARE(after.timers, before.timers);
}

void TestSoakProbes::sampleCountsOpenDescriptors() {
    const qint64 self = QCoreApplication::applicationPid();
    const ProcessSample before = sampleProcess(self);
    QVERIFY(before.valid);
    QVERIFY(before.residentKiB > 0);
    QTemporaryFile file;
    QVERIFY(file.open());
    QCOMPARE(sampleProcess(self).descriptors, before.descriptors + 1);
    QVERIFY(!sampleProcess(0).valid);
}

QTEST_GUILESS_MAIN(TestSoakProbes)
#include "tst_soakprobes.moc"
