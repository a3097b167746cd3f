#include "frmsetupcomm.h"
#include "linkrig.h"
#include "namedchild.h"
#include "portmap.h"
#include "qtserialport.h"
#include "spinner.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename T> T* child(QWidget& dialog, const char* name) {
    return namedChild<T>(dialog, QLatin1String(name));
}
} // namespace

class TestFrmSetupComm : public QObject {
    Q_OBJECT

private slots:
    void controls();
    void endpointBesideTheNumber();
    void load_data();
    void load();
    void leavingThePortField_data();
    void leavingThePortField();
    void spinner_data();
    void spinner();
    void saveOffline();
    void saveOnlineBoardAnswers();
    void saveOnlineBoardSilent();
    void cancelKeepsEverything();
    void refusedPortStopsSave_data();
    void refusedPortStopsSave();
};

void TestFrmSetupComm::controls() {
    LinkRig rig;
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Comm Port Settings"));
    QCOMPARE(child<QWidget>(dialog, "fraCommPort")->property("title").toString(),
             QStringLiteral("Comm Port"));
    QCOMPARE(child<QWidget>(dialog, "fraPortSpeed")->property("title").toString(),
             QStringLiteral("Port Speed"));
    QCOMPARE(child<QRadioButton>(dialog, "optPortSpeed0")->text(), QStringLiteral("19200"));
    QCOMPARE(child<QRadioButton>(dialog, "optPortSpeed1")->text(), QStringLiteral("9600"));
    QCOMPARE(child<QPushButton>(dialog, "cmdSave")->text(), QStringLiteral("&Save"));
    QCOMPARE(child<QPushButton>(dialog, "cmdCancel")->text(), QStringLiteral("&Cancel"));
    auto* spinner = child<Spinner>(dialog, "updCommPort");
    QCOMPARE(spinner->minimum(), 1);
    QCOMPARE(spinner->maximum(), 99);
    child<QLineEdit>(dialog, "txtCommPort")->setText(QStringLiteral("33"));
    QCOMPARE(child<QLabel>(dialog, "lblDevice")->text(), rig.port.deviceFor(33));
}

// A number the port map gives to a device server shows its endpoint where a
// device would be.
void TestFrmSetupComm::endpointBesideTheNumber() {
    LinkRig rig;
    QVERIFY(QDir(rig.home.path()).mkpath(QStringLiteral("Support")));
    QFile map(PortMap::pathIn(rig.folder));
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("3 = rfc2217://ser2net.hall2:4003\n");
    map.close();
    QtSerialPort port;
    port.setPortMapFile(map.fileName());
    frmSetupComm dialog(rig.link, port, rig.prompts, rig.folder);
    auto* field = child<QLineEdit>(dialog, "txtCommPort");
    auto* device = child<QLabel>(dialog, "lblDevice");
    field->setText(QStringLiteral("3"));
    QCOMPARE(device->text(), QStringLiteral("rfc2217://ser2net.hall2:4003"));
    field->setText(QStringLiteral("4"));
    QCOMPARE(device->text(), QStringLiteral("/dev/ttyS3"));
}

void TestFrmSetupComm::load_data() {
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("fast");

    QTest::newRow("3 at 19200") << QByteArray("3,19200\r\n") << "3" << true;
    QTest::newRow("150 at 4800 clamps") << QByteArray("150,4800\r\n") << "99" << false;
    QTest::newRow("0 clamps to 1") << QByteArray("0,9600\r\n") << "1" << false;
    QTest::newRow("empty file: defaults") << QByteArray() << "1" << false;
    QTest::newRow("no file: defaults, nothing created") << QByteArray("<none>") << "1" << false;
}

