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

const auto iso = [](const QDateTime& at) { return at.toString(Qt::ISODateWithMs).toUtf8(); };

} // namespace

class TestAlarmHistory : public QObject {
    Q_OBJECT

private slots:
    void transitions_data() {
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
    void transitions() {
        QFETCH(QString, ticks);
        QFETCH(QStringList, events);
        QFETCH(QStringList, rows);
        AlarmHistory history;
        QCOMPARE(play(history, ticks), events);
        QStringList shown;
        for (const AlarmEpisode& e : history.episodes())
            shown << e.text + QLatin1Char(' ') +
                         (e.running ? QStringLiteral("running")
                                    : QString::number(e.raised.msecsTo(e.cleared) / 1000.0));
        QCOMPARE(shown, rows);
    }

    void recordSurvivesARestart() {
        AlarmLogFile record(m_dir.filePath(QStringLiteral("sub/alarm-history.csv")));
        AlarmHistory before;
        const QDateTime later = kStart.addSecs(65);
        QVector<AlarmEvent> events = before.observe(kStart, true, false, {true, false});
        events += before.observe(later, true, false, {false, true});
        for (const AlarmEvent& event : events)
            QVERIFY(record.append(event));

        // One line an event, each time with its offset from UTC.
        QFile file(record.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "time,event,alarm\n" + iso(kStart) + ",raised,Infeed Track Jam\n" +
                                     iso(later) + ",cleared,Infeed Track Jam\n" + iso(later) +
                                     ",raised,Timing Signal Failure\n");

        // Read back: what was still on when the program ended is not known to
        // have ended, and is not running either.
        AlarmHistory after;
        after.restore(record.read());
        QCOMPARE(after.episodes(),
                 (QVector<AlarmEpisode>{{"Infeed Track Jam", kStart, later, false},
                                        {"Timing Signal Failure", later, {}, false}}));
        QCOMPARE(after.toCsv(),
                 QByteArray("Raised,Cleared,Alarm,Duration (s)\r\n"
                            "2026-12-09 02:01:05,unknown,Timing Signal Failure,\r\n"
                            "2026-12-09 02:00:00,2026-12-09 02:01:05,Infeed Track Jam,65\r\n"));
        // The alarm still latched at the first tick after the restart is raised anew.
        QCOMPARE(after.observe(kStart.addSecs(100), true, false, {false, true}).size(), 1);

        QVERIFY(record.clear());
        QVERIFY(record.read().isEmpty());
    }

    void tornLastLineIsTheOnlyOneLost() {
        AlarmLogFile record(m_dir.filePath(QStringLiteral("torn.csv")));
        const AlarmEvent lost{kStart, AlarmEvent::Kind::LinkLost, {}};
        QVERIFY(record.append(lost));
        {
            QFile file(record.path());
            QVERIFY(file.open(QIODevice::Append));
            file.write(iso(kStart.addSecs(3)) + ",link rest"); // the power went here
        }
        QCOMPARE(record.read().size(), 1);
        const AlarmEvent restored{kStart.addSecs(9), AlarmEvent::Kind::LinkRestored, {}};
        QVERIFY(record.append(restored));
        QCOMPARE(record.read(), (QVector<AlarmEvent>{lost, restored}));
        // Lines that are not events are passed over too.
        for (const char* line : {"2026-12-09T02:00:00.000Z,raised,",
                                 "2026-12-09T02:00:00.000Z,link lost,Infeed Track Jam",
                                 "yesterday,raised,Infeed Track Jam"})
            QVERIFY2(!AlarmLogFile::parse(line), line);
    }

    void recordRotates() {
        const qint64 limit = 200;
        AlarmLogFile record(m_dir.filePath(QStringLiteral("rotating.csv")), limit);
        for (int i = 0; i < 8; ++i)
            QVERIFY(record.append({kStart.addSecs(i), AlarmEvent::Kind::LinkLost, {}}));
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("rotating.1.csv"))));
        QVERIFY(QFileInfo(record.path()).size() < limit + 64);
        // Both files read back in order, none lost by the one rotation.
        const QVector<AlarmEvent> events = record.read();
        QCOMPARE(events.size(), 8);
        QCOMPARE(events.first().at, kStart);
        QCOMPARE(events.last().at, kStart.addSecs(7));
    }

private:
    QTemporaryDir m_dir; // one record file a test
};

QTEST_GUILESS_MAIN(TestAlarmHistory)
#include "tst_alarmhistory.moc"
