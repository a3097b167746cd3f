#include "alarmhistory.h"
#include "alarmlogfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kStart(QDate(2026, 12, 9), QTime(2, 0));

// One poll tick per letter group: "U" link up with the latches that follow
// ("U10": infeed track jam latched), "E" a link failure latched, "O" offline
// by choice. Ticks are 500 ms apart.
QStringList play(AlarmHistory& history, const QString& ticks) {
    QStringList words;
    QDateTime at = kStart;
    for (const QString& tick : ticks.split(QLatin1Char(' '))) {
        const bool up = tick.startsWith(QLatin1Char('U'));
        const std::array<bool, 2> latches = {up && tick.at(1) == QLatin1Char('1'),
                                             up && tick.at(2) == QLatin1Char('1')};
        for (const AlarmEvent& event : history.observe(at, up, tick == QLatin1String("E"), latches))
            words << (alarmEventWord(event.kind) + QLatin1Char(' ') + event.alarm).trimmed();
        at = at.addMSecs(500);
    }
    return words;
}

} // namespace

class TestAlarmHistory : public QObject {
    Q_OBJECT

private slots:
    void transitions_data();
    void transitions();
    void recordSurvivesARestart();
    void tornLastLineIsTheOnlyOneLost();
    void recordRotates();
};

void TestAlarmHistory::transitions_data() {
    QTest::addColumn<QString>("ticks");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("rows"); // oldest first: text, seconds or "running"

    QTest::newRow("calm") << "U00 U00" << QStringList{} << QStringList{};
    QTest::newRow("raised and cleared")
        << "U00 U10 U10 U10 U00"
        << QStringList{"raised Infeed Track Jam", "cleared Infeed Track Jam"}
        << QStringList{"Infeed Track Jam 1.5"};
    QTest::newRow("active at the first tick")
        << "U01" << QStringList{"raised Timing Signal Failure"}
        << QStringList{"Timing Signal Failure running"};
    QTest::newRow("one alarm gives way to the other")
        << "U10 U11 U01 U00"
        << QStringList{"raised Infeed Track Jam", "raised Timing Signal Failure",
                       "cleared Infeed Track Jam", "cleared Timing Signal Failure"}
        << QStringList{"Infeed Track Jam 1", "Timing Signal Failure 1"};
    QTest::newRow("link lost and restored; the alarm waits for the link")
        << "U10 E E O U00"
        << QStringList{"raised Infeed Track Jam", "link lost", "link restored",
                       "cleared Infeed Track Jam"}
        << QStringList{"Infeed Track Jam 2", "Link lost 1.5"};
    QTest::newRow("going offline by choice is no loss")
        << "U00 O O U00" << QStringList{} << QStringList{};
    QTest::newRow("link still down")
        << "U00 E" << QStringList{"link lost"} << QStringList{"Link lost running"};
}

void TestAlarmHistory::transitions() {
    QFETCH(QString, ticks);
    QFETCH(QStringList, events);
    QFETCH(QStringList, rows);
    AlarmHistory history;
    QCOMPARE(play(history, ticks), events);
    QStringList shown;
    for (const AlarmEpisode& episode : history.episodes())
        shown << episode.text + QLatin1Char(' ') +
                     (episode.running
                          ? QStringLiteral("running")
                          : QString::number(episode.raised.msecsTo(episode.cleared) / 1000.0));
    QCOMPARE(shown, rows);
}