void TestFrmSetupComm::load() {
    QFETCH(QByteArray, content);
    QFETCH(QString, port);
    QFETCH(bool, fast);
    LinkRig rig;
    if (content != "<none>")
        writeFile(rig.link.CommSettingsFile(), content);

    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    QCOMPARE(child<QLineEdit>(dialog, "txtCommPort")->text(), port);
    QCOMPARE(child<QRadioButton>(dialog, "optPortSpeed0")->isChecked(), fast);
    QCOMPARE(child<QRadioButton>(dialog, "optPortSpeed1")->isChecked(), !fast);
    QCOMPARE(readFile(rig.link.CommSettingsFile()),
             content == "<none>" ? QByteArray("<missing>") : content);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestFrmSetupComm::leavingThePortField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << false;
    QTest::newRow("100") << "100" << false;
    QTest::newRow("letter") << "a" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("number then letter") << "5a" << false;
    // Saved by the leading number it would be port 5: it is no number at all.
    QTest::newRow("exponent 5e1") << "5e1" << false;
    QTest::newRow("99.5 rounds to 100") << "99.5" << false;
    // As in every entry field, the text itself must lie in the range.
    QTest::newRow("99.4 beyond 99") << "99.4" << false;
    QTest::newRow("0.6 below 1") << "0.6" << false;
    QTest::newRow("42.0") << "42.0" << true;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("99") << "99" << true;
    QTest::newRow("spaces around 42") << " 42 " << true;
}

void TestFrmSetupComm::leavingThePortField() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    LinkRig rig;
    rig.prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    auto* field = child<QLineEdit>(dialog, "txtCommPort");
    auto* save = child<QPushButton>(dialog, "cmdSave");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    field->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(field->hasFocus());
    field->setText(text);

    save->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), accepted ? static_cast<QWidget*>(save) : field);
    QCoreApplication::processEvents(); // let any further focus change show itself

    QCOMPARE(rig.prompts.messageCount(), accepted ? 0 : 1);
    if (!accepted) {
        QCOMPARE(QApplication::focusWidget(), field);
        const auto box = rig.prompts.messages().first();
        QCOMPARE(box.title, QStringLiteral("Comm Port"));
        QCOMPARE(box.text, QStringLiteral("Only a Number Between 1 and 99 can be Entered"));
        QCOMPARE(box.icon, Prompts::Icon::Information);
        QCOMPARE(box.buttons, Prompts::Buttons::Ok);
    }
    QVERIFY(rig.port.wire().isEmpty());
}

void TestFrmSetupComm::spinner_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("result");
    QTest::newRow("up") << "5" << 1 << "6";
    QTest::newRow("down") << "5" << -1 << "4";
    QTest::newRow("stops at 99") << "99" << 1 << "99";
    QTest::newRow("stops at 1") << "1" << -1 << "1";
    QTest::newRow("letter counts as the lower limit") << "a" << 1 << "2";
    QTest::newRow("beyond the range comes back") << "150" << -1 << "98";
}

void TestFrmSetupComm::spinner() {
    QFETCH(QString, text);
    QFETCH(int, steps);
    QFETCH(QString, result);
    LinkRig rig;
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    auto* field = child<QLineEdit>(dialog, "txtCommPort");
    field->setText(text);
    child<Spinner>(dialog, "updCommPort")->stepBy(steps);
    QCOMPARE(field->text(), result);
}

void TestFrmSetupComm::saveOffline() {
    LinkRig rig;
    QDir home(rig.home.path());
    home.mkdir(QStringLiteral("WDX51"));
    home.mkdir(QStringLiteral("pls51")); // found whatever its letter case
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    child<QLineEdit>(dialog, "txtCommPort")->setText(QStringLiteral("3"));
    child<QRadioButton>(dialog, "optPortSpeed0")->setChecked(true);

    child<QPushButton>(dialog, "cmdSave")->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(readFile(rig.home.filePath(QStringLiteral("Support/RSPort.cfg"))),
             QByteArray("3,19200\r\n"));
    QCOMPARE(readFile(rig.home.filePath(QStringLiteral("WDX51/WENDAX.SFG"))), QByteArray("2\r\n"));
    QCOMPARE(readFile(rig.home.filePath(QStringLiteral("pls51/WENDAX.SFG"))), QByteArray("2\r\n"));
    QVERIFY(!home.exists(QStringLiteral("WDX96")));
    QVERIFY(!rig.port.isOpen());
    QVERIFY(rig.port.wire().isEmpty());
    QVERIFY(!rig.link.OnlineMode);
    QCOMPARE(rig.prompts.messageCount(), 0);
}

