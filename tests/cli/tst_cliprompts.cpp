// How vralctl answers the boxes the link and the commands show: a command's
// --yes confirms its questions and nothing else, and link failures are
// retried only as often as --retry allows.
#include "cliprompts.h"

#include <QtTest>

using Answer = Prompts::Answer;
using Buttons = Prompts::Buttons;
using Icon = Prompts::Icon;

class TestCliPrompts : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void retriesThenCancels();
    void oneLine_data();
    void oneLine();
};

void TestCliPrompts::answers_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("question declined") << Buttons::YesNo << Icon::Question << false << Answer::No;
    QTest::newRow("question confirmed") << Buttons::YesNo << Icon::Question << true << Answer::Yes;
    QTest::newRow("three-way question declined")
        << Buttons::YesNoCancel << Icon::Question << false << Answer::Cancel;
    QTest::newRow("three-way question confirmed")
        << Buttons::YesNoCancel << Icon::Question << true << Answer::Yes;
    QTest::newRow("critical warning under --yes")
        << Buttons::YesNoCancel << Icon::Critical << true << Answer::Cancel;
    QTest::newRow("exclamation Yes/No under --yes")
        << Buttons::YesNo << Icon::Exclamation << true << Answer::No;
    QTest::newRow("notice") << Buttons::Ok << Icon::Information << true << Answer::Ok;
    QTest::newRow("OK/Cancel under --yes")
        << Buttons::OkCancel << Icon::Question << true << Answer::Cancel;
    QTest::newRow("link failure under --yes")
        << Buttons::RetryCancel << Icon::Question << true << Answer::Cancel;
}

void TestCliPrompts::answers() {
    QFETCH(Buttons, buttons);
    QFETCH(Icon, icon);
    QFETCH(bool, confirm);
    QFETCH(Answer, answer);
    CliPrompts prompts(0);
    prompts.confirmQuestions(confirm);
    QCOMPARE(prompts.message(QStringLiteral("Title"), QStringLiteral("Text"), icon, buttons),
             answer);
}

void TestCliPrompts::retriesThenCancels() {
    CliPrompts prompts(2);
    const auto ask = [&] {
        return prompts.message(QStringLiteral("WARNING - Communication Error!"),
                               QStringLiteral("Cannot Communicate"), Icon::Critical,
                               Buttons::RetryCancel);
    };
    QCOMPARE(ask(), Answer::Retry);
    QCOMPARE(ask(), Answer::Retry);
    QCOMPARE(ask(), Answer::Cancel);
    QCOMPARE(ask(), Answer::Cancel);
}

void TestCliPrompts::oneLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("CR LF pairs") << "a\r\n\r\nb"
                                 << "a b";
    QTest::newRow("lone CR and LF") << "a\rb\nc"
                                    << "a b c";
    QTest::newRow("tabs kept") << "Ident: \t\tX\r\n"
                               << "Ident: \t\tX";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCliPrompts::oneLine() {
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(CliPrompts::oneLine(text), line);
}

QTEST_GUILESS_MAIN(TestCliPrompts)
#include "tst_cliprompts.moc"