void TestAlarmHistory::recordSurvivesARestart() {
    QTemporaryDir dir;
    AlarmLogFile record(dir.filePath(QStringLiteral("sub/alarm-history.csv")));
    AlarmHistory before;
    for (const AlarmEvent& event : before.observe(kStart, true, false, {true, false}))
        QVERIFY(record.append(event));
    for (const AlarmEvent& event : before.observe(kStart.addSecs(65), true, false, {false, true}))
        QVERIFY(record.append(event));

    // One line an event, each time with its offset from UTC.
    QFile file(record.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray later = kStart.addSecs(65).toString(Qt::ISODateWithMs).toUtf8();
    QCOMPARE(file.readAll(), "time,event,alarm\n" + kStart.toString(Qt::ISODateWithMs).toUtf8() +
                                 ",raised,Infeed Track Jam\n" + later +
                                 ",cleared,Infeed Track Jam\n" + later +
                                 ",raised,Timing Signal Failure\n");

    // Read back: what was still on when the program ended is not known to
    // have ended, and is not running either.
    AlarmHistory after;
    after.restore(record.read());
    QCOMPARE(after.episodes().size(), 2);
    QCOMPARE(after.episodes().at(0),
             (AlarmEpisode{QStringLiteral("Infeed Track Jam"), kStart, kStart.addSecs(65), false}));
    QCOMPARE(
        after.episodes().at(1),
        (AlarmEpisode{QStringLiteral("Timing Signal Failure"), kStart.addSecs(65), {}, false}));
    QCOMPARE(after.toCsv(),
             QByteArray("Raised,Cleared,Alarm,Duration (s)\r\n"
                        "2026-12-09 02:01:05,unknown,Timing Signal Failure,\r\n"
                        "2026-12-09 02:00:00,2026-12-09 02:01:05,Infeed Track Jam,65\r\n"));
    // The alarm still latched at the first tick after the restart is raised anew.
    QCOMPARE(after.observe(kStart.addSecs(100), true, false, {false, true}).size(), 1);

    QVERIFY(record.clear());
    QVERIFY(record.read().isEmpty());
}

void TestAlarmHistory::tornLastLineIsTheOnlyOneLost() {
    QTemporaryDir dir;
    AlarmLogFile record(dir.filePath(QStringLiteral("alarm-history.csv")));
    QVERIFY(record.append({kStart, AlarmEvent::Kind::LinkLost, {}}));
    {
        QFile file(record.path());
        QVERIFY(file.open(QIODevice::Append));
        file.write(kStart.addSecs(3).toString(Qt::ISODateWithMs).toUtf8() +
                   ",link rest"); // the power went here
    }
    QCOMPARE(record.read().size(), 1);
    QVERIFY(record.append({kStart.addSecs(9), AlarmEvent::Kind::LinkRestored, {}}));
    const QVector<AlarmEvent> events = record.read();
    QCOMPARE(events.size(), 2);
    QCOMPARE(events.last(), (AlarmEvent{kStart.addSecs(9), AlarmEvent::Kind::LinkRestored, {}}));
    // Lines that are not events are passed over too.
    QCOMPARE(AlarmLogFile::parse("2026-12-09T02:00:00.000Z,raised,"), std::nullopt);
    QCOMPARE(AlarmLogFile::parse("2026-12-09T02:00:00.000Z,link lost,Infeed Track Jam"),
             std::nullopt);
    QCOMPARE(AlarmLogFile::parse("yesterday,raised,Infeed Track Jam"), std::nullopt);
}

void TestAlarmHistory::recordRotates() {
    QTemporaryDir dir;
    const qint64 limit = 200;
    AlarmLogFile record(dir.filePath(QStringLiteral("alarm-history.csv")), limit);
    for (int i = 0; i < 8; ++i)
        QVERIFY(record.append({kStart.addSecs(i), AlarmEvent::Kind::LinkLost, {}}));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("alarm-history.1.csv"))));
    QVERIFY(QFileInfo(record.path()).size() < limit + 64);
    // Both files read back in order, none lost by the one rotation.
    const QVector<AlarmEvent> events = record.read();
    QCOMPARE(events.size(), 8);
    QCOMPARE(events.first().at, kStart);
    QCOMPARE(events.last().at, kStart.addSecs(7));
}

QTEST_GUILESS_MAIN(TestAlarmHistory)
#include "tst_alarmhistory.moc"