void TestFrmSetupComm::saveOnlineBoardAnswers() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    child<QLineEdit>(dialog, "txtCommPort")->setText(QStringLiteral("4"));
    child<QRadioButton>(dialog, "optPortSpeed1")->setChecked(true);

    child<QPushButton>(dialog, "cmdSave")->click();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(rig.port.sentBytes(), bytes({0xFF, 0xFF})); // closing, then opening anew
    QVERIFY(rig.port.isOpen());
    QCOMPARE(rig.port.portNumber(), 4);
    QCOMPARE(rig.port.settings(), QStringLiteral("9600,n,8,1"));
    QVERIFY(rig.link.OnlineMode);
    QCOMPARE(readFile(rig.link.CommSettingsFile()), QByteArray("4,9600\r\n"));
}

void TestFrmSetupComm::saveOnlineBoardSilent() {
    LinkRig rig;
    QVERIFY(rig.goOnline());
    rig.board.setFault(BoardSim::Fault::Silent);
    rig.prompts.answerMessage(Prompts::Answer::Cancel); // the closing 0xFF
    rig.prompts.answerMessage(Prompts::Answer::Cancel); // the opening 0xFF
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    dialog.show();

    child<QPushButton>(dialog, "cmdSave")->click();

    QVERIFY(dialog.isVisible()); // left open for other settings
    QCOMPARE(dialog.result(), 0);
    QVERIFY(!rig.link.OnlineMode);
    QVERIFY(rig.link.CommError);
    QCOMPARE(rig.prompts.messageCount(), 2);
}

void TestFrmSetupComm::cancelKeepsEverything() {
    LinkRig rig;
    writeFile(rig.link.CommSettingsFile(), "2,9600\r\n");
    QVERIFY(rig.goOnline());
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    child<QLineEdit>(dialog, "txtCommPort")->setText(QStringLiteral("7"));
    child<QPushButton>(dialog, "cmdCancel")->click();

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(readFile(rig.link.CommSettingsFile()), QByteArray("2,9600\r\n"));
    QVERIFY(rig.port.wire().isEmpty());
    QVERIFY(rig.link.OnlineMode);
}

// A mouse click on Save leaves the field first (one message from the leave
// check); Alt+S leaves nothing (one message from Save itself). Either way
// nothing is saved and the dialog stays open with the field to correct.
void TestFrmSetupComm::refusedPortStopsSave_data() {
    QTest::addColumn<bool>("byMouse");
    QTest::newRow("mouse click") << true;
    QTest::newRow("access key") << false;
}

void TestFrmSetupComm::refusedPortStopsSave() {
    QFETCH(bool, byMouse);
    LinkRig rig;
    writeFile(rig.link.CommSettingsFile(), "4,9600\r\n");
    rig.prompts.setDefaultMessageAnswer(Prompts::Answer::Ok);
    frmSetupComm dialog(rig.link, rig.port, rig.prompts, rig.folder);
    auto* field = child<QLineEdit>(dialog, "txtCommPort");
    auto* save = child<QPushButton>(dialog, "cmdSave");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    field->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(field->hasFocus());
    field->setText(QStringLiteral("0"));

    if (byMouse)
        QTest::mouseClick(save, Qt::LeftButton);
    else
        QTest::keyClick(&dialog, Qt::Key_S, Qt::AltModifier); // clicks after a short animation
    QTRY_COMPARE(rig.prompts.messageCount(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
    QTest::qWait(50); // no second message follows
    QCOMPARE(rig.prompts.messageCount(), 1);
    QCOMPARE(rig.prompts.messages().first().title, QStringLiteral("Comm Port"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(readFile(rig.link.CommSettingsFile()), QByteArray("4,9600\r\n"));
    QCOMPARE(field->text(), QStringLiteral("0"));
}

QTEST_MAIN(TestFrmSetupComm)
#include "tst_frmsetupcomm.moc"
